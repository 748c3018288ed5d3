#include "ScriptFile.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace
{

constexpr char kEndOfFileMark = '\x1A';
constexpr qint64 kReadChunk = 1 << 20;

// Reads every byte the device has left; empty on a read error.
std::optional<QByteArray> ReadAllBytes(QIODevice& file)
{
    QByteArray bytes;
    for (;;) {
        // A file tells how much it holds, so it is read in one go into one
        // buffer; a device that cannot tell is read a chunk at a time.
        const qint64 chunk = std::max<qint64>(file.bytesAvailable(), 0) + kReadChunk;
        const qsizetype start = bytes.size();
        bytes.resize(start + chunk);
        const qint64 got = file.read(bytes.data() + start, chunk);
        if (got < 0)
            return std::nullopt;
        bytes.resize(start + got);
        if (got == 0)
            return bytes;
    }
}

// The first `byte` in [from, end), or end.
const char* Find(const char* from, const char* end, char byte)
{
    const void* found = std::memchr(from, byte, static_cast<std::size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
}

// Overwrites the existing file at `path` with the script `text` where it
// stands, for a folder that takes no temporary file: the file is opened
// without truncating, so that a file that cannot be opened keeps its content,
// and cut to the new length only once the whole text is written.
bool SaveScriptFileInPlace(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    return WriteScriptFile(file, text) && file.resize(file.pos()) && file.flush();
}

} // namespace

std::optional<QByteArray> ReadScriptFile(QIODevice& file)
{
    std::optional<QByteArray> text = ReadAllBytes(file);
    if (!text)
        return std::nullopt;
    const qsizetype mark = text->indexOf(kEndOfFileMark);
    if (mark >= 0)
        text->truncate(mark);

    // The text only shrinks, so the line breaks are folded in place.
    char* const data = text->data();
    const char* in = data;
    const char* const end = data + text->size();
    char* out = data;
    while (in != end) {
        const char* const cr = Find(in, end, '\r');
        std::memmove(out, in, static_cast<std::size_t>(cr - in));
        out += cr - in;
        in = cr;
        if (in == end)
            break;
        // A CR directly followed by LF is the stored form of one LF.
        if (in + 1 != end && in[1] == '\n')
            ++in;
        else
            *out++ = *in++;
    }
    text->truncate(out - data);
    return text;
}

bool WriteScriptFile(QIODevice& file, const QByteArray& text)
{
    QByteArray stored(text.size() + text.count('\n'), Qt::Uninitialized);
    const char* in = text.constData();
    const char* const end = in + text.size();
    char* out = stored.data();
    while (in != end) {
        const char* const lf = Find(in, end, '\n');
        std::memcpy(out, in, static_cast<std::size_t>(lf - in));
        out += lf - in;
        in = lf;
        if (in == end)
            break;
        *out++ = '\r';
        *out++ = *in++;
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
    // syncs and renames on commit. Its own fallback to writing in place covers
    // only a folder whose permissions refuse the temporary file, not one that
    // refuses it otherwise (an immutable folder refuses even root), so the
    // fallback is ours.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return mustExist && target.exists() && SaveScriptFileInPlace(path, text);
    if (!WriteScriptFile(file, text)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
