#include "PrivateProfile.h"

#include "PrivateProfileText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace PrivateProfile
{
namespace
{

// The whole file, or nullopt when it is missing or cannot be read.
std::optional<std::string> ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
}

// A file with no write permission bit is read-only, as a file with the
// read-only attribute is, even to a user whom the system would let write it
// (root). So only the mode's bits count here, not what this user may do.
bool IsReadOnly(const QFileInfo& info)
{
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return (info.permissions() & anyWrite) == 0;
}

// Whether the folder of the existing file `path` (of its target, for a link)
// lets this user add a file. The system is asked (unlike IsReadOnly), so root
// is refused only where a folder is immutable.
bool FolderTakesNewFiles(const QString& path)
{
    return QFileInfo(QFileInfo(path).canonicalPath()).isWritable();
}

// Overwrites the file where it is, without truncating it first: the old bytes
// stay until the new ones cover them, and only then is the rest cut off.
bool WriteInPlace(const QString& path, const std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    const auto size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size && file.flush() && file.resize(size);
}

bool ReplaceFile(const QString& path, const std::string& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // A folder that takes no new file has no room for the temporary file;
        // the file itself may still be writable, and then it is written in place.
        return QFileInfo::exists(path) && !FolderTakesNewFiles(path) && WriteInPlace(path, text);
    }
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size)
        return false; // the unfinished temporary file goes with `file`
    return file.commit();
}

} // namespace

std::uint32_t GetString(const char* section, const char* name, const char* defaultValue,
                        char* buffer, std::uint32_t size, const char* fileName)
{
    if (buffer == nullptr || size == 0)
        return 0;
    std::optional<std::string> value;
    if (section != nullptr && name != nullptr && fileName != nullptr) {
        if (const std::optional<std::string> text = ReadFile(QFile::decodeName(fileName)))
            value = FindValue(*text, section, name);
    }
    if (!value) {
        value = defaultValue != nullptr ? defaultValue : "";
        while (!value->empty() && value->back() == ' ')
            value->pop_back();
    }
    // The value is a C string to the caller: it ends at a NUL it holds.
    value->resize(std::min(value->find('\0'), value->size()));
    const std::size_t copied = std::min<std::size_t>(value->size(), size - 1);
    std::memcpy(buffer, value->data(), copied);
    buffer[copied] = '\0';
    return static_cast<std::uint32_t>(copied);
}

std::vector<std::string> GetNames(const char* section, const char* fileName)
{
    if (section == nullptr || fileName == nullptr)
        return {};
    const std::optional<std::string> text = ReadFile(QFile::decodeName(fileName));
    return text ? NamesIn(*text, section) : std::vector<std::string>();
}

bool WriteString(const char* section, const char* name, const char* value, const char* fileName)
{
    if (section == nullptr || name == nullptr || value == nullptr || fileName == nullptr ||
        *fileName == '\0' || !CanStore(section, name, value))
        return false;
    const QString path = QFile::decodeName(fileName);
    const QFileInfo info(path);
    std::string text;
    if (info.exists()) {
        std::optional<std::string> current = ReadFile(path);
        if (!current)
            return false; // never replace what could not be read
        text = std::move(*current);
    }
    const std::string changed = WithValue(text, section, name, value);
    if (info.exists() && changed == text)
        return true; // the file already holds the value
    if (info.exists() && IsReadOnly(info))
        return false;
    return ReplaceFile(path, changed);
}

bool RestrictToOwner(const char* fileName)
{
    if (fileName == nullptr || *fileName == '\0')
        return false;
    constexpr QFile::Permissions kOwnerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const QString path = QFile::decodeName(fileName);
    if (!QFileInfo::exists(path)) {
        // Made empty and closed from the start, so the first value written
        // into it is never open to others.
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly);
    }
    // The file's own mode is changed, not a link's, as writes replace the target.
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && QFile::setPermissions(target, kOwnerOnly);
}

} // namespace PrivateProfile
