#include "RemoteSettings.h"

#include "Ini.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace
{
constexpr char kSection[] = "Remote";
constexpr int kDecimal = 10;
constexpr int kTokenBytes = 16;

bool ReadFlag(const CIni& ini, const char* name)
{
    return ini.GetInt(kSection, name, 0, kDecimal) > 0;
}
} // namespace

RemoteSettings LoadRemoteSettings(const CIni& ini)
{
    RemoteSettings settings;
    settings.enabled = ReadFlag(ini, "Enabled");
    settings.lanAccess = ReadFlag(ini, "LanAccess");
    const int port = ini.GetInt(kSection, "Port", settings.port, kDecimal);
    if (port >= kLowestPort && port <= kHighestPort)
        settings.port = port;
    settings.token = QString::fromStdString(ini.GetString(kSection, "Token", ""));
    return settings;
}

void SaveRemoteSettings(CIni& ini, const RemoteSettings& settings)
{
    ini.WriteInt(kSection, "Enabled", settings.enabled ? 1 : 0, kDecimal);
    ini.WriteInt(kSection, "Port", settings.port, kDecimal);
    ini.WriteInt(kSection, "LanAccess", settings.lanAccess ? 1 : 0, kDecimal);
    // Closed to other users before the token is in it.
    if (!settings.token.isEmpty())
        ini.RestrictToOwner();
    ini.WriteString(kSection, "Token", settings.token.toLatin1().constData());
}

QString MakeRemoteToken()
{
    // QRandomGenerator::system() reads the operating system's secure source.
    std::array<quint32, kTokenBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words.data()), kTokenBytes).toHex());
}

bool IsStrongRemoteToken(const QString& token)
{
    return token.size() >= 2 * kTokenBytes && std::all_of(token.begin(), token.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') ||
                      (c >= u'A' && c <= u'F');
           });
}
