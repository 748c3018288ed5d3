#include "GatedTcpServer.h"

#include <QTcpSocket>

bool AcceptsPeer(const QHostAddress& peer, bool lanAccess)
{
    return lanAccess || peer.isLoopback();
}

GatedTcpServer::GatedTcpServer(bool lanAccess, Arrival arrival, QObject* parent)
    : QTcpServer(parent), m_lanAccess(lanAccess), m_arrival(std::move(arrival))
{
}

void GatedTcpServer::incomingConnection(qintptr handle)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle) || !AcceptsPeer(socket->peerAddress(), m_lanAccess)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_arrival(socket);
}
