#include "RemoteServer.h"
#include "FakeDialogService.h"
#include "Ini.h"
#include "PresenterMessage.h"
#include "PrompterRunFixture.h"
#include "RemoteClients.h"
#include "RemoteControl.h"
#include "ScrollRun.h"
#include "TempDir.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTest>
#include <QWebSocketProtocol>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{
const QString kToken = QStringLiteral("00112233445566778899aabbccddeeff");
const QByteArray kBearer = "Bearer " + kToken.toLatin1();

QJsonObject Json(const QByteArray& body)
{
    return QJsonDocument::fromJson(body).object();
}

QByteArray CommandBody(const char* name)
{
    return QByteArray("{\"command\":\"") + name + "\"}";
}

// A port nothing listens on at the moment.
quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Whether a connection to `address` on `port` is taken.
bool Connects(const QHostAddress& address, quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(address, port);
    return socket.waitForConnected(2000);
}
} // namespace

// A listening server whose SCROLL starts a real run of the fixture's script
// on the offscreen platform.
class RemoteServerTest : public PrompterRunFixture
{
  protected:
    void SetUp() override
    {
        PrompterRunFixture::SetUp();
        g_runParams.speedValue = 1000;
        ASSERT_TRUE(server.Listen(0, false, kToken.toLatin1()).isEmpty());
        http = std::make_unique<HttpClient>(server.Port());
    }

    HttpAnswer Command(const char* name, const QByteArray& authorization = kBearer)
    {
        return http->Send("POST", QStringLiteral("/api/command"), CommandBody(name), authorization);
    }

    bool startAllowed = true;
    int startsAsked = 0;
    RemoteServer server{RemoteHost{[this] {
                                       ++startsAsked;
                                       if (!startAllowed)
                                           return false;
                                       QMetaObject::invokeMethod(
                                           qApp, [] { StartScrollRun(false); },
                                           Qt::QueuedConnection);
                                       return true;
                                   },
                                   [] { return QStringLiteral("talk.txt"); }}};
    std::unique_ptr<HttpClient> http;
};

