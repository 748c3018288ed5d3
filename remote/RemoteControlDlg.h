#pragma once

#include "RemoteSettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;

// Preferences > Remote Control: turns the remote on and off, lets the local
// network in, sets the port, makes a new token, and shows the address to
// open on a phone, as text and as a QR code, with the clients connected.
// It edits a copy of the settings; the caller applies them after OK.
class RemoteControlDlg : public QDialog
{
    Q_OBJECT

  public:
    /// A dialog showing `settings` and `clients` connected clients.
    RemoteControlDlg(const RemoteSettings& settings, int clients, QWidget* parent = nullptr);

    /// The settings as the operator has left them.
    RemoteSettings Settings() const { return m_settings; }

    /// Shows `count` connected clients.
    void SetClientCount(int count);

    QCheckBox& EnabledBox() const { return *m_enabled; }     ///< on or off
    QCheckBox& LanAccessBox() const { return *m_lanAccess; } ///< local network
    QSpinBox& PortBox() const { return *m_port; }            ///< the port
    QLabel& AddressLabel() const { return *m_address; }      ///< the phone's address
    QLabel& QrCodeLabel() const { return *m_qrCode; }        ///< the address as a QR code
    QLabel& ClientsLabel() const { return *m_clients; }      ///< connected clients
    void OnNewToken();                                       ///< New Token

  private:
    void TakeControls();
    void ShowAddress();

    RemoteSettings m_settings;
    QCheckBox* m_enabled = nullptr;
    QCheckBox* m_lanAccess = nullptr;
    QSpinBox* m_port = nullptr;
    QLabel* m_address = nullptr;
    QLabel* m_qrCode = nullptr;
    QLabel* m_clients = nullptr;
};
