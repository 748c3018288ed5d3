#include "Ini.h"

#include "PrivateProfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{

// The integer texts of GetInt and WriteInt fit in 64 bytes and a NUL: 32
// binary digits need only half of that.
constexpr std::size_t kIntTextSize = 65;

std::unique_ptr<char[]> CopyOf(const char* text)
{
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    auto copy = std::make_unique<char[]>(length + 1);
    if (length > 0)
        std::memcpy(copy.get(), text, length);
    copy[length] = '\0';
    return copy;
}

int NormalisedBase(int base)
{
    return base == 2 || base == 8 || base == 16 ? base : 10;
}

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value of `c` as a digit, or 36 (no digit of any base) when it is none.
int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 36;
}

// `text` converted as the C library's strtoul converts it where unsigned long
// has 32 bits: leading white space skipped, one sign, for base 16 an optional
// 0x or 0X, digits of `base` up to the first other character; a minus sign
// negates in unsigned arithmetic, a magnitude above 4294967295 gives
// 4294967295, no digits give 0. (The library's own strtoul has 64 bits here.)
std::uint32_t StrToUL32(const char* text, int base)
{
    constexpr std::uint64_t kMax = 0xFFFFFFFFu;
    while (IsSpace(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // "0x" is a prefix only when a hexadecimal digit follows; otherwise the 0 is the number.
    if (base == 16 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        DigitValue(text[2]) < 16)
        text += 2;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (; DigitValue(*text) < base; ++text) {
        magnitude = magnitude * static_cast<std::uint64_t>(base) +
                    static_cast<std::uint64_t>(DigitValue(*text));
        if (magnitude > kMax) {
            overflow = true;
            magnitude = kMax; // keeps the product in range for the next digit
        }
    }
    if (overflow)
        return static_cast<std::uint32_t>(kMax);
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

} // namespace

CIni::CIni() : CIni(&PrivateProfile::GetString) {}

CIni::CIni(ProfileReader reader) : m_reader(std::move(reader)) {}

CIni::~CIni() = default;

void CIni::SetPathName(const char* pathName)
{
    if (pathName != nullptr)
        m_pszPathName = CopyOf(pathName);
    else if (m_pszPathName)
        m_pszPathName[0] = '\0';
}

bool CIni::WriteString(const char* section, const char* name, const char* value)
{
    if (section == nullptr || name == nullptr)
        return false;
    return PrivateProfile::WriteString(section, name, value != nullptr ? value : "",
                                       m_pszPathName.get());
}

bool CIni::RestrictToOwner()
{
    return PrivateProfile::RestrictToOwner(m_pszPathName.get());
}

std::unique_ptr<char[]> CIni::GetRawString(const char* section, const char* name,
                                           const char* defaultValue) const
{
    if (section == nullptr || name == nullptr)
        return CopyOf(defaultValue);
    const char* const fallback = defaultValue != nullptr ? defaultValue : "";
    // The reader returns size - 1 when it had to cut the value, so a length that
    // reaches size - 1 may be a cut one: read again with 512 bytes more.
    std::uint32_t size = 512;
    auto buffer = std::make_unique<char[]>(size + 1);
    while (m_reader(section, name, fallback, buffer.get(), size, m_pszPathName.get()) + 1 >= size) {
        size += 512;
        buffer = std::make_unique<char[]>(size + 1);
    }
    return buffer;
}

std::string CIni::GetString(const char* section, const char* name, const char* defaultValue) const
{
    return GetRawString(section, name, defaultValue).get();
}

std::vector<std::string> CIni::GetNames(const char* section) const
{
    return PrivateProfile::GetNames(section, m_pszPathName.get());
}

std::int32_t CIni::GetInt(const char* section, const char* name, std::int32_t defaultValue,
                          int base) const
{
    char text[kIntTextSize] = {};
    const std::unique_ptr<char[]> raw = GetRawString(section, name, nullptr);
    std::memcpy(text, raw.get(), std::min(std::strlen(raw.get()), kIntTextSize - 1));
    if (text[0] == '\0')
        return defaultValue;
    return static_cast<std::int32_t>(StrToUL32(text, NormalisedBase(base)));
}

bool CIni::WriteInt(const char* section, const char* name, std::int32_t value, int base)
{
    char text[kIntTextSize] = {};
    if (NormalisedBase(base) == 10)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        IntToString(static_cast<std::uint32_t>(value), text, base);
    if (section == nullptr || name == nullptr)
        return false;
    return PrivateProfile::WriteString(section, name, text, m_pszPathName.get());
}

void CIni::IntToString(std::uint32_t value, char* buffer, int base)
{
    switch (base) {
    case 2: {
        // Least significant digit first, then turned round: no leading zeros.
        std::size_t length = 0;
        do {
            buffer[length++] = static_cast<char>('0' + (value & 1U));
            value >>= 1;
        } while (value != 0 && length < kIntTextSize - 1);
        buffer[length] = '\0';
        std::reverse(buffer, buffer + length);
        break;
    }
    case 8:
        std::snprintf(buffer, kIntTextSize, "%o", static_cast<unsigned>(value));
        break;
    case 16:
        std::snprintf(buffer, kIntTextSize, "%X", static_cast<unsigned>(value));
        break;
    default:
        std::snprintf(buffer, kIntTextSize, "%u", static_cast<unsigned>(value));
        break;
    }
}
