#include "HttpResponse.h"

#include "RemoteJson.h"

namespace
{
QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 409:
        return "Conflict";
    case 413:
        return "Payload Too Large";
    case 421:
        return "Misdirected Request";
    case 429:
        return "Too Many Requests";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}
} // namespace

QByteArray HttpResponse(int status, const QByteArray& contentType, const QByteArray& body,
                        const QList<QPair<QByteArray, QByteArray>>& fields)
{
    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) + "\r\n";
    if (!body.isEmpty())
        response += "Content-Type: " + contentType + "\r\n";
    for (const auto& [name, value] : fields)
        response += name + ": " + value + "\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) +
                "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff"
                "\r\nConnection: close\r\n\r\n" +
                body;
    return response;
}

QByteArray HttpErrorResponse(const RemoteError& error)
{
    const QByteArray body = error.status == 401 ? QByteArray() : ErrorJson(error.message);
    return HttpResponse(error.status, "application/json", body);
}
