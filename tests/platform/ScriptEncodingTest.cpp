#include "ScriptEncoding.h"

#include <gtest/gtest.h>

namespace
{

QByteArray Bytes(const char* text, qsizetype size)
{
    return QByteArray(text, size);
}

void ExpectRoundTrip(const QByteArray& bytes, ScriptEncoding expected)
{
    const DecodedScript decoded = DecodeScriptText(bytes);
    EXPECT_EQ(decoded.encoding, expected);
    EXPECT_EQ(EncodeScriptText(decoded.text, decoded.encoding), bytes);
}

} // namespace

TEST(ScriptEncoding, ReadsValidUtf8AsUtf8)
{
    const DecodedScript decoded = DecodeScriptText("Gr\xC3\xBC\xC3\x9F"
                                                   "e \xE2\x82\xAC");
    EXPECT_EQ(decoded.encoding, ScriptEncoding::Utf8);
    EXPECT_EQ(decoded.text, QString::fromUtf8(u8"Grüße €"));
}

TEST(ScriptEncoding, ReadsOtherBytesAsWindows1252)
{
    const DecodedScript decoded = DecodeScriptText("caf\xE9 \x80 \x93quoted\x94");
    EXPECT_EQ(decoded.encoding, ScriptEncoding::Windows1252);
    EXPECT_EQ(decoded.text, QString::fromUtf8(u8"café € “quoted”"));
}

TEST(ScriptEncoding, MapsTheUndefinedWindows1252BytesToTheirOwnValues)
{
    const DecodedScript decoded = DecodeScriptText("\x81\x8D\x8F\x90\x9D");
    ASSERT_EQ(decoded.encoding, ScriptEncoding::Windows1252);
    EXPECT_EQ(decoded.text, QStringView(u"\u0081\u008D\u008F\u0090\u009D").toString());
}

TEST(ScriptEncoding, EveryByteValueSurvivesWindows1252)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    ExpectRoundTrip(all, ScriptEncoding::Windows1252);
}

TEST(ScriptEncoding, MalformedUtf8IsReadAsWindows1252AndKeptByteForByte)
{
    ExpectRoundTrip("overlong \xC0\x80", ScriptEncoding::Windows1252);
    ExpectRoundTrip("surrogate \xED\xA0\x80", ScriptEncoding::Windows1252);
    ExpectRoundTrip("beyond \xF4\x90\x80\x80", ScriptEncoding::Windows1252);
    ExpectRoundTrip("cut short \xE2\x82", ScriptEncoding::Windows1252);
}

TEST(ScriptEncoding, NulBytesAndLineBreaksSurviveBothEncodings)
{
    ExpectRoundTrip(Bytes("a\0b\rc\nd\r\n\0", 11), ScriptEncoding::Utf8);
    ExpectRoundTrip(Bytes("\xE9\0\r\r\n", 5), ScriptEncoding::Windows1252);
}

TEST(ScriptEncoding, AByteOrderMarkStaysInTheText)
{
    const QByteArray bytes = "\xEF\xBB\xBF"
                             "text";
    const DecodedScript decoded = DecodeScriptText(bytes);
    EXPECT_EQ(decoded.encoding, ScriptEncoding::Utf8);
    EXPECT_EQ(decoded.text, QStringView(u"\uFEFFtext").toString());
    EXPECT_EQ(EncodeScriptText(decoded.text, decoded.encoding), bytes);
}

TEST(ScriptEncoding, AnEmptyScriptIsUtf8)
{
    EXPECT_EQ(DecodeScriptText({}).encoding, ScriptEncoding::Utf8);
    EXPECT_TRUE(EncodeScriptText({}, ScriptEncoding::Windows1252).isEmpty());
}

TEST(ScriptEncoding, TextWindows1252CannotHoldIsWrittenAsUtf8)
{
    // Typed into a Windows-1252 script: a replacement character would lose it.
    const QString text = QString::fromUtf8(u8"café Ω");
    EXPECT_EQ(EncodeScriptText(text, ScriptEncoding::Windows1252), text.toUtf8());
    EXPECT_EQ(EncodeScriptText(QString::fromUtf8(u8"café"), ScriptEncoding::Windows1252),
              QByteArray("caf\xE9"));
}
