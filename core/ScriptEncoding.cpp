#include "ScriptEncoding.h"

#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

namespace
{

// Code points of the bytes 0x80..0x9F in Windows-1252. The undefined bytes map
// to themselves, so that every byte decodes and encodes back unchanged.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code point of every byte value, so that decoding is one lookup a byte.
constexpr std::array<char16_t, 256> MakeWindows1252Table()
{
    std::array<char16_t, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte)
        table[byte] = static_cast<char16_t>(byte);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
        table[0x80 + i] = kHighControlRange[i];
    return table;
}
constexpr std::array<char16_t, 256> kWindows1252 = MakeWindows1252Table();

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = QChar(kWindows1252[static_cast<unsigned char>(c)]);
    return text;
}

// The bytes that may follow a UTF-8 lead byte as its first continuation byte,
// and how many continuation bytes the lead byte takes. The narrowed ranges
// after E0, ED, F0 and F4 exclude overlong forms, surrogates and code points
// beyond U+10FFFF; a count of 0 marks a byte that never leads a sequence.
struct Utf8Lead {
    int continuations = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

constexpr Utf8Lead LeadOf(unsigned char byte)
{
    if (byte >= 0xC2 && byte <= 0xDF)
        return {1};
    if (byte == 0xE0)
        return {2, 0xA0};
    if (byte == 0xED)
        return {2, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF)
        return {2};
    if (byte == 0xF0)
        return {3, 0x90};
    if (byte == 0xF4)
        return {3, 0x80, 0x8F};
    if (byte >= 0xF1 && byte <= 0xF3)
        return {3};
    return {};
}

bool IsContinuation(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0xBF;
}

// Whether `bytes` are well-formed UTF-8. Exactly such bytes decode without
// error and encode back to themselves, so they can be checked before any text
// is built; a Windows-1252 script then costs one decoding instead of two.
bool IsWellFormedUtf8(const QByteArray& bytes)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* const end = in + bytes.size();
    while (in != end) {
        // Scripts are mostly ASCII, which is checked eight bytes at a time.
        if (end - in >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, in, sizeof word);
            if ((word & kHighBits) == 0) {
                in += 8;
                continue;
            }
        }
        if (*in < 0x80) {
            ++in;
            continue;
        }
        const Utf8Lead lead = LeadOf(*in);
        if (lead.continuations == 0 || end - in <= lead.continuations)
            return false;
        if (in[1] < lead.low || in[1] > lead.high)
            return false;
        for (int i = 2; i <= lead.continuations; ++i) {
            if (!IsContinuation(in[i]))
                return false;
        }
        in += lead.continuations + 1;
    }
    return true;
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
    if (!IsWellFormedUtf8(bytes))
        return {DecodeWindows1252(bytes), ScriptEncoding::Windows1252};
    // The flag keeps a leading byte-order mark in the text as U+FEFF.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return {decoder.decode(bytes), ScriptEncoding::Utf8};
}

QByteArray EncodeScriptText(const QString& text, ScriptEncoding encoding)
{
    if (encoding == ScriptEncoding::Windows1252) {
        if (std::optional<QByteArray> bytes = EncodeWindows1252(text))
            return *std::move(bytes);
    }
    return text.toUtf8();
}
