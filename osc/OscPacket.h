#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>
#include <vector>

// OSC packets as show controllers send them, read without a socket so that
// any bytes can be tried: a message, or a bundle of messages (bundles in
// bundles too, to a small depth). Messages are decoded by liblo; the bundle
// framing, which liblo only reads inside its own server, is read here.
// Time tags are not kept: everything acts at once.

// One argument of a message: of the types a controller sends, or of another
// (monostate), which no command takes.
using OscArgument = std::variant<std::monostate, qint32, float, QByteArray>;

struct OscMessage {
    QByteArray path;
    std::vector<OscArgument> arguments;
};

// Why a packet was not taken.
enum class OscRefusal {
    Malformed, // not an OSC message or bundle, or a part of one is broken
    Oversized, // more bytes, messages or depth than a packet may have
};

/// The messages of `packet`, in order, or why it is refused as a whole.
std::variant<std::vector<OscMessage>, OscRefusal> ReadOscPacket(QByteArrayView packet);

/// A message ready to send: `path` with `arguments`, encoded by liblo.
QByteArray EncodeOscMessage(const OscMessage& message);
