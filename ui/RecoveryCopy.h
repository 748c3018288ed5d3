#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// A recovery copy keeps the unsaved text of a script through a crash, a kill
// or a power cut. It is a file of its own: a first line that says what it is,
// a second line holding, as JSON, the path of the script's file (empty for a
// script that has none yet), the time the copy was taken and the length of
// the text, then the text itself as UTF-8 with LF line breaks, so that a
// person can still rescue it with any text editor.

/// The unsaved text of a script, the file it belongs to and when it was copied.
struct RecoveryCopy {
    QString filePath; ///< the script's file; empty for a script without one
    QDateTime time;   ///< when the copy was taken
    QString text;     ///< the script's text, line breaks as LF
};

/// The copy stored at `path`; nothing when there is none or it is not whole.
std::optional<RecoveryCopy> ReadRecoveryCopy(const QString& path);

/// Stores `copy` at `path` through a temporary file that replaces the old copy
/// only once it is complete, so a copy on disk is always whole. Refuses, and
/// answers false, to replace a copy taken later than `copy`; false also when
/// the copy could not be written.
bool WriteRecoveryCopy(const QString& path, const RecoveryCopy& copy);
