#include "WavFile.h"

#include <QFile>

#include <cstring>

namespace
{
std::uint32_t Little32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint16_t Little16(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

WavSamples Problem(const QString& path, const char* what)
{
    return {{}, QStringLiteral("%1: %2").arg(path, QString::fromUtf8(what))};
}
} // namespace

WavSamples ReadVoiceWav(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Problem(path, "the voice input file cannot be opened.");
    constexpr qint64 kLongestBytes = qint64{kLongestWavSeconds} * kVoiceSampleRate * 2 + 4096;
    if (file.size() > kLongestBytes)
        return Problem(path, "the voice input file is too long.");
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || std::memcmp(bytes.constData(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.constData() + 8, "WAVE", 4) != 0)
        return Problem(path, "the voice input file is no WAV file.");
    bool formatRight = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const char* chunk = bytes.constData() + at;
        const std::uint32_t size = Little32(chunk + 4);
        const qsizetype body = at + 8;
        const qsizetype inFile = std::min<qsizetype>(size, bytes.size() - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && inFile >= 16) {
            const char* fmt = chunk + 8;
            formatRight = Little16(fmt) == 1 && Little16(fmt + 2) == 1 &&
                          Little32(fmt + 4) == kVoiceSampleRate && Little16(fmt + 14) == 16;
            if (!formatRight)
                return Problem(path, "the voice input file must be 16 kHz mono 16-bit PCM.");
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatRight)
                return Problem(path, "the voice input file has no format before its samples.");
            WavSamples read;
            read.samples.resize(static_cast<std::size_t>(inFile / 2));
            for (std::size_t i = 0; i < read.samples.size(); ++i)
                read.samples[i] =
                    static_cast<std::int16_t>(Little16(bytes.constData() + body + 2 * i));
            return read;
        }
        at = body + inFile + (inFile & 1);
    }
    return Problem(path, "the voice input file holds no samples.");
}
