#pragma once

#include "Settings.h"

#include <QString>

class CIni;

// The settings file (see SettingsLocation.h), written from one table of keys.
// Strings are read as scripts are (UTF-8 when valid, else Windows-1252) and
// kept as the bytes they were read from until they change, then as UTF-8;
// integers and colours as signed decimal, flags as 1 or 0. A write that
// fails does not stop the others and is not reported.
//
// [Settings] is written whole at every save, each value as it now reads;
// the other sections get only the values that differ from what the file
// holds, so a file whose prompter or remote values never changed gains no
// such section.

/// Fills `settings` from `ini` ([Settings], [Prompter] and [Outputs]), each broken or
/// missing value by its key's rule; an empty or missing MRF gives
/// `defaultScriptPath`.
void LoadSettings(const CIni& ini, Settings& settings, const QString& defaultScriptPath);

/// Writes `settings` to `ini`: [Settings] whole, [Prompter] and [Outputs]
/// where they changed.
void SaveSettings(CIni& ini, const Settings& settings);

/// The [Remote] section; defaults where a value is missing or out of range.
RemoteSettings LoadRemoteSettings(const CIni& ini);

/// Writes the values of the [Remote] section that changed; a file that is
/// to hold a token is made readable by its owner alone first.
void SaveRemoteSettings(CIni& ini, const RemoteSettings& settings);

/// The [OSC] section; defaults where a value is missing or out of range.
OscSettings LoadOscSettings(const CIni& ini);
