#include "RemoteRoutes.h"

#include <array>

namespace
{
struct Route {
    const char* path;
    const char* method;
    Endpoint endpoint;
};

constexpr char kApiPrefix[] = "/api/";

const std::array<Route, 6> kRoutes{{
    {"/", "GET", Endpoint::PhonePage},
    {"/api/state", "GET", Endpoint::State},
    {"/api/command", "POST", Endpoint::Command},
    {"/api/message", "POST", Endpoint::Message},
    {"/api/ws", "GET", Endpoint::WebSocket},
    {"/api/script", "PUT", Endpoint::Script},
}};

QByteArrayView BearerToken(QByteArrayView authorization)
{
    constexpr QByteArrayView kScheme("bearer ");
    if (authorization.size() <= kScheme.size() ||
        authorization.first(kScheme.size()).compare(kScheme, Qt::CaseInsensitive) != 0)
        return {};
    return authorization.sliced(kScheme.size()).trimmed();
}

RemoteError Refusal(int status, const char* message)
{
    return {status, QString::fromLatin1(message)};
}
} // namespace

bool TokensMatch(QByteArrayView given, QByteArrayView expected)
{
    if (expected.isEmpty())
        return false;
    // Every byte of the expected token is compared whatever the given one
    // holds, so the time taken tells nothing about how much of it was right.
    unsigned difference = given.size() == expected.size() ? 0U : 1U;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const char g = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(g ^ expected[i]);
    }
    return difference == 0;
}

std::variant<Endpoint, RemoteError> RouteRequest(const RouteQuery& query)
{
    if (query.path.startsWith(QByteArrayView(kApiPrefix))) {
        const bool viaQuery =
            query.path == QByteArrayView("/api/ws") && !query.queryToken.isEmpty();
        const QByteArrayView given = viaQuery ? query.queryToken : BearerToken(query.authorization);
        if (!TokensMatch(given, query.token))
            return RemoteError{401, {}};
    }
    for (const Route& route : kRoutes) {
        if (query.path != QByteArrayView(route.path))
            continue;
        if (query.method != QByteArrayView(route.method))
            return Refusal(405, "This path does not take that method.");
        const bool wantsUpgrade = route.endpoint == Endpoint::WebSocket;
        if (query.upgrade != wantsUpgrade)
            return Refusal(400, wantsUpgrade ? "This path takes WebSocket connections only."
                                             : "Only /api/ws takes WebSocket connections.");
        return route.endpoint;
    }
    return Refusal(404, "There is nothing at this path.");
}
