#include "GatedTcpServer.h"

#include "HttpErrorResponse.h"
#include "RemoteLimits.h"

#include <QMetaObject>
#include <QTcpSocket>
#include <QTimer>

namespace
{
// Enough for the largest request the limits allow; beyond it the socket
// stops reading, so a client cannot make the program hold more.
constexpr qint64 kReadBufferBytes = RemoteLimits::kMaxHeadBytes + RemoteLimits::kMaxBodyBytes + 1;
const QString kDeadlineName = QStringLiteral("requestDeadline");

void Refuse(QTcpSocket* socket, const RemoteError& error)
{
    QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    socket->write(HttpErrorResponse(error));
    socket->disconnectFromHost();
}
} // namespace

bool AcceptsPeer(const QHostAddress& peer, bool lanAccess)
{
    return lanAccess || peer.isLoopback();
}

GatedTcpServer::GatedTcpServer(bool lanAccess, Admission admit, QObject* parent)
    : QTcpServer(parent), m_lanAccess(lanAccess), m_admit(std::move(admit))
{
}

void GatedTcpServer::incomingConnection(qintptr handle)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle) || !AcceptsPeer(socket->peerAddress(), m_lanAccess) ||
        m_waiting >= RemoteLimits::kMaxWaitingConnections) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++m_waiting;
    socket->setReadBufferSize(kReadBufferBytes);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this] { --m_waiting; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Screen(socket); });
    // A request that never finishes arriving does not hold its place for long.
    auto* deadline = new QTimer(socket);
    deadline->setObjectName(kDeadlineName);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, socket, &QTcpSocket::abort);
    deadline->start(RemoteLimits::kRequestTimeoutMs);
}

void GatedTcpServer::Screen(QTcpSocket* socket)
{
    // Nothing has read from the socket yet, so peeking sees the request from
    // its first byte.
    const QByteArray received = socket->peek(socket->bytesAvailable());
    const RequestScreening screening = ScreenRequest(received);
    switch (screening.verdict) {
    case RequestScreening::Verdict::NeedMore:
        return;
    case RequestScreening::Verdict::Refuse:
        Refuse(socket, screening.error);
        return;
    case RequestScreening::Verdict::Whole:
        if (const std::optional<RemoteError> refusal = m_admit(screening.head))
            Refuse(socket, *refusal);
        else
            HandOn(socket);
        return;
    }
}

void GatedTcpServer::HandOn(QTcpSocket* socket)
{
    disconnect(socket, nullptr, this, nullptr);
    disconnect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    --m_waiting;
    delete socket->findChild<QTimer*>(kDeadlineName, Qt::FindDirectChildrenOnly);
    // The connection now belongs to the HTTP server, which deletes it itself.
    addPendingConnection(socket);
    // The HTTP server picks connections up on this signal, which QTcpServer
    // emits only for connections accepted in the same pass, and reads on
    // readyRead, which has come already.
    QMetaObject::invokeMethod(this, "pendingConnectionAvailable", Qt::DirectConnection);
    Q_EMIT socket->readyRead();
}
