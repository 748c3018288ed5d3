#pragma once

#include <QString>
#include <QUrl>

#include <variant>

// Where a follower finds its leader: the leader's WebSocket and its token.
struct FollowTarget {
    QUrl webSocket; // ws://host:port/api/ws
    QString token;
};

/// Reads what the operator gave: an address (host and port, with or
/// without http://) and a token, or the phone page's address with its
/// #token= pasted whole and no token beside it. The reason it cannot be
/// followed when it is no such thing.
std::variant<FollowTarget, QString> ReadFollowAddress(const QString& address,
                                                      const QString& token = {});
