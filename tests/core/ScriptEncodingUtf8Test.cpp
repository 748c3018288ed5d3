#include "ScriptEncoding.h"

#include <QStringDecoder>
#include <array>
#include <gtest/gtest.h>

namespace
{

// The rule scripts are read by: bytes are UTF-8 when they decode without
// error and encode back to themselves.
ScriptEncoding EncodingByDecoding(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes ? ScriptEncoding::Utf8
                                                         : ScriptEncoding::Windows1252;
}

// Each byte sequence checked alone, after a short ASCII run and after a run
// long enough to be skipped a word at a time, with text following it.
void ExpectSameEncodingAsDecoding(const QByteArray& sequence)
{
    for (const QByteArray& prefix : {QByteArray(), QByteArray("ab"), QByteArray(13, 'x')}) {
        for (const QByteArray& suffix : {QByteArray(), QByteArray("tail text")}) {
            const QByteArray bytes = prefix + sequence + suffix;
            ASSERT_EQ(DecodeScriptText(bytes).encoding, EncodingByDecoding(bytes))
                << bytes.toHex(' ').constData();
        }
    }
}

// Bytes at the edges of the lead and continuation ranges.
constexpr std::array<unsigned char, 12> kEdgeBytes = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90,
                                                      0x9F, 0xA0, 0xBF, 0xC0, 0xC2, 0xFF};

} // namespace

TEST(ScriptEncodingUtf8, EveryOneAndTwoByteSequenceIsClassedAsTheDecoderDoes)
{
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            QByteArray sequence(1, static_cast<char>(first));
            if (second >= 0)
                sequence.append(static_cast<char>(second));
            ExpectSameEncodingAsDecoding(sequence);
        }
    }
}

TEST(ScriptEncodingUtf8, LongerSequencesAtTheRangeEdgesAreClassedAsTheDecoderDoes)
{
    for (int lead = 0xE0; lead <= 0xFF; ++lead) {
        for (const unsigned char second : kEdgeBytes) {
            for (const unsigned char third : kEdgeBytes) {
                const QByteArray three = QByteArray(1, static_cast<char>(lead)) +
                                         static_cast<char>(second) + static_cast<char>(third);
                ExpectSameEncodingAsDecoding(three);
                for (const unsigned char fourth : kEdgeBytes)
                    ExpectSameEncodingAsDecoding(three + static_cast<char>(fourth));
            }
        }
    }
}

TEST(ScriptEncodingUtf8, ACharacterAfterALongAsciiRunDecidesTheEncoding)
{
    const QByteArray ascii(21, 'a');
    EXPECT_EQ(DecodeScriptText(ascii + "\xC3\xA9").encoding, ScriptEncoding::Utf8);
    EXPECT_EQ(DecodeScriptText(ascii + "\xE9").encoding, ScriptEncoding::Windows1252);
    EXPECT_EQ(DecodeScriptText(ascii + "\xE2\x82").encoding, ScriptEncoding::Windows1252);
    EXPECT_EQ(DecodeScriptText(ascii + "\xC3\xA9" + ascii).text,
              QString::fromLatin1(ascii) + QChar(0xE9) + QString::fromLatin1(ascii));
}
