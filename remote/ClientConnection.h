#pragma once

#include "CommandRateLimit.h"
#include "ConnectionReader.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

// One client's connection on its socket. It reads one request and hands it
// to the server, which answers it (and the connection closes) or opens a
// WebSocket on it. The request line and fields have a deadline of their
// own, shorter than the whole request's; a client that lets more than a
// little go unsent, whatever caused it, is dropped, and so is a WebSocket
// that answers no ping for a minute (a phone that left the network tells
// nothing). However it goes, the
// connection tells the server once, then deletes itself.
class ClientConnection : public QObject
{
    Q_OBJECT

  public:
    struct Handlers {
        std::function<void(ClientConnection&, const ConnectionReader::Request&)> request;
        // a WebSocket message, and whether it was sent as text
        std::function<void(ClientConnection&, const QByteArray&, bool text)> message;
        std::function<void(ClientConnection&)> settled; // no longer waiting for its request
        std::function<void(ClientConnection&)> gone;    // going; deleted after
        BodyLimit bodyLimit; // the largest body a request may have; none: the usual limit
    };

    /// Takes `socket`, connected already, as connection `id`.
    ClientConnection(QTcpSocket* socket, quint64 id, Handlers handlers, QObject* parent);
    ~ClientConnection() override;

    quint64 Id() const { return m_id; }
    QHostAddress Peer() const { return m_peer; }
    bool IsWebSocket() const { return m_webSocket; }
    /// Bytes written but not yet taken by the network.
    qint64 UnsentBytes() const;

    /// Sends the whole HTTP response and closes once it is out.
    void Answer(const QByteArray& response);
    /// Sends the 101 `handshake` and the text message `greeting`, and reads
    /// WebSocket frames from here on.
    void OpenWebSocket(const QByteArray& handshake, const QByteArray& greeting);
    /// Sends a text message on the WebSocket.
    void SendText(const QByteArray& text);
    /// Closes the WebSocket with `code`.
    void CloseWebSocket(quint16 code);
    /// Closes at once, dropping whatever is unsent.
    void Drop();
    /// Forgets the handlers, so that nothing is told as the server goes.
    void Detach() { m_handlers = {}; }

  private:
    void ReadAvailable();
    void KeepAlive();
    void Take(std::vector<WebSocket::Event>& events);
    void Send(const QByteArray& bytes);
    void Settle();
    void Finish();

    QTcpSocket* m_socket; // a child
    quint64 m_id;
    QHostAddress m_peer;
    Handlers m_handlers;
    ConnectionReader m_reader;
    QTimer m_headDeadline;
    QTimer m_requestDeadline;
    QTimer m_keepAlive; // a WebSocket's ping, and its end once it stays silent
    QElapsedTimer m_lastHeard;
    CommandRateLimit m_pings;
    QElapsedTimer m_clock;
    bool m_webSocket = false;
    bool m_settled = false;
    bool m_finished = false;
};
