#include "config/ConfigTestSupport.h"
#include "config/ConfigHooks.h"
#include "config/TZavConfigXMLFast.h"
#include "common/HVException.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace testsupport;
using namespace configtest;

namespace {

const QByteArray kSkeleton = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n</HALVREN>\r\n";

QString Message(const std::function<void()> &action)
{
    try {
        action();
    } catch (const HVException &e) {
        return e.WideMessage();
    }
    return QStringLiteral("<no error>");
}

class ConfigXmlTest : public ::testing::Test
{
protected:
    TempFolder folder;
    QString path = folder.File(QStringLiteral("Zav.hvk"));

    void ExpectLintClean(const QString &file)
    {
        QString output;
        EXPECT_TRUE(XmllintAccepts(file, &output)) << output.toStdString();
    }
};

TEST_F(ConfigXmlTest, WritesTheExactFileForm)
{
    {
        TZavConfigXMLFast doc;
        doc.LoadFromFile(path);
        EXPECT_EQ(ReadBytes(path), kSkeleton);
        doc.WriteStringList(QStringLiteral("TARVIK\\Update\\UpdateList"), {QStringLiteral("a.exe"), QStringLiteral("b.dll")});
        doc.WriteValue(QStringLiteral("Security\\Plugin"), QStringLiteral("Count"), QStringLiteral("1"));
    }
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<HALVREN Version=\"1.1\">\r\n"
                                "<TARVIK>\r\n"
                                "<Update>\r\n"
                                "<UpdateList>lsa.exe|sb.dll</UpdateList>\r\n"
                                "</Update>\r\n"
                                "</TARVIK>\r\n"
                                "<Security>\r\n"
                                "<Plugin Count=\"1\"></Plugin>\r\n"
                                "</Security>\r\n"
                                "</HALVREN>\r\n";
    EXPECT_EQ(ReadBytes(path), expected);
    ExpectLintClean(path);
}

TEST_F(ConfigXmlTest, AttributesAreWrittenInOrdinalOrderWithTheirEscapes)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.BeginUpdate();
    doc.WriteValue(QStringLiteral("K"), QStringLiteral("b"), QStringLiteral("2"));
    doc.WriteValue(QStringLiteral("K"), QStringLiteral("Ab"), QStringLiteral("3"));
    doc.WriteValue(QStringLiteral("K"), QStringLiteral("A"), QStringLiteral("1"));
    doc.WriteValue(QStringLiteral("K"), QStringLiteral("a"), QString::fromUtf8("\t\n\r\"&'<>\x07x") + QChar(0xFFFF));
    doc.WriteString(QStringLiteral("T"), QStringLiteral("a&b<c>d\re"));
    doc.EndUpdate();
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("<K A=\"1\" Ab=\"3\" a=\"&#x09;&#x0A;&#x0D;&quot;&amp;&apos;&lt;&gt;x\xC2\xBF\" b=\"2\"></K>\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("<T>sa&amp;b&lt;c&gt;d&#xD;e</T>\r\n")) << bytes.toStdString();
    ExpectLintClean(path);

    TZavConfigXMLFast reread;
    reread.LoadFromFile(path);
    EXPECT_EQ(reread.ReadValue(QStringLiteral("K"), QStringLiteral("a")), QString::fromUtf8("\t\n\r\"&'<>x\xC2\xBF"));
    QStringList values;
    reread.ReadValues(QStringLiteral("K"), values);
    EXPECT_EQ(values.mid(0, 2), (QStringList{QStringLiteral("A|1"), QStringLiteral("Ab|3")}));
}

TEST_F(ConfigXmlTest, ValuesRoundTripThroughTheFile)
{
    {
        TZavConfigXMLFast doc;
        doc.LoadFromFile(path);
        doc.BeginUpdate();
        doc.WriteString(QStringLiteral("A\\B\\C"), QStringLiteral(" x "));
        doc.WriteValue(QStringLiteral("A\\B\\C"), QStringLiteral("n"), QStringLiteral(" x "));
        doc.WriteKeyInteger(QStringLiteral("Num"), -42);
        doc.WriteBool(QStringLiteral("Flag"), false);
        doc.WriteRawData(QStringLiteral("LowerFalse"), 2, QStringLiteral("false"));
        doc.WriteString(QStringLiteral("S1"), QStringLiteral("1"));
        doc.WriteStringList(QStringLiteral("Empty"), {});
        doc.WriteStringList(QStringLiteral("OneEmpty"), {QString()});
        doc.WriteStringList(QStringLiteral("Special"), {QStringLiteral("a|b"), QStringLiteral("#c#"), QString::fromUtf8("ü")});
        doc.WriteString(QStringLiteral("Amp"), QStringLiteral("&amp;"));
        doc.WriteString(QStringLiteral("Lines"), QStringLiteral("one\ntwo"));
        doc.EndUpdate();
    }
    ExpectLintClean(path);
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_EQ(doc.ReadString(QStringLiteral("A/B/C"), QStringLiteral("d")), QStringLiteral("x"));
    EXPECT_EQ(doc.ReadString(QStringLiteral("A\\\\B\\C\\"), QStringLiteral("d")), QStringLiteral("x"));
    EXPECT_EQ(doc.ReadString(QStringLiteral("a\\b\\c"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(doc.ReadValue(QStringLiteral("A\\B\\C"), QStringLiteral("n")), QStringLiteral(" x "));
    EXPECT_EQ(doc.ReadKeyInteger(QStringLiteral("Num"), 0), -42);
    EXPECT_EQ(doc.ReadKeyInteger(QStringLiteral("Flag"), 7), 7);
    EXPECT_FALSE(doc.ReadBool(QStringLiteral("Flag"), true));
    EXPECT_TRUE(doc.ReadBool(QStringLiteral("LowerFalse"), false));
    EXPECT_TRUE(doc.ReadBool(QStringLiteral("S1"), true));
    EXPECT_FALSE(doc.ReadBool(QStringLiteral("S1"), false));
    EXPECT_EQ(doc.ReadString(QStringLiteral("Amp"), QString()), QStringLiteral("&"));
    EXPECT_EQ(doc.ReadString(QStringLiteral("Lines"), QString()), QStringLiteral("one\ntwo"));

    QStringList list{QStringLiteral("stale")};
    EXPECT_EQ(doc.ReadStringList(QStringLiteral("Empty"), list), QStringLiteral("OK"));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(doc.ReadStringList(QStringLiteral("OneEmpty"), list), QStringLiteral("OK"));
    EXPECT_EQ(list, QStringList{QString()});
    doc.ReadStringList(QStringLiteral("Special"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a|b"), QStringLiteral("#c#"), QString::fromUtf8("ü")}));
    EXPECT_EQ(doc.ReadStringList(QStringLiteral("Num"), list), QString());
    EXPECT_TRUE(list.isEmpty());

    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("<Empty>l</Empty>"));
    EXPECT_TRUE(bytes.contains("<OneEmpty>ls</OneEmpty>"));
    EXPECT_TRUE(bytes.contains("<Special>lsa#007Cb|s#0023c#0023|s\xC3\xBC</Special>"));
}

TEST_F(ConfigXmlTest, ListDecodingFollowsTheItemRules)
{
    WriteBytes(path, "<?xml version=\"1.0\"?>\r\n<HALVREN><A>lxa||sb|s#41#zz#00|</A><B>  sx  </B></HALVREN>");
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    QStringList list;
    doc.ReadStringList(QStringLiteral("A"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QStringLiteral("#41#zz#00")}));
    EXPECT_EQ(doc.ReadString(QStringLiteral("B"), QString()), QStringLiteral("x"));
}

TEST_F(ConfigXmlTest, InvalidKeysRaiseOnWriteAndReadAsDefault)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    const struct { const char *key; const char *message; } cases[] = {
        {"A\\1B", "TZavConfigXML: Key darf kein 1 Zeichen enthalten: A\\1B"},
        {"A\\B C", "TZavConfigXML: Key darf keine Leerzeichen enthalten: A\\B C"},
        {"A>B", "TZavConfigXML: Key darf kein > Zeichen enthalten: A>B"},
        {"A<B", "TZavConfigXML: Key darf kein < Zeichen enthalten: A<B"},
        {"A\\B&C", "TZavConfigXML: Key darf kein & Zeichen enthalten: A\\B&C"},
        {"A\\B\"C", "TZavConfigXML: Key darf kein \" Zeichen enthalten: A\\B\"C"},
    };
    for (const auto &c : cases) {
        const QString key = QString::fromUtf8(c.key);
        EXPECT_EQ(Message([&] { doc.WriteString(key, QStringLiteral("v")); }), QString::fromUtf8(c.message)) << c.key;
        EXPECT_EQ(doc.ReadString(key, QStringLiteral("def")), QStringLiteral("def")) << c.key;
    }
    EXPECT_EQ(Message([&] { doc.WriteRawData(QStringLiteral("X"), 4, QString()); }),
              QStringLiteral("Unbekannter Typ in TZavConfigXML.WriteRawData"));
    EXPECT_EQ(ReadBytes(path), kSkeleton);
}

TEST_F(ConfigXmlTest, SubKeysDeleteAndClear)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.BeginUpdate();
    for (const char *key : {"S\\A\\X", "S\\A\\Y\\Z", "S\\B", "S\\C"})
        doc.WriteString(QString::fromUtf8(key), QStringLiteral("v"));
    doc.EndUpdate();
    QStringList list;
    doc.ReadAllSubKeys(QStringLiteral("S"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("A"), QStringLiteral("A\\X"), QStringLiteral("A\\Y"), QStringLiteral("A\\Y\\Z"),
                                 QStringLiteral("B"), QStringLiteral("C")}));
    doc.ReadSubKeys(QStringLiteral("S"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));

    doc.WriteSubKeys(QStringLiteral("S"), {QStringLiteral("B"), QStringLiteral("D")});
    doc.ReadSubKeys(QStringLiteral("S"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("B"), QStringLiteral("D")}));

