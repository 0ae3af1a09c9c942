#include "common/HVException.h"
#include "support/TestSupport.h"
#include "ui/ini/TBigIniFile.h"

#include <QDir>
#include <QLocale>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;
using testsupport::Utf16;

namespace {

class BigIniFileTest : public ::testing::Test
{
protected:
    QString Path() const { return m_folder.File(QStringLiteral("qx_update.ini")); }
    std::unique_ptr<TBigIniFile> Load(const QByteArray &bytes, bool saveAsUnicode = false)
    {
        WriteBytes(Path(), bytes);
        return std::make_unique<TBigIniFile>(Path(), saveAsUnicode);
    }

    TempFolder m_folder;
};

const QByteArray kJob =
    "ORGEXE=before any section\r\n"
    "[COMMON]\r\n"
    "ORGEXE = C:\\x\r\n"
    "orgexe=C:\\Programme\\QX\\qx.exe\r\n"
    "ORGEXE=second line of the key\r\n"
    "LANGUAGE=\r\n"
    "ORGPARAM= \"-a\" ; not a comment = kept\r\n"
    "[Other] \r\n"
    "no equals sign\r\n"
    "\x1A\r\n"
    "\r\n"
    "[Other]\r\n"
    "K=1\r\n"
    "[common]\r\n"
    "ORGEXE=from the second section\r\n"
    "ONLYSECOND=2\r\n";

TEST_F(BigIniFileTest, JobFileReadsAsWritten)
{
    auto ini = Load(kJob);
    struct Case { const char *section, *key, *expected; } cases[] = {
        {"COMMON", "ORGEXE", "C:\\Programme\\QX\\qx.exe"}, // "ORGEXE " has a trailing blank
        {"COMMON", "ORGEXE ", " C:\\x"},
        {"common", "OrgExe", "C:\\Programme\\QX\\qx.exe"},
        {"COMMON", "LANGUAGE", ""},                          // empty value, not the default
        {"COMMON", "ORGPARAM", " \"-a\" ; not a comment = kept"},
        {"COMMON", "ONLYSECOND", "default"},                 // second COMMON section dropped
        {"COMMON", "MISSING", "default"},
        {"Other", "K", "1"},
        {"Other", "no equals sign", "default"},
        {"", "ORGEXE", "default"},                           // lines before any header
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini->ReadString(c.section, c.key, QStringLiteral("default")), QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;

    QStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"COMMON", "Other"}));
    QStringList lines;
    ini->ReadSectionValues("COMMON", lines);
    // a header with a trailing blank is an ordinary line of the section before it
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"[Other] ", "no equals sign"}));
    EXPECT_FALSE(ini->Changed());
    ini.reset();
    EXPECT_EQ(ReadBytes(Path()), kJob); // reading never rewrites the file
}

TEST_F(BigIniFileTest, ReadIntegerForms)
{
    struct Case { const char *value; qint32 expected; } cases[] = {
        {"0x1F", 31}, {"0X1f", 31}, {"$1F", 31}, {"x1F", 31}, {" 12", 12}, {"+7", 7}, {"-5", -5},
        {"-$10", -16}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"$FFFFFFFF", -1}, {"0x7fffffff", 2147483647},
        // everything else gives the default
        {"12abc", -99}, {"", -99}, {"12 ", -99}, {"2147483648", -99}, {"$100000000", -99},
        {"0x", -99}, {"$", -99}, {"- 5", -99}, {"\t12", -99}, {"1.5", -99}, {"0x-1", -99},
    };
    QByteArray text = "[S]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "K" + QByteArray::number(qulonglong(i)) + "=" + cases[i].value + "\n";
    auto ini = Load(text);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini->ReadInteger("S", "K" + QString::number(i), -99), cases[i].expected) << cases[i].value;
    EXPECT_EQ(ini->ReadInteger("S", "absent", 4), 4);
    EXPECT_TRUE(ini->ReadBool("S", "K0", false));
    EXPECT_FALSE(ini->ReadBool("S", "K2000", false));
    EXPECT_TRUE(ini->ReadBool("S", "K8", true)); // "12abc": default
}

TEST_F(BigIniFileTest, NamesCompareByUnicodeUpperCase)
{
    auto ini = Load(QStringLiteral("[Größe]\nstraße=1\nÄöü=2\n").toUtf8());
    EXPECT_EQ(ini->ReadString("GRÖßE", "STRAßE", "-"), "1");
    EXPECT_EQ(ini->ReadString("größe", "äÖÜ", "-"), "2");
    // no special casing: ß does not become SS
    EXPECT_EQ(ini->ReadString("GRÖSSE", "straße", "-"), "-");
    EXPECT_EQ(ini->ReadString("Größe", "STRASSE", "-"), "-");
    EXPECT_TRUE(ini->ValueExists("Größe", "straße"));
    EXPECT_FALSE(ini->ValueExists("Größe", "STRAßE")); // exact here
}

