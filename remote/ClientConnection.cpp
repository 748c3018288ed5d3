#include "ClientConnection.h"

#include "HttpResponse.h"
#include "RemoteLimits.h"
#include "WebSocketFrames.h"

#include <QTcpSocket>

#include <utility>

ClientConnection::ClientConnection(QTcpSocket* socket, quint64 id, Handlers handlers,
                                   QObject* parent)
    : QObject(parent), m_socket(socket), m_id(id), m_peer(socket->peerAddress()),
      m_handlers(std::move(handlers)), m_reader(m_handlers.bodyLimit),
      m_pings(RemoteLimits::kMaxPingsPerSecond)
{
    m_clock.start();
    m_socket->setParent(this);
    // Qt reads no further ahead than this, so a client cannot make the
    // program hold more of what it sends.
    m_socket->setReadBufferSize(RemoteLimits::kReadChunkBytes);
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::ReadAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::Finish);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ClientConnection::Finish);
    for (QTimer* deadline : {&m_headDeadline, &m_requestDeadline}) {
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, &ClientConnection::Drop);
    }
    m_keepAlive.setInterval(RemoteLimits::kWebSocketPingMs);
    connect(&m_keepAlive, &QTimer::timeout, this, &ClientConnection::KeepAlive);
    m_headDeadline.start(RemoteLimits::kHeadTimeoutMs);
    m_requestDeadline.start(RemoteLimits::kRequestTimeoutMs);
}

ClientConnection::~ClientConnection()
{
    // Going with the server: the socket goes with us, told nothing more.
    m_socket->disconnect(this);
}

qint64 ClientConnection::UnsentBytes() const
{
    return m_socket->bytesToWrite();
}

void ClientConnection::Answer(const QByteArray& response)
{
    Settle();
    Send(response);
    if (!m_finished)
        m_socket->disconnectFromHost();
}

void ClientConnection::OpenWebSocket(const QByteArray& handshake, const QByteArray& greeting)
{
    Settle();
    m_headDeadline.stop();
    m_requestDeadline.stop();
    m_webSocket = true;
    m_lastHeard.start();
    m_keepAlive.start();
    Send(handshake);
    SendText(greeting);
    std::vector<WebSocket::Event> events;
    m_reader.OpenWebSocket(events);
    Take(events);
}

void ClientConnection::SendText(const QByteArray& text)
{
    if (m_webSocket)
        Send(WebSocket::ServerFrame(WebSocket::Opcode::Text, text));
}

void ClientConnection::CloseWebSocket(quint16 code)
{
    Send(WebSocket::CloseFrame(code));
    if (m_finished)
        return;
    // A client that reads nothing more does not hold the socket open.
    m_requestDeadline.start(RemoteLimits::kRequestTimeoutMs);
    m_socket->disconnectFromHost();
}

void ClientConnection::Drop()
{
    if (m_finished)
        return;
    m_socket->abort();
    Finish();
}

void ClientConnection::ReadAvailable()
{
    std::vector<WebSocket::Event> events;
    while (!m_finished && m_socket->bytesAvailable() > 0) {
        m_lastHeard.start();
        const ConnectionReader::Outcome outcome =
            m_reader.Read(m_socket->read(RemoteLimits::kReadChunkBytes), events);
        if (m_reader.HeadArrived())
            m_headDeadline.stop();
        if (const auto* refusal = std::get_if<RemoteError>(&outcome)) {
            Answer(HttpErrorResponse(*refusal));
        } else if (const auto* request = std::get_if<ConnectionReader::Request>(&outcome)) {
            Settle();
            if (m_handlers.request)
                m_handlers.request(*this, *request);
        }
        Take(events);
        events.clear();
    }
}

void ClientConnection::KeepAlive()
{
    if (m_lastHeard.hasExpired(RemoteLimits::kWebSocketSilenceMs))
        Drop();
    else if (m_lastHeard.hasExpired(RemoteLimits::kWebSocketPingMs - 1))
        Send(WebSocket::ServerFrame(WebSocket::Opcode::Ping, {}));
}

void ClientConnection::Take(std::vector<WebSocket::Event>& events)
{
    using Kind = WebSocket::Event::Kind;
    for (const WebSocket::Event& event : events) {
        if (m_finished)
            return;
        switch (event.kind) {
        case Kind::Text:
        case Kind::Binary:
            if (m_handlers.message)
                m_handlers.message(*this, event.payload, event.kind == Kind::Text);
            break;
        case Kind::Ping:
            if (m_pings.Allow(m_clock.elapsed()))
                Send(WebSocket::ServerFrame(WebSocket::Opcode::Pong, event.payload));
            else
                CloseWebSocket(WebSocket::kPolicyViolated);
            break;
        case Kind::Close:
        case Kind::Fail:
            CloseWebSocket(event.closeCode);
            break;
        }
    }
}

void ClientConnection::Send(const QByteArray& bytes)
{
    if (m_finished)
        return;
    m_socket->write(bytes);
    // Whatever piles up, answers, pongs or states, a client that does not
    // read it is not kept.
    if (m_socket->bytesToWrite() > RemoteLimits::kMaxUnsentBytes)
        Drop();
}

void ClientConnection::Settle()
{
    if (m_settled)
        return;
    m_settled = true;
    if (m_handlers.settled)
        m_handlers.settled(*this);
}

void ClientConnection::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    Settle();
    const auto gone = std::exchange(m_handlers, {}).gone;
    if (gone)
        gone(*this);
    deleteLater();
}
