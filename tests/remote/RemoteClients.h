#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include <memory>
#include <vector>

// Clients of the remote control's server for the tests, each waiting in an
// event loop of its own so that the server, in the same thread, answers.

struct HttpAnswer {
    int status = 0;
    QByteArray body;
    QByteArray contentType;
};

template <typename Sender, typename Signal>
void WaitFor(Sender* sender, Signal signal, int timeoutMs = 5000)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

class HttpClient
{
  public:
    explicit HttpClient(quint16 port) : m_port(port) {}

    HttpAnswer Send(const QByteArray& verb, const QString& path, const QByteArray& body = {},
                    const QByteArray& authorization = {})
    {
        QNetworkReply* reply = Start(verb, path, body, authorization);
        if (!reply->isFinished())
            WaitFor(reply, &QNetworkReply::finished);
        return Finish(reply);
    }

    /// Sends without waiting; Finish gives the answer.
    QNetworkReply* Start(const QByteArray& verb, const QString& path, const QByteArray& body,
                         const QByteArray& authorization)
    {
        QNetworkRequest request(
            QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        if (!authorization.isEmpty())
            request.setRawHeader("Authorization", authorization);
        return m_network.sendCustomRequest(request, verb, body);
    }

    static HttpAnswer Finish(QNetworkReply* reply)
    {
        HttpAnswer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                          reply->readAll(),
                          reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()};
        reply->deleteLater();
        return answer;
    }

    /// Writes `bytes` as they are and returns all that comes back before the server closes.
    QByteArray Raw(const QByteArray& bytes)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (!socket.waitForConnected(5000))
            return {};
        QByteArray received;
        QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
        socket.write(bytes);
        if (socket.state() == QAbstractSocket::ConnectedState)
            WaitFor(&socket, &QTcpSocket::disconnected);
        return received + socket.readAll();
    }

    /// Writes `bytes` from `source` and returns what comes back up to the end
    /// of the answer's head, or until the server closes.
    QByteArray Head(const QByteArray& bytes,
                    const QHostAddress& source = QHostAddress(QHostAddress::LocalHost))
    {
        QTcpSocket socket;
        socket.bind(source);
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (!socket.waitForConnected(5000))
            return {};
        socket.write(bytes);
        QByteArray received;
        for (int i = 0; i < 100 && !received.contains("\r\n\r\n"); ++i) {
            if (socket.state() == QAbstractSocket::ConnectedState)
                WaitFor(&socket, &QTcpSocket::readyRead, 50);
            received += socket.readAll();
        }
        return received;
    }

  private:
    quint16 m_port;
    QNetworkAccessManager m_network;
};

/// A socket connecting from the loopback address `source` to `port`, not waiting for it.
inline std::unique_ptr<QTcpSocket> ConnectFrom(const QString& source, quint16 port)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(source));
    socket->connectToHost(QHostAddress::LocalHost, port);
    return socket;
}

/// A WebSocket handshake for `target` with `fields` besides, as a raw client sends it.
inline QByteArray UpgradeRequest(const QByteArray& target, const QByteArray& fields = {})
{
    return "GET " + target +
           " HTTP/1.1\r\nConnection: Upgrade\r\nUpgrade: websocket\r\n"
           "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n" +
           fields + "\r\n";
}

/// A client's frame: whole, masked, with a payload of up to 125 bytes.
inline QByteArray ClientFrame(quint8 opcode, const QByteArray& payload)
{
    const char mask[] = {0x11, 0x22, 0x33, 0x44};
    QByteArray frame;
    frame.append(static_cast<char>(0x80 | opcode));
    frame.append(static_cast<char>(0x80 | payload.size()));
    frame.append(mask, 4);
    for (qsizetype i = 0; i < payload.size(); ++i)
        frame.append(static_cast<char>(payload[i] ^ mask[i % 4]));
    return frame;
}

// A WebSocket client that keeps every text message it receives.
class WsClient
{
  public:
    /// Connects to /api/ws with `token` in the query; Connected() tells whether it got in.
    WsClient(quint16 port, const QString& token)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived,
                         [this](const QString& message) { messages.push_back(message.toUtf8()); });
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/ws?token=%2").arg(port).arg(token)));
        QEventLoop loop;
        QObject::connect(&socket, &QWebSocket::connected, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QWebSocket::disconnected, &loop, &QEventLoop::quit);
        QObject::connect(&socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error),
                         &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    bool Connected() const { return socket.state() == QAbstractSocket::ConnectedState; }

    /// Waits until `count` messages have come, or five seconds.
    void WaitForMessages(std::size_t count)
    {
        for (int i = 0; i < 100 && messages.size() < count; ++i)
            WaitFor(&socket, &QWebSocket::textMessageReceived, 50);
    }

    QWebSocket socket;
    std::vector<QByteArray> messages;
};
