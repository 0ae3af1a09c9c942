#include "common/HVException.h"
#include "platform/files/TextFileReader.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testsupport::TempFolder;
using testsupport::WriteBytes;
using testsupport::Utf16;

namespace {

struct ReadResult
{
    QStringList lines;
    QStringList errors;
    int charSize = 0;
    bool bigEndian = false;
    bool utf8 = false;
};

// Reads every line of a file holding bytes; stops after a generous bound so that a
// reader that never reaches Eof fails instead of hanging.
ReadResult ReadAll(const QByteArray &bytes, qsizetype bound = -1)
{
    TempFolder folder;
    const QString path = folder.File(QStringLiteral("t.txt"));
    WriteBytes(path, bytes);
    TUnicodeFileReader reader(path);
    ReadResult result;
    result.charSize = reader.CharSize();
    result.bigEndian = reader.BigEndian();
    result.utf8 = reader.Utf8();
    if (bound < 0)
        bound = bytes.size() + 2;
    while (!reader.Eof()) {
        QString line;
        reader.ReadLine(line);
        result.lines.append(line);
        if (result.lines.size() > bound) {
            ADD_FAILURE() << "reader does not reach its end";
            break;
        }
    }
    EXPECT_EQ(reader.LineCount(), result.lines.size());
    result.errors = reader.Errors();
    return result;
}

const QString kText = QString::fromUtf16(u"Zeile 1 äöü €\r\nZeile 2\n\U0001F600 Ende");
const QStringList kLines = {QStringLiteral("Zeile 1 äöü €"), QStringLiteral("Zeile 2"),
                            QString::fromUtf16(u"\U0001F600 Ende")};

TEST(TUnicodeFileReader, EveryByteOrderMark)
{
    struct Case { const char *name; QByteArray bytes; int charSize; bool bigEndian; bool utf8; } cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + kText.toUtf8(), 1, false, true},
        {"UTF-16 LE", "\xFF\xFE" + Utf16(kText, false), 2, false, false},
        {"UTF-16 BE", QByteArray("\xFE\xFF") + Utf16(kText, true), 2, true, false},
        {"no mark, UTF-8 text", kText.toUtf8(), 1, false, false},
    };
    for (const Case &c : cases) {
        const ReadResult r = ReadAll(c.bytes);
        EXPECT_EQ(r.lines, kLines) << c.name;
        EXPECT_EQ(r.charSize, c.charSize) << c.name;
        EXPECT_EQ(r.bigEndian, c.bigEndian) << c.name;
        EXPECT_EQ(r.utf8, c.utf8) << c.name;
        EXPECT_TRUE(r.errors.isEmpty()) << c.name;
    }
}

TEST(TUnicodeFileReader, EightBitTextFromWindowsReadsAsWindows1252)
{
    EXPECT_EQ(ReadAll("Gr\xFC\xDF" "e\r\n\x80 5").lines,
              (QStringList{QStringLiteral("Grüße"), QStringLiteral("€ 5")}));
}

TEST(TUnicodeFileReader, LfEndsLinesCrAndNulNeverReachTheText)
{
    const QString text = QString::fromUtf16(u"a\r\nb\nc\r\0d\n\re\r\r\n\nf", 17);
    const QStringList expected = {"a", "b", "cd", "e", "", "f"};
    EXPECT_EQ(ReadAll(text.toLatin1()).lines, expected);
    EXPECT_EQ(ReadAll("\xEF\xBB\xBF" + text.toLatin1()).lines, expected);
    EXPECT_EQ(ReadAll("\xFF\xFE" + Utf16(text, false)).lines, expected);
    EXPECT_EQ(ReadAll(QByteArray("\xFE\xFF") + Utf16(text, true)).lines, expected);
}

TEST(TUnicodeFileReader, InvalidUtf8LineComesBackEmptyWithItsError)
{
    const ReadResult r = ReadAll("\xEF\xBB\xBFok\nbad \xFF\xFE end\nnext");
    EXPECT_EQ(r.lines, (QStringList{"ok", "", "next"}));
    EXPECT_EQ(r.errors, QStringList{QString::fromUtf16(u"Error in UTF8-Coding in Line 2: [bad ÿþ end]")});
}

