#pragma once

#include "Ini.h"
#include "Settings.h"
#include "SettingsLocation.h"
#include "SettingsStore.h"

#include <QString>

class CVellorDlg;
class DialogService;

// The application: it fixes where the settings live, loads them, runs the
// control window with them and, once the window has closed in whatever way,
// takes the values back and saves them exactly once.
class CVellorApp {
public:
    /// An application that keeps its settings where `location` says.
    explicit CVellorApp(SettingsLocation location = RunningProgramSettingsLocation());

    /// An application whose settings file is `settingsPath` and whose script
    /// defaults to `defaultScriptPath` when the settings name none.
    CVellorApp(const QString& settingsPath, const QString& defaultScriptPath);

    /// Prepares the settings folder, loads the settings, runs the control window until it closes, copies its
    /// values back and saves them. Always false: the program then ends.
    bool InitInstance(DialogService& dialogs);

    /// The settings record as last loaded or taken back from the control window.
    const Settings& Record() const { return m_settings; }

private:
    CIni m_ini;
    Settings m_settings;
    SettingsLocation m_location;
};

/// Hands the settings to the control window; monitor 1 reads reversed when the
/// settings do not ask for right-reading.
void CopySettingsToWindow(const Settings& settings, CVellorDlg& window);

/// Takes the control window's values back into the settings, the same way round.
void CopyWindowToSettings(const CVellorDlg& window, Settings& settings);
