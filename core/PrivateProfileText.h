#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a private-profile (INI) file, read and edited in memory.
//
// A line "[name]" opens a section; a line "name=value" inside a section holds
// a value; a line whose first non-blank character is ';' is a comment. Section
// and value names are compared without regard to ASCII case, and blanks around
// names and values do not count. Only the first section of a name is read and
// written; lines before the first section, lines without '=', comments and a
// leading UTF-8 byte-order mark are never read, and an edit keeps every one of
// them, byte for byte, together with the file's own line endings (CR LF in a
// file that has none yet).
namespace PrivateProfile
{

/// The value of `name` in `section`, blanks around it and one pair of surrounding
/// quotes (double or single) removed; nullopt when the section or the name is missing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view name);

/// The names of the values in `section`, first of each name only, in the
/// order the file holds them; empty when the section is missing.
std::vector<std::string> NamesIn(std::string_view text, std::string_view section);

/// Whether `name` in `section` can hold `value` as one line that reads back the
/// same: no line breaks or NULs anywhere, a name that is not empty, holds no '='
/// and does not begin like a section or a comment, a section name without ']'.
bool CanStore(std::string_view section, std::string_view name, std::string_view value);

/// `text` with `name` in `section` set to `value` (CanStore must hold): an existing
/// value is replaced in its own line, a new value is added after the section's
/// last entry, a missing section is added at the end. A value that would lose
/// blanks or quotes when read back is stored inside double quotes.
std::string WithValue(std::string_view text, std::string_view section, std::string_view name,
                      std::string_view value);

} // namespace PrivateProfile
