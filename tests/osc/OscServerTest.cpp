// The OSC control on real UDP sockets, with Qt's and with liblo's own tools
// as the outside clients.
#include "OscServer.h"
#include "OscPacket.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace
{
QByteArray Message(const char* path, std::vector<OscArgument> arguments = {})
{
    return EncodeOscMessage({path, std::move(arguments)});
}

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
    Send(Message("/vellor/toggle"));
    Send(Message("/vellor/subscribe"));
    EXPECT_EQ(Received(client).size(), 8U) << "the whole state on subscribing";
    ASSERT_EQ(acted.size(), 1U);
    EXPECT_EQ(acted.front().prompter, PrompterCommand::TogglePause);

    status.running = true;
    EXPECT_EQ(Received(client), std::vector<QByteArray>{"/vellor/state/running"});
    Send(Message("/vellor/unsubscribe"));
    status.paused = true;
    EXPECT_TRUE(Received(client).empty());
    EXPECT_EQ(server.SubscriberCount(), 0);
}

TEST_F(OscServerTest, RefusesFloodsOversizedPacketsAndAddressesNotLetIn)
{
    for (int i = 0; i < 120; ++i)
        Send(Message("/vellor/faster"));
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
        stranger.writeDatagram(Message("/vellor/stop"), outside, lan.Port());
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
