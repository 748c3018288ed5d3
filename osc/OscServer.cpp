#include "OscServer.h"

#include "OscCommand.h"
#include "OscLimits.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <algorithm>

namespace
{
// A loopback sender in IPv4 form whichever socket heard it, so that the
// allow-list and the limits see one address.
QHostAddress Plain(const QHostAddress& address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}
} // namespace

std::vector<OscMessage> OscStateMessages(const PrompterStatus& status)
{
    const auto message = [](const char* name, OscArgument value) {
        return OscMessage{QByteArray("/vellor/state/") + name, {std::move(value)}};
    };
    return {
        message("running", qint32{status.running}),
        message("paused", qint32{status.paused}),
        message("direction",
                QByteArray(status.direction == ScrollDirection::Forward ? "forward" : "backward")),
        message("speed", qint32{status.speedValue}),
        message("line", qint32{std::min(status.lineIndex + 1, status.lineCount)}),
        message("lines", qint32{status.lineCount}),
        message("paragraph", qint32{status.paragraph}),
        message("elapsed", float(status.elapsedSeconds)),
        message("remaining", float(status.remainingSeconds.value_or(-1))),
    };
}

OscServer::OscServer(Act act, State state, QObject* parent)
    : QObject(parent), m_act(std::move(act)), m_state(std::move(state)),
      m_allLimit(OscLimits::kMaxPacketsPerSecondAll)
{
    m_clock.start();
    m_pushTimer.setInterval(OscLimits::kStatePushIntervalMs);
    connect(&m_pushTimer, &QTimer::timeout, this, &OscServer::PushState);
}

OscServer::~OscServer() = default;

QString OscServer::Listen(quint16 port, bool lanAccess, const QList<QHostAddress>& allowFrom)
{
    Close();
    m_lanAccess = lanAccess;
    m_allowFrom.clear();
    for (const QHostAddress& address : allowFrom)
        m_allowFrom.append(Plain(address));
    const QList<QHostAddress> addresses =
        lanAccess ? QList<QHostAddress>{QHostAddress(QHostAddress::Any)}
                  : QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost),
                                        QHostAddress(QHostAddress::LocalHostIPv6)};
    for (const QHostAddress& address : addresses) {
        auto socket = std::make_unique<QUdpSocket>();
        if (!socket->bind(address, port)) {
            const QString reason = socket->errorString();
            // A machine without IPv6 still has its IPv4 loopback.
            if (address == QHostAddress::LocalHostIPv6 && !m_sockets.empty() &&
                socket->error() != QAbstractSocket::AddressInUseError)
                continue;
            Close();
            return reason;
        }
        port = socket->localPort();
        QUdpSocket* raw = socket.get();
        connect(raw, &QUdpSocket::readyRead, this, [this, raw] { Receive(raw); });
        m_sockets.push_back(std::move(socket));
    }
    return {};
}

void OscServer::Close()
{
    m_pushTimer.stop();
    m_subscribers.clear();
    m_sockets.clear();
    m_addressLimits.clear();
}

quint16 OscServer::Port() const
{
    return m_sockets.empty() ? 0 : m_sockets.front()->localPort();
}

void OscServer::Receive(QUdpSocket* socket)
{
    while (socket->hasPendingDatagrams()) {
        const qint64 size = socket->pendingDatagramSize();
        // One byte over the limit is enough to know a packet is too large.
        const QNetworkDatagram datagram =
            socket->receiveDatagram(std::min<qint64>(size, OscLimits::kMaxPacketBytes + 1));
        const QHostAddress sender = Plain(datagram.senderAddress());
        if (!Allows(sender)) {
            ++m_counts.notAllowed;
            continue;
        }
        if (!AddressLimit(sender).Allow(m_clock.elapsed()) ||
            !m_allLimit.Allow(m_clock.elapsed())) {
            ++m_counts.flooded;
            continue;
        }
        if (size > OscLimits::kMaxPacketBytes) {
            ++m_counts.oversized;
            continue;
        }
        Take(socket, sender, static_cast<quint16>(datagram.senderPort()), datagram.data());
    }
}

