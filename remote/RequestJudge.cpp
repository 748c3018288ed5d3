#include "RequestJudge.h"

#include "RemoteLimits.h"
#include "WebSocketHandshake.h"

#include <QHostAddress>
#include <QHostInfo>

#include <algorithm>

namespace
{
constexpr QByteArrayView kLocalSuffix = ".local";

RemoteError Refused(int status, const char* message)
{
    return {status, QString::fromLatin1(message)};
}

bool IsPort(QByteArrayView text)
{
    return !text.isEmpty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The name or address in a Host field without its port; empty when malformed.
QByteArray HostName(const QByteArray& field)
{
    QByteArray name = field;
    qsizetype portColon = -1;
    if (name.startsWith('[')) {
        const qsizetype close = name.indexOf(']');
        if (close < 0 || (close + 1 < name.size() && name[close + 1] != ':'))
            return {};
        portColon = close + 1 < name.size() ? close + 1 : -1;
    } else if (name.count(':') == 1) {
        portColon = name.indexOf(':');
    } else if (name.contains(':')) {
        return {};
    }
    if (portColon >= 0) {
        if (!IsPort(QByteArrayView(name).sliced(portColon + 1)))
            return {};
        name.truncate(portColon);
    }
    if (name.endsWith('.'))
        name.chop(1);
    return name.toLower();
}

bool IsOwnName(const QByteArray& name, const QList<QByteArray>& hostNames)
{
    const QByteArray bare = name.startsWith('[') ? name.mid(1, name.size() - 2) : name;
    if (!QHostAddress(QString::fromLatin1(bare)).isNull() || name == "localhost")
        return true;
    const QByteArray withoutLocal =
        name.endsWith(kLocalSuffix) ? name.first(name.size() - kLocalSuffix.size()) : name;
    return hostNames.contains(withoutLocal);
}
} // namespace

std::variant<Endpoint, RemoteError> JudgeRequest(const RequestHead& head,
                                                 const JudgeContext& context)
{
    const QByteArray host = head.Field("host");
    const bool hostSent = std::any_of(head.fields.begin(), head.fields.end(),
                                      [](const auto& field) { return field.first == "host"; });
    if (hostSent) {
        const QByteArray name = HostName(host);
        if (name.isEmpty())
            return Refused(400, "The Host field is malformed.");
        if (!IsOwnName(name, context.hostNames))
            return Refused(421, "This server does not answer to that name.");
    }
    const bool originSent = std::any_of(head.fields.begin(), head.fields.end(),
                                        [](const auto& field) { return field.first == "origin"; });
    if (originSent &&
        (!hostSent || head.Field("origin").compare("http://" + host, Qt::CaseInsensitive) != 0))
        return Refused(403, "Requests from other sites are refused.");

    const auto route =
        RouteRequest({head.method, head.path, head.IsUpgrade(), head.Field("authorization"),
                      QueryValue(head.query, "token"), context.token});
    if (!std::holds_alternative<Endpoint>(route) ||
        std::get<Endpoint>(route) != Endpoint::WebSocket)
        return route;
    if (context.webSocketsFull)
        return Refused(503, "Too many WebSocket clients.");
    if (WebSocketAcceptResponse(head).isEmpty())
        return Refused(400, "The WebSocket handshake is malformed.");
    return route;
}

qsizetype BodyLimitFor(const RequestHead& head, const JudgeContext& context)
{
    const auto judged = JudgeRequest(head, context);
    const auto* endpoint = std::get_if<Endpoint>(&judged);
    return endpoint && *endpoint == Endpoint::Script ? RemoteLimits::kMaxScriptBytes
                                                     : RemoteLimits::kMaxBodyBytes;
}

QList<QByteArray> OwnHostNames()
{
    QList<QByteArray> names;
    const QByteArray host = QHostInfo::localHostName().toLower().toUtf8();
    if (!host.isEmpty())
        names.append(host);
    const QByteArray domain = QHostInfo::localDomainName().toLower().toUtf8();
    if (!host.isEmpty() && !domain.isEmpty())
        names.append(host + '.' + domain);
    return names;
}
