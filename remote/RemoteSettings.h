#pragma once

#include <QString>

class CIni;

// The ports a TCP server can listen on.
inline constexpr int kLowestPort = 1;
inline constexpr int kHighestPort = 65535;

// The remote control's settings, section [Remote] of the settings file. They
// are read at start-up and written when the operator changes them in the
// Remote Control dialog, or when a token is made.
struct RemoteSettings {
    bool enabled = false;   ///< Enabled: the server starts with the program
    int port = 8787;        ///< Port: kLowestPort..kHighestPort
    bool lanAccess = false; ///< LanAccess: every interface, not loopback only
    QString token;          ///< Token: hexadecimal, made on first enabling
};

/// The [Remote] section; defaults where a value is missing or out of range.
RemoteSettings LoadRemoteSettings(const CIni& ini);

/// Writes every value of the [Remote] section; a file holding a token is
/// made readable by its owner alone first.
void SaveRemoteSettings(CIni& ini, const RemoteSettings& settings);

/// A new token: 128 bits from the system's secure random source, as 32 hexadecimal digits.
QString MakeRemoteToken();

/// Whether `token` is one MakeRemoteToken could have made or stronger: at
/// least 32 hexadecimal digits. Anything weaker is replaced before the server
/// listens.
bool IsStrongRemoteToken(const QString& token);
