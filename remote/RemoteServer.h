#pragma once

#include "CommandRateLimit.h"
#include "RemoteCommand.h"
#include "RemoteHost.h"
#include "RequestScreen.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class GatedTcpServer;
class QHttpServerRequest;
class QTcpSocket;
class QWebSocket;
class RemoteHttpServer;

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

  signals:
    /// A WebSocket client came or went.
    void clientCountChanged(int count);

  private:
    struct Client;

    std::optional<RemoteError> Admit(const RequestHead& head) const;
    bool Answer(const QHttpServerRequest& request, QTcpSocket* socket);
    std::optional<RemoteError> RunCommand(QByteArrayView body, CommandRateLimit& limit,
                                          std::function<void()> whenStarted);
    void TakeWebSockets();
    void OnClientMessage(QWebSocket* socket, const QString& message);
    void DropClient(QWebSocket* socket);
    void PushState();
    QByteArray CurrentState() const;
    CommandRateLimit& AddressLimit(const QHostAddress& address);

    RemoteHost m_host;
    QByteArray m_token;
    std::unique_ptr<RemoteHttpServer> m_http;
    std::vector<GatedTcpServer*> m_listeners; // owned by m_http
    std::vector<std::unique_ptr<Client>> m_clients;
    QHash<QString, CommandRateLimit> m_addressLimits;
    QElapsedTimer m_clock; // steady time for the rate limits
    QTimer m_pushTimer;
    QByteArray m_lastPushed;
    bool m_startPending = false;
};
