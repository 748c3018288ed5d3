#pragma once

#include <QHostAddress>
#include <QString>

/// The address a phone opens: the server's page with the token in the
/// fragment, which browsers never send.
QString PhoneAddress(const QHostAddress& host, int port, const QString& token);

/// The machine's address as the local network sees it, with `lanAccess`
/// (the first IPv4 address that is not loopback, if there is one);
/// otherwise, or without one, 127.0.0.1.
QHostAddress ReachableAddress(bool lanAccess);
