#include "RemoteServer.h"

#include "ClientConnection.h"
#include "GatedTcpServer.h"
#include "HttpResponse.h"
#include "LeaderNow.h"
#include "PrompterStatus.h"
#include "RemoteCommandRun.h"
#include "RemoteJson.h"
#include "RemoteScript.h"
#include "WebSocketHandshake.h"

#include <QFile>
#include <QPointer>
#include <QTcpSocket>

#include <algorithm>

namespace
{
const QString kPhonePage = QStringLiteral(":/remote/phone.html");
// The page is ours alone: nothing may load from elsewhere, and it may talk
// only to the server that sent it.
const QByteArray kPagePolicy = "default-src 'none'; style-src 'unsafe-inline'; "
                               "script-src 'unsafe-inline'; connect-src 'self'; img-src data:";
constexpr int kStartWatchMs = 10;

QByteArray PhonePage()
{
    QFile page(kPhonePage);
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

QByteArray JsonResponse(const QByteArray& json)
{
    return HttpResponse(200, "application/json", json);
}
} // namespace

RemoteServer::RemoteServer(RemoteHost host, QObject* parent)
    : QObject(parent), m_host(std::move(host)),
      m_waiting(RemoteLimits::kMaxWaitingConnections, RemoteLimits::kMaxWaitingPerAddress),
      m_allLimit(RemoteLimits::kMaxCommandsPerSecondAll),
      m_scriptLimit(RemoteLimits::kMaxScriptsPerSecond)
{
    m_clock.start();
    m_pushTimer.setInterval(RemoteLimits::kStatePushIntervalMs);
    connect(&m_pushTimer, &QTimer::timeout, this, &RemoteServer::PushState);
    m_followTimer.setInterval(RemoteLimits::kFollowCheckMs);
    connect(&m_followTimer, &QTimer::timeout, this, &RemoteServer::FeedFollowers);
    m_startWatch.setInterval(kStartWatchMs);
    connect(&m_startWatch, &QTimer::timeout, this, &RemoteServer::WatchStart);
}

RemoteServer::~RemoteServer()
{
    Close();
}

QString RemoteServer::Listen(quint16 port, bool lanAccess, const QByteArray& token)
{
    Close();
    m_context = {token, OwnHostNames(), false};
    const QList<QHostAddress> addresses =
        lanAccess ? QList<QHostAddress>{QHostAddress(QHostAddress::Any)}
                  : QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost),
                                        QHostAddress(QHostAddress::LocalHostIPv6)};
    for (const QHostAddress& address : addresses) {
        auto listener = std::make_unique<GatedTcpServer>(
            lanAccess, [this](QTcpSocket* socket) { Arrive(socket); });
        // Connections come faster than a pass of the loop under a flood;
        // the system keeps them until the gate can judge them.
        listener->setListenBacklogSize(RemoteLimits::kListenBacklog);
        if (!listener->listen(address, port)) {
            const QAbstractSocket::SocketError error = listener->serverError();
            const QString reason = listener->errorString();
            // A machine without IPv6 still has its IPv4 loopback.
            if (address == QHostAddress::LocalHostIPv6 && !m_listeners.empty() &&
                error != QAbstractSocket::AddressInUseError)
                continue;
            Close();
            return reason;
        }
        port = listener->serverPort();
        m_listeners.push_back(std::move(listener));
    }
    return {};
}

void RemoteServer::Close()
{
    // Every connection goes quietly: nothing is told of those going with the server.
    const bool hadClients = !m_clients.empty();
    for (ClientConnection* connection : findChildren<ClientConnection*>()) {
        connection->Detach();
        delete connection;
    }
    m_clients.clear();
    m_waitingConnections.clear();
    m_waiting =
        WaitingRoom(RemoteLimits::kMaxWaitingConnections, RemoteLimits::kMaxWaitingPerAddress);
    m_pushTimer.stop();
    m_followTimer.stop();
    m_lastPushed.clear();
    m_listeners.clear();
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
    for (const auto& listener : m_listeners)
        addresses.append(listener->serverAddress());
    return addresses;
}