    doc.DeleteKey(QStringLiteral("S\\B"));
    EXPECT_FALSE(doc.KeyExists(QStringLiteral("S\\B")));
    EXPECT_TRUE(ReadBytes(path).contains("<S>\r\n<D></D>\r\n</S>\r\n")) << ReadBytes(path).toStdString();

    HookRecorder hooks;
    doc.ClearValue(QStringLiteral("Missing"));
    EXPECT_EQ(HookRecorder::messages, QStringList{QStringLiteral("Nothing to delete")});
    doc.WriteString(QStringLiteral("S\\D"), QStringLiteral("text"));
    doc.ClearValue(QStringLiteral("S\\D"));
    EXPECT_EQ(doc.ReadString(QStringLiteral("S\\D"), QStringLiteral("gone")), QStringLiteral("gone"));

    doc.WriteValue(QStringLiteral("P\\Q"), QStringLiteral("Flag"), QStringLiteral("on"));
    EXPECT_TRUE(doc.HasValueOnPath(QStringLiteral("P\\Q\\R"), QStringLiteral("Flag"), QStringLiteral("on")));
    EXPECT_FALSE(doc.HasValueOnPath(QStringLiteral("P\\Q\\R"), QStringLiteral("Flag"), QStringLiteral("On")));
    doc.DeleteValue(QStringLiteral("P\\Q"), QStringLiteral("Flag"));
    EXPECT_EQ(doc.ReadValue(QStringLiteral("P\\Q"), QStringLiteral("Flag")), QString());
    ExpectLintClean(path);
}

