#pragma once

#include "Ini.h"
#include "Settings.h"
#include "SettingsLocation.h"
#include "SettingsStore.h"

#include <QString>
#include <functional>

class CVellorDlg;
class DialogService;

/// What the session manager allows a program that it asks to commit its data.
struct SessionRequest {
    std::function<bool()> allowsInteraction; ///< asks whether the program may talk to the operator
    std::function<void()> cancel;            ///< asks the session manager to cancel the logout
};

// The application: it fixes where the settings live, loads them, runs the
// control window with them and, once the window has closed in whatever way,
// takes the values back and saves them. A recovery copy of unsaved changes is
// kept beside the settings while the window is open and offered at the next
// start when a run ended without saving or dropping them. When the desktop
// session ends, the script and the settings are seen to as at closing.
class CVellorApp
{
  public:
    /// An application that keeps its settings where `location` says.
    explicit CVellorApp(SettingsLocation location = RunningProgramSettingsLocation());

    /// An application whose settings file is `settingsPath` and whose script
    /// defaults to `defaultScriptPath` when the settings name none.
    CVellorApp(const QString& settingsPath, const QString& defaultScriptPath);

    /// Prepares the settings folder, loads the settings, offers the recovery
    /// copy a previous run left behind, runs the control window until it
    /// closes, copies its values back and saves them. Always false: the
    /// program then ends.
    bool InitInstance(DialogService& dialogs);

    /// Answers the session manager's request to commit the data of the open
    /// control window `window`: the unsaved-changes question where the session
    /// allows it (Cancel cancels the logout), the recovery copy where it does
    /// not, then the settings saved as at closing.
    void CommitSessionData(CVellorDlg& window, const SessionRequest& session);

    /// The settings record as last loaded or taken back from the control window.
    const Settings& Record() const { return m_settings; }

  private:
    // Takes the window's settings back and writes them.
    void SaveFrom(const CVellorDlg& window);

    CIni m_ini;
    Settings m_settings;
    SettingsLocation m_location;
    QString m_recoveryCopyPath;
};
