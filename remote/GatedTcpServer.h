#pragma once

#include "RemoteCommand.h"
#include "RequestScreen.h"

#include <QHostAddress>
#include <QTcpServer>

#include <functional>
#include <optional>

// A listening socket that holds each new connection until its request has
// arrived whole and within the limits, and only then hands it on to the
// HTTP server bound to it. So the HTTP server never reads an oversized,
// unfinished or unadmitted request. Connections from addresses the accept
// rule refuses are closed before a byte is read.
class GatedTcpServer : public QTcpServer
{
    Q_OBJECT

  public:
    /// Decides on a whole request: a refusal to answer, or nothing to pass it on.
    using Admission = std::function<std::optional<RemoteError>(const RequestHead& head)>;

    /// A server accepting loopback peers only unless `lanAccess`, asking
    /// `admit` about every whole request.
    GatedTcpServer(bool lanAccess, Admission admit, QObject* parent = nullptr);

  protected:
    void incomingConnection(qintptr handle) override;

  private:
    void Screen(QTcpSocket* socket);
    void HandOn(QTcpSocket* socket);

    bool m_lanAccess;
    Admission m_admit;
    int m_waiting = 0; // connections whose request is not yet whole
};

/// The accept rule: any peer with `lanAccess`, otherwise loopback peers alone.
bool AcceptsPeer(const QHostAddress& peer, bool lanAccess);