TEST_F(ConfigXmlTest, CopyKeyFromCopiesTheSubtree)
{
    TZavConfigXMLFast source;
    source.LoadFromFile(folder.File(QStringLiteral("src.xml")));
    source.BeginUpdate();
    source.WriteString(QStringLiteral("K"), QStringLiteral("top"));
    source.WriteValue(QStringLiteral("K\\A"), QStringLiteral("n"), QStringLiteral("1"));
    source.WriteKeyInteger(QStringLiteral("K\\A\\B"), 5);
    source.WriteString(QStringLiteral("K\\C"), QStringLiteral("c"));
    source.EndUpdate();

    TZavConfigXMLFast target;
    target.LoadFromFile(path);
    target.WriteString(QStringLiteral("K\\Old"), QStringLiteral("old"));
    target.CopyKeyFrom(source, QStringLiteral("K"));
    QStringList keys;
    target.ReadAllSubKeys(QStringLiteral("K"), keys);
    EXPECT_EQ(keys, (QStringList{QStringLiteral("A"), QStringLiteral("A\\B"), QStringLiteral("C")}));
    EXPECT_EQ(target.ReadString(QStringLiteral("K"), QString()), QStringLiteral("top"));
    EXPECT_EQ(target.ReadKeyInteger(QStringLiteral("K\\A\\B"), 0), 5);
    EXPECT_EQ(target.ReadValue(QStringLiteral("K\\A"), QStringLiteral("n")), QStringLiteral("1"));
    ExpectLintClean(path);
}

