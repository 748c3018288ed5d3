// The rules a connection's bytes are read by, without sockets: which
// requests the server answers, the WebSocket frames it takes, and who waits
// for a request to arrive.
#include "ConnectionReader.h"
#include "RequestJudge.h"
#include "WaitingRoom.h"
#include "WebSocketFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr QByteArrayView kJudgedToken = "0123456789abcdef0123456789abcdef";
const QByteArray kBearer = "Authorization: Bearer " + kJudgedToken.toByteArray() + "\r\n";
const QByteArray kHandshake = "Connection: keep-alive, Upgrade\r\nUpgrade: websocket\r\n"
                              "Sec-WebSocket-Version: 13\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";

int Judged(const QByteArray& request, bool webSocketsFull = false)
{
    std::vector<WebSocket::Event> events;
    ConnectionReader reader;
    const auto outcome = reader.Read(request, events);
    if (const auto* refusal = std::get_if<RemoteError>(&outcome))
        return refusal->status;
    const auto judged = JudgeRequest(std::get<ConnectionReader::Request>(outcome).head,
                                     {kJudgedToken.toByteArray(), {"studio"}, webSocketsFull});
    return std::holds_alternative<RemoteError>(judged) ? std::get<RemoteError>(judged).status : 0;
}

QByteArray Frame(quint8 first, const QByteArray& payload, bool masked = true)
{
    const char mask[] = {0x0f, 0x70, 0x01, 0x55};
    QByteArray frame(1, static_cast<char>(first));
    frame.append(static_cast<char>((masked ? 0x80 : 0) | payload.size()));
    if (masked)
        frame.append(mask, 4);
    for (qsizetype i = 0; i < payload.size(); ++i)
        frame.append(static_cast<char>(payload[i] ^ (masked ? mask[i % 4] : 0)));
    return frame;
}

// The events as kind and payload or close code, fed `step` bytes at a time.
std::string Events(const QByteArray& bytes, qsizetype step)
{
    WebSocket::FrameReader reader(16);
    std::vector<WebSocket::Event> events;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        reader.Read(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)), events);
    std::string text;
    for (const WebSocket::Event& event : events) {
        using Kind = WebSocket::Event::Kind;
        const char* names[] = {"text", "binary", "ping", "close", "fail"};
        text += names[static_cast<int>(event.kind)];
        text += event.kind == Kind::Close || event.kind == Kind::Fail
                    ? ' ' + std::to_string(event.closeCode)
                    : ' ' + event.payload.toStdString();
        text += ';';
    }
    return text;
}
} // namespace

TEST(RequestJudging, AnswersOnlyRequestsMeantForThisServerFromItsOwnPages)
{
    const struct {
        QByteArray request;
        int status; // 0: let through
    } rows[] = {
        {"GET /api/ws HTTP/1.1\r\n" + kBearer + kHandshake + "\r\n", 0}, // the header, no query
        {"GET /api/ws HTTP/1.1\r\n" + kHandshake + "\r\n", 401},
        {"GET /api/ws?token=" + kJudgedToken.toByteArray() + " HTTP/1.1\r\n" + kHandshake + "\r\n",
         0},
        {
            "GET /api/ws HTTP/1.1\r\n" + kBearer + kHandshake + "\r\n",
            503,
        },
        {"GET /api/ws HTTP/1.1\r\n" + kBearer + "Upgrade: websocket\r\n\r\n", 400},
        {"GET /api/ws HTTP/1.1\r\n" + kBearer +
             "Connection: Upgrade\r\nUpgrade: websocket\r\nSec-WebSocket-Version: 8\r\n"
             "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n",
         400},
        {"GET / HTTP/1.1\r\nHost: 127.0.0.1:8787\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: [::1]:8787\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: LOCALHOST\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: studio.local:8787\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: Studio.\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: 192.168.1.20:8787\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: attacker.example:8787\r\n\r\n", 421},
        {"GET / HTTP/1.1\r\nHost: studio.attacker.example\r\n\r\n", 421},
        {"GET / HTTP/1.1\r\nHost: a:b:c\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: localhost:port\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: \r\n\r\n", 400},
        {"POST /api/command HTTP/1.1\r\nHost: localhost:8787\r\nOrigin: http://localhost:8787\r\n" +
             kBearer + "\r\n",
         0},
        {"POST /api/command HTTP/1.1\r\nHost: localhost:8787\r\nOrigin: http://evil.example\r\n" +
             kBearer + "\r\n",
         403},
        {"POST /api/command HTTP/1.1\r\nHost: localhost:8787\r\nOrigin: "
         "https://localhost:8787\r\n" +
             kBearer + "\r\n",
         403},
        {"POST /api/command HTTP/1.1\r\nOrigin: http://localhost:8787\r\n" + kBearer + "\r\n", 403},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Judged(rows[i].request, i == 3), rows[i].status) << rows[i].request.toStdString();
}

