// The OSC control on real UDP sockets, with Qt's and with liblo's own tools
// as the outside clients.
#include "OscServer.h"
#include "FakeDialogService.h"
#include "Ini.h"
#include "OscControl.h"
#include "OscPacket.h"
#include "OscTestPackets.h"
#include "TempDir.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace
{
// The paths of the messages that have come to `socket`.
std::vector<QByteArray> Received(QUdpSocket& socket)
{
    QTest::qWait(150);
    std::vector<QByteArray> paths;
    while (socket.hasPendingDatagrams()) {
        const auto read = ReadOscPacket(socket.receiveDatagram().data());
        for (const OscMessage& message : std::get<std::vector<OscMessage>>(read))
            paths.push_back(message.path);
    }
    return paths;
}

QHostAddress NonLoopbackAddress()
{
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address;
    }
    return {};
}
} // namespace

class OscServerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Listen(0, false, {}).isEmpty());
        ASSERT_TRUE(client.bind(QHostAddress::LocalHost, 0));
    }

    void Send(const QByteArray& packet)
    {
        client.writeDatagram(packet, QHostAddress::LocalHost, server.Port());
    }

    std::vector<RemoteCommand> acted;
    PrompterStatus status;
    OscServer server{[this](const RemoteCommand& command) { acted.push_back(command); },
                     [this] { return status; }};
    QUdpSocket client;
};

TEST_F(OscServerTest, CarriesOutCommandsAndSendsWhatChangesToSubscribersUntilTheyLeave)
{
    Send(OscBytes("/vellor/toggle"));
    Send(OscBytes("/vellor/subscribe"));
    EXPECT_EQ(Received(client).size(), 9U) << "the whole state on subscribing";
    ASSERT_EQ(acted.size(), 1U);
    EXPECT_EQ(acted.front().prompter, PrompterCommand::TogglePause);

    status.running = true;
    EXPECT_EQ(Received(client), std::vector<QByteArray>{"/vellor/state/running"});
    Send(OscBytes("/vellor/unsubscribe"));
    status.paused = true;
    EXPECT_TRUE(Received(client).empty());
    EXPECT_EQ(server.SubscriberCount(), 0);
}

TEST_F(OscServerTest, RefusesFloodsOversizedPacketsAndAddressesNotLetIn)
{
    for (int i = 0; i < 120; ++i)
        Send(OscBytes("/vellor/faster"));
    Send(QByteArray(2000, '\0'));
    QTest::qWait(150);
    EXPECT_LE(acted.size(), 50U);
    EXPECT_GE(server.Tally().flooded, 70);

    const QHostAddress outside = NonLoopbackAddress();
    if (outside.isNull())
        GTEST_SKIP() << "this machine has no address but loopback";
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(outside, 0));
    for (const bool listed : {false, true}) {
        OscServer lan([this](const RemoteCommand& command) { acted.push_back(command); },
                      [this] { return status; });
        ASSERT_TRUE(lan.Listen(0, true, listed ? QList{outside} : QList<QHostAddress>{}).isEmpty());
        stranger.writeDatagram(OscBytes("/vellor/stop"), outside, lan.Port());
        QTest::qWait(150);
        EXPECT_EQ(lan.Tally().notAllowed, listed ? 0 : 1);
        EXPECT_EQ(lan.Tally().carriedOut, listed ? 1 : 0);
    }
}

TEST_F(OscServerTest, TalksWithLiblosOwnClientAndMonitor)
{
    const QString send = QStandardPaths::findExecutable(QStringLiteral("oscsend"));
    const QString dump = QStandardPaths::findExecutable(QStringLiteral("oscdump"));
    if (send.isEmpty() || dump.isEmpty())
        GTEST_SKIP() << "liblo-tools is not installed";
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const QString dumpPort = QString::number(probe.localPort());
    probe.close();

    QProcess monitor;
    monitor.start(dump, {QStringLiteral("-L"), dumpPort});
    ASSERT_TRUE(monitor.waitForStarted());
    QTest::qWait(200);
    const QString port = QString::number(server.Port());
    ASSERT_EQ(QProcess::execute(send, {"127.0.0.1", port, "/vellor/speed", "f", "2500"}), 0);
    ASSERT_EQ(QProcess::execute(send, {"127.0.0.1", port, "/vellor/subscribe", "i", dumpPort}), 0);
    QTest::qWait(300);
    monitor.terminate();
    monitor.waitForFinished();
    const QByteArray dumped = monitor.readAllStandardOutput();

    ASSERT_EQ(acted.size(), 1U);
    EXPECT_EQ(acted.front().speedValue, 2500);
    EXPECT_TRUE(dumped.contains("/vellor/state/running i 0")) << dumped.toStdString();
    EXPECT_TRUE(dumped.contains("/vellor/state/direction s \"forward\"")) << dumped.toStdString();
}

