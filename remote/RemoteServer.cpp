#include "RemoteServer.h"

#include "GatedTcpServer.h"
#include "HttpErrorResponse.h"
#include "PrompterCommands.h"
#include "PrompterStatus.h"
#include "RemoteJson.h"
#include "RemoteLimits.h"
#include "RemoteRoutes.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpSocket>
#include <QUrl>
#include <QWebSocket>

#include <algorithm>

// Qt's HTTP server, answering through the server's own handler.
class RemoteHttpServer final : public QAbstractHttpServer
{
  public:
    using Handler = std::function<bool(const QHttpServerRequest&, QTcpSocket*)>;

    explicit RemoteHttpServer(Handler handler) : m_handler(std::move(handler)) {}

    /// The responder for `request` on `socket`.
    static QHttpServerResponder Responder(const QHttpServerRequest& request, QTcpSocket* socket)
    {
        return makeResponder(request, socket);
    }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        return m_handler(request, socket);
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket* socket) override { socket->abort(); }

  private:
    Handler m_handler;
};

struct RemoteServer::Client {
    std::unique_ptr<QWebSocket> socket;
    CommandRateLimit limit{RemoteLimits::kMaxCommandsPerSecond};
};

namespace
{
using Status = QHttpServerResponder::StatusCode;

const char kServedProperty[] = "vellorRequestServed";
const QString kPhonePage = QStringLiteral(":/remote/phone.html");
// The page is ours alone: nothing may load from elsewhere, and it may talk
// only to the server that sent it.
const QByteArray kPagePolicy = "default-src 'none'; style-src 'unsafe-inline'; "
                               "script-src 'unsafe-inline'; connect-src 'self'; img-src data:";

QByteArray MethodName(QHttpServerRequest::Method method)
{
    const char* key =
        QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(static_cast<int>(method));
    return QByteArray(key ? key : "Unknown").toUpper();
}

void WriteJson(QHttpServerResponder& responder, const QByteArray& json, int status)
{
    responder.write(json, {{"Content-Type", "application/json"}, {"Connection", "close"}},
                    static_cast<Status>(status));
}

void WriteError(QHttpServerResponder& responder, const RemoteError& error)
{
    if (error.status == 401)
        responder.write({{"Connection", "close"}}, Status::Unauthorized);
    else
        WriteJson(responder, HttpErrorBody(error), error.status);
}

QByteArray PhonePage()
{
    QFile page(kPhonePage);
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}
} // namespace

RemoteServer::RemoteServer(RemoteHost host, QObject* parent)
    : QObject(parent), m_host(std::move(host))
{
    m_clock.start();
    m_pushTimer.setInterval(RemoteLimits::kStatePushIntervalMs);
    connect(&m_pushTimer, &QTimer::timeout, this, &RemoteServer::PushState);
}

RemoteServer::~RemoteServer()
{
    Close();
}

QString RemoteServer::Listen(quint16 port, bool lanAccess, const QByteArray& token)
{
    Close();
    m_token = token;
    m_http = std::make_unique<RemoteHttpServer>(
        [this](const QHttpServerRequest& request, QTcpSocket* socket) {
            return Answer(request, socket);
        });
    connect(m_http.get(), &QAbstractHttpServer::newWebSocketConnection, this,
            &RemoteServer::TakeWebSockets);

    const QList<QHostAddress> addresses =
        lanAccess ? QList<QHostAddress>{QHostAddress(QHostAddress::Any)}
                  : QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost),
                                        QHostAddress(QHostAddress::LocalHostIPv6)};
    for (const QHostAddress& address : addresses) {
        auto* listener = new GatedTcpServer(
            lanAccess, [this](const RequestHead& head) { return Admit(head); }, m_http.get());
        if (!listener->listen(address, port)) {
            const QAbstractSocket::SocketError error = listener->serverError();
            const QString reason = listener->errorString();
            delete listener;
            // A machine without IPv6 still has its IPv4 loopback.
            if (address == QHostAddress::LocalHostIPv6 && !m_listeners.empty() &&
                error != QAbstractSocket::AddressInUseError)
                continue;
            Close();
            return reason;
        }
        port = listener->serverPort();
        m_http->bind(listener);
        m_listeners.push_back(listener);
    }
    return {};
}

void RemoteServer::Close()
{
    // The WebSockets go before the listeners, which own their connections,
    // and go quietly: a closing socket tells of its own disconnection.
    std::vector<std::unique_ptr<Client>> leaving;
    leaving.swap(m_clients);
    for (const auto& client : leaving)
        client->socket->disconnect(this);
    const bool hadClients = !leaving.empty();
    leaving.clear();
    m_pushTimer.stop();
    m_lastPushed.clear();
    m_listeners.clear();
    m_http.reset();
    m_addressLimits.clear();
    if (hadClients)
        emit clientCountChanged(0);
}

