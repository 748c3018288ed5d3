#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// One INI file, read and written a value at a time by section and value name,
// as strings or as integers in base 2, 8, 10 or 16. Every call goes to the
// private-profile functions, which open and close the file themselves: there
// is no cache, so a change made by another program is seen by the next read.
// A null section or value name makes a read return the default and a write
// return false, without touching the file.
class CIni
{
  public:
    /// Reads a value as the private-profile reader does (see PrivateProfile::GetString).
    using ProfileReader =
        std::function<std::uint32_t(const char* section, const char* name, const char* defaultValue,
                                    char* buffer, std::uint32_t size, const char* fileName)>;

    /// An accessor with no path yet, reading through PrivateProfile::GetString.
    CIni();
    /// An accessor with no path yet, reading through `reader`.
    explicit CIni(ProfileReader reader);
    /// Releases the path.
    virtual ~CIni();

    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;

    /// Keeps a copy of `pathName`; null empties the held path (when there is one).
    void SetPathName(const char* pathName);

    /// Writes `value` (null writes an empty value); true on success.
    bool WriteString(const char* section, const char* name, const char* value);

    /// The whole value, however long, in a new buffer; the default (null: empty)
    /// when the name is missing.
    std::unique_ptr<char[]> GetRawString(const char* section, const char* name,
                                         const char* defaultValue) const;

    /// The whole value as a string; the default (null: empty) when the name is missing.
    std::string GetString(const char* section, const char* name, const char* defaultValue) const;

    /// The names of the values in `section`, in the file's order (see
    /// PrivateProfile::GetNames); empty for a null section.
    std::vector<std::string> GetNames(const char* section) const;

    /// The value's first 64 bytes converted as strtoul does with 32 bits in `base`
    /// (2, 8 or 16; any other base is 10); the default when the value is empty or missing.
    std::int32_t GetInt(const char* section, const char* name, std::int32_t defaultValue,
                        int base) const;

    /// Makes the file readable by its owner alone, as it must be while it
    /// holds a secret; later writes keep it so. True on success.
    bool RestrictToOwner();
    /// Writes `value` in `base` (2, 8, 16 unsigned, otherwise signed decimal); true on success.
    bool WriteInt(const char* section, const char* name, std::int32_t value, int base);

    /// Writes `value` into `buffer` (at least 65 bytes) in base 2, 8 or 16, or
    /// in unsigned decimal for any other base; digits upper-case, no prefix.
    static void IntToString(std::uint32_t value, char* buffer, int base);

  private:
    ProfileReader m_reader;
    std::unique_ptr<char[]> m_pszPathName;
};