void RemoteServer::Arrive(QTcpSocket* socket)
{
    const quint64 id = ++m_lastId;
    const WaitingRoom::Entry entry = m_waiting.Enter(id, socket->peerAddress().toString());
    if (!entry.admitted) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (entry.dropped) {
        if (ClientConnection* dropped = m_waitingConnections.value(*entry.dropped))
            dropped->Drop();
    }
    ClientConnection::Handlers handlers{
        [this](ClientConnection& connection, const ConnectionReader::Request& request) {
            Answer(connection, request);
        },
        [this](ClientConnection& connection, const QByteArray& message, bool text) {
            OnMessage(connection, message, text);
        },
        [this](ClientConnection& connection) {
            m_waiting.Leave(connection.Id());
            m_waitingConnections.remove(connection.Id());
        },
        [this](ClientConnection& connection) { Leave(connection); },
        [this](const RequestHead& head) { return BodyLimitFor(head, m_context); },
    };
    m_waitingConnections.insert(id, new ClientConnection(socket, id, std::move(handlers), this));
}

void RemoteServer::Answer(ClientConnection& connection, const ConnectionReader::Request& request)
{
    m_context.webSocketsFull = ClientCount() >= RemoteLimits::kMaxWebSocketClients;
    const auto judged = JudgeRequest(request.head, m_context);
    if (const auto* refusal = std::get_if<RemoteError>(&judged)) {
        connection.Answer(HttpErrorResponse(*refusal));
        return;
    }
    switch (std::get<Endpoint>(judged)) {
    case Endpoint::PhonePage:
        connection.Answer(HttpResponse(200, "text/html; charset=utf-8", PhonePage(),
                                       {{"Content-Security-Policy", kPagePolicy}}));
        return;
    case Endpoint::State:
        connection.Answer(JsonResponse(CurrentState()));
        return;
    case Endpoint::Command:
    case Endpoint::Message: {
        const QPointer<ClientConnection> guard(&connection);
        const bool message = std::get<Endpoint>(judged) == Endpoint::Message;
        std::optional<RemoteError> refusal = RateRefusal({&AddressLimit(connection.Peer())});
        if (!refusal)
            refusal = RunCommand(message ? ParseRemoteMessage(request.body)
                                         : ParseRemoteCommand(request.body),
                                 [this, guard] {
                                     if (guard)
                                         guard->Answer(JsonResponse(CurrentState()));
                                 });
        if (refusal)
            connection.Answer(HttpErrorResponse(*refusal));
        return;
    }
    case Endpoint::WebSocket:
        OpenWebSocket(connection, request.head);
        return;
    case Endpoint::Script: {
        std::optional<RemoteError> refusal = RateRefusal({&AddressLimit(connection.Peer())});
        if (!refusal)
            refusal = ReplaceScript(request.body);
        connection.Answer(refusal ? HttpErrorResponse(*refusal) : JsonResponse(CurrentState()));
        return;
    }
    }
}

std::optional<RemoteError> RemoteServer::ReplaceScript(QByteArrayView body)
{
    if (!m_scriptLimit.Allow(m_clock.elapsed()))
        return RemoteError{429, QStringLiteral("More than %1 scripts a second.")
                                    .arg(RemoteLimits::kMaxScriptsPerSecond)};
    const auto parsed = ParseRemoteScript(body);
    if (const auto* error = std::get_if<RemoteError>(&parsed))
        return *error;
    if (!m_host.replaceScript)
        return RemoteError{409, QStringLiteral("This program takes no script now.")};
    if (const std::optional<QString> refusal = m_host.replaceScript(std::get<QString>(parsed)))
        return RemoteError{409, *refusal};
    return std::nullopt;
}

void RemoteServer::OpenWebSocket(ClientConnection& connection, const RequestHead& head)
{
    // Counted from here, before frames that came with the request are read.
    m_clients.push_back({&connection});
    connection.OpenWebSocket(WebSocketAcceptResponse(head), CurrentState());
    if (!m_pushTimer.isActive())
        m_pushTimer.start();
    emit clientCountChanged(ClientCount());
}

void RemoteServer::OnMessage(ClientConnection& connection, const QByteArray& message, bool text)
{
    const auto client = std::find_if(m_clients.begin(), m_clients.end(),
                                     [&](const Client& c) { return c.connection == &connection; });
    if (client == m_clients.end())
        return;
    // Every message counts, so that not even refusals can be had faster.
    std::optional<RemoteError> refusal =
        RateRefusal({&client->limit, &AddressLimit(connection.Peer())});
    if (!refusal && !text)
        refusal = RemoteError{400, QStringLiteral("Send text.")};
    const std::optional<FollowerAsk> ask = refusal ? std::nullopt : ParseFollowerAsk(message);
    if (ask)
        TakeFollowerAsk(*client, *ask);
    else if (!refusal)
        refusal = RunCommand(ParseRemoteCommand(message), [] {});
    const bool forRate = refusal && refusal->status == 429;
    client->rateRefusals = forRate ? client->rateRefusals + 1 : 0;
    // A client that keeps on past the limit is not answered command by command.
    if (client->rateRefusals > RemoteLimits::kRateRefusalsBeforeClose)
        connection.CloseWebSocket(WebSocket::kPolicyViolated);
    else if (refusal)
        connection.SendText(ErrorJson(refusal->message, refusal->status));
}

