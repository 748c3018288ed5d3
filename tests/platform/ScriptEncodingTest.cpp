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

TEST(ScriptEncoding, ReadsValidUtf8AsUtf8AndOtherBytesAsWindows1252)
{
    struct Case {
        QByteArray bytes;
        ScriptEncoding encoding;
        QString text;
    };
    const Case cases[] = {{"Gr\xC3\xBC\xC3\x9F"
                           "e \xE2\x82\xAC",
                           ScriptEncoding::Utf8, QString::fromUtf8(u8"Grüße €")},
                          // A byte order mark stays in the text.
                          {"\xEF\xBB\xBF"
                           "text",
                           ScriptEncoding::Utf8, QStringView(u"\uFEFFtext").toString()},
                          {"caf\xE9 \x80 \x93quoted\x94", ScriptEncoding::Windows1252,
                           QString::fromUtf8(u8"café € “quoted”")},
                          // The bytes Windows-1252 leaves undefined stand for their own values.
                          {"\x81\x8D\x8F\x90\x9D", ScriptEncoding::Windows1252,
                           QStringView(u"\u0081\u008D\u008F\u0090\u009D").toString()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const DecodedScript decoded = DecodeScriptText(c.bytes);
        EXPECT_EQ(decoded.encoding, c.encoding);
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_EQ(EncodeScriptText(decoded.text, decoded.encoding), c.bytes);
    }
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
