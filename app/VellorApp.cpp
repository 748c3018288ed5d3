#include "VellorApp.h"

#include "ModulePath.h"
#include "PrompterSettings.h"
#include "RecoveryKeeper.h"
#include "RemoteControl.h"
#include "VellorDlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <utility>

namespace
{

// The recovery copy lives beside the settings file and is named after it
// ("vellor.ini" keeps "vellor.recovery"), so it follows the settings wherever
// they live.
QString RecoveryCopyPathFor(const QString& settingsPath)
{
    const QFileInfo settings(settingsPath);
    return settings.dir().filePath(settings.completeBaseName() + QStringLiteral(".recovery"));
}

// Offers the copy an earlier run left behind: Yes answers it, No deletes it.
std::optional<RecoveryCopy> OfferRecovery(RecoveryKeeper& recovery, DialogService& dialogs)
{
    if (!recovery.Lock())
        return std::nullopt;
    std::optional<RecoveryCopy> copy = recovery.LeftBehind();
    if (!copy)
        return std::nullopt;
    const QString file =
        copy->filePath.isEmpty() ? QStringLiteral("the newly created file") : copy->filePath;
    const QString time = copy->time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString question =
        QStringLiteral("Recover the unsaved changes to %1 from %2?").arg(file, time);
    if (dialogs.ShowMessage(nullptr, question, ApplicationTitle(), MessageButtons::YesNo,
                            MessageIcon::Question) == MessageAnswer::Yes)
        return copy;
    recovery.Discard();
    return std::nullopt;
}

} // namespace

CVellorApp::CVellorApp(SettingsLocation location)
    : m_location(std::move(location)),
      m_recoveryCopyPath(RecoveryCopyPathFor(m_location.settingsPath))
{
    m_ini.SetPathName(QFile::encodeName(m_location.settingsPath).constData());
}

CVellorApp::CVellorApp(const QString& settingsPath, const QString& defaultScriptPath)
    : CVellorApp(SettingsLocation{settingsPath, defaultScriptPath, QString()})
{
}

bool CVellorApp::InitInstance(DialogService& dialogs)
{
    PrepareSettingsLocation(m_location);
    LoadSettings(m_ini, m_settings, m_location.defaultScriptPath);
    m_loadedCue = LoadPrompterSettings(m_ini);
    m_loadedPreview = LoadPreviewChoice(m_ini);
    RecoveryKeeper recovery(m_recoveryCopyPath);
    std::optional<RecoveryCopy> recovered = OfferRecovery(recovery, dialogs);
    ReadingCue cue = m_loadedCue;
    bool preview = m_loadedPreview;
    {
        CVellorDlg window(dialogs);
        CopySettingsToWindow(m_settings, window);
        window.m_readingCue = m_loadedCue;
        window.m_showPreview = m_loadedPreview;
        // Recovered changes come back as unsaved changes of their own file.
        if (recovered && !recovered->filePath.isEmpty())
            window.m_strFilePath = recovered->filePath;
        window.m_recovered = std::move(recovered);
        window.KeepRecoveryCopy(recovery);
        // Qt asks for the data directly, inside the session manager's request.
        QObject::connect(
            qGuiApp, &QGuiApplication::commitDataRequest, &window,
            [this, &window](QSessionManager& manager) {
                CommitSessionData(window, {[&manager] { return manager.allowsInteraction(); },
                                           [&manager] { manager.cancel(); }});
            },
            Qt::DirectConnection);
        RemoteControl remote(m_ini, dialogs,
                             {[&window] { return window.QueueScroll(); },
                              [&window] { return window.m_strFileName; }});
        window.SetRemoteControlDialog([&remote, &window] { remote.OpenDialog(&window); });
        window.DoModal();
        CopyWindowToSettings(window, m_settings);
        cue = window.m_readingCue;
        preview = window.m_showPreview;
    }
    SaveSettings(m_ini, m_settings);
    SavePrompterSettings(m_ini, cue, m_loadedCue);
    SavePreviewChoice(m_ini, preview, m_loadedPreview);
    return false;
}

void CVellorApp::CommitSessionData(CVellorDlg& window, const SessionRequest& session)
{
    if (!window.OnSessionEnd(session.allowsInteraction)) {
        session.cancel();
        return;
    }
    // The session may end the program without the window ever closing.
    window.TakeValuesFromControls();
    CopyWindowToSettings(window, m_settings);
    SaveSettings(m_ini, m_settings);
    SavePrompterSettings(m_ini, window.m_readingCue, m_loadedCue);
    SavePreviewChoice(m_ini, window.m_showPreview, m_loadedPreview);
}

void CopySettingsToWindow(const Settings& settings, CVellorDlg& window)
{
    window.m_strFilePath = settings.m_strMRF;
    window.m_crBack = settings.m_crBack;
    window.m_crText = settings.m_crText;
    window.m_strFontName = settings.m_strFontName;
    window.m_nFontSize = settings.m_nFontSize;
    window.m_bUseMouse = settings.m_bUseMouse;
    window.m_bMon1Reverse = !settings.m_bRightReading;
    window.m_nScrollSpeed = settings.m_nScrollSpeed;
    window.m_nCPUSpeed = settings.m_nCPUSpeed;
}

void CopyWindowToSettings(const CVellorDlg& window, Settings& settings)
{
    settings.m_strMRF = window.m_strFilePath;
    settings.m_crBack = window.m_crBack;
    settings.m_crText = window.m_crText;
    settings.m_strFontName = window.m_strFontName;
    settings.m_nFontSize = window.m_nFontSize;
    settings.m_bUseMouse = window.m_bUseMouse;
    settings.m_bRightReading = !window.m_bMon1Reverse;
    settings.m_nScrollSpeed = window.m_nScrollSpeed;
    settings.m_nCPUSpeed = window.m_nCPUSpeed;
}
