#include "HttpErrorResponse.h"

#include "RemoteJson.h"

namespace
{
QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 409:
        return "Conflict";
    case 413:
        return "Payload Too Large";
    case 429:
        return "Too Many Requests";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}
} // namespace

QByteArray HttpErrorBody(const RemoteError& error)
{
    return error.status == 401 ? QByteArray() : ErrorJson(error.message);
}

QByteArray HttpErrorResponse(const RemoteError& error)
{
    const QByteArray body = HttpErrorBody(error);
    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(error.status) + ' ' + ReasonPhrase(error.status) + "\r\n";
    if (!body.isEmpty())
        response += "Content-Type: application/json\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
    return response;
}