void RemoteServer::Leave(ClientConnection& connection)
{
    const auto client = std::find_if(m_clients.begin(), m_clients.end(),
                                     [&](const Client& c) { return c.connection == &connection; });
    if (client == m_clients.end())
        return;
    m_clients.erase(client);
    if (m_clients.empty())
        m_pushTimer.stop();
    emit clientCountChanged(ClientCount());
}

void RemoteServer::TakeFollowerAsk(Client& client, const FollowerAsk& ask)
{
    if (ask.kind == FollowerAsk::Kind::Clock) {
        client.connection->SendText(ClockAnswerJson({ask.sent, LeaderClockNow()}));
        return;
    }
    if (client.leader)
        return;
    client.leader.emplace();
    m_followTimer.start();
    FeedFollowers();
}

void RemoteServer::FeedFollowers()
{
    // Worked out for all before any is sent: a client that takes no more goes while sent to.
    const LeaderSnapshot snapshot = CurrentLeaderSnapshot();
    std::vector<std::pair<QPointer<ClientConnection>, std::vector<QByteArray>>> due;
    for (Client& client : m_clients) {
        if (client.leader)
            due.emplace_back(client.connection,
                             client.leader->Next(snapshot, client.connection->UnsentBytes()));
    }
    if (due.empty())
        m_followTimer.stop();
    for (const auto& [connection, messages] : due) {
        for (const QByteArray& message : messages) {
            if (connection)
                connection->SendText(message);
        }
    }
}

std::optional<RemoteError>
RemoteServer::RateRefusal(std::initializer_list<CommandRateLimit*> limits)
{
    const qint64 now = m_clock.elapsed();
    const bool allowed = std::all_of(limits.begin(), limits.end(),
                                     [now](CommandRateLimit* limit) { return limit->Allow(now); });
    if (allowed && m_allLimit.Allow(now))
        return std::nullopt;
    return RemoteError{429, allowed ? QStringLiteral("More than %1 commands a second from "
                                                     "every client together.")
                                          .arg(RemoteLimits::kMaxCommandsPerSecondAll)
                                    : QStringLiteral("More than %1 commands a second.")
                                          .arg(RemoteLimits::kMaxCommandsPerSecond)};
}

std::optional<RemoteError>
RemoteServer::RunCommand(const std::variant<RemoteCommand, RemoteError>& parsed,
                         std::function<void()> whenDone)
{
    if (const auto* error = std::get_if<RemoteError>(&parsed))
        return *error;
    const RemoteCommand& command = std::get<RemoteCommand>(parsed);
    const bool start = command.kind == RemoteCommand::Kind::Start;
    if (start && m_startPending)
        return RemoteError{409, QStringLiteral("A run or a dialog is open.")};
    if (const std::optional<RemoteError> refusal = CarryOutRemoteCommand(command, m_host))
        return refusal;
    if (!start) {
        whenDone();
        return std::nullopt;
    }
    m_startPending = true;
    m_startAnswer = std::move(whenDone);
    m_startAsked.start();
    m_startWatch.start();
    return std::nullopt;
}

void RemoteServer::WatchStart()
{
    // SCROLL opens the prompter's windows before the run begins; the answer
    // waits for the run, or tells the state as it is once a start has had
    // time enough.
    if (!CurrentPrompterStatus().running &&
        m_startAsked.elapsed() < RemoteLimits::kStartAnswerTimeoutMs)
        return;
    m_startWatch.stop();
    m_startPending = false;
    std::exchange(m_startAnswer, {})();
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

void RemoteServer::PushState()
{
    const QByteArray state = CurrentState();
    if (state == m_lastPushed)
        return;
    m_lastPushed = state;
    // A client may go while it is sent to, when its unsent bytes pass the limit.
    std::vector<QPointer<ClientConnection>> clients;
    for (const Client& client : m_clients)
        clients.emplace_back(client.connection);
    for (const QPointer<ClientConnection>& client : clients) {
        if (client)
            client->SendText(state);
    }
}

QByteArray RemoteServer::CurrentState() const
{
    return StateJson(CurrentPrompterStatus(), m_host.scriptName ? m_host.scriptName() : QString());
}