TEST_F(RemoteServerTest, ServesThePageAndTheStateAndAnswersEveryBadRequestWithItsError)
{
    const HttpAnswer page = http->Send("GET", QStringLiteral("/"));
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.contentType.startsWith("text/html"));
    EXPECT_TRUE(page.body.contains("/api/ws?token="));
    EXPECT_FALSE(page.body.contains("http://")) << "the page loads nothing from elsewhere";

    const HttpAnswer state = http->Send("GET", QStringLiteral("/api/state"), {}, kBearer);
    EXPECT_EQ(state.status, 200);
    EXPECT_EQ(Json(state.body)["running"], false);
    EXPECT_EQ(Json(state.body)["script"], "talk.txt");

    // Without the right token: 401 and nothing else, wherever under /api/.
    for (const QByteArray& authorization :
         {QByteArray(), QByteArray("Bearer 00112233"), "Bearer " + kToken.toUpper().toLatin1()}) {
        for (const char* path : {"/api/state", "/api/nothing"}) {
            const HttpAnswer refused =
                http->Send("GET", QString::fromLatin1(path), {}, authorization);
            EXPECT_EQ(refused.status, 401) << path;
            EXPECT_TRUE(refused.body.isEmpty()) << path;
        }
        EXPECT_EQ(Command("stop", authorization).status, 401);
    }

    const struct {
        HttpAnswer answer;
        int status;
    } rows[] = {
        {http->Send("GET", QStringLiteral("/api/nothing"), {}, kBearer), 404},
        {http->Send("GET", QStringLiteral("/index.html")), 404},
        {http->Send("DELETE", QStringLiteral("/api/state"), {}, kBearer), 405},
        {http->Send("GET", QStringLiteral("/api/command"), {}, kBearer), 405},
        {http->Send("POST", QStringLiteral("/api/command"), "{\"command\":", kBearer), 400},
        {http->Send("POST", QStringLiteral("/api/command"), CommandBody("jump"), kBearer), 400},
        {http->Send("POST", QStringLiteral("/api/command"), QByteArray(4097, ' '), kBearer), 413},
        {http->Send("GET", QStringLiteral("/api/ws"), {}, kBearer), 400},
        {Command("pause"), 409}, // no run is on the screen
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.answer.status, row.status) << row.answer.body.toStdString();
        EXPECT_TRUE(Json(row.answer.body)["error"].isString()) << row.answer.body.toStdString();
    }
    startAllowed = false; // as while a dialog is open
    EXPECT_EQ(Command("start").status, 409);

    // What the HTTP server never gets to read.
    EXPECT_TRUE(http->Raw("POST /api/command HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n")
                    .startsWith("HTTP/1.1 400"));
    EXPECT_TRUE(
        http->Raw("GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'x')).startsWith("HTTP/1.1 413"));
    EXPECT_TRUE(http->Raw("POST /api/command HTTP/1.1\r\nContent-Length: 99999\r\n\r\n")
                    .startsWith("HTTP/1.1 413"));
    // A second request on the same connection is not answered.
    const QByteArray twice = http->Raw("GET / HTTP/1.1\r\n\r\nGET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(twice.count("HTTP/1.1 200"), 1);
}

TEST_F(RemoteServerTest, PutsAMessageOnTheGlassWithOrWithoutARun)
{
    const auto post = [this](const QByteArray& body, const QByteArray& authorization = kBearer) {
        return http->Send("POST", QStringLiteral("/api/message"), body, authorization).status;
    };
    EXPECT_EQ(post(R"({"text":"WRAP IN 30","seconds":60})"), 200);
    EXPECT_EQ(PresenterMessageAt(std::chrono::steady_clock::now()), "WRAP IN 30");
    const struct {
        QByteArray body;
        QByteArray authorization;
        int status;
    } refusals[] = {
        {R"({"text":"STRANGER"})", {}, 401},
        {R"({"text":")" + QByteArray(kMessageLongest + 1, 'x') + R"("})", kBearer, 400},
        {R"({"text":1})", kBearer, 400},
    };
    for (const auto& row : refusals)
        EXPECT_EQ(post(row.body, row.authorization), row.status) << row.body.left(40).toStdString();
    EXPECT_EQ(PresenterMessageAt(std::chrono::steady_clock::now()), "WRAP IN 30");
    EXPECT_EQ(post(R"({"text":""})"), 200);
    EXPECT_EQ(PresenterMessageAt(std::chrono::steady_clock::now()), "");
}

TEST(RemoteScriptPush, TakesAUtf8ScriptWithTheTokenAndRefusesEveryOther)
{
    QString received;
    bool hostRefuses = false;
    RemoteServer server(RemoteHost{[] { return false; },
                                   {},
                                   [&](const QString& text) -> std::optional<QString> {
                                       if (hostRefuses)
                                           return QStringLiteral("A dialog is open.");
                                       received = text;
                                       return std::nullopt;
                                   }});
    ASSERT_TRUE(server.Listen(0, false, kToken.toLatin1()).isEmpty());
    HttpClient http(server.Port());
    const QString path = QStringLiteral("/api/script");
    const QByteArray head = "PUT /api/script HTTP/1.1\r\nContent-Length: ";
    // Refused before the body is read: a body beyond the usual limit is
    // only taken from a client with the token.
    EXPECT_EQ(http.Send("PUT", path, "Hello", {}).status, 401);
    EXPECT_EQ(http.Send("GET", path, {}, kBearer).status, 405);
    EXPECT_TRUE(http.Raw(head + "5000\r\n\r\n").startsWith("HTTP/1.1 413"));
    EXPECT_TRUE(http.Raw(head + "2097153\r\nAuthorization: " + kBearer + "\r\n\r\n")
                    .startsWith("HTTP/1.1 413"));

    const HttpAnswer taken = http.Send("PUT", path, "Caf\xc3\xa9\nstory", kBearer);
    EXPECT_EQ(taken.status, 200);
    EXPECT_TRUE(Json(taken.body).contains("running"));
    EXPECT_EQ(received, QStringLiteral("Caf\u00e9\nstory"));
    hostRefuses = true;
    const HttpAnswer refused = http.Send("PUT", path, "Later", kBearer);
    EXPECT_EQ(refused.status, 409);
    EXPECT_EQ(Json(refused.body)["error"], "A dialog is open.");
    EXPECT_EQ(http.Send("PUT", path, "Third", kBearer).status, 429);

    QTest::qWait(1100);
    EXPECT_EQ(http.Send("PUT", path, "\xff\xfe", kBearer).status, 400);
    EXPECT_EQ(http.Send("PUT", path, QByteArray("a\0b", 3), kBearer).status, 400);
    // The largest script goes in whole.
    QTest::qWait(1100);
    hostRefuses = false;
    EXPECT_EQ(http.Send("PUT", path, QByteArray(2 * 1024 * 1024, 'w'), kBearer).status, 200);
    EXPECT_EQ(received.size(), 2 * 1024 * 1024);
}

TEST_F(RemoteServerTest, RefusesCommandsBeyondFiftyASecondFromOneClient)
{
    std::vector<QNetworkReply*> replies;
    for (int i = 0; i < 120; ++i)
        replies.push_back(
            http->Start("POST", QStringLiteral("/api/command"), CommandBody("pause"), kBearer));
    int tooMany = 0;
    for (QNetworkReply* reply : replies) {
        if (!reply->isFinished())
            WaitFor(reply, &QNetworkReply::finished);
        const HttpAnswer answer = HttpClient::Finish(reply);
        EXPECT_TRUE(answer.status == 409 || answer.status == 429) << answer.status;
        tooMany += answer.status == 429 ? 1 : 0;
    }
    EXPECT_GE(tooMany, 1);

    // The address's second has passed; a WebSocket counts against it too.
    QTest::qWait(1100);
    WsClient ws(server.Port(), kToken);
    ASSERT_TRUE(ws.Connected());
    for (int i = 0; i < 60; ++i)
        ws.socket.sendTextMessage(QString::fromLatin1(CommandBody("pause")));
    WaitFor(&ws.socket, &QWebSocket::disconnected);
    ASSERT_EQ(ws.messages.size(), 54U);
    EXPECT_EQ(Json(ws.messages.front())["running"], false); // the state on connecting
    EXPECT_EQ(Json(ws.messages[50])["status"], 409);
    EXPECT_EQ(Json(ws.messages[51])["status"], 429);
    EXPECT_EQ(Json(ws.messages[53])["status"], 429);
    EXPECT_EQ(ws.socket.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated)
        << "closed rather than answered once it keeps on past the limit";
}

TEST_F(RemoteServerTest, CapsCommandsFromEveryAddressTogether)
{
    const QByteArray request = "POST /api/command HTTP/1.1\r\nAuthorization: " + kBearer +
                               "\r\nContent-Length: 19\r\n\r\n" + CommandBody("pause");
    int tooMany = 0;
    // Five addresses, each within its own limit, eight at a time so that
    // none waits beyond its share of places.
    for (int wave = 0; wave < 6; ++wave) {
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        for (int address = 2; address <= 6; ++address) {
            for (int i = 0; i < 8; ++i) {
                auto socket = ConnectFrom(QStringLiteral("127.0.0.%1").arg(address), server.Port());
                socket->write(request);
                sockets.push_back(std::move(socket));
            }
        }
        for (const auto& socket : sockets) {
            if (socket->state() != QAbstractSocket::UnconnectedState)
                WaitFor(socket.get(), &QTcpSocket::disconnected, 2000);
            tooMany += socket->readAll().contains("every client together") ? 1 : 0;
        }
    }
    EXPECT_GE(tooMany, 240 - 200);
}

TEST_F(RemoteServerTest, TakesSixteenWebSocketsWithTheTokenAndNoMore)
{
    for (const QString& token : {QString(), QStringLiteral("0011"), kToken.toUpper()})
        EXPECT_FALSE(WsClient(server.Port(), token).Connected()) << token.toStdString();
    std::vector<std::unique_ptr<WsClient>> clients;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<WsClient>(server.Port(), kToken));
        EXPECT_TRUE(clients.back()->Connected()) << i;
    }
    EXPECT_EQ(server.ClientCount(), 16);
    EXPECT_FALSE(WsClient(server.Port(), kToken).Connected());
    EXPECT_TRUE(http->Raw("GET /api/ws?token=" + kToken.toLatin1() +
                          " HTTP/1.1\r\nConnection: Upgrade\r\nUpgrade: websocket\r\n\r\n")
                    .startsWith("HTTP/1.1 503"));

    // Binary is no command.
    clients[1]->socket.sendBinaryMessage(CommandBody("stop"));
    clients[1]->WaitForMessages(2);
    ASSERT_EQ(clients[1]->messages.size(), 2U);
    EXPECT_EQ(Json(clients[1]->messages[1])["status"], 400);

    // Larger than a command may be: the socket is closed.
    clients[0]->socket.sendTextMessage(QString(5000, u'x'));
    WaitFor(&clients[0]->socket, &QWebSocket::disconnected);
    EXPECT_FALSE(clients[0]->Connected());
    clients.clear();
    for (int i = 0; i < 20 && server.ClientCount() > 0; ++i)
        WaitFor(&server, &RemoteServer::clientCountChanged, 100);
    EXPECT_EQ(server.ClientCount(), 0);
}

