#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Private-profile (INI) files as the program's settings use them: one value
// read or written by section and name, straight from and to the file, with no
// cache in between. The file format is that of PrivateProfileText.h.
//
// Every write replaces the whole file atomically: the new text goes to a
// temporary file in the same folder, is flushed to disk and then renamed over
// the old file, so a crash or a full disk never leaves half a settings file.
// Only where the folder takes no new file is a writable file written in place,
// so that nothing else ever appears in the folder.
namespace PrivateProfile
{

/// Copies the value of `name` in `section` of the file `fileName` into `buffer`
/// of `size` bytes, NUL-terminated, cut to size - 1 bytes when longer. When the
/// file, the section or the name is missing (or a null argument is given), the
/// default is copied instead, its trailing blanks removed; a present but empty
/// value gives the empty string, and a value holding a NUL ends there. Returns
/// the number of bytes copied without the NUL: size - 1 when the text was cut,
/// 0 when size is 0.
std::uint32_t GetString(const char* section, const char* name, const char* defaultValue,
                        char* buffer, std::uint32_t size, const char* fileName);

/// The names of the values in `section` of the file `fileName`, as
/// NamesIn finds them; empty when the file or the section is missing.
std::vector<std::string> GetNames(const char* section, const char* fileName);

/// Sets `name` in `section` of the file `fileName` to `value`, creating the file
/// and the section as needed and keeping every other byte of the file. Returns
/// false, leaving the file as it was, when the write cannot happen: a null
/// argument, a value that cannot be stored (see CanStore), a read-only file or
/// folder, a file that cannot be read, a failed write.
bool WriteString(const char* section, const char* name, const char* value, const char* fileName);

/// Makes the file `fileName` readable and writable by its owner alone,
/// creating it empty when it is missing; every later write keeps it so.
/// False when that cannot be done.
bool RestrictToOwner(const char* fileName);

} // namespace PrivateProfile