TEST(TUnicodeFileReader, DegenerateFiles)
{
    struct Case { const char *name; QByteArray bytes; QStringList lines; int charSize; } cases[] = {
        {"empty file", "", {}, 1},
        {"only the UTF-8 mark", "\xEF\xBB\xBF", {}, 1},
        {"only FF FE", "\xFF\xFE", {}, 2},
        {"only FE FF", "\xFE\xFF", {}, 2},
        {"one byte", "x", {"x"}, 1},
        {"two bytes of a mark", "\xEF\xBB", {QString::fromUtf16(u"ï»")}, 1},
        {"UTF-16 with odd byte count", QByteArrayLiteral("\xFF\xFE" "a\0\n\0b"), {"a"}, 2},
        {"UTF-16 odd byte after a line", QByteArrayLiteral("\xFF\xFE" "a\0\n\0b\0c"), {"a", "b"}, 2},
        {"only line ends", "\n\n", {"", ""}, 1},
    };
    for (const Case &c : cases) {
        const ReadResult r = ReadAll(c.bytes);
        EXPECT_EQ(r.lines, c.lines) << c.name;
        EXPECT_EQ(r.charSize, c.charSize) << c.name;
    }
}

TEST(TUnicodeFileReader, LinesLongerThanTheReadBlock)
{
    const QString longLine = QString(200000, QChar(0x00E4)) + QStringLiteral("end");
    const QString text = longLine + QStringLiteral("\r\nshort\r\n") + longLine;
    const QStringList expected = {longLine, "short", longLine};
    EXPECT_EQ(ReadAll(text.toUtf8()).lines, expected);
    EXPECT_EQ(ReadAll("\xEF\xBB\xBF" + text.toUtf8()).lines, expected);
    // an odd start puts UTF-16 units across every block boundary
    EXPECT_EQ(ReadAll("\xFE\xFF" + Utf16(text, true)).lines, expected);
}

TEST(TUnicodeFileReader, RandomBytesGiveLinesAndEnd)
{
    QRandomGenerator random(4711);
    for (const QByteArray &mark : {QByteArray(), QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF")}) {
        QByteArray bytes = mark;
        for (int i = 0; i < 300001; ++i)
            bytes.append(char(random.bounded(256)));
        const ReadResult r = ReadAll(bytes);
        EXPECT_GT(r.lines.size(), 0);
        for (const QString &line : r.lines)
            EXPECT_FALSE(line.contains(QChar(13)) || line.contains(QChar(10)) || line.contains(QChar(0)));
    }
}

TEST(TUnicodeFileReader, DerivedReaderChangesLineEnds)
{
    class SemicolonReader : public TUnicodeFileReader
    {
    public:
        using TUnicodeFileReader::TUnicodeFileReader;

    protected:
        bool IsLineEnd8(unsigned char unit) const override { return unit == ';'; }
        unsigned char MapChar8(unsigned char unit) const override { return unit == '\n' ? ' ' : unit; }
    };
    TempFolder folder;
    WriteBytes(folder.File("s.txt"), "a;b\nc;");
    SemicolonReader reader(folder.File("s.txt"));
    QStringList lines;
    while (!reader.Eof()) {
        QString line;
        reader.ReadLine(line);
        lines.append(line);
    }
    EXPECT_EQ(lines, (QStringList{"a", "b c"}));
}

TEST(TUnicodeFileReader, StreamStandsAfterTheLastLineRead)
{
    TempFolder folder;
    WriteBytes(folder.File("s.txt"), "one\ntwo\n");
    TUnicodeFileReader reader(folder.File("s.txt"));
    QString line;
    reader.ReadLine(line);
    ASSERT_NE(reader.Stream(), nullptr);
    EXPECT_EQ(reader.Stream()->pos(), 4);
    reader.ReadLine(line);
    EXPECT_EQ(line, "two");
    EXPECT_TRUE(reader.Eof());
    reader.Close();
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.Stream(), nullptr);
}

TEST(TUnicodeFileReader, FilesThatCannotBeReadRaise)
{
    TempFolder folder;
    const QString fifo = folder.File("fifo");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString &path : {folder.File("missing.txt"), folder.Path(), fifo}) {
        try {
            TUnicodeFileReader reader(path);
            ADD_FAILURE() << "no exception for " << path.toStdString();
        } catch (const HVException &e) {
            EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot open file ") + path);
        }
    }
}

} // namespace
