#pragma once

#include "CommandRateLimit.h"
#include "ConnectionReader.h"
#include "FollowMessages.h"
#include "LeaderFeed.h"
#include "RemoteCommand.h"
#include "RemoteHost.h"
#include "RemoteLimits.h"
#include "RequestJudge.h"
#include "WaitingRoom.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ClientConnection;
class GatedTcpServer;
class QTcpSocket;

// The remote control's server: the phone page, the state, the commands and
// the WebSocket, on the GUI thread, so that a command is carried out between
// two scroll steps as a key is. It listens only while asked to.
class RemoteServer : public QObject
{
    Q_OBJECT

  public:
    /// A server that is not listening yet, acting through `host`.
    explicit RemoteServer(RemoteHost host, QObject* parent = nullptr);
    ~RemoteServer() override;

    /// Listens on `port` (0: any free one) of the loopback addresses, or of
    /// every interface with `lanAccess`, taking requests with `token`.
    /// Whatever listened before is closed first. Empty when listening, else the reason.
    QString Listen(quint16 port, bool lanAccess, const QByteArray& token);

    /// Stops listening and drops every client.
    void Close();

    /// Whether it is listening.
    bool IsListening() const { return !m_listeners.empty(); }
    /// The port it listens on, 0 when it does not.
    quint16 Port() const;
    /// The addresses it listens on.
    QList<QHostAddress> Addresses() const;
    /// WebSocket clients connected now.
    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    /// Connections whose request has not arrived whole.
    int WaitingCount() const { return m_waiting.Count(); }

  signals:
    /// A WebSocket client came or went.
    void clientCountChanged(int count);

  private:
    struct Client {
        ClientConnection* connection;
        CommandRateLimit limit{RemoteLimits::kMaxCommandsPerSecond};
        int rateRefusals = 0; // in a row
        std::optional<LeaderFeed> leader =
            std::nullopt; // what it is sent as a follower; none: not one
    };

    void Arrive(QTcpSocket* socket);
    void Answer(ClientConnection& connection, const ConnectionReader::Request& request);
    void OpenWebSocket(ClientConnection& connection, const RequestHead& head);
    void OnMessage(ClientConnection& connection, const QByteArray& message, bool text);
    void Leave(ClientConnection& connection);
    void TakeFollowerAsk(Client& client, const FollowerAsk& ask);
    void FeedFollowers();
    std::optional<RemoteError> RateRefusal(std::initializer_list<CommandRateLimit*> limits);
    std::optional<RemoteError> RunCommand(const std::variant<RemoteCommand, RemoteError>& parsed,
                                          std::function<void()> whenDone);
    std::optional<RemoteError> ReplaceScript(QByteArrayView body);
    void WatchStart();
    void PushState();
    QByteArray CurrentState() const;
    CommandRateLimit& AddressLimit(const QHostAddress& address);

    RemoteHost m_host;
    JudgeContext m_context;
    std::vector<std::unique_ptr<GatedTcpServer>> m_listeners;
    WaitingRoom m_waiting;
    QHash<quint64, ClientConnection*> m_waitingConnections;
    quint64 m_lastId = 0;
    std::vector<Client> m_clients; // the open WebSockets
    QHash<QString, CommandRateLimit> m_addressLimits;
    CommandRateLimit m_allLimit;
    CommandRateLimit m_scriptLimit; // scripts pushed, from every client together
    QElapsedTimer m_clock;          // steady time for the rate limits
    QTimer m_pushTimer;
    QTimer m_followTimer; // while followers are connected
    QByteArray m_lastPushed;
    // A start waits to answer until its run is on the screen.
    QTimer m_startWatch;
    QElapsedTimer m_startAsked;
    std::function<void()> m_startAnswer;
    bool m_startPending = false;
};