TEST_F(ConfigXmlTest, BracketsSaveOnceAndDestructionClosesThem)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.BeginUpdate();
    doc.BeginUpdate();
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    doc.EndUpdate();
    EXPECT_EQ(ReadBytes(path), kSkeleton) << "inner EndUpdate must not save";
    doc.EndUpdate();
    EXPECT_TRUE(ReadBytes(path).contains("<A>s1</A>"));

    // A change made by someone else between two writes is picked up by the bracket's reload.
    QByteArray other = ReadBytes(path);
    other.replace("<A>s1</A>", "<A>s2</A>");
    WriteBytes(path, other);
    {
        TZavConfigXMLFast scoped;
        scoped.LoadFromFile(path);
        scoped.BeginUpdate();
        scoped.WriteString(QStringLiteral("B"), QStringLiteral("b"));
    }
    EXPECT_TRUE(ReadBytes(path).contains("<B>sb</B>")) << "destruction closes the open bracket and saves";

    // EndUpdate without BeginUpdate saves, and the next BeginUpdate opens no bracket.
    doc.EndUpdate();
    EXPECT_EQ(doc.BracketDepth(), -1);
    doc.BeginUpdate();
    EXPECT_FALSE(doc.BracketOpen());
}

TEST_F(ConfigXmlTest, EqualValueStillSavesOutsideABracket)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    QFile::remove(path);
    WriteBytes(path, kSkeleton);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_TRUE(ReadBytes(path).contains("<A>s1</A>"));
}

TEST_F(ConfigXmlTest, RefreshAfter599SecondsOfTimeOfDay)
{
    ClockGuard clock;
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("old"));
    QByteArray changed = ReadBytes(path);
    changed.replace("sold", "snew");
    WriteBytes(path, changed);

    const qint64 loaded = ConfigClockNow();
    const struct { const char *name; qint64 secondsAfterLoad; const char *expected; } steps[] = {
        {"599 s after the load: no reload", 599, "old"},
        {"a whole day and 599 s: the day counts as none", 86400 + 599, "old"},
        {"600 s after the load: reload", 600, "new"},
    };
    for (const auto &step : steps) {
        ClockGuard::Set(loaded + step.secondsAfterLoad * 1000);
        EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QString::fromUtf8(step.expected)) << step.name;
    }
}

