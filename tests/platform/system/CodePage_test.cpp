#include "platform/system/CodePage.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *text)
{
    return QString::fromUtf16(text);
}

TEST(Windows1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString wide = Windows1252ToWide(all);
    ASSERT_EQ(wide.size(), 256);
    EXPECT_EQ(WideToWindows1252(wide), all);
}

TEST(Windows1252, PublishedTableInTheHighControlRange)
{
    struct Case { unsigned char byte; char16_t ch; } cases[] = {
        {0x80, 0x20AC}, {0x82, 0x201A}, {0x8A, 0x0160}, {0x8C, 0x0152}, {0x8E, 0x017D},
        {0x91, 0x2018}, {0x96, 0x2013}, {0x99, 0x2122}, {0x9C, 0x0153}, {0x9F, 0x0178},
        {0xA0, 0x00A0}, {0xE4, 0x00E4}, {0xFF, 0x00FF},
        // undefined in the table: kept as the control of the same number
        {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Windows1252ToWide(QByteArray(1, char(c.byte))), QString(QChar(c.ch))) << int(c.byte);
        EXPECT_EQ(WideToWindows1252(QString(QChar(c.ch))), QByteArray(1, char(c.byte))) << int(c.byte);
    }
}

TEST(Windows1252, CharactersOutsideTheTableBecomeQuestionMarks)
{
    EXPECT_EQ(WideToWindows1252(U(u"a\u4E2Db")), QByteArray("a?b"));
    EXPECT_EQ(WideToWindows1252(U(u"\u0100")), QByteArray("?"));
    // a surrogate pair is one character; lone surrogates are one each
    EXPECT_EQ(WideToWindows1252(U(u"x\U0001F600y")), QByteArray("x?y"));
    EXPECT_EQ(WideToWindows1252(QString() + QChar(0xD800) + QChar(0xDC00)), QByteArray("?"));
    EXPECT_EQ(WideToWindows1252(QString(QChar(0xDC00)) + QLatin1Char('z')), QByteArray("?z"));
}

TEST(SystemCodePage, ValidUtf8DecodesAndInvalidBytesFallBackOneByOne)
{
    struct Case { const char *name; QByteArray bytes; QString expected; } cases[] = {
        {"ascii", "plain text", QStringLiteral("plain text")},
        {"utf8", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", U(u"Grüße €")},
        {"four-byte utf8", "\xF0\x9F\x98\x80", U(u"\U0001F600")},
        {"windows bytes", "Gr\xFC\xDF" "e \x80", U(u"Grüße €")},
        {"mixed in one line", "\xC3\xBC|\xE4|\xC3\xA4", U(u"ü|ä|ä")},
        {"truncated sequence at end", "ab\xC3", U(u"abÃ")},
        {"overlong form", "\xC0\xAF", U(u"À¯")},
        {"encoded surrogate", "\xED\xA0\x80", U(u"í\u00A0€")},
        {"above U+10FFFF", "\xF4\x90\x80\x80", U(u"ô\u0090€€")},
        {"lone continuation", "\x80x", U(u"€x")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SystemCodePageToWide(c.bytes), c.expected) << c.name;
}

TEST(SystemCodePage, WritesUtf8)
{
    EXPECT_EQ(WideToSystemCodePage(U(u"Grüße €\U0001F600")), QByteArray("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_EQ(WideToSystemCodePage(QString(QChar(0xD800)) + QLatin1Char('a')), QByteArray("?a"));
    const QString text = U(u"ÄÖÜ äöü ß € \u4E2D \U0001F600");
    EXPECT_EQ(SystemCodePageToWide(WideToSystemCodePage(text)), text);
}

TEST(DecodeUtf8Strict, AcceptsOnlyValidUtf8)
{
    struct Case { const char *name; QByteArray bytes; bool valid; } cases[] = {
        {"empty", "", true},
        {"ascii", "abc", true},
        {"two bytes", "\xC3\xA4", true},
        {"max code point", "\xF4\x8F\xBF\xBF", true},
        {"latin-1 byte", "\xE4", false},
        {"overlong", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xB0\x80", false},
        {"truncated", "\xE2\x82", false},
        {"bad continuation", "\xC3\x41", false},
    };
    for (const Case &c : cases) {
        QString out = QStringLiteral("untouched");
        EXPECT_EQ(DecodeUtf8Strict(c.bytes, out), c.valid) << c.name;
        if (!c.valid) {
            EXPECT_EQ(out, QStringLiteral("untouched")) << c.name;
        }
    }
    QString out;
    ASSERT_TRUE(DecodeUtf8Strict(QByteArray("\xC3\xA4x"), out));
    EXPECT_EQ(out, U(u"äx"));
}

} // namespace
