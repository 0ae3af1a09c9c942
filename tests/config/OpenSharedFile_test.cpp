// Lock waiting with a second real process (tests/helpers/config_lock_holder).
#include "config/ConfigTestSupport.h"
#include "config/OpenSharedFile.h"
#include "config/TZavConfigXMLFast.h"
#include "common/HVException.h"
#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace configtest;

namespace {

const QByteArray kDocument = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n<A>sa</A>\r\n</HALVREN>\r\n";

class SharedFileTest : public ::testing::Test
{
protected:
    TempFolder folder;
    QString path = folder.File(QStringLiteral("Zav.hvk"));
    void SetUp() override { WriteBytes(path, kDocument); }
};

TEST_F(SharedFileTest, MissingFolderFailsAtOnceWithTheFileName)
{
    const QString missing = folder.File(QStringLiteral("no/such/folder/x.hvk"));
    for (int mode : {sfmRead, sfmUpdate, sfmRewrite})
        EXPECT_EQ(ErrorOf([&] { OpenSharedFile(missing, mode); }), missing) << mode;
}

TEST_F(SharedFileTest, ReadersShareAndWritersWaitUntilTheOtherProcessLetsGo)
{
    {
        // Another reader does not keep a load waiting.
        LockHolder reader(path, false, 60000);
        ASSERT_TRUE(reader.Started());
        TZavConfigXMLFast doc;
        doc.LoadFromFile(path);
        EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("a"));
    }
    // A writer that lets go after a moment: the load waits for it and then succeeds.
    const QString released = folder.File(QStringLiteral("writer-released"));
    LockHolder writer(path, true, 700, released);
    ASSERT_TRUE(writer.Started());
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    EXPECT_TRUE(QFile::exists(released)) << "the load must have waited for the other process";
    EXPECT_EQ(doc.ReadString(QStringLiteral("A"), QString()), QStringLiteral("a"));

    // Likewise a save waits for a reader to finish, then replaces the document.
    const QString readerReleased = folder.File(QStringLiteral("reader-released"));
    LockHolder reader(path, false, 700, readerReleased);
    ASSERT_TRUE(reader.Started());
    doc.WriteString(QStringLiteral("A"), QStringLiteral("b"));
    EXPECT_TRUE(QFile::exists(readerReleased)) << "the save must have waited for the other process";
    EXPECT_TRUE(ReadBytes(path).contains("<A>sb</A>"));
}

TEST_F(SharedFileTest, SaveGivesUpAfterTwentySecondsWithTheWriteMessage)
{
    TZavConfigXMLFast doc;
    doc.LoadFromFile(path);
    LockHolder reader(path, false, 60000);
    ASSERT_TRUE(reader.Started());
    EXPECT_EQ(ErrorOf([&] { doc.WriteString(QStringLiteral("A"), QStringLiteral("b")); }),
              QStringLiteral("Datei %1 wird von anderer Anwendung gesperrt und kann nicht geschrieben werden").arg(path));
    EXPECT_EQ(ReadBytes(path), kDocument);
}

TEST_F(SharedFileTest, LoadGivesUpAfterTwentySecondsWithTheReadMessage)
{
    LockHolder writer(path, true, 60000);
    ASSERT_TRUE(writer.Started());
    TZavConfigXMLFast doc;
    EXPECT_EQ(ErrorOf([&] { doc.LoadFromFile(path); }),
              QStringLiteral("Datei %1 wird von anderer Anwendung gesperrt und kann nicht gelesen werden").arg(path));
}

} // namespace