TEST_F(RemoteServerTest, EveryCommandActsDuringARealRunAsItsKeyDoes)
{
    std::unique_ptr<WsClient> ws;
    std::vector<std::pair<const char*, HttpAnswer>> answers;
    const auto send = [&](const char* name) { answers.emplace_back(name, Command(name)); };
    // Answered once the run is on the screen; the commands wait for that
    // answer, so that it tells the state the run began in.
    QNetworkReply* const startReply =
        http->Start("POST", QStringLiteral("/api/command"), CommandBody("start"), kBearer);
    Then([&] { return g_runState.running && startReply->isFinished(); },
         [&] {
             send("start"); // a run is on the screen
             send("toggle");
             send("pause");
             send("faster"); // paused: as F, nothing
             send("resume");
             send("faster");
             send("slower");
             send("slower");
             answers.emplace_back("speed",
                                  http->Send("POST", QStringLiteral("/api/command"),
                                             R"({"command":"speed","value":40000})", kBearer));
             send("reverse");
             send("next");
             send("previous");
             send("home");
             ws = std::make_unique<WsClient>(server.Port(), kToken);
             ws->socket.sendTextMessage(QString::fromLatin1(CommandBody("toggle")));
             ws->WaitForMessages(2); // the state on connecting, then paused
         });
    Then([&] { send("stop"); });
    ArmScript();

    WaitFor(startReply, &QNetworkReply::finished);
    const HttpAnswer started = HttpClient::Finish(startReply);
    ASSERT_FALSE(stuck);
    EXPECT_EQ(started.status, 200);
    EXPECT_EQ(Json(started.body)["running"], true);
    EXPECT_EQ(Json(started.body)["paused"], true);

    const struct {
        int status;
        bool paused;
        int speedValue;
    } expected[] = {
        {409, true, 1000},   {200, false, 1000},  {200, true, 1000},   {200, true, 1000},
        {200, false, 1000},  {200, false, 500},   {200, false, 1000},  {200, false, 1500},
        {200, false, 32000}, {200, false, 32000}, {200, false, 32000}, {200, false, 32000},
        {200, false, 32000}, {200, true, 32000},
    };
    ASSERT_EQ(answers.size(), std::size(expected));
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const auto& [name, answer] = answers[i];
        EXPECT_EQ(answer.status, expected[i].status) << name;
        if (answer.status != 200)
            continue;
        const QJsonObject state = Json(answer.body);
        EXPECT_EQ(state["paused"].toBool(), expected[i].paused) << name;
        EXPECT_EQ(state["speedValue"].toInt(), expected[i].speedValue) << name;
    }
    // The reversal was asked for while moving, as the right button asks it.
    EXPECT_EQ(Json(answers.back().second.body)["running"], false);
    ASSERT_GE(ws->messages.size(), 2U);
    EXPECT_EQ(Json(ws->messages[1])["paused"], true);
    EXPECT_EQ(startsAsked, 1) << "start is refused while the run is on, before SCROLL is asked";
}

