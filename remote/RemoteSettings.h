#pragma once

#include "SettingsStore.h"

#include <QString>

// The remote control's settings: the record, LoadRemoteSettings and
// SaveRemoteSettings are in SettingsStore.h, with every other key of the
// settings file; the token's rules are here.

/// A new token: 128 bits from the system's secure random source, as 32 hexadecimal digits.
QString MakeRemoteToken();

/// Whether `token` is one MakeRemoteToken could have made or stronger: at
/// least 32 hexadecimal digits. Anything weaker is replaced before the server
/// listens.
bool IsStrongRemoteToken(const QString& token);