TEST_F(ConfigXmlTest, BackupCopyOnlyForHvkFiles)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(folder.File(QStringLiteral("Upper.HVK")));
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(folder.File(QStringLiteral("Upper.~hvk"))), kSkeleton);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("2"));
    EXPECT_TRUE(ReadBytes(folder.File(QStringLiteral("Upper.~hvk"))).contains("<A>s1</A>"));

    TZavConfigXMLFast other;
    other.LoadFromFile(folder.File(QStringLiteral("plain.xml")));
    other.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(folder.File(QStringLiteral("plain.~hvk"))));
    EXPECT_FALSE(QFileInfo::exists(folder.File(QStringLiteral("plain.xml.~hvk"))));
}

TEST_F(ConfigXmlTest, BackupOfADocumentReachedThroughALinkIsACopy)
{
    // The backup is made by a second name for the previous file where possible; a
    // document reached through a symbolic link must still get a backup of its own.
    const QString real = folder.File(QStringLiteral("real.hvk"));
    const QString linked = folder.File(QStringLiteral("Linked.hvk"));
    TZavConfigXMLFast init;
    init.LoadFromFile(real);
    init.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    ASSERT_TRUE(QFile::link(real, linked));
    const QByteArray before = ReadBytes(real);

    TZavConfigXMLFast doc;
    doc.LoadFromFile(linked);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("2"));
    const QString backup = folder.File(QStringLiteral("Linked.~hvk"));
    EXPECT_FALSE(QFileInfo(backup).isSymLink());
    EXPECT_EQ(ReadBytes(backup), before);
    EXPECT_TRUE(ReadBytes(linked).contains("<A>s2</A>"));
}

TEST_F(ConfigXmlTest, ReadOnlyDocumentIsLeftAlone)
{
    WriteBytes(path, kSkeleton);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_TRUE(doc.IsReadOnly());
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(path), kSkeleton);
    EXPECT_FALSE(QFileInfo::exists(folder.File(QStringLiteral("Zav.~hvk"))));
}

TEST_F(ConfigXmlTest, FileWithoutDeclarationIsNotParsedAndNeverEmptied)
{
    const QByteArray text = "just some text that is not xml at all <HALVREN/>";
    WriteBytes(path, text);
    HookRecorder hooks;
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_FALSE(doc.HasTree());
    EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QStringLiteral("d")), QStringLiteral("d"));
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(HookRecorder::messages, QStringList{QStringLiteral("Entry cannot be added.")});
    doc.BeginUpdate();
    doc.EndUpdate();
    EXPECT_EQ(ReadBytes(path), text);
}

TEST_F(ConfigXmlTest, MalformedXmlReportsTheErrorListAndTheFileName)
{
    WriteBytes(path, "<?xml version=\"1.0\"?>\r\n<HALVREN><A>text</B></HALVREN>");
    HookRecorder hooks;
    TZavConfigXMLFast doc;
    EXPECT_EQ(Message([&] { doc.LoadFromFile(path); }), QStringLiteral("Fehler in Datei: Zav.hvk"));
    ASSERT_EQ(HookRecorder::errorLines.size(), 2);
    EXPECT_EQ(HookRecorder::errorLines.last(), path);
    EXPECT_FALSE(doc.HasTree());
    doc.EndUpdate();
    EXPECT_EQ(ReadBytes(path), "<?xml version=\"1.0\"?>\r\n<HALVREN><A>text</B></HALVREN>");
}