quint16 RemoteServer::Port() const
{
    return m_listeners.empty() ? 0 : m_listeners.front()->serverPort();
}

QList<QHostAddress> RemoteServer::Addresses() const
{
    QList<QHostAddress> addresses;
    for (const GatedTcpServer* listener : m_listeners)
        addresses.append(listener->serverAddress());
    return addresses;
}

std::optional<RemoteError> RemoteServer::Admit(const RequestHead& head) const
{
    // Plain requests are judged once the HTTP server has read them; an
    // upgrade has to be judged here, as the WebSocket server answers it at once.
    if (!head.IsUpgrade())
        return std::nullopt;
    const auto route = RouteRequest({head.method, head.path, true, head.Field("authorization"),
                                     QueryValue(head.query, "token"), m_token});
    if (const auto* refusal = std::get_if<RemoteError>(&route))
        return *refusal;
    if (ClientCount() >= RemoteLimits::kMaxWebSocketClients)
        return RemoteError{503, QStringLiteral("Too many WebSocket clients.")};
    return std::nullopt;
}

bool RemoteServer::Answer(const QHttpServerRequest& request, QTcpSocket* socket)
{
    // One request per connection, the one the gate looked at; whatever
    // follows it is left unanswered while the answer goes out.
    if (socket->property(kServedProperty).toBool())
        return true;
    socket->setProperty(kServedProperty, true);

    // The HTTP server asks here before it upgrades a connection: true lets
    // the upgrade go on, false closes the connection. Its rule for what is
    // an upgrade is followed to the letter.
    const bool webSocket = request.value("connection").toLower().contains("upgrade") &&
                           request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    const QByteArray method = MethodName(request.method());
    const QByteArray path = request.url().path(QUrl::FullyEncoded).toUtf8();
    const QByteArray query = request.url().query(QUrl::FullyEncoded).toUtf8();
    const auto route =
        RouteRequest({method, path, webSocket, request.value("authorization"),
                      webSocket ? QueryValue(query, "token") : QByteArray(), m_token});
    if (webSocket)
        return std::holds_alternative<Endpoint>(route) &&
               ClientCount() < RemoteLimits::kMaxWebSocketClients;

    QHttpServerResponder responder = RemoteHttpServer::Responder(request, socket);
    if (const auto* refusal = std::get_if<RemoteError>(&route)) {
        WriteError(responder, *refusal);
        socket->disconnectFromHost();
        return true;
    }
    switch (std::get<Endpoint>(route)) {
    case Endpoint::PhonePage:
        responder.write(PhonePage(),
                        {{"Content-Type", "text/html; charset=utf-8"},
                         {"Content-Security-Policy", kPagePolicy},
                         {"Cache-Control", "no-store"},
                         {"Connection", "close"}},
                        Status::Ok);
        break;
    case Endpoint::State:
        WriteJson(responder, CurrentState(), 200);
        break;
    case Endpoint::Command: {
        // The answer is the state once the command has acted, which for
        // start is after the queued SCROLL has put the run on the screen.
        auto pending = std::make_shared<QHttpServerResponder>(std::move(responder));
        const QPointer<QTcpSocket> guard(socket);
        const std::optional<RemoteError> refusal = RunCommand(
            request.body(), AddressLimit(request.remoteAddress()), [this, pending, guard] {
                if (!guard)
                    return;
                WriteJson(*pending, CurrentState(), 200);
                guard->disconnectFromHost();
            });
        if (refusal) {
            WriteError(*pending, *refusal);
            socket->disconnectFromHost();
        }
        return true;
    }
    case Endpoint::WebSocket:
        break; // not reached: an upgrade was answered above
    }
    socket->disconnectFromHost();
    return true;
}

std::optional<RemoteError> RemoteServer::RunCommand(QByteArrayView body, CommandRateLimit& limit,
                                                    std::function<void()> whenDone)
{
    if (!limit.Allow(m_clock.elapsed()))
        return RemoteError{429, QStringLiteral("More than %1 commands a second.")
                                    .arg(RemoteLimits::kMaxCommandsPerSecond)};
    const auto parsed = ParseRemoteCommand(body);
    if (const auto* error = std::get_if<RemoteError>(&parsed))
        return *error;
    const RemoteCommand& command = std::get<RemoteCommand>(parsed);
    const bool running = CurrentPrompterStatus().running;

    if (command.kind == RemoteCommand::Kind::Start) {
        if (m_startPending || running || !m_host.startRun())
            return RemoteError{409, QStringLiteral("A run or a dialog is open.")};
        // SCROLL was queued; this comes after it, inside the run once it is
        // on the screen, or after the attempt if the run could not start.
        m_startPending = true;
        QMetaObject::invokeMethod(
            this,
            [this, whenDone = std::move(whenDone)] {
                m_startPending = false;
                whenDone();
            },
            Qt::QueuedConnection);
        return std::nullopt;
    }
    if (!running)
        return RemoteError{409, QStringLiteral("No run is on the screen.")};
    if (command.kind == RemoteCommand::Kind::Speed)
        RunPrompterCommand(PrompterCommand::SetSpeed, command.speedValue);
    else
        RunPrompterCommand(command.prompter);
    whenDone();
    return std::nullopt;
}

