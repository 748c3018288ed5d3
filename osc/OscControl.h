#pragma once

#include "OscServer.h"
#include "RemoteHost.h"

#include <QHostAddress>
#include <QList>
#include <QString>

class CIni;
class DialogService;

// The OSC control as the program has it: its settings in the [OSC] section
// and its server, listening from the program's start when they enable it.
// A port that cannot be had, or an allowed address that is none, is told
// once, and the program goes on.
class OscControl
{
  public:
    /// Reads the settings from `ini` and listens if they enable it, carrying
    /// out commands through `host` and telling a failure through `dialogs`.
    OscControl(const CIni& ini, DialogService& dialogs, RemoteHost host);

    /// The server.
    OscServer& Server() { return m_server; }

  private:
    RemoteHost m_host;
    OscServer m_server;
};

/// The addresses in an AllowFrom value, separated by commas or blanks, and
/// the entries that are no address.
struct AllowList {
    QList<QHostAddress> addresses;
    QStringList rejected;
};
AllowList ParseAllowList(const QString& text);
