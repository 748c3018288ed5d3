#include "ScriptEncoding.h"

#include <QStringDecoder>
#include <array>
#include <optional>

namespace
{

// Code points of the bytes 0x80..0x9F in Windows-1252. The undefined bytes map
// to themselves, so that every byte decodes and encodes back unchanged.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ =
            (byte >= 0x80 && byte < 0xA0) ? QChar(kHighControlRange[byte - 0x80]) : QChar(byte);
    }
    return text;
}

std::optional<char> Windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<QByteArray> EncodeWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const std::optional<char> byte = Windows1252Byte(c.unicode());
        if (!byte)
            return std::nullopt;
        *out++ = *byte;
    }
    return bytes;
}

} // namespace

DecodedScript DecodeScriptText(const QByteArray& bytes)
{
    // Valid UTF-8 is exactly what decodes without error and encodes back to
    // the same bytes; the comparison also rejects what the decoder repaired.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError() && text.toUtf8() == bytes)
        return {std::move(text), ScriptEncoding::Utf8};
    return {DecodeWindows1252(bytes), ScriptEncoding::Windows1252};
}

QByteArray EncodeScriptText(const QString& text, ScriptEncoding encoding)
{
    if (encoding == ScriptEncoding::Windows1252) {
        if (std::optional<QByteArray> bytes = EncodeWindows1252(text))
            return *std::move(bytes);
    }
    return text.toUtf8();
}
