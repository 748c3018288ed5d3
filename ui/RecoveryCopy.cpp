#include "RecoveryCopy.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{

constexpr char kFirstLine[] = "Vellor recovery copy of unsaved changes\n";
// The JSON line is a path, a time and a number; anything longer is not ours.
constexpr qint64 kMaxHeaderLine = 64 * 1024;

const QString kFileKey = QStringLiteral("file");
const QString kTimeKey = QStringLiteral("time");
const QString kLengthKey = QStringLiteral("length");

// What the first two lines of a copy tell, and the text's length in bytes.
struct Header {
    QString filePath;
    QDateTime time;
    qint64 length = 0;
};

// Reads the two header lines of `file`, leaving it at the start of the text.
std::optional<Header> ReadHeader(QFile& file)
{
    if (file.readLine(sizeof kFirstLine) != kFirstLine)
        return std::nullopt;
    const QByteArray line = file.readLine(kMaxHeaderLine);
    if (!line.endsWith('\n'))
        return std::nullopt;
    const QJsonObject fields = QJsonDocument::fromJson(line).object();
    Header header{fields.value(kFileKey).toString(),
                  QDateTime::fromString(fields.value(kTimeKey).toString(), Qt::ISODateWithMs),
                  fields.value(kLengthKey).toInteger(-1)};
    if (!fields.value(kFileKey).isString() || !header.time.isValid() || header.length < 0)
        return std::nullopt;
    return header;
}

std::optional<Header> ReadHeaderAt(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadHeader(file);
}

} // namespace

std::optional<RecoveryCopy> ReadRecoveryCopy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<Header> header = ReadHeader(file);
    if (!header)
        return std::nullopt;
    // A copy whose text is not as long as its header says is not whole.
    const QByteArray text = file.readAll();
    if (text.size() != header->length)
        return std::nullopt;
    return RecoveryCopy{header->filePath, header->time, QString::fromUtf8(text)};
}

bool WriteRecoveryCopy(const QString& path, const RecoveryCopy& copy)
{
    if (const std::optional<Header> stored = ReadHeaderAt(path); stored && stored->time > copy.time)
        return false;
    const QByteArray text = copy.text.toUtf8();
    const QJsonObject fields{{kFileKey, copy.filePath},
                             {kTimeKey, copy.time.toUTC().toString(Qt::ISODateWithMs)},
                             {kLengthKey, text.size()}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A script may be private; its copy is for its owner alone.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(kFirstLine);
    file.write(QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n');
    file.write(text);
    return file.commit();
}