TEST(ConnectionReading, ReadsOneRequestAndNothingAfterItUnlessItOpensAWebSocket)
{
    std::vector<WebSocket::Event> events;
    ConnectionReader plain;
    const QByteArray second = "GET /api/ws HTTP/1.1\r\n" + kHandshake + "\r\n";
    const auto first = plain.Read("GET / HTTP/1.1\r\n\r\n" + second, events);
    ASSERT_TRUE(std::holds_alternative<ConnectionReader::Request>(first));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(plain.Read(second, events)));
    EXPECT_TRUE(events.empty());

    ConnectionReader upgraded;
    const QByteArray text = Frame(0x81, "{}");
    upgraded.Read("GET /api/ws HTTP/1.1\r\n\r\n" + text.first(3), events);
    upgraded.OpenWebSocket(events);
    upgraded.Read(text.sliced(3), events);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events.front().payload, "{}");
}

TEST(WebSocketFrames, TakesWhatTheProtocolAllowsAndFailsTheRest)
{
    const struct {
        QByteArray bytes;
        std::string events;
    } rows[] = {
        {Frame(0x81, "hello"), "text hello;"},
        {Frame(0x01, "hel") + Frame(0x89, "p") + Frame(0x80, "lo"), "ping p;text hello;"},
        {Frame(0x82, "\x01\x02"), "binary \x01\x02;"},
        {Frame(0x8A, "ignored") + Frame(0x81, "a"), "text a;"},
        {Frame(0x88, "\x03\xe8") + Frame(0x81, "after"), "close 1000;"},
        {Frame(0x88, ""), "close 1000;"},
        {Frame(0x88, "\x03"), "fail 1002;"},
        {Frame(0x88, "\x03\xed"), "fail 1002;"}, // 1005 is never sent
        {Frame(0x81, "plain", false), "fail 1002;"},
        {Frame(0xC1, "rsv"), "fail 1002;"},
        {Frame(0x83, "op"), "fail 1002;"},
        {Frame(0x80, "orphan"), "fail 1002;"},
        {Frame(0x01, "a") + Frame(0x81, "b"), "fail 1002;"},
        {Frame(0x09, "split ping"), "fail 1002;"},
        {Frame(0x81, "\xff\xfe"), "fail 1007;"},
        {Frame(0x81, "seventeen bytes!!"), "fail 1009;"},
        {Frame(0x01, "twelve bytes") + Frame(0x80, "12345"), "fail 1009;"},
        {QByteArray("\x81\xff\x7f\xff\xff\xff\xff\xff\xff\xff", 10), "fail 1009;"},
    };
    for (const auto& row : rows) {
        for (const qsizetype step : {qsizetype(1), qsizetype(3), row.bytes.size()})
            EXPECT_EQ(Events(row.bytes, step), row.events) << row.events << " by " << step;
    }
}

TEST(WaitingRoomTest, KeepsAFewPlacesAnAddressAndMakesRoomFromTheAddressHoldingMost)
{
    WaitingRoom room(4, 2);
    const struct {
        quint64 id;
        const char* address;
        bool admitted;
        quint64 dropped; // 0: none
    } rows[] = {
        {1, "a", true, 0}, {2, "a", true, 0}, {3, "a", false, 0}, // a's share is taken
        {4, "b", true, 0}, {5, "c", true, 0},                     // every place is taken
        {6, "d", true, 1},                                        // a's oldest makes room
        {7, "e", true, 2},                                        // a's next
        {8, "b", true, 4},                                        // b holds as many as any
    };
    for (const auto& row : rows) {
        const WaitingRoom::Entry entry = room.Enter(row.id, QString::fromLatin1(row.address));
        EXPECT_EQ(entry.admitted, row.admitted) << row.id;
        EXPECT_EQ(entry.dropped.value_or(0), row.dropped) << row.id;
    }
    EXPECT_EQ(room.Count(), 4);
    room.Leave(8);
    room.Leave(8);
    EXPECT_EQ(room.Count(), 3);
}
