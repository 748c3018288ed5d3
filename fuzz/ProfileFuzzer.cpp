// Feeds arbitrary bytes to the settings-file reader and writer. The first four
// bytes give the lengths of a section name, a value name, a value and a second
// value name, taken from the bytes that follow; the rest is the file's text.
// Besides surviving any input, an edit must read back as written, must not
// change the value of any other name, and must be stable when repeated.
// The text is then a settings file: its values must reach the control window's
// speed slider within its range, and saving what was loaded must load back the same.

#include "Ini.h"
#include "PrivateProfileText.h"
#include "SettingsEquality.h"
#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

std::string_view Take(std::string_view& rest, std::size_t length)
{
    const std::string_view piece = rest.substr(0, length);
    rest.remove_prefix(piece.size());
    return piece;
}

bool SameNameIgnoringCaseAndBlanks(std::string_view a, std::string_view b)
{
    // Two names that the reader could take for one are left out of the check.
    const auto squeeze = [](std::string_view s) {
        std::string out;
        for (const char c : s)
            if (c != ' ' && c != '\t' && c != '\r' && c != '\v' && c != '\f')
                out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return out;
    };
    return squeeze(a) == squeeze(b);
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void WriteFile(const QString& path, std::string_view bytes)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const auto size = static_cast<qint64>(bytes.size());
    Check(file.write(bytes.data(), size) == size);
}

void CheckSettingsFile(std::string_view bytes)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vellor.ini"));
    WriteFile(path, bytes);
    CIni ini;
    ini.SetPathName(QFile::encodeName(path).constData());
    const QString defaultScript = QStringLiteral("/fuzz/vellor.txt");
    Settings loaded;
    LoadSettings(ini, loaded, defaultScript);
    const int position = SliderPositionOf(loaded.m_nScrollSpeed);
    Check(position >= 0 && position <= kSlowestSpeed);
    SaveSettings(ini, loaded);
    Settings reloaded;
    LoadSettings(ini, reloaded, defaultScript);
    Check(reloaded == loaded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string_view section = Take(rest, data[0] % 16);
    const std::string_view name = Take(rest, data[1] % 16);
    const std::string_view value = Take(rest, data[2] % 32);
    const std::string_view otherName = Take(rest, data[3] % 16);
    const std::string_view text = rest;

    CheckSettingsFile(text);
    PrivateProfile::FindValue(text, section, name);
    const auto otherBefore = PrivateProfile::FindValue(text, section, otherName);
    if (!PrivateProfile::CanStore(section, name, value))
        return 0;

    const std::string edited = PrivateProfile::WithValue(text, section, name, value);
    Check(PrivateProfile::FindValue(edited, section, name) == std::string(value));
    if (!SameNameIgnoringCaseAndBlanks(name, otherName))
        Check(PrivateProfile::FindValue(edited, section, otherName) == otherBefore);
    Check(PrivateProfile::WithValue(edited, section, name, value) == edited);
    return 0;
}