TEST_F(RemoteServerTest, DropsRequestsThatNeverFinishAndHoldsFewOfThem)
{
    // Connected while the server's loop runs, so that it accepts them as they come.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < 64; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(QHostAddress::LocalHost, server.Port());
        WaitFor(idle.back().get(), &QTcpSocket::connected, 2000);
        ASSERT_EQ(idle.back()->state(), QAbstractSocket::ConnectedState) << i;
        idle.back()->write("GET / HTTP/1.1\r\n"); // and never the rest
    }
    QTcpSocket oneTooMany;
    oneTooMany.connectToHost(QHostAddress::LocalHost, server.Port());
    WaitFor(&oneTooMany, &QTcpSocket::disconnected, 2000);
    EXPECT_EQ(oneTooMany.state(), QAbstractSocket::UnconnectedState);

    WaitFor(idle.front().get(), &QTcpSocket::disconnected, 12'000);
    EXPECT_EQ(idle.front()->state(), QAbstractSocket::UnconnectedState);
    EXPECT_TRUE(idle.front()->readAll().isEmpty());
}

TEST_F(RemoteServerTest, AnswersOneRequestAConnectionAndCountsOnlyOpenWebSockets)
{
    // An upgrade without the token riding behind a request the page needs none for.
    const QByteArray smuggled = "GET / HTTP/1.1\r\n\r\n" + UpgradeRequest("/api/ws");
    for (int i = 0; i < 40; ++i) {
        const QByteArray answer = http->Raw(smuggled);
        ASSERT_EQ(answer.count("HTTP/1.1 "), 1) << i;
        EXPECT_TRUE(answer.startsWith("HTTP/1.1 200")) << i;
    }
    EXPECT_EQ(server.ClientCount(), 0);
    EXPECT_EQ(server.WaitingCount(), 0);

    std::vector<std::unique_ptr<WsClient>> clients;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<WsClient>(server.Port(), kToken));
        ASSERT_TRUE(clients.back()->Connected()) << i;
    }
    // However a socket goes, its place is free again.
    clients[3]->socket.abort();
    for (int i = 0; i < 20 && server.ClientCount() == 16; ++i)
        WaitFor(&server, &RemoteServer::clientCountChanged, 100);
    EXPECT_EQ(server.ClientCount(), 15);
    EXPECT_TRUE(WsClient(server.Port(), kToken).Connected());
}

