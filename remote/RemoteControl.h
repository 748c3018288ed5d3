#pragma once

#include "RemoteHost.h"
#include "RemoteServer.h"
#include "RemoteSettings.h"

class CIni;
class DialogService;
class QWidget;

// The remote control as the program has it: its settings in the [Remote]
// section, its server, and the dialog that changes them. With Enabled=1 the
// server starts with the program; a port that cannot be had is told once,
// and the program goes on without the remote.
class RemoteControl
{
  public:
    /// Reads the settings from `ini` and starts the server if they enable it,
    /// telling a failure through `dialogs`.
    RemoteControl(CIni& ini, DialogService& dialogs, RemoteHost host);

    /// Runs the Remote Control dialog over `parent`; OK applies and keeps its settings.
    void OpenDialog(QWidget* parent);

    /// The settings in force.
    const RemoteSettings& Settings() const { return m_settings; }
    /// The server.
    RemoteServer& Server() { return m_server; }

  private:
    void Apply(QWidget* parent);

    CIni& m_ini;
    DialogService& m_dialogs;
    RemoteSettings m_settings;
    RemoteServer m_server;
};
