#pragma once

#include <QString>

// The files that live beside the executable (settings, default script, help)
// are named after it: a three-letter extension is replaced ("vellor.exe" gives
// "vellor.ini"); a name without one gets the new extension appended with its
// dot ("vellor" gives "vellor.ini").

/// The path of `executablePath` with its extension rule applied for `extension` (no dot).
QString SiblingPathWithExtension(const QString& executablePath, const QString& extension);

/// The application's title for message-box captions: the executable's file
/// name without its extension.
QString ApplicationTitle();
