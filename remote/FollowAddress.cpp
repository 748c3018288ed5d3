#include "FollowAddress.h"

#include <algorithm>

namespace
{
constexpr int kRemoteDefaultPort = 8787;
constexpr QLatin1StringView kTokenPrefix("token=");

bool IsHexadecimal(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
    });
}
} // namespace

std::variant<FollowTarget, QString> ReadFollowAddress(const QString& address, const QString& token)
{
    const QString trimmed = address.trimmed();
    const QUrl url = QUrl::fromUserInput(
        trimmed.contains(QStringLiteral("://")) ? trimmed : QStringLiteral("http://") + trimmed);
    if (!url.isValid() || url.host().isEmpty() || url.scheme() != QStringLiteral("http") ||
        !url.userInfo().isEmpty())
        return QStringLiteral("\"%1\" is not the address of a prompter's remote control.")
            .arg(trimmed);
    QString key = token.trimmed();
    if (key.isEmpty() && url.fragment().startsWith(kTokenPrefix))
        key = url.fragment().mid(kTokenPrefix.size());
    if (!IsHexadecimal(key))
        return QStringLiteral("The token is missing or is not hexadecimal digits.");
    QUrl webSocket;
    webSocket.setScheme(QStringLiteral("ws"));
    webSocket.setHost(url.host());
    webSocket.setPort(url.port(kRemoteDefaultPort));
    webSocket.setPath(QStringLiteral("/api/ws"));
    return FollowTarget{webSocket, key};
}
