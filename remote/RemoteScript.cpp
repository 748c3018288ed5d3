#include "RemoteScript.h"

#include "RemoteLimits.h"

#include <QStringDecoder>

std::variant<QString, RemoteError> ParseRemoteScript(QByteArrayView body)
{
    // The server never reads a larger body; this holds for any caller.
    if (body.size() > RemoteLimits::kMaxScriptBytes)
        return RemoteError{413, QStringLiteral("The body is too large.")};
    if (body.contains('\0'))
        return RemoteError{400, QStringLiteral("A script holds no NUL bytes.")};
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(body);
    if (utf8.hasError())
        return RemoteError{400, QStringLiteral("Send the script as UTF-8 text.")};
    return text;
}