TEST_F(ConfigXmlTest, CompressedAndForeignEncodedFilesLoad)
{
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN><A>sz</A></HALVREN>";
    const QByteArray zlibBytes = qCompress(xml).mid(4); // qCompress prefixes the length
    WriteBytes(path, zlibBytes);
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("z"));

    // gzip through zlib's own writer
    const QString gzPath = folder.File(QStringLiteral("g.hvk"));
    gzFile gz = gzopen(QFile::encodeName(gzPath).constData(), "wb");
    gzwrite(gz, xml.constData(), unsigned(xml.size()));
    gzclose(gz);
    TZavConfigXMLFast gzDoc;
    gzDoc.LoadFromFile(gzPath);
    EXPECT_EQ(gzDoc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("z"));

    const QString bomPath = folder.File(QStringLiteral("bom.hvk"));
    WriteBytes(bomPath, "\xEF\xBB\xBF" + xml);
    TZavConfigXMLFast bomDoc;
    bomDoc.LoadFromFile(bomPath);
    EXPECT_EQ(bomDoc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("z"));

    const QString latinPath = folder.File(QStringLiteral("latin.hvk"));
    WriteBytes(latinPath, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><HALVREN><A>s\xE4</A></HALVREN>");
    TZavConfigXMLFast latinDoc;
    latinDoc.LoadFromFile(latinPath);
    EXPECT_EQ(latinDoc.ReadString(QStringLiteral("A"), QString()), QString::fromUtf8("ä"));

    const QString brokenGz = folder.File(QStringLiteral("broken.hvk"));
    WriteBytes(brokenGz, zlibBytes.left(zlibBytes.size() / 2));
    HookRecorder hooks;
    TZavConfigXMLFast brokenDoc;
    EXPECT_EQ(Message([&] { brokenDoc.LoadFromFile(brokenGz); }), QStringLiteral("Fehler in Datei: broken.hvk"));
}

TEST_F(ConfigXmlTest, CommentsAndCdataSurviveAndAreNoValue)
{
    WriteBytes(path, "<?xml version=\"1.0\"?>\n<!-- head -->\n<HALVREN Version=\"1.1\">\n<A>sx<![CDATA[ignored]]><!-- c --></A>\n</HALVREN>\n");
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("x"));
    doc.WriteString(QStringLiteral("B"), QStringLiteral("y"));
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("<!-- head -->\r\n<HALVREN")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("<A>sx<![CDATA[ignored]]><!-- c --></A>\r\n<B>sy</B>\r\n</HALVREN>")) << bytes.toStdString();
    ExpectLintClean(path);
}

TEST_F(ConfigXmlTest, VersionAttributes)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_DOUBLE_EQ(doc.ReadVersion(), 1.1);
    doc.WriteVersion(2.5);
    doc.WriteProgVersion(QStringLiteral("7.0.1"));
    EXPECT_TRUE(ReadBytes(path).contains("<HALVREN ProgVersion=\"7.0.1\" Version=\"2.5\">"));
    WriteBytes(path, "<?xml version=\"1.0\"?><HALVREN Version=\"3,5\"/>");
    doc.Reload();
    EXPECT_DOUBLE_EQ(doc.ReadVersion(), 3.5);
    WriteBytes(path, "<?xml version=\"1.0\"?><HALVREN/>");
    doc.Reload();
    EXPECT_DOUBLE_EQ(doc.ReadVersion(), 1.0);
}

TEST_F(ConfigXmlTest, MissingFolderIsCreatedForANewFile)
{
    const QString deep = folder.File(QStringLiteral("a/b/c.hvk"));
    TZavConfigXMLFast doc;
    doc.LoadFromFile(deep);
    EXPECT_EQ(ReadBytes(deep), kSkeleton);
}

} // namespace

namespace {

TEST(ConfigXmlSave, KeepsOwnerAndPermissionsOfTheDocument)
{
    TempFolder folder;
    const QString path = folder.File(QStringLiteral("Zav.hvk"));
    WriteBytes(path, kSkeleton);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    const bool root = RunningAsRoot();
    if (root) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("65534:65534"), path}), 0);
    }
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    doc.WriteString(QStringLiteral("A"), QStringLiteral("1"));
    const QFileInfo info(path);
    EXPECT_TRUE(ReadBytes(path).contains("<A>s1</A>"));
    EXPECT_EQ(info.permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    if (root) {
        EXPECT_EQ(info.ownerId(), 65534u) << "a document rewritten by the administrator stays its user's";
    }
}

} // namespace