TEST_F(RemoteServerTest, LetsOthersInWhileSlowClientsHoldEveryPlace)
{
    // One address with far more unfinished requests than its share, then ten
    // more filling every place that is left.
    std::vector<std::unique_ptr<QTcpSocket>> slow;
    for (int address = 2; address <= 12; ++address) {
        for (int i = 0; i < (address == 2 ? 40 : 10); ++i) {
            auto socket = ConnectFrom(QStringLiteral("127.0.0.%1").arg(address), server.Port());
            socket->write("GET / HTTP/1.1\r\n");
            slow.push_back(std::move(socket));
        }
        QTest::qWait(20);
    }
    EXPECT_LE(server.WaitingCount(), 64);
    const HttpAnswer state = http->Send("GET", QStringLiteral("/api/state"), {}, kBearer);
    EXPECT_EQ(state.status, 200);
    const int stillOpen =
        static_cast<int>(std::count_if(slow.begin(), slow.end(), [](const auto& socket) {
            return socket->state() == QAbstractSocket::ConnectedState;
        }));
    EXPECT_LE(stillOpen, 64);
}

TEST_F(RemoteServerTest, ClosesAWebSocketThatFloodsPingsAndReadsNothing)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.Port());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(UpgradeRequest("/api/ws?token=" + kToken.toLatin1()));
    for (int i = 0; i < 2000; ++i)
        socket.write(ClientFrame(0x9, QByteArray(125, 'p')));
    WaitFor(&socket, &QTcpSocket::disconnected, 5000);
    EXPECT_EQ(socket.state(), QAbstractSocket::UnconnectedState);
    for (int i = 0; i < 20 && server.ClientCount() > 0; ++i)
        WaitFor(&server, &RemoteServer::clientCountChanged, 100);
    EXPECT_EQ(server.ClientCount(), 0);
}

TEST_F(RemoteServerTest, TakesTheBearerOnAWebSocketAndRefusesOtherSitesAndNames)
{
    const QByteArray bearer = "Authorization: " + kBearer + "\r\n";
    const QByteArray own = "127.0.0.1:" + QByteArray::number(server.Port());
    const struct {
        QByteArray request;
        const char* status;
    } rows[] = {
        {UpgradeRequest("/api/ws", bearer), "101"},
        {UpgradeRequest("/api/ws"), "401"},
        {UpgradeRequest("/api/ws", bearer + "Host: " + own + "\r\nOrigin: http://" + own + "\r\n"),
         "101"},
        {UpgradeRequest("/api/ws", bearer + "Host: " + own + "\r\nOrigin: http://evil.example\r\n"),
         "403"},
        {UpgradeRequest("/api/ws", bearer + "Origin: null\r\n"), "403"},
        {"GET /api/state HTTP/1.1\r\nHost: evil.example\r\n" + bearer + "\r\n", "421"},
        {"GET /api/state HTTP/1.1\r\nHost: localhost:8787\r\n" + bearer + "\r\n", "200"},
    };
    for (const auto& row : rows) {
        const QByteArray answer = http->Head(row.request);
        EXPECT_TRUE(answer.startsWith(QByteArray("HTTP/1.1 ") + row.status))
            << row.request.toStdString() << answer.toStdString();
        EXPECT_FALSE(answer.toLower().contains("access-control")) << answer.toStdString();
    }
}

