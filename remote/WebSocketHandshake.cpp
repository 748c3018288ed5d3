#include "WebSocketHandshake.h"

#include <QCryptographicHash>

namespace
{
// Fixed by the protocol: the server proves it read the key by hashing it with this.
constexpr QByteArrayView kAcceptSalt = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
constexpr qsizetype kKeyBytes = 16;

bool ListsToken(const QByteArray& field, QByteArrayView token)
{
    for (const QByteArray& item : field.split(',')) {
        if (item.trimmed().compare(token, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
} // namespace

QByteArray WebSocketAcceptResponse(const RequestHead& head)
{
    const QByteArray key = head.Field("sec-websocket-key");
    const auto decoded =
        QByteArray::fromBase64Encoding(key, QByteArray::AbortOnBase64DecodingErrors);
    if (head.method != "GET" || head.Field("upgrade").compare("websocket", Qt::CaseInsensitive) ||
        !ListsToken(head.Field("connection"), "upgrade") ||
        head.Field("sec-websocket-version") != "13" || !decoded ||
        decoded.decoded.size() != kKeyBytes)
        return {};
    const QByteArray accept =
        QCryptographicHash::hash(key + kAcceptSalt.toByteArray(), QCryptographicHash::Sha1)
            .toBase64();
    return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
           "Sec-WebSocket-Accept: " +
           accept + "\r\n\r\n";
}
