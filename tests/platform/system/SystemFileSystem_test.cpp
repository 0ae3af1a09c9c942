#include "platform/system/SystemError.h"
#include "platform/system/SystemFile.h"
#include "platform/system/SystemFileSystem.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using testsupport::EnvGuard;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

TEST(SystemFileSystem, ListFolderReportsKindsAndLinks)
{
    TempFolder temp;
    WriteBytes(temp.File("f"), "x");
    QDir().mkpath(temp.File("d"));
    QFile::link(temp.File("f"), temp.File("lf"));
    QFile::link(temp.File("d"), temp.File("ld"));
    QFile::link(temp.File("none"), temp.File("dangling"));

    QList<SystemFolderEntry> entries;
    ASSERT_TRUE(SystemListFolder(temp.Path(), entries));
    QMap<QString, QPair<SystemEntryKind, bool>> seen;
    for (const SystemFolderEntry &entry : entries)
        seen[entry.name] = {entry.kind, entry.isLink};
    EXPECT_EQ(seen.size(), 5) << "no . or ..";
    EXPECT_EQ(seen[QStringLiteral("f")], qMakePair(SystemEntryKind::File, false));
    EXPECT_EQ(seen[QStringLiteral("d")], qMakePair(SystemEntryKind::Folder, false));
    EXPECT_EQ(seen[QStringLiteral("lf")], qMakePair(SystemEntryKind::File, true));
    EXPECT_EQ(seen[QStringLiteral("ld")], qMakePair(SystemEntryKind::Folder, true));
    EXPECT_EQ(seen[QStringLiteral("dangling")], qMakePair(SystemEntryKind::Missing, true));
    EXPECT_FALSE(SystemListFolder(temp.File("f"), entries));
    EXPECT_FALSE(SystemListFolder(QString(), entries));
}

TEST(SystemFileSystem, CreateFolderIsExclusive)
{
    TempFolder temp;
    TempFolder outside;
    QFile::link(outside.Path(), temp.File("link"));
    int error = -1;
    EXPECT_TRUE(SystemCreateFolder(temp.File("new"), &error));
    EXPECT_EQ(error, SystemErrorCode::Success);
    EXPECT_FALSE(SystemCreateFolder(temp.File("new"), &error));
    EXPECT_EQ(error, SystemErrorCode::FileExists);
    EXPECT_FALSE(SystemCreateFolder(temp.File("link"), &error));
    EXPECT_EQ(error, SystemErrorCode::FileExists);
    EXPECT_FALSE(SystemCreateFolder(temp.File("missing/new"), &error));
    EXPECT_EQ(error, SystemErrorCode::PathNotFound);

    const QString made = SystemCreateTempFolder(temp.Path(), QStringLiteral("work-"));
    ASSERT_FALSE(made.isEmpty());
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_TRUE(QFileInfo(made).fileName().startsWith(QStringLiteral("work-")));
    EXPECT_EQ(SystemCreateTempFolder(temp.File("missing"), QStringLiteral("x")), QString());
}

TEST(SystemFileSystem, ReplaceFileSwapsContentsInOneStep)
{
    TempFolder temp;
    WriteBytes(temp.File("doc.hvk"), "old");
    WriteBytes(temp.File("doc.new"), "new");
    SystemFile held;
    ASSERT_TRUE(held.Open(temp.File("doc.hvk"), SystemFile::Mode::ReadWrite));
    EXPECT_TRUE(SystemReplaceFile(temp.File("doc.new"), temp.File("doc.hvk"))) << "while the old file is held";
    EXPECT_EQ(ReadBytes(temp.File("doc.hvk")), QByteArray("new"));
    EXPECT_FALSE(QFile::exists(temp.File("doc.new")));
    EXPECT_TRUE(SystemSyncFolder(temp.Path()));

    TempFolder outside;
    WriteBytes(outside.File("victim"), "keep");
    QFile::link(outside.File("victim"), temp.File("linked"));
    WriteBytes(temp.File("other.new"), "other");
    EXPECT_TRUE(SystemReplaceFile(temp.File("other.new"), temp.File("linked")));
    EXPECT_EQ(ReadBytes(outside.File("victim")), QByteArray("keep")) << "the link is replaced, not followed";

    QDir().mkpath(temp.File("folder"));
    WriteBytes(temp.File("third.new"), "third");
    EXPECT_FALSE(SystemReplaceFile(temp.File("third.new"), temp.File("folder")));
    EXPECT_FALSE(SystemReplaceFile(temp.File("missing"), temp.File("doc.hvk")));
    EXPECT_EQ(ReadBytes(temp.File("doc.hvk")), QByteArray("new"));
}

TEST(SystemFileSystem, TempPathAndEnvironment)
{
    {
        EnvGuard tmpdir("TMPDIR", QByteArray("/some/where//"));
        EXPECT_EQ(SystemTempPath(), QStringLiteral("/some/where"));
    }
    {
        EnvGuard tmpdir("TMPDIR", QByteArray());
        EXPECT_EQ(SystemTempPath(), QStringLiteral("/tmp"));
    }
    EnvGuard marker("QX_SYSTEM_FS_TEST", QByteArray("a=b"));
    EXPECT_TRUE(SystemEnvironmentEntries().contains(QStringLiteral("QX_SYSTEM_FS_TEST=a=b")));
    EXPECT_TRUE(QFileInfo(SystemOwnProgramPath()).isExecutable());
}