TEST(RemoteServerListening, TakesEveryInterfaceWithLanAccess)
{
    RemoteServer server(RemoteHost{[] { return false; }, {}});
    ASSERT_TRUE(server.Listen(0, true, kToken.toLatin1()).isEmpty());
    EXPECT_EQ(server.Addresses(), QList<QHostAddress>{QHostAddress(QHostAddress::Any)});
    EXPECT_TRUE(Connects(QHostAddress::LocalHost, server.Port()));
    server.Close();
    EXPECT_FALSE(server.IsListening());
}

// The server as the program has it, from the [Remote] section.
class RemoteControlSettings : public TempDirTest
{
  protected:
    void SetUp() override
    {
        ini.SetPathName(PathOf(QStringLiteral("vellor.ini")).toUtf8().constData());
    }

    void WriteRemote(const QByteArray& lines)
    {
        WriteBytes(QStringLiteral("vellor.ini"), "[Remote]\r\n" + lines);
    }

    std::unique_ptr<RemoteControl> Start()
    {
        return std::make_unique<RemoteControl>(ini, dialogs, RemoteHost{[] { return false; }, {}});
    }

    CIni ini;
    FakeDialogService dialogs;
};

TEST_F(RemoteControlSettings, ListensOnNothingWhileOff)
{
    const quint16 port = FreePort();
    WriteRemote("Enabled=0\r\nPort=" + QByteArray::number(port) + "\r\nToken=" + kToken.toLatin1() +
                "\r\n");
    const auto remote = Start();
    EXPECT_FALSE(remote->Server().IsListening());
    EXPECT_FALSE(Connects(QHostAddress::LocalHost, port));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RemoteControlSettings, MakesATokenOnFirstEnablingAndListensOnLoopbackAlone)
{
    const quint16 port = FreePort();
    WriteRemote("Enabled=1\r\nPort=" + QByteArray::number(port) + "\r\nToken=1234\r\n");
    const auto remote = Start();
    ASSERT_TRUE(remote->Server().IsListening());
    const QString token = QString::fromStdString(ini.GetString("Remote", "Token", ""));
    EXPECT_TRUE(IsStrongRemoteToken(token)) << token.toStdString();
    EXPECT_EQ(token, remote->Settings().token);
    EXPECT_NE(token, MakeRemoteToken());

    for (const QHostAddress& bound : remote->Server().Addresses())
        EXPECT_TRUE(bound.isLoopback()) << bound.toString().toStdString();
    EXPECT_TRUE(Connects(QHostAddress::LocalHost, port));
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol) {
            EXPECT_FALSE(Connects(address, port)) << address.toString().toStdString();
        }
    }
}

TEST_F(RemoteControlSettings, KeepsAFileHoldingTheTokenFromOtherUsers)
{
    constexpr QFile::Permissions kOwnerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const QString path = PathOf(QStringLiteral("vellor.ini"));
    const QByteArray port = "Port=" + QByteArray::number(FreePort()) + "\r\n";
    for (const QByteArray& lines :
         {"Enabled=1\r\n" + port, "Enabled=0\r\n" + port + "Token=" + kToken.toLatin1() + "\r\n"}) {
        WriteRemote(lines);
        QFile::setPermissions(path, kOwnerOnly | QFile::ReadGroup | QFile::ReadOther);
        const auto remote = Start();
        EXPECT_EQ(QFile::permissions(path), kOwnerOnly) << lines.toStdString();
    }
}

TEST_F(RemoteControlSettings, TellsOnceThatThePortIsTakenAndGoesOn)
{
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any, 0));
    WriteRemote("Enabled=1\r\nPort=" + QByteArray::number(taken.serverPort()) + "\r\n");
    const auto remote = Start();
    EXPECT_FALSE(remote->Server().IsListening());
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages.front().text,
              QStringLiteral("Remote control could not start on port %1: "
                             "The bound address is already in use.")
                  .arg(taken.serverPort()));
}
