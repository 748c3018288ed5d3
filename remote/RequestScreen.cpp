#include "RequestScreen.h"

#include "RemoteLimits.h"

#include <algorithm>

namespace
{
using Verdict = RequestScreening::Verdict;

RequestScreening RefusedScreening(int status, const char* message)
{
    RequestScreening screening;
    screening.verdict = Verdict::Refuse;
    screening.error = {status, QString::fromLatin1(message)};
    return screening;
}

// Where the head ends: after the first empty line, whether the lines end in
// CR LF or in LF alone, as the HTTP server that reads the request next
// accepts both. -1 while no empty line has come.
qsizetype HeadEnd(QByteArrayView received)
{
    const qsizetype lf = received.indexOf(QByteArrayView("\n\n"));
    const qsizetype crlf = received.indexOf(QByteArrayView("\n\r\n"));
    if (lf < 0 && crlf < 0)
        return -1;
    if (crlf < 0 || (lf >= 0 && lf < crlf))
        return lf + 2;
    return crlf + 3;
}

bool IsToken(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c > ' ' && c < 127 && c != '(' && c != ')' && c != ',' && c != ':' && c != ';' &&
               c != '"' && c != '/' && c != '[' && c != ']' && c != '?' && c != '=' && c != '{' &&
               c != '}' && c != '\\' && c != '@';
    });
}

bool ParseRequestLine(QByteArrayView line, RequestHead& head)
{
    const QList<QByteArray> parts = line.toByteArray().split(' ');
    if (parts.size() != 3 || !IsToken(parts[0]) || !parts[1].startsWith('/') ||
        (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0"))
        return false;
    head.method = parts[0];
    const qsizetype question = parts[1].indexOf('?');
    head.path = question < 0 ? parts[1] : parts[1].first(question);
    head.query = question < 0 ? QByteArray() : parts[1].mid(question + 1);
    return std::none_of(parts[1].begin(), parts[1].end(),
                        [](char c) { return c <= ' ' || c >= 127; });
}

QByteArray WithoutCr(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// Content-Length as decimal digits alone; -1 for anything else.
qsizetype ParseLength(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return text.toLongLong();
}
} // namespace

QByteArray RequestHead::Field(QByteArrayView name) const
{
    for (const auto& [fieldName, value] : fields) {
        if (fieldName == name)
            return value;
    }
    return {};
}

bool RequestHead::IsUpgrade() const
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const auto& field) { return field.first == "upgrade"; });
}

RequestScreening ScreenRequest(QByteArrayView received, const BodyLimit& bodyLimit)
{
    const qsizetype headEnd = HeadEnd(received);
    if (headEnd < 0 || headEnd > RemoteLimits::kMaxHeadBytes) {
        if (headEnd < 0 && received.size() <= RemoteLimits::kMaxHeadBytes)
            return {};
        return RefusedScreening(413, "The request's header is too large.");
    }

    RequestScreening screening;
    RequestHead& head = screening.head;
    head.length = headEnd;
    QList<QByteArray> lines = received.first(headEnd).toByteArray().split('\n');
    lines.removeLast(); // after the blank line's LF
    lines.removeLast(); // the blank line itself
    if (lines.isEmpty() || !ParseRequestLine(WithoutCr(lines.takeFirst()), head))
        return RefusedScreening(400, "The request line is malformed.");

    bool lengthSeen = false;
    for (const QByteArray& rawLine : lines) {
        const QByteArray line = WithoutCr(rawLine);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(line.first(colon)))
            return RefusedScreening(400, "A header field is malformed.");
        const QByteArray name = line.first(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "transfer-encoding")
            return RefusedScreening(400, "Send the body with a Content-Length.");
        if (name == "content-length") {
            const qsizetype length = ParseLength(value);
            if (length < 0 || (lengthSeen && length != head.bodyLength))
                return RefusedScreening(400, "The Content-Length is malformed.");
            head.bodyLength = length;
            lengthSeen = true;
        }
        head.fields.append({name, value});
    }

    // Judged with every field known, before any of the body is held.
    if (head.bodyLength > (bodyLimit ? bodyLimit(head) : RemoteLimits::kMaxBodyBytes))
        return RefusedScreening(413, "The body is too large.");
    if (received.size() < head.length + head.bodyLength)
        return screening;
    screening.verdict = Verdict::Whole;
    return screening;
}

QByteArray QueryValue(QByteArrayView query, QByteArrayView name)
{
    for (const QByteArray& pair : query.toByteArray().split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals >= 0 && QByteArrayView(pair).first(equals) == name)
            return pair.mid(equals + 1);
    }
    return {};
}
