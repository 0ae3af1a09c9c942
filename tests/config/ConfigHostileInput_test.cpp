// Broken, hostile and oversized documents: a clear error or a normal load, and the
// document on disk never damaged.
#include "config/ConfigTestSupport.h"
#include "config/TZavConfigXMLFast.h"
#include "common/HVException.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace configtest;

namespace {

class HostileInputTest : public ::testing::Test
{
protected:
    TempFolder folder;
    QString path = folder.File(QStringLiteral("Zav.hvk"));
    HookRecorder hooks;
};

TEST_F(HostileInputTest, NestedEntityDefinitionsExpandNothing)
{
    QByteArray doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE HALVREN [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        doc += "<!ENTITY lol" + QByteArray::number(i) + " \"";
        for (int k = 0; k < 10; ++k)
            doc += "&lol" + (i > 1 ? QByteArray::number(i - 1) : QByteArray()) + ";";
        doc += "\">\n";
    }
    doc += "]>\n<HALVREN Version=\"1.1\">\n<A>s&lol9;</A>\n<B v=\"&lol9;\">s&amp;&lt;</B>\n</HALVREN>\n";
    WriteBytes(path, doc);
    TZavConfigXMLFast config;
    config.LoadFromFile(path);
    EXPECT_EQ(config.ReadString(QStringLiteral("A"), QString()), QStringLiteral("&lol9;"));
    EXPECT_EQ(config.ReadValue(QStringLiteral("B"), QStringLiteral("v")), QStringLiteral("&lol9;"));
    EXPECT_EQ(config.ReadString(QStringLiteral("B"), QString()), QStringLiteral("&<"));
    config.WriteString(QStringLiteral("C"), QStringLiteral("c"));
    EXPECT_LT(ReadBytes(path).size(), 1000);
    QString lint;
    EXPECT_TRUE(XmllintAccepts(path, &lint)) << lint.toStdString();
}

TEST_F(HostileInputTest, DeepNestingFailsClearlyAndDeepKeysAreRefused)
{
    QByteArray deep = "<?xml version=\"1.0\"?><HALVREN>";
    for (int i = 0; i < 100000; ++i)
        deep += "<A>";
    for (int i = 0; i < 100000; ++i)
        deep += "</A>";
    deep += "</HALVREN>";
    WriteBytes(path, deep);
    TZavConfigXMLFast config;
    EXPECT_EQ(ErrorOf([&] { config.LoadFromFile(path); }), QStringLiteral("Fehler in Datei: Zav.hvk"));
    ASSERT_FALSE(HookRecorder::errorLines.isEmpty());
    EXPECT_TRUE(HookRecorder::errorLines.first().contains(QStringLiteral("verschachtelt"))) << HookRecorder::errorLines.first().toStdString();
    EXPECT_TRUE(ReadBytes(path) == deep);

    HookRecorder::errorLines.clear();
    // At the limit everything works: reads, walks, copies and saves.
    const QString shallowPath = folder.File(QStringLiteral("limit.hvk"));
    TZavConfigXMLFast limit;
    limit.LoadFromFile(shallowPath);
    const QString deepestKey = QStringList(TZavConfigXML::kMaxNestingDepth - 1, QStringLiteral("A")).join(QLatin1Char('\\'));
    limit.WriteString(deepestKey, QStringLiteral("bottom"));
    limit.Reload();
    EXPECT_EQ(limit.ReadString(deepestKey, QString()), QStringLiteral("bottom"));
    QStringList keys;
    limit.ReadAllSubKeys(QString(), keys);
    EXPECT_EQ(keys.size(), TZavConfigXML::kMaxNestingDepth - 1);
    TZavConfigXMLFast copy;
    copy.LoadFromFile(folder.File(QStringLiteral("copy.hvk")));
    copy.CopyKeyFrom(limit, QStringLiteral("A"));
    EXPECT_EQ(copy.ReadString(deepestKey, QString()), QStringLiteral("bottom"));

    EXPECT_TRUE(ErrorOf([&] { limit.WriteString(deepestKey + QStringLiteral("\\B"), QStringLiteral("x")); })
                    .startsWith(QStringLiteral("TZavConfigXML: Key zu tief verschachtelt: ")));
}

TEST_F(HostileInputTest, HundredMegabyteDocumentLoads)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n<Big>\r\n");
    const QByteArray filler(100, 'x');
    QByteArray block;
    for (int i = 0; i < 8300; ++i)
        block += "<K" + QByteArray::number(i) + ">s" + filler + "</K" + QByteArray::number(i) + ">\r\n";
    for (int i = 0; i < 105; ++i)
        file.write(block);
    file.write("<Last>send</Last>\r\n</Big>\r\n</HALVREN>\r\n");
    file.close();
    ASSERT_GT(QFileInfo(path).size(), 100LL * 1000 * 1000);
    TZavConfigXMLFast config;
    config.LoadFromFile(path);
    EXPECT_EQ(config.ReadString(QStringLiteral("Big\\Last"), QString()), QStringLiteral("end"));
    EXPECT_EQ(config.ReadString(QStringLiteral("Big\\K8299"), QString()), QString(filler));
}

TEST_F(HostileInputTest, FailedSavesLeaveTheDocumentByteIdentical)
{
    // A document without backup copy, so that the write of the document itself fails.
    const QString xmlPath = folder.File(QStringLiteral("Zav.xml"));
    TZavConfigXMLFast config;
    config.LoadFromFile(xmlPath);
    config.WriteString(QStringLiteral("Filler"), QString(4000, QLatin1Char('f')));
    const QByteArray before = ReadBytes(xmlPath);

    // A full disk while the new content is written: the file size limit of a child process.
    QProcess child;
    child.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 2; exec \"$0\" write \"$1\" Other text"),
                                            QStringLiteral(QX_BIN_DIR "/qxconfig"), xmlPath});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 2) << child.readAllStandardError().toStdString();
    EXPECT_TRUE(ReadBytes(xmlPath) == before);
    const QStringList left = QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("Zav.xml")}) << "no temporary file may stay behind";

    // A folder in which no temporary file can be created (as an ordinary user).
    if (!RunningAsRoot())
        GTEST_SKIP() << "needs root to run the writer as an ordinary user";
    QFile::setPermissions(xmlPath, QFile::Permissions(0x6666));
    QFile::setPermissions(folder.Path(), QFile::Permissions(0x7755));
    QByteArray output;
    EXPECT_EQ(RunAsNobody(QStringLiteral(QX_BIN_DIR "/qxconfig"), {QStringLiteral("write"), xmlPath, QStringLiteral("Other"), QStringLiteral("x")},
                          30000, &output),
              2)
        << output.toStdString();
    EXPECT_TRUE(ReadBytes(xmlPath) == before);
}

} // namespace
