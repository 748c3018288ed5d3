#include "ScriptEncoding.h"

#include <gtest/gtest.h>

#include <utility>

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

TEST(ScriptEncoding, AnyBytesAreReadAndWrittenBackByteForByte)
{
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte.append(static_cast<char>(byte));
    const std::pair<QByteArray, ScriptEncoding> cases[] = {
        {everyByte, ScriptEncoding::Windows1252},
        // Malformed UTF-8 is read as Windows-1252.
        {"overlong \xC0\x80", ScriptEncoding::Windows1252},
        {"surrogate \xED\xA0\x80", ScriptEncoding::Windows1252},
        {"beyond \xF4\x90\x80\x80", ScriptEncoding::Windows1252},
        {"cut short \xE2\x82", ScriptEncoding::Windows1252},
        // NUL bytes and every kind of line break.
        {QByteArray("a\0b\rc\nd\r\n\0", 11), ScriptEncoding::Utf8},
        {QByteArray("\xE9\0\r\r\n", 5), ScriptEncoding::Windows1252},
        // Non-characters and the last code point are text.
        {"\xEF\xBF\xBE \xEF\xB7\x90 \xF4\x8F\xBF\xBF", ScriptEncoding::Utf8}};
    for (const auto& [bytes, encoding] : cases) {
        SCOPED_TRACE(bytes.toHex(' ').toStdString());
        const DecodedScript decoded = DecodeScriptText(bytes);
        EXPECT_EQ(decoded.encoding, encoding);
        EXPECT_EQ(EncodeScriptText(decoded.text, decoded.encoding), bytes);
    }
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