TEST_F(OscServerTest, TakesAGotoFromLiblosClientAndSendsTheParagraphBeingRead)
{
    const QString send = QStandardPaths::findExecutable(QStringLiteral("oscsend"));
    if (send.isEmpty())
        GTEST_SKIP() << "liblo-tools is not installed";
    const QString port = QString::number(server.Port());
    ASSERT_EQ(QProcess::execute(send, {"127.0.0.1", port, "/vellor/goto", "i", "3"}), 0);
    ASSERT_EQ(QProcess::execute(send, {"127.0.0.1", port, "/vellor/goto", "i", "0"}), 0);
    ASSERT_EQ(QProcess::execute(send, {"127.0.0.1", port, "/vellor/goto", "s", "3"}), 0);
    QTest::qWait(150);
    ASSERT_EQ(acted.size(), 1U);
    EXPECT_EQ(acted.front().kind, RemoteCommand::Kind::GoTo);
    EXPECT_EQ(acted.front().paragraph, 3);
    EXPECT_EQ(server.Tally().wrongArguments, 2);

    status.paragraph = 3;
    const std::vector<OscMessage> state = OscStateMessages(status);
    const auto paragraph = std::find_if(state.begin(), state.end(), [](const OscMessage& m) {
        return m.path == "/vellor/state/paragraph";
    });
    ASSERT_NE(paragraph, state.end());
    EXPECT_EQ(paragraph->arguments, std::vector<OscArgument>{qint32{3}});
}

// The OSC control as the program has it, from the [OSC] section.
class OscControlSettings : public TempDirTest
{
  protected:
    std::unique_ptr<OscControl> Start(const QByteArray& lines)
    {
        WriteBytes(QStringLiteral("vellor.ini"), "[OSC]\r\n" + lines);
        ini.SetPathName(PathOf(QStringLiteral("vellor.ini")).toUtf8().constData());
        return std::make_unique<OscControl>(ini, dialogs, RemoteHost{[] { return false; }, {}});
    }

    CIni ini;
    FakeDialogService dialogs;
};

TEST_F(OscControlSettings, ListensAsTheSettingsSayAndTellsWhatIsWrongOnce)
{
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress::LocalHost, 0));
    const QByteArray takenPort = QByteArray::number(taken.localPort());
    const struct {
        QByteArray lines;
        bool listening;
        const char* told; // the start of the one message, or nothing
    } rows[] = {
        {"Enabled=0\r\nPort=0\r\n", false, nullptr},
        {"Enabled=1\r\nPort=" + takenPort + "\r\n", false, "OSC control could not start on port "},
        {"Enabled=1\r\nPort=99999\r\nLanAccess=1\r\nAllowFrom=10.0.0.7, studio,::1\r\n", true,
         "OSC control leaves out what is not an address in AllowFrom: studio."},
    };
    for (const auto& row : rows) {
        dialogs.messages.clear();
        const auto osc = Start(row.lines);
        EXPECT_EQ(osc->Server().IsListening(), row.listening) << row.lines.toStdString();
        ASSERT_EQ(dialogs.messages.size(), row.told ? 1U : 0U) << row.lines.toStdString();
        if (row.told) {
            EXPECT_TRUE(dialogs.messages.front().text.startsWith(QString::fromLatin1(row.told)));
        }
    }
    EXPECT_EQ(ParseAllowList(QStringLiteral(" 10.0.0.7,,fe80::1 x")).addresses.size(), 2);
}
