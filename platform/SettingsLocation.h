#pragma once

#include <QString>

// Where the program keeps its settings file and its default script. A copy of
// the executable that no install put in place keeps them beside itself, named
// after it (the portable layout: "vellor" keeps "vellor.ini" and
// "vellor.txt"). An installed executable is known by the data folder the
// install lays beside it, ../share/vellor/; whether or not its own folder
// can be written, it keeps them per user in $XDG_CONFIG_HOME/vellor/
// (~/.config/vellor/ when that is unset), and its first start makes the
// default script from the welcome script in the data folder.

struct SettingsLocation {
    QString settingsPath;      ///< the settings file
    QString defaultScriptPath; ///< the script used when the settings name none
    QString welcomeScriptPath; ///< what the default script is made from; empty when portable
};

/// The data folder an install lays beside `executablePath` ("/usr/bin/vellor"
/// gives "/usr/share/vellor"), whether or not it exists.
QString InstalledDataFolder(const QString& executablePath);

/// The location for `executablePath`, given the values of XDG_CONFIG_HOME and
/// HOME. A relative XDG_CONFIG_HOME counts as unset.
SettingsLocation SettingsLocationFor(const QString& executablePath, const QString& configHome,
                                     const QString& home);

/// The location for the running executable and the user's environment.
SettingsLocation RunningProgramSettingsLocation();

/// Installed layout: makes the settings folder, and the default script from
/// the welcome script when the default script does not exist yet. Does
/// nothing for the portable layout. A folder or file that cannot be made is
/// left to show as it would anyway: the script does not open, the settings
/// are not kept.
void PrepareSettingsLocation(const SettingsLocation& location);
