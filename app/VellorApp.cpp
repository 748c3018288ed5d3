#include "VellorApp.h"

#include "ModulePath.h"
#include "OscControl.h"
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
    RecoveryKeeper recovery(m_recoveryCopyPath);
    std::optional<RecoveryCopy> recovered = OfferRecovery(recovery, dialogs);
    CVellorDlg window(dialogs);
    window.m_settings = m_settings;
    // Recovered changes come back as unsaved changes of their own file.
    if (recovered && !recovered->filePath.isEmpty())
        window.m_settings.m_strMRF = recovered->filePath;
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
    const RemoteHost host{
        [&window] { return window.QueueScroll(); }, [&window] { return window.m_strFileName; },
        [&window](const QString& text) { return window.ReplaceScriptText(text); }};
    RemoteControl remote(m_ini, dialogs, host);
    OscControl osc(m_ini, dialogs, host);
    window.SetRemoteControlDialog([&remote, &window] { remote.OpenDialog(&window); });
    // --follow <address>: this prompter follows the one there from the start.
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--follow")); at > 0)
        window.QueueFollow(arguments.value(at + 1));
    window.DoModal();
    SaveFrom(window);
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
    SaveFrom(window);
}

void CVellorApp::SaveFrom(const CVellorDlg& window)
{
    m_settings = window.m_settings;
    SaveSettings(m_ini, m_settings);
}
