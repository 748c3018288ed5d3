#pragma once

#include "CommandRateLimit.h"
#include "OscPacket.h"
#include "PrompterStatus.h"
#include "RemoteCommand.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QUdpSocket;

// Show controllers over OSC: UDP datagrams under /vellor/, each carried out
// as the remote control's command of the same name, and the run's state
// sent to those who subscribe. OSC has no token, so only the addresses let
// in are read at all: this computer's, and with the local network allowed,
// those the operator lists. It listens only while asked to.
class OscServer : public QObject
{
    Q_OBJECT

  public:
    /// What happened to the packets and messages received, for the tests and the curious.
    struct Counts {
        int carriedOut = 0;     // messages acted on
        int notAllowed = 0;     // packets from an address not let in
        int malformed = 0;      // packets that are not OSC
        int oversized = 0;      // packets over the size, message or depth limits
        int flooded = 0;        // packets beyond the rate limits
        int unknownAddress = 0; // messages to an address that is not ours
        int wrongArguments = 0; // messages with arguments their address does not take
        int subscribersFull = 0;
    };

    /// Carries out a command as the program's other inputs do.
    using Act = std::function<void(const RemoteCommand& command)>;
    /// The run's state now.
    using State = std::function<PrompterStatus()>;

    OscServer(Act act, State state, QObject* parent = nullptr);
    ~OscServer() override;

    /// Listens on UDP `port` (0: any free one) of the loopback addresses, or
    /// of every interface with `lanAccess`, reading packets from loopback
    /// and, with `lanAccess`, from `allowFrom`. Empty when listening, else the reason.
    QString Listen(quint16 port, bool lanAccess, const QList<QHostAddress>& allowFrom);
    /// Stops listening and forgets the subscribers.
    void Close();

    bool IsListening() const { return !m_sockets.empty(); }
    /// The port it listens on, 0 when it does not.
    quint16 Port() const;
    const Counts& Tally() const { return m_counts; }
    int SubscriberCount() const { return static_cast<int>(m_subscribers.size()); }

  private:
    struct Subscriber {
        QHostAddress address;
        quint16 port = 0;
        QUdpSocket* socket = nullptr; // the one it wrote from, to answer from the same
        QElapsedTimer renewed;
        std::vector<QByteArray> sent; // the state messages as last sent
    };

    void Receive(QUdpSocket* socket);
    void Take(QUdpSocket* socket, const QHostAddress& sender, quint16 senderPort,
              QByteArrayView packet);
    void Subscribe(QUdpSocket* socket, const QHostAddress& address, quint16 port);
    void PushState();
    bool Allows(const QHostAddress& sender) const;
    CommandRateLimit& AddressLimit(const QHostAddress& sender);

    Act m_act;
    State m_state;
    std::vector<std::unique_ptr<QUdpSocket>> m_sockets;
    bool m_lanAccess = false;
    QList<QHostAddress> m_allowFrom;
    QHash<QString, CommandRateLimit> m_addressLimits;
    CommandRateLimit m_allLimit;
    QElapsedTimer m_clock;
    std::vector<Subscriber> m_subscribers;
    QTimer m_pushTimer;
    Counts m_counts;
};

/// The state as OSC messages: /vellor/state/running, paused, direction,
/// speed, line, lines, paragraph, elapsed and remaining.
std::vector<OscMessage> OscStateMessages(const PrompterStatus& status);
