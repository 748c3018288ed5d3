#pragma once

#include <QByteArray>
#include <QString>

// A script is bytes on disk and text in the editor. Bytes that form valid
// UTF-8 are read as UTF-8 (a leading byte-order mark stays in the text as
// U+FEFF); anything else is read as Windows-1252, whose five undefined bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of the same value.
// Encoding the text back in the encoding it was read with gives the very bytes
// that were read, so an unchanged script is saved byte for byte.

/// The encoding a script's bytes were read with.
enum class ScriptEncoding { Utf8, Windows1252 };

/// A script's text together with the encoding its bytes were read with.
struct DecodedScript {
    QString text;            ///< the text, one QChar per Windows-1252 byte or UTF-16 unit
    ScriptEncoding encoding; ///< how to write the text back
};

/// Decodes script bytes by the rule above.
DecodedScript DecodeScriptText(const QByteArray& bytes);

/// Encodes `text` in `encoding`. A text that holds characters Windows-1252
/// cannot represent is written as UTF-8 instead, so that nothing the operator
/// typed is replaced by a stand-in character.
QByteArray EncodeScriptText(const QString& text, ScriptEncoding encoding);
