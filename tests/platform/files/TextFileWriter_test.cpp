#include "common/HVException.h"
#include "platform/files/TextFileReader.h"
#include "platform/files/TextFileWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

const QString kLine = QString::fromUtf16(u"äx€");

TEST(TUnicodeFileWriter, NewFileInEveryEncoding)
{
    struct Case { const char *name; bool unicode, utf8, bom, bigEndian; QByteArray bytes; } cases[] = {
        {"UTF-8 with mark", true, true, true, false, "\xEF\xBB\xBF\xC3\xA4x\xE2\x82\xAC\r\n"},
        {"UTF-8 without mark", true, true, false, false, "\xC3\xA4x\xE2\x82\xAC\r\n"},
        {"UTF-16 LE", true, false, true, false, QByteArrayLiteral("\xFF\xFE\xE4\0x\0\xAC\x20\r\0\n\0")},
        {"UTF-16 BE", true, false, true, true, QByteArrayLiteral("\xFE\xFF\0\xE4\0x\x20\xAC\0\r\0\n")},
        {"8-bit text is UTF-8 without mark", false, false, true, false, "\xC3\xA4x\xE2\x82\xAC\r\n"},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        const QString path = folder.File("new.txt");
        WriteBytes(path, "old content that is replaced");
        {
            TUnicodeFileWriter writer;
            writer.SetUnicode(c.unicode);
            writer.SetUtf8(c.utf8);
            writer.SetByteOrderMark(c.bom);
            writer.SetBigEndian(c.bigEndian);
            writer.Open(path, false);
            writer.WriteLine(kLine);
        }
        EXPECT_EQ(ReadBytes(path), c.bytes) << c.name;
        TUnicodeFileReader reader(path);
        QString line;
        reader.ReadLine(line);
        EXPECT_EQ(line, kLine) << c.name;
        EXPECT_TRUE(reader.Eof()) << c.name;
    }
}

TEST(TUnicodeFileWriter, AppendingKeepsTheEncodingOfTheFile)
{
    struct Case { const char *name; QByteArray existing; QByteArray expected; } cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBFold\r\n", "\xEF\xBB\xBFold\r\n\xC3\xA4x\xE2\x82\xAC\r\n"},
        {"only FF FE", "\xFF\xFE", QByteArrayLiteral("\xFF\xFE\xE4\0x\0\xAC\x20\r\0\n\0")},
        {"UTF-16 BE", QByteArrayLiteral("\xFE\xFF\0a\0\n"), QByteArrayLiteral("\xFE\xFF\0a\0\n\0\xE4\0x\x20\xAC\0\r\0\n")},
        {"no mark", "old\n", "old\n\xC3\xA4x\xE2\x82\xAC\r\n"},
        {"empty file", "", "\xC3\xA4x\xE2\x82\xAC\r\n"},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        const QString path = folder.File("log.txt");
        WriteBytes(path, c.existing);
        {
            // the run log's settings for a new file: they must not matter here
            TUnicodeFileWriter writer(path, true, true, false, true);
            writer.WriteLine(kLine);
        }
        EXPECT_EQ(ReadBytes(path), c.expected) << c.name;
    }
}

TEST(TUnicodeFileWriter, RunLogSettingsStartANewFileWithTheUtf8Mark)
{
    TempFolder folder;
    const QString path = folder.File("Log/sub/run.log");
    {
        TUnicodeFileWriter writer(path, true, true, false, true);
        writer.WriteLine(QStringLiteral("one"));
    }
    {
        TUnicodeFileWriter writer(path, true, true, false, true);
        writer.SetLineBreak(QStringLiteral("\n"));
        writer.WriteLine(QStringLiteral("two"));
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("\xEF\xBB\xBFone\r\ntwo\n"));
}

TEST(TUnicodeFileWriter, FailuresRaiseTheirMessages)
{
    TempFolder folder;
    WriteBytes(folder.File("plain"), "x");
    const QString underFile = folder.File("plain/x.txt");
    try {
        TUnicodeFileWriter writer(underFile, true, true, false, false);
        ADD_FAILURE() << "no exception";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot create file ") + underFile);
    }
    try {
        TUnicodeFileWriter writer(folder.Path(), true, true, false, true);
        ADD_FAILURE() << "no exception";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot open file ") + folder.Path());
    }
    TUnicodeFileWriter closed;
    EXPECT_THROW(closed.WriteLine(QStringLiteral("x")), HVException);
}

} // namespace

namespace {

TEST(TUnicodeFileWriter, AppendingDoesNotShareTheFileReadingSharesWithReaders)
{
    TempFolder folder;
    const QString path = folder.File("log.txt");
    WriteBytes(path, "line\n");
    {
        TUnicodeFileWriter writer(path, true, true, false, true);
        EXPECT_THROW(TUnicodeFileReader reader(path), HVException);
    }
    TUnicodeFileReader first(path);
    TUnicodeFileReader second(path); // readers share
    try {
        TUnicodeFileWriter writer(path, true, true, false, true);
        ADD_FAILURE() << "appending while a reader has the file open";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot open file ") + path);
    }
    first.Close();
    second.Close();
    TUnicodeFileWriter writer(path, true, true, false, true);
    writer.WriteLine("more");
    writer.Close();
    EXPECT_EQ(ReadBytes(path), QByteArray("line\nmore\r\n"));
}

} // namespace