TEST_F(BigIniFileTest, DuplicateSectionsDifferingInCaseAreAlwaysFound)
{
    // "Abd" sorts between "Abc" and "abc"; the later "abc" must still be dropped, or
    // which of the two answers would depend on what was read before.
    auto ini = Load("[Abc]\nk=1\n[Abd]\nk=x\n[abc]\nk=2\nonly=2\n");
    EXPECT_EQ(ini->ReadString("Abd", "k", "-"), "x");
    EXPECT_EQ(ini->ReadString("abc", "k", "-"), "1");
    EXPECT_EQ(ini->ReadString("abc", "only", "-"), "-");
    QStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"Abc", "Abd"}));
}

TEST_F(BigIniFileTest, DuplicateSectionHandlerCanKeepTheLaterOne)
{
    WriteBytes(Path(), "[A]\nk=1\n[B]\n[a]\nk=2\n");
    TBigIniFile ini(QString(), false);
    QStringList seen;
    ini.DuplicateSectionHandler = [&](const QString &name, const QStringList &earlier, const QStringList &later) {
        seen << name << earlier << later;
        return false;
    };
    ini.LoadFile(Path());
    EXPECT_EQ(seen, (QStringList{"a", "k=1", "k=2"}));
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "2");
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"B", "a"}));
}

TEST_F(BigIniFileTest, EveryEncodingGivesTheSameValues)
{
    const QString text = QStringLiteral("[Sprache]\r\nName=Grüße € ok\nLeer=\r\n");
    struct Case { const char *name; QByteArray bytes; bool utf16, utf8; } cases[] = {
        {"windows 8-bit", "[Sprache]\r\nName=Gr\xFC\xDF" "e \x80 ok\nLeer=\r\n", false, false},
        {"UTF-8 without mark", text.toUtf8(), false, false},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text.toUtf8(), false, true},
        {"UTF-16 LE", "\xFF\xFE" + Utf16(text, false), true, false},
        {"UTF-16 BE", QByteArray("\xFE\xFF") + Utf16(text, true), true, false},
    };
    for (const Case &c : cases) {
        auto ini = Load(c.bytes);
        EXPECT_EQ(ini->ReadString("SPRACHE", "name", "-"), QStringLiteral("Grüße € ok")) << c.name;
        EXPECT_EQ(ini->ReadString("SPRACHE", "Leer", "-"), "") << c.name;
        EXPECT_EQ(ini->ReadAsUtf16(), c.utf16) << c.name;
        EXPECT_EQ(ini->ReadAsUtf8(), c.utf8) << c.name;
    }
}

TEST_F(BigIniFileTest, LfEndsLinesCrAndNulAreDropped)
{
    auto ini = Load(QByteArrayLiteral("[S]\r\na=\r1\r\r\n\0b=2\nc=x\ry\n\r[T]\r\ne=5"));
    EXPECT_EQ(ini->ReadString("S", "a", "-"), "1");
    EXPECT_EQ(ini->ReadString("S", "b", "-"), "2");
    EXPECT_EQ(ini->ReadString("S", "c", "-"), "xy");
    EXPECT_EQ(ini->ReadString("T", "e", "-"), "5"); // last line without LF
}

TEST_F(BigIniFileTest, UndecodableUtf8LineIsLeftOut)
{
    auto ini = Load("\xEF\xBB\xBF[S]\nbad=\xFF\nok=1\n");
    EXPECT_EQ(ini->ReadString("S", "bad", "-"), "-");
    EXPECT_EQ(ini->ReadString("S", "ok", "-"), "1");
}

TEST_F(BigIniFileTest, WritesOnlyWhenChangedInTheEncodingOfTheFile)
{
    const QByteArray utf16Result = "\xFF\xFE" + Utf16(QStringLiteral("[A]\r\nK=ä\r\n"), false);
    struct Case { const char *name; QByteArray bytes; bool saveAsUnicode; QByteArray expected; } cases[] = {
        {"8-bit stays 8-bit (UTF-8)", "[A]\nk=1\n", false, "[A]\r\nK=\xC3\xA4\r\n"},
        {"UTF-8 with mark becomes UTF-16", "\xEF\xBB\xBF[A]\nk=1\n", false, utf16Result},
        {"UTF-16 BE becomes LE", QByteArray("\xFE\xFF") + Utf16("[A]\nk=1\n", true), false, utf16Result},
        {"save as Unicode", "[A]\nk=1\n", true, utf16Result},
    };
    for (const Case &c : cases) {
        auto ini = Load(c.bytes, c.saveAsUnicode);
        ini->WriteString("a", "k", QStringLiteral("1")); // identical line: no change
        EXPECT_FALSE(ini->Changed()) << c.name;
        ini.reset();
        EXPECT_EQ(ReadBytes(Path()), c.bytes) << c.name;

        ini = Load(c.bytes, c.saveAsUnicode);
        ini->WriteString("a", "K", QStringLiteral("ä"));
        EXPECT_TRUE(ini->Changed()) << c.name;
        ini.reset();
        EXPECT_EQ(ReadBytes(Path()), c.expected) << c.name;
    }
}

