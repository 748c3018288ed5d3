#include "RemoteAddress.h"

#include <QNetworkInterface>

QString PhoneAddress(const QHostAddress& host, int port, const QString& token)
{
    const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? u'[' + host.toString() + u']'
                             : host.toString();
    return QStringLiteral("http://%1:%2/#token=%3").arg(name).arg(port).arg(token);
}

QHostAddress ReachableAddress(bool lanAccess)
{
    if (lanAccess) {
        for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                return address;
        }
    }
    return QHostAddress(QHostAddress::LocalHost);
}
