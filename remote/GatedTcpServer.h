#pragma once

#include <QHostAddress>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// A listening socket that closes connections from peers its rule refuses
// before a byte is read, and hands each other connection on as it comes.
class GatedTcpServer : public QTcpServer
{
    Q_OBJECT

  public:
    /// Called with each connection let in; the socket is the callee's.
    using Arrival = std::function<void(QTcpSocket* socket)>;

    /// A server accepting loopback peers only unless `lanAccess`.
    GatedTcpServer(bool lanAccess, Arrival arrival, QObject* parent = nullptr);

  protected:
    void incomingConnection(qintptr handle) override;

  private:
    bool m_lanAccess;
    Arrival m_arrival;
};

/// The accept rule: any peer with `lanAccess`, otherwise loopback peers alone.
bool AcceptsPeer(const QHostAddress& peer, bool lanAccess);
