#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

// A script file is the editor's text with every LF stored as CR LF: no header,
// no byte-order mark of our own, no terminating NUL. Reading undoes the line
// break expansion and stops at a Ctrl+Z byte, the old end-of-file mark.

/// Reads the whole of `file` from its current position: CR LF becomes LF, a
/// Ctrl+Z byte (0x1A) ends the data, every other byte (NUL included) is kept.
/// Empty when the device reports a read error.
std::optional<QByteArray> ReadScriptFile(QIODevice& file);

/// Writes `text` to `file` in one write with every LF expanded to CR LF.
/// False when not every byte was written.
bool WriteScriptFile(QIODevice& file, const QByteArray& text);

/// The part of `path` after its last backslash or slash; the whole path when
/// it has neither; empty for an empty path.
QString FileNameFromPath(const QString& path);

/// Saves `text` as the script file at `path`: the text goes to a temporary
/// file beside the target, which replaces the target only when it is complete
/// and flushed to disk. With `mustExist` the target has to be an existing
/// file, and where its folder takes no new file the file is written in place
/// instead, so that saving needs no more than the file itself. Fails, leaving
/// any old file as it was, when the target is not a writable file, or when a
/// file that need not exist cannot be created beside it.
bool SaveScriptFileAtomically(const QString& path, const QByteArray& text, bool mustExist);
