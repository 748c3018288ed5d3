#include "RemoteControl.h"

#include "DialogService.h"
#include "Ini.h"
#include "ModulePath.h"
#include "RemoteControlDlg.h"

RemoteControl::RemoteControl(CIni& ini, DialogService& dialogs, RemoteHost host)
    : m_ini(ini), m_dialogs(dialogs), m_settings(LoadRemoteSettings(ini)), m_server(std::move(host))
{
    // A file that was left open to other users is closed before anything listens.
    if (!m_settings.token.isEmpty())
        m_ini.RestrictToOwner();
    if (m_settings.enabled)
        Apply(nullptr);
}

void RemoteControl::OpenDialog(QWidget* parent)
{
    RemoteControlDlg dialog(m_settings, m_server.ClientCount(), parent);
    QObject::connect(&m_server, &RemoteServer::clientCountChanged, &dialog,
                     &RemoteControlDlg::SetClientCount);
    if (m_dialogs.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const RemoteSettings chosen = dialog.Settings();
    const bool changed = chosen.enabled != m_settings.enabled || chosen.port != m_settings.port ||
                         chosen.lanAccess != m_settings.lanAccess ||
                         chosen.token != m_settings.token;
    m_settings = chosen;
    if (changed)
        SaveRemoteSettings(m_ini, m_settings);
    // A server that could not start is tried again on OK.
    if (changed || m_settings.enabled != m_server.IsListening())
        Apply(parent);
}

void RemoteControl::Apply(QWidget* parent)
{
    if (!m_settings.enabled) {
        m_server.Close();
        return;
    }
    // A missing or weak token is replaced before anything listens.
    if (!IsStrongRemoteToken(m_settings.token)) {
        m_settings.token = MakeRemoteToken();
        SaveRemoteSettings(m_ini, m_settings);
    }
    QString reason = m_server.Listen(static_cast<quint16>(m_settings.port), m_settings.lanAccess,
                                     m_settings.token.toLatin1());
    if (reason.isEmpty())
        return;
    if (reason.endsWith(u'.'))
        reason.chop(1);
    m_dialogs.ShowMessage(parent,
                          QStringLiteral("Remote control could not start on port %1: %2.")
                              .arg(m_settings.port)
                              .arg(reason),
                          ApplicationTitle(), MessageButtons::Ok, MessageIcon::Warning);
}
