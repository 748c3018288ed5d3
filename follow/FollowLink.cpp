#include "FollowLink.h"

#include "RemoteLimits.h"

#include <QNetworkRequest>

#include <chrono>

FollowLink::FollowLink(FollowTarget target, QObject* parent)
    : QObject(parent), m_target(std::move(target))
{
    // No message or frame from a leader may be larger than the protocol's.
    m_socket.setMaxAllowedIncomingMessageSize(RemoteLimits::kMaxLeaderMessageBytes);
    m_socket.setMaxAllowedIncomingFrameSize(RemoteLimits::kMaxLeaderMessageBytes);
    m_socket.setReadBufferSize(RemoteLimits::kReadChunkBytes);
    connect(&m_socket, &QWebSocket::connected, this, &FollowLink::OnConnected);
    connect(&m_socket, &QWebSocket::textMessageReceived, this, &FollowLink::OnText);
    connect(&m_socket, &QWebSocket::binaryMessageReceived, this,
            [this] { Lose(QStringLiteral("The leader sent a binary message.")); });
    connect(&m_socket, &QWebSocket::disconnected, this, [this] {
        Lose(m_socket.closeReason().isEmpty()
                 ? QStringLiteral("The leader closed the link.")
                 : QStringLiteral("The leader closed the link: %1").arg(m_socket.closeReason()));
    });
    connect(&m_socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this, [this] {
        Lose(QStringLiteral("The leader cannot be reached: %1").arg(m_socket.errorString()));
    });
    m_clockTimer.setInterval(RemoteLimits::kFollowClockMs);
    connect(&m_clockTimer, &QTimer::timeout, this, &FollowLink::AskTheTime);
    m_retry.setSingleShot(true);
    m_retry.setInterval(RemoteLimits::kFollowRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &FollowLink::Connect);
}

FollowLink::~FollowLink()
{
    m_socket.disconnect(this);
}

qint64 FollowLink::Now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void FollowLink::Open()
{
    m_open = true;
    Connect();
}

bool FollowLink::InStep() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState && m_heard.isValid() &&
           !m_heard.hasExpired(RemoteLimits::kFollowSilenceMs);
}

std::optional<qint64> FollowLink::LeaderNow() const
{
    const qint64 now = Now();
    const std::optional<qint64> offset = m_stream.Clock().Offset(now);
    return offset ? std::optional<qint64>(now + *offset) : std::nullopt;
}

void FollowLink::Connect()
{
    if (!m_open || m_socket.state() != QAbstractSocket::UnconnectedState)
        return;
    QNetworkRequest request(m_target.webSocket);
    request.setRawHeader("Authorization", "Bearer " + m_target.token.toLatin1());
    // A leader that never answers is given up as one that falls silent is.
    m_heard.start();
    m_clockTimer.start();
    m_socket.open(request);
}

void FollowLink::OnConnected()
{
    m_heard.start();
    m_socket.sendTextMessage(QString::fromUtf8(FollowerAskJson({FollowerAsk::Kind::Follow, 0})));
    AskTheTime();
}

void FollowLink::AskTheTime()
{
    // A leader gone silent is lost, even while its socket seems open.
    if (m_heard.hasExpired(RemoteLimits::kFollowSilenceMs)) {
        Lose(QStringLiteral("The leader has not been heard for %1 seconds.")
                 .arg(RemoteLimits::kFollowSilenceMs / 1000.0));
        return;
    }
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return;
    m_socket.sendTextMessage(QString::fromUtf8(FollowerAskJson({FollowerAsk::Kind::Clock, Now()})));
}

void FollowLink::OnText(const QString& message)
{
    m_heard.start();
    const FollowerStream::Taken taken = m_stream.Take(message.toUtf8(), Now());
    if (taken.problem) {
        Lose(*taken.problem);
        return;
    }
    if (taken.change != FollowerStream::Change::None)
        emit changed(taken.change);
}

void FollowLink::Lose(const QString& problem)
{
    // Lost already: what closing the socket says next is no news.
    if (m_retry.isActive())
        return;
    m_clockTimer.stop();
    m_problem = problem;
    m_retry.start();
    m_socket.abort();
    emit lost(problem);
}
