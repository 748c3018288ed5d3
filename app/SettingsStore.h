#pragma once

#include "Settings.h"

#include <QString>

class CIni;

// The settings file (see SettingsLocation.h), section "Settings": read once at
// start-up, written once at exit. Strings are kept as UTF-8, integers and
// colours as signed decimal, flags as 1 or 0.

/// Fills every field of `settings` from `ini`, with the defaults where a value
/// is missing; an empty or missing MRF gives `defaultScriptPath`.
void LoadSettings(const CIni& ini, Settings& settings, const QString& defaultScriptPath);

/// Writes every field of `settings` to `ini`, changed or not; a write that fails
/// does not stop the others and is not reported.
void SaveSettings(CIni& ini, const Settings& settings);