void OscServer::Take(QUdpSocket* socket, const QHostAddress& sender, quint16 senderPort,
                     QByteArrayView packet)
{
    const auto read = ReadOscPacket(packet);
    if (const auto* refusal = std::get_if<OscRefusal>(&read)) {
        ++(*refusal == OscRefusal::Oversized ? m_counts.oversized : m_counts.malformed);
        return;
    }
    for (const OscMessage& message : std::get<std::vector<OscMessage>>(read)) {
        const auto request = ReadOscRequest(message);
        if (const auto* refusal = std::get_if<OscRequestRefusal>(&request)) {
            ++(*refusal == OscRequestRefusal::UnknownAddress ? m_counts.unknownAddress
                                                             : m_counts.wrongArguments);
            continue;
        }
        const OscRequest& taken = std::get<OscRequest>(request);
        switch (taken.kind) {
        case OscRequest::Kind::Command:
            m_act(taken.command);
            break;
        case OscRequest::Kind::Subscribe:
            Subscribe(socket, sender, taken.port.value_or(senderPort));
            break;
        case OscRequest::Kind::Unsubscribe:
            std::erase_if(m_subscribers, [&](const Subscriber& subscriber) {
                return subscriber.address == sender;
            });
            break;
        }
        ++m_counts.carriedOut;
    }
}

void OscServer::Subscribe(QUdpSocket* socket, const QHostAddress& address, quint16 port)
{
    const auto known =
        std::find_if(m_subscribers.begin(), m_subscribers.end(), [&](const Subscriber& subscriber) {
            return subscriber.address == address && subscriber.port == port;
        });
    if (known != m_subscribers.end()) {
        known->renewed.start();
        return;
    }
    if (SubscriberCount() >= OscLimits::kMaxSubscribers) {
        ++m_counts.subscribersFull;
        return;
    }
    Subscriber subscriber{address, port, socket, {}, {}};
    subscriber.renewed.start();
    m_subscribers.push_back(std::move(subscriber));
    if (!m_pushTimer.isActive())
        m_pushTimer.start();
    PushState();
}

void OscServer::PushState()
{
    std::erase_if(m_subscribers, [](const Subscriber& subscriber) {
        return subscriber.renewed.hasExpired(OscLimits::kSubscriptionMs);
    });
    if (m_subscribers.empty()) {
        m_pushTimer.stop();
        return;
    }
    std::vector<QByteArray> state;
    for (const OscMessage& message : OscStateMessages(m_state()))
        state.push_back(EncodeOscMessage(message));
    // Each subscriber is sent what changed since it was last sent the state.
    for (Subscriber& subscriber : m_subscribers) {
        for (std::size_t i = 0; i < state.size(); ++i) {
            if (i < subscriber.sent.size() && subscriber.sent[i] == state[i])
                continue;
            subscriber.socket->writeDatagram(state[i], subscriber.address, subscriber.port);
        }
        subscriber.sent = state;
    }
}

bool OscServer::Allows(const QHostAddress& sender) const
{
    return sender.isLoopback() || (m_lanAccess && m_allowFrom.contains(sender));
}

CommandRateLimit& OscServer::AddressLimit(const QHostAddress& sender)
{
    // Forget the addresses that have gone quiet before the table grows.
    if (m_addressLimits.size() > OscLimits::kMaxSubscribers * 8) {
        const qint64 now = m_clock.elapsed();
        m_addressLimits.removeIf([now](const auto& entry) { return entry.value().IsIdle(now); });
    }
    const QString key = sender.toString();
    auto limit = m_addressLimits.find(key);
    if (limit == m_addressLimits.end())
        limit = m_addressLimits.insert(key, CommandRateLimit(OscLimits::kMaxPacketsPerSecond));
    return limit.value();
}
