#include "ScriptFile.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <algorithm>

namespace
{

constexpr char kEndOfFileMark = '\x1A';
constexpr qint64 kReadChunk = 1 << 20;

// Reads every byte the device has left; empty on a read error.
std::optional<QByteArray> ReadAllBytes(QIODevice& file)
{
    QByteArray bytes;
    for (;;) {
        const qsizetype start = bytes.size();
        bytes.resize(start + kReadChunk);
        const qint64 got = file.read(bytes.data() + start, kReadChunk);
        if (got < 0)
            return std::nullopt;
        bytes.resize(start + got);
        if (got == 0)
            return bytes;
    }
}

} // namespace

std::optional<QByteArray> ReadScriptFile(QIODevice& file)
{
    std::optional<QByteArray> raw = ReadAllBytes(file);
    if (!raw)
        return std::nullopt;
    const qsizetype mark = raw->indexOf(kEndOfFileMark);
    const qsizetype end = mark < 0 ? raw->size() : mark;

    QByteArray text(end, Qt::Uninitialized);
    const char* in = raw->constData();
    char* out = text.data();
    for (qsizetype i = 0; i < end; ++i) {
        // A CR directly followed by LF is the stored form of one LF.
        if (in[i] == '\r' && i + 1 < end && in[i + 1] == '\n')
            continue;
        *out++ = in[i];
    }
    text.truncate(out - text.constData());
    return text;
}

bool WriteScriptFile(QIODevice& file, const QByteArray& text)
{
    QByteArray stored;
    stored.reserve(text.size() + text.count('\n'));
    for (const char c : text) {
        if (c == '\n')
            stored.append('\r');
        stored.append(c);
    }
    return file.write(stored) == stored.size();
}

QString FileNameFromPath(const QString& path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(separator + 1);
}

bool SaveScriptFileAtomically(const QString& path, const QByteArray& text, bool mustExist)
{
    if (path.isEmpty())
        return false;
    const QFileInfo target(path);
    if (target.exists() ? !(target.isFile() && target.isWritable()) : mustExist)
        return false;

    // QSaveFile writes beside the target, keeps the target's permissions,
    // syncs and renames on commit; it never falls back to writing in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!WriteScriptFile(file, text)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
