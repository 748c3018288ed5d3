#include "FollowLink.h"
#include "FollowMessages.h"
#include "RemoteClients.h"
#include "RemoteLimits.h"
#include "RemoteServer.h"
#include "ScrollRunState.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QWebSocketServer>
#include <gtest/gtest.h>

#include <functional>

namespace
{
const QString kFollowToken = QStringLiteral("00112233445566778899aabbccddeeff");

FollowTarget TargetAt(quint16 port, const QString& token = kFollowToken)
{
    return {QUrl(QStringLiteral("ws://127.0.0.1:%1/api/ws").arg(port)), token};
}

// Runs the event loop until `done` holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && !waited.hasExpired(ms))
        QTest::qWait(10);
    return done();
}

class FollowLeader : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        g_runParams.scriptText = "One\r\nTwo\r\n";
        g_runParams.lineCount = 2;
        g_runParams.fontFace = QStringLiteral("DejaVu Sans");
        g_runParams.fontPoints = 48;
        g_runParams.fontWeight = 400;
        ASSERT_TRUE(server.Listen(0, false, kFollowToken.toLatin1()).isEmpty());
    }
    void TearDown() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
    }

    RemoteServer server{RemoteHost{[] { return false; }, [] { return QString(); }}};
};

// A leader that says what it is told to, to whoever connects.
class HostileLeader
{
  public:
    explicit HostileLeader(std::function<void(QWebSocket&)> say)
        : m_server(QStringLiteral("hostile"), QWebSocketServer::NonSecureMode)
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QWebSocketServer::newConnection, [this, say] {
            QWebSocket* socket = m_server.nextPendingConnection();
            ++connections;
            say(*socket);
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    int connections = 0;

  private:
    QWebSocketServer m_server;
};
} // namespace

TEST_F(FollowLeader, GivesAFollowerTheRunAndTheClockAndAPhoneNothingNew)
{
    WsClient phone(server.Port(), kFollowToken);
    FollowLink link(TargetAt(server.Port()));
    link.Open();
    ASSERT_TRUE(WaitUntil(
        [&] { return link.Stream().Ready() && link.Stream().Clock().Offset(FollowLink::Now()); }));
    EXPECT_TRUE(link.InStep());
    EXPECT_EQ(*link.Stream().Script(), "One\r\nTwo\r\n");
    EXPECT_EQ(link.Stream().Look()->points, 48);
    // One machine, one clock: the offset is the link's own delay at most.
    EXPECT_LT(std::abs(*link.Stream().Clock().Offset(FollowLink::Now())), 50'000);
    for (const QByteArray& message : phone.messages)
        EXPECT_TRUE(QJsonDocument::fromJson(message).object().contains("running"))
            << message.toStdString();

    // A live edit reaches the follower.
    g_runParams.scriptText = "One\r\nTwo and a half\r\n";
    ++g_runState.scriptEdits;
    EXPECT_TRUE(WaitUntil([&] { return *link.Stream().Script() == "One\r\nTwo and a half\r\n"; }));
}

TEST_F(FollowLeader, ALostLeaderIsToldAndFoundAgainWhenItIsBack)
{
    const quint16 port = server.Port();
    FollowLink link(TargetAt(port));
    QStringList lost;
    QObject::connect(&link, &FollowLink::lost, [&](const QString& why) { lost.append(why); });
    link.Open();
    ASSERT_TRUE(WaitUntil([&] { return link.InStep(); })) << link.Problem().toStdString();
    server.Close();
    EXPECT_TRUE(WaitUntil([&] { return !link.InStep(); }));
    ASSERT_FALSE(lost.isEmpty());
    EXPECT_FALSE(link.Problem().isEmpty());
    ASSERT_TRUE(server.Listen(port, false, kFollowToken.toLatin1()).isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return link.InStep(); }, 2 * RemoteLimits::kFollowRetryMs + 2000));

    // A wrong token is refused as the remote refuses any client.
    FollowLink stranger(TargetAt(port, QStringLiteral("ffeeddccbbaa99887766554433221100")));
    stranger.Open();
    EXPECT_TRUE(WaitUntil([&] { return !stranger.Problem().isEmpty(); }));
    EXPECT_FALSE(stranger.Stream().Ready());
}

TEST(FollowHostileLeader, EveryKindOfNonsenseIsToldAndTheLinkTriesAgain)
{
    const QString look =
        QString::fromUtf8(LookJson({QStringLiteral("DejaVu Sans"), 48, 400, 0xFFFFFF, 0, 40}));
    const struct {
        const char* what;
        std::function<void(QWebSocket&)> say;
        const char* problem; // the start of what the follower tells
    } rows[] = {
        {"broken JSON", [](QWebSocket& s) { s.sendTextMessage(QStringLiteral("{\"keypoint\":")); },
         "The leader sent something that is not a JSON object."},
        {"a place past the end",
         [look](QWebSocket& s) {
             s.sendTextMessage(look);
             s.sendTextMessage(QString::fromUtf8(
                 KeypointJson({0, 1'000'000, 10, ScrollDirection::Forward, false, true, 3})));
         },
         "The leader sent a place past the end of its script."},
        {"a message larger than any it may send",
         [](QWebSocket& s) {
             s.sendTextMessage(QString(RemoteLimits::kMaxLeaderMessageBytes + 1, u'x'));
         },
         "The leader closed the link"},
        {"binary", [](QWebSocket& s) { s.sendBinaryMessage("\x01\x02"); },
         "The leader sent a binary message."},
        {"a script larger than any it may have",
         [](QWebSocket& s) {
             const QByteArray piece(RemoteLimits::kFollowScriptPartBytes, 'x');
             for (qint64 at = 0; at <= RemoteLimits::kMaxScriptBytes; at += piece.size())
                 s.sendTextMessage(QString::fromUtf8(ScriptPartJson({1, at, piece, false})));
         },
         "The leader sent a script larger than 2 MiB."},
    };
    for (const auto& row : rows) {
        HostileLeader leader(row.say);
        FollowLink link(TargetAt(leader.Port()));
        link.Open();
        EXPECT_TRUE(WaitUntil([&] { return !link.Problem().isEmpty(); })) << row.what;
        EXPECT_TRUE(link.Problem().startsWith(QString::fromLatin1(row.problem)))
            << row.what << ": " << link.Problem().toStdString();
        EXPECT_FALSE(link.InStep()) << row.what;
        EXPECT_TRUE(
            WaitUntil([&] { return leader.connections >= 2; }, RemoteLimits::kFollowRetryMs + 3000))
            << row.what << ": tried again";
    }
}