CommandRateLimit& RemoteServer::AddressLimit(const QHostAddress& address)
{
    // Forget the addresses that have gone quiet before the table grows.
    if (m_addressLimits.size() > RemoteLimits::kMaxWaitingConnections) {
        const qint64 now = m_clock.elapsed();
        m_addressLimits.removeIf([now](const auto& entry) { return entry.value().IsIdle(now); });
    }
    const QString key = address.toString();
    auto limit = m_addressLimits.find(key);
    if (limit == m_addressLimits.end())
        limit = m_addressLimits.insert(key, CommandRateLimit(RemoteLimits::kMaxCommandsPerSecond));
    return limit.value();
}

void RemoteServer::TakeWebSockets()
{
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = m_http->nextPendingWebSocketConnection();
        // Clients that came in together may have passed the count together.
        const bool admitted = ClientCount() < RemoteLimits::kMaxWebSocketClients;
        if (!admitted) {
            QWebSocket* refused = socket.release();
            refused->setParent(this);
            connect(refused, &QWebSocket::disconnected, refused, &QObject::deleteLater);
            refused->close(QWebSocketProtocol::CloseCodePolicyViolated);
            continue;
        }
        socket->setMaxAllowedIncomingMessageSize(RemoteLimits::kMaxBodyBytes);
        socket->setMaxAllowedIncomingFrameSize(RemoteLimits::kMaxBodyBytes);
        QWebSocket* raw = socket.get();
        connect(raw, &QWebSocket::textMessageReceived, this,
                [this, raw](const QString& message) { OnClientMessage(raw, message); });
        connect(raw, &QWebSocket::binaryMessageReceived, this, [raw] {
            raw->sendTextMessage(QString::fromUtf8(ErrorJson(QStringLiteral("Send text."), 400)));
        });
        connect(raw, &QWebSocket::disconnected, this, [this, raw] { DropClient(raw); });
        auto client = std::make_unique<Client>();
        client->socket = std::move(socket);
        m_clients.push_back(std::move(client));
        raw->sendTextMessage(QString::fromUtf8(CurrentState()));
        if (!m_pushTimer.isActive())
            m_pushTimer.start();
        emit clientCountChanged(ClientCount());
    }
}

void RemoteServer::OnClientMessage(QWebSocket* socket, const QString& message)
{
    const auto client = std::find_if(m_clients.begin(), m_clients.end(),
                                     [socket](const auto& c) { return c->socket.get() == socket; });
    if (client == m_clients.end())
        return;
    const std::optional<RemoteError> refusal =
        RunCommand(message.toUtf8(), (*client)->limit, [] {});
    if (refusal)
        socket->sendTextMessage(QString::fromUtf8(ErrorJson(refusal->message, refusal->status)));
}

void RemoteServer::DropClient(QWebSocket* socket)
{
    const auto client = std::find_if(m_clients.begin(), m_clients.end(),
                                     [socket](const auto& c) { return c->socket.get() == socket; });
    if (client == m_clients.end())
        return;
    // The socket may be in the middle of one of its own signals.
    QWebSocket* leaving = (*client)->socket.release();
    leaving->disconnect(this);
    leaving->abort();
    leaving->deleteLater();
    m_clients.erase(client);
    if (m_clients.empty())
        m_pushTimer.stop();
    emit clientCountChanged(ClientCount());
}

void RemoteServer::PushState()
{
    const QByteArray state = CurrentState();
    if (state == m_lastPushed)
        return;
    m_lastPushed = state;
    std::vector<QWebSocket*> stalled;
    for (const auto& client : m_clients) {
        if (client->socket->bytesToWrite() > RemoteLimits::kMaxUnsentBytes)
            stalled.push_back(client->socket.get());
        else
            client->socket->sendTextMessage(QString::fromUtf8(state));
    }
    for (QWebSocket* socket : stalled)
        DropClient(socket);
}

QByteArray RemoteServer::CurrentState() const
{
    return StateJson(CurrentPrompterStatus(), m_host.scriptName ? m_host.scriptName() : QString());
}