TEST_F(BigIniFileTest, DocumentTextLayout)
{
    auto ini = Load("[Empty]\n[A]\nk=1\n; note\n");
    ini->WriteString("B", "x", "2");
    ini->WriteInteger("A", "n", -3);
    ini->DeleteKey("Gone", "x"); // creates an empty section that is never written
    EXPECT_TRUE(ini->SectionExists("gone"));
    ini->FlushFile();
    EXPECT_FALSE(ini->Changed());
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[A]\r\nk=1\r\n; note\r\nn=-3\r\n\r\n[B]\r\nx=2\r\n"));
    QStringList all{"kept"};
    ini->ReadAll(all);
    EXPECT_EQ(all, (QStringList{"kept", "[A]", "k=1", "; note", "n=-3", "", "[B]", "x=2", ""}));
}

TEST_F(BigIniFileTest, DeletingAndErasing)
{
    auto ini = Load("[A]\nk=1\nk=2\nx=3\n[B]\ny=1\n");
    ini->DeleteKey("A", "missing");
    EXPECT_FALSE(ini->Changed());
    ini->DeleteKey("a", "K");
    EXPECT_TRUE(ini->Changed());
    EXPECT_EQ(ini->ReadString("A", "k", "-"), "2"); // the second line of the key shows now
    EXPECT_EQ(ini->ReadString("A", "x", "-"), "3");

    auto other = Load("[A]\nk=1\n[B]\ny=1\n");
    other->EraseSection("C");
    EXPECT_FALSE(other->Changed());
    EXPECT_EQ(other->ReadString("B", "y", "-"), "1");
    other->EraseSection("b");
    EXPECT_TRUE(other->Changed());
    EXPECT_FALSE(other->SectionExists("B"));
    EXPECT_EQ(other->ReadString("B", "y", "-"), "-");
    EXPECT_EQ(other->ReadString("A", "k", "-"), "1");
    other->WriteString("A", "", "x"); // an empty key erases the section
    EXPECT_FALSE(other->HasSection("A"));
    other->WriteString("", "", ""); // all empty: flush
    EXPECT_FALSE(other->Changed());
    EXPECT_EQ(ReadBytes(Path()), QByteArray(""));
}

TEST_F(BigIniFileTest, SectionListings)
{
    auto ini = Load("[S]\nb=1\nno equals\n=v\n;c=2\nA=3\n");
    QStringList keys{"x"};
    ini->ReadSection("s", keys);
    EXPECT_EQ(keys, (QStringList{"x", "b", ";c", "A"}));
    EXPECT_TRUE(ini->ValueExists("S", "A"));
    EXPECT_FALSE(ini->ValueExists("S", "a"));
    EXPECT_FALSE(ini->ValueExists("Missing", "A"));

    QStringList values{"x"};
    ini->ReadSectionValues("S", values);
    EXPECT_EQ(values, (QStringList{"x", "b=1", "no equals", "=v", ";c=2", "A=3"}));
    QStringList untouched{"x"};
    ini->ClearBeforeCopy = true;
    ini->ReadSectionValues("missing", untouched);
    EXPECT_EQ(untouched, QStringList{"x"});
    ini->ReadSectionValues("S", untouched);
    EXPECT_EQ(untouched.first(), "b=1");

    ini->HasComments = true;
    keys.clear();
    ini->ReadSection("S", keys);
    EXPECT_EQ(keys, (QStringList{"b", "A"}));
}

