// Feeds a whole connection's bytes to the remote control's reading of it,
// as a client on the network could send them: the request, whatever follows
// it, and the WebSocket frames once a request has opened one, in pieces of
// any size. The first byte picks the size of the pieces and whether the
// WebSockets are full. Besides surviving any input, the reader must see at
// most one request a connection, hold no more than the limits allow (a
// script's worth only for a script pushed with the token), give frames only
// to an open WebSocket, and refuse with the statuses the interface gives; a
// goto it takes names a paragraph from 1.

#include "ConnectionReader.h"
#include "RemoteCommand.h"
#include "RemoteLimits.h"
#include "RemoteScript.h"
#include "RequestJudge.h"
#include "WebSocketHandshake.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
using Kind = WebSocket::Event::Kind;

void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool IsOneOf(int status, std::initializer_list<int> known)
{
    for (const int each : known)
        if (status == each)
            return true;
    return false;
}

// A command's body parses to a command, a goto's to a paragraph from 1, or
// to a refusal with 400 and its message.
void RequireCommandRules(const std::variant<RemoteCommand, RemoteError>& command)
{
    if (const auto* refusal = std::get_if<RemoteError>(&command))
        Require(refusal->status == 400 && !refusal->message.isEmpty());
    else if (const RemoteCommand& taken = std::get<RemoteCommand>(command);
             taken.kind == RemoteCommand::Kind::GoTo)
        Require(taken.paragraph >= 1);
}

// The largest frame header: two bytes, eight of length, four of mask.
constexpr qsizetype kFrameHeaderBytes = 14;

struct Connection {
    JudgeContext context;
    ConnectionReader reader{
        [this](const RequestHead& head) { return BodyLimitFor(head, context); }};
    bool answered = false;
    bool webSocket = false;
    bool ended = false;

    void Request(const ConnectionReader::Request& request)
    {
        const RequestHead& head = request.head;
        Require(head.length <= RemoteLimits::kMaxHeadBytes);
        Require(request.body.size() == head.bodyLength);
        const auto judged = JudgeRequest(head, context);
        const bool script = std::holds_alternative<Endpoint>(judged) &&
                            std::get<Endpoint>(judged) == Endpoint::Script;
        Require(head.bodyLength <=
                (script ? RemoteLimits::kMaxScriptBytes : RemoteLimits::kMaxBodyBytes));
        if (const auto* refusal = std::get_if<RemoteError>(&judged)) {
            Require(IsOneOf(refusal->status, {400, 401, 403, 404, 405, 421, 503}));
            return;
        }
        switch (std::get<Endpoint>(judged)) {
        case Endpoint::WebSocket: {
            Require(!context.webSocketsFull && !WebSocketAcceptResponse(head).isEmpty());
            webSocket = true;
            std::vector<WebSocket::Event> events;
            reader.OpenWebSocket(events);
            Frames(events);
            return;
        }
        case Endpoint::Command:
        case Endpoint::Message:
            RequireCommandRules(std::get<Endpoint>(judged) == Endpoint::Message
                                    ? ParseRemoteMessage(request.body)
                                    : ParseRemoteCommand(request.body));
            return;
        case Endpoint::Script: {
            const auto text = ParseRemoteScript(request.body);
            if (const auto* refusal = std::get_if<RemoteError>(&text))
                Require(refusal->status == 400 && !refusal->message.isEmpty());
            return;
        }
        case Endpoint::PhonePage:
        case Endpoint::State:
            return;
        }
    }

    void Frames(const std::vector<WebSocket::Event>& events)
    {
        Require(events.empty() || (webSocket && !ended));
        for (const WebSocket::Event& event : events) {
            Require(!ended);
            Require(event.payload.size() <= RemoteLimits::kMaxBodyBytes);
            if (event.kind == Kind::Close || event.kind == Kind::Fail)
                ended = true;
            if (event.kind == Kind::Fail)
                Require(IsOneOf(event.closeCode, {1002, 1007, 1009}));
            if (event.kind == Kind::Text)
                RequireCommandRules(ParseRemoteCommand(event.payload));
        }
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype piece = 1 + (data[0] & 0x7F) * 37;
    Connection connection;
    connection.context = {"00112233445566778899aabbccddeeff", {"studio"}, (data[0] & 0x80) != 0};
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1),
                               static_cast<qsizetype>(size - 1));
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        std::vector<WebSocket::Event> events;
        const auto outcome =
            connection.reader.Read(bytes.sliced(at, std::min(piece, bytes.size() - at)), events);
        if (const auto* request = std::get_if<ConnectionReader::Request>(&outcome)) {
            Require(!connection.answered);
            connection.answered = true;
            connection.Request(*request);
        } else if (const auto* refusal = std::get_if<RemoteError>(&outcome)) {
            Require(!connection.answered && IsOneOf(refusal->status, {400, 413}));
            connection.answered = true;
        }
        connection.Frames(events);
        Require(connection.reader.HeldBytes() <= RemoteLimits::kMaxHeadBytes +
                                                     RemoteLimits::kMaxScriptBytes + piece +
                                                     kFrameHeaderBytes);
    }
    return 0;
}
