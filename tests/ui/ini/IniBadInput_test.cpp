// Truncated, random and oversized input for the INI and text readers: every one must
// load or read to its end without a crash, a hang or a sanitizer report.
#include "platform/files/TextFileReader.h"
#include "support/TestSupport.h"
#include "ui/ini/TBiggerIniFile.h"
#include "ui/ini/TCSIFont.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using testsupport::TempFolder;
using testsupport::WriteBytes;
using testsupport::Utf16;

namespace {

const QString kDocument = QStringLiteral(
    "[COMMON]\r\nORGEXE=/opt/qx/qx\r\nLANGUAGE=DE\r\nPROGID=0x1F\r\n[Fonts]\r\nTitle=\"Arial Bold\",12,1,,,,clRed,0,2\r\n"
    "[L]\r\nCount=2\r\nItem1=ä\r\nItem2=€\r\n");

QList<QByteArray> EncodedDocuments()
{
    return {kDocument.toUtf8(), "\xEF\xBB\xBF" + kDocument.toUtf8(), "\xFF\xFE" + Utf16(kDocument, false),
            QByteArray("\xFE\xFF") + Utf16(kDocument, true)};
}

// Loads the bytes and touches every operation a reader of the file would use.
void ExerciseIni(const QString &path)
{
    TBiggerIniFile ini(path, false);
    QStringList sections;
    ini.ReadSections(sections);
    for (const QString &section : sections) {
        QStringList keys;
        ini.ReadSection(section, keys);
        for (const QString &key : keys) {
            ini.ReadString(section, key, QString());
            ini.ReadInteger(section, key, 0);
            TFont font;
            ini.ReadFont(section, key, font);
        }
        QStringList list;
        ini.ReadNumberedList(section, list, false, 1, QStringLiteral("Item"), QString());
    }
    ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("ORGEXE"), QString());
    EXPECT_FALSE(ini.Changed());
}

// Reads every line; a reader that does not come to its end fails the test.
int ReadAllLines(const QString &path, const QByteArray &bytes)
{
    TUnicodeFileReader reader(path);
    int lines = 0;
    while (!reader.Eof()) {
        QString line;
        reader.ReadLine(line);
        if (++lines > bytes.size() + 2) {
            ADD_FAILURE() << "reader does not reach its end";
            break;
        }
    }
    return lines;
}

TEST(IniBadInput, EveryTruncation)
{
    TempFolder folder;
    const QString path = folder.File("t.ini");
    for (const QByteArray &document : EncodedDocuments()) {
        for (qsizetype cut = 0; cut <= document.size(); ++cut) {
            WriteBytes(path, document.left(cut));
            ExerciseIni(path);
            ReadAllLines(path, document.left(cut));
        }
    }
}

TEST(IniBadInput, RandomBytes)
{
    TempFolder folder;
    const QString path = folder.File("r.ini");
    QRandomGenerator random(20261211);
    // Biased towards the bytes the parsers look at, so that structure appears.
    const QByteArray interesting = QByteArrayLiteral("[]=;\"',\r\n\0\x1A $x0\xC3\xA4\xFF\xFE\xEF\xBB\xBF");
    const QList<QByteArray> marks = {QByteArray(), "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = marks[round % 4];
        const int size = int(random.bounded(2048));
        for (int i = 0; i < size; ++i)
            bytes.append(random.bounded(3) == 0 ? char(random.bounded(256))
                                                : interesting[int(random.bounded(int(interesting.size())))]);
        WriteBytes(path, bytes);
        ExerciseIni(path);
        ReadAllLines(path, bytes);
        TFont font;
        TCSIFont(QString::fromLatin1(bytes)).ApplyTo(font);
    }
}

TEST(IniBadInput, SingleTenMegabyteLine)
{
    TempFolder folder;
    const QString path = folder.File("big.ini");
    const QByteArray value(10 * 1024 * 1024, 'v');
    {
        WriteBytes(path, "[S]\nk=" + value + "\n[T]\nx=1");
        TBigIniFile ini(path, false);
        EXPECT_EQ(ini.ReadString("S", "k", QString()).size(), value.size());
        EXPECT_EQ(ini.ReadString("T", "x", QString()), "1");
    }
    {
        WriteBytes(path, "[" + value + "]\nk=1\n");
        TBigIniFile ini(path, false);
        EXPECT_EQ(ini.ReadString(QString::fromLatin1(value), "K", QString()), "1");
    }
    WriteBytes(path, value);
    TUnicodeFileReader reader(path);
    QString line;
    reader.ReadLine(line);
    EXPECT_EQ(line.size(), value.size());
    EXPECT_TRUE(reader.Eof());
    const QByteArray utf16 = "\xFF\xFE" + value + QByteArrayLiteral("\n\0");
    WriteBytes(path, utf16);
    EXPECT_EQ(ReadAllLines(path, utf16), 1); // UTF-16: 5 M units, then an LF unit
}

TEST(IniBadInput, ManySectionsAndDuplicates)
{
    TempFolder folder;
    const QString path = folder.File("many.ini");
    QByteArray bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += "[S" + QByteArray::number(i % 20000) + "]\nk=" + QByteArray::number(i) + "\n";
    WriteBytes(path, bytes);
    TBigIniFile ini(path, false);
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.size(), 20000);
    EXPECT_EQ(ini.ReadString("s19999", "k", QString()), "19999"); // the first of each name
    EXPECT_EQ(ini.ReadString("S0", "k", QString()), "0");
}

} // namespace