TEST_F(BigIniFileTest, LoadOptions)
{
    const QByteArray text = "[S]\n; comment\nk \t= \t v  \nq=\"quoted\"\nm='mixed\"\nbare line\nt=x \t\n";
    struct Case { const char *name; void (*set)(TBigIniFile &); QStringList lines; } cases[] = {
        {"none", [](TBigIniFile &) {}, {"; comment", "k \t= \t v  ", "q=\"quoted\"", "m='mixed\"", "bare line", "t=x \t"}},
        {"comments", [](TBigIniFile &i) { i.HasComments = true; }, {"k \t= \t v  ", "q=\"quoted\"", "m='mixed\"", "bare line", "t=x \t"}},
        {"trim around equals", [](TBigIniFile &i) { i.TrimAroundEquals = true; }, {"; comment", "k=v  ", "q=\"quoted\"", "m='mixed\"", "bare line", "t=x \t"}},
        {"strip quotes", [](TBigIniFile &i) { i.StripQuotes = true; }, {"; comment", "k \t= \t v  ", "q=quoted", "m='mixed\"", "bare line", "t=x \t"}},
        {"trim trailing", [](TBigIniFile &i) { i.TrimTrailing = true; }, {"; comment", "k \t= \t v", "q=\"quoted\"", "m='mixed\"", "bare line", "t=x"}},
        {"key lines only", [](TBigIniFile &i) { i.KeyLinesOnly = true; }, {"k \t= \t v  ", "q=\"quoted\"", "m='mixed\"", "t=x \t"}},
    };
    WriteBytes(Path(), text);
    for (const Case &c : cases) {
        TBigIniFile ini(QString(), false);
        c.set(ini);
        ini.LoadFile(Path());
        QStringList lines;
        ini.ReadSectionValues("S", lines);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST_F(BigIniFileTest, DatesTimesAndFloatsRoundTripAndMalformedGivesDefault)
{
    const QDate date(2026, 12, 11);
    const QTime time(15, 4, 5);
    TBigIniFile ini(QString(), false);
    ini.WriteDate("S", "d", date);
    ini.WriteTime("S", "t", time);
    ini.WriteDateTime("S", "dt", QDateTime(date, time));
    ini.WriteFloat("S", "f", 1234567.125);
    ini.WriteBool("S", "b", true);
    ini.WriteString("S", "bad", "not a value");
    EXPECT_EQ(ini.ReadDate("S", "d", QDate()), date);
    EXPECT_EQ(ini.ReadTime("S", "t", QTime()), time);
    EXPECT_EQ(ini.ReadDateTime("S", "dt", QDateTime()), QDateTime(date, time));
    EXPECT_EQ(ini.ReadDateTime("S", "d", QDateTime()), QDateTime(date, QTime(0, 0)));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 0), 1234567.125);
    EXPECT_EQ(ini.ReadString("S", "b", "-"), "1");
    const QDate defaultDate(2000, 1, 1);
    for (const char *key : {"bad", "missing", "f"})
        EXPECT_EQ(ini.ReadDate("S", key, defaultDate), defaultDate) << key;
    EXPECT_EQ(ini.ReadTime("S", "bad", QTime(1, 2)), QTime(1, 2));
    EXPECT_EQ(ini.ReadDateTime("S", "bad", QDateTime(defaultDate, QTime(1, 2))), QDateTime(defaultDate, QTime(1, 2)));
    EXPECT_EQ(ini.ReadFloat("S", "bad", 2.5), 2.5);
    ini.FlushFile(); // in memory: only clears the flag
    EXPECT_FALSE(ini.Changed());
}

TEST_F(BigIniFileTest, AnotherFileNameFlushesTheOldDocument)
{
    auto ini = Load("[A]\nk=1\n");
    ini->WriteString("A", "k", "2");
    const QString second = m_folder.File("second.ini");
    WriteBytes(second, "[B]\nx=1\n");
    ini->SetFileName(second);
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[A]\r\nk=2\r\n"));
    EXPECT_EQ(ini->ReadString("A", "k", "-"), "-");
    EXPECT_EQ(ini->ReadString("B", "x", "-"), "1");
    EXPECT_FALSE(ini->Changed());
}

TEST_F(BigIniFileTest, MissingFileIsAnEmptyDocument)
{
    TBigIniFile ini(m_folder.File("missing.ini"), false);
    EXPECT_EQ(ini.ReadString("COMMON", "LANGUAGE", "EN"), "EN");
    EXPECT_EQ(ini.ReadInteger("COMMON", "PROGID", 0), 0);
    QStringList sections{"x"};
    ini.ReadSections(sections);
    EXPECT_TRUE(sections.isEmpty());
}

TEST_F(BigIniFileTest, FileThatExistsButCannotBeReadRaisesAtOnce)
{
    const QString fifo = m_folder.File("fifo.ini");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString &path : {fifo, m_folder.Path()}) {
        try {
            TBigIniFile ini(path, false);
            ADD_FAILURE() << "no exception for " << path.toStdString();
        } catch (const HVException &e) {
            EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot open file ") + path);
        }
    }
}

TEST_F(BigIniFileTest, FailedWriteRaisesAndDestructionSurvivesIt)
{
    const QString folder = m_folder.File("sub");
    const QString path = folder + QStringLiteral("/x.ini");
    WriteBytes(path, "[A]\nk=1\n");
    auto ini = std::make_unique<TBigIniFile>(path, false);
    ini->WriteString("A", "k", "2");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    try {
        ini->FlushFile();
        ADD_FAILURE() << "no exception";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot create file ") + path);
    }
    EXPECT_TRUE(ini->Changed());
    ini.reset(); // must not throw or crash
}

} // namespace
