#include "OscControl.h"

#include "DialogService.h"
#include "Ini.h"
#include "ModulePath.h"
#include "RemoteCommandRun.h"
#include "SettingsStore.h"

#include <QRegularExpression>

AllowList ParseAllowList(const QString& text)
{
    AllowList list;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& entry : text.split(separators, Qt::SkipEmptyParts)) {
        const QHostAddress address(entry);
        if (address.isNull())
            list.rejected.append(entry);
        else
            list.addresses.append(address);
    }
    return list;
}

OscControl::OscControl(const CIni& ini, DialogService& dialogs, RemoteHost host)
    : m_host(std::move(host)),
      m_server([this](const RemoteCommand& command) { CarryOutRemoteCommand(command, m_host); },
               [] { return CurrentPrompterStatus(); })
{
    const OscSettings settings = LoadOscSettings(ini);
    if (!settings.enabled)
        return;
    const AllowList allowed = ParseAllowList(settings.allowFrom);
    const auto tell = [&dialogs](const QString& text) {
        dialogs.ShowMessage(nullptr, text, ApplicationTitle(), MessageButtons::Ok,
                            MessageIcon::Warning);
    };
    if (!allowed.rejected.isEmpty())
        tell(QStringLiteral("OSC control leaves out what is not an address in AllowFrom: %1.")
                 .arg(allowed.rejected.join(QStringLiteral(", "))));
    QString reason =
        m_server.Listen(static_cast<quint16>(settings.port), settings.lanAccess, allowed.addresses);
    if (reason.isEmpty())
        return;
    if (reason.endsWith(u'.'))
        reason.chop(1);
    tell(QStringLiteral("OSC control could not start on port %1: %2.")
             .arg(settings.port)
             .arg(reason));
}
