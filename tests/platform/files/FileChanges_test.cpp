#include "common/HVException.h"
#include "platform/TestProcesses.h"
#include "platform/files/FileChanges.h"
#include "platform/files/FileQueries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

// The message CopyFileContents raises, or "ok".
QString CopyOutcome(const QString &source, const QString &target)
{
    try {
        CopyFileContents(source, target);
        return QStringLiteral("ok");
    } catch (const HVException &e) {
        return e.WideMessage();
    }
}

QDateTime ModificationTime(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

void SetModificationTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

TEST(FileChanges, ForceFolders)
{
    TempFolder temp;
    EXPECT_TRUE(ForceFolders(temp.File("a/b/c")));
    EXPECT_TRUE(QFileInfo(temp.File("a/b/c")).isDir());
    EXPECT_TRUE(ForceFolders(temp.File("a/b/c")));
    EXPECT_TRUE(ForceFolders(temp.Path() + QStringLiteral("\\x\\y\\\\")));
    EXPECT_TRUE(QFileInfo(temp.File("x/y")).isDir());
    WriteBytes(temp.File("file"), "f");
    EXPECT_FALSE(ForceFolders(temp.File("file/sub"))) << "a file in the way";
    EXPECT_FALSE(ForceFolders(temp.File("bad") + QChar(0) + QStringLiteral("name")));
    try {
        ForceFolders(QString());
        FAIL() << "an empty path must raise";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Verzeichnis kann nicht erstellt werden"));
    }
}

TEST(FileChanges, DeleteRemoveRename)
{
    TempFolder temp;
    WriteBytes(temp.File("a"), "a");
    WriteBytes(temp.File("b"), "b");
    QDir().mkpath(temp.File("folder/inner"));
    EXPECT_FALSE(RenameFile(temp.File("a"), temp.File("b"))) << "never replaces";
    EXPECT_EQ(ReadBytes(temp.File("b")), QByteArray("b"));
    EXPECT_TRUE(RenameFile(temp.File("a"), temp.File("folder/moved")));
    EXPECT_EQ(ReadBytes(temp.File("folder/moved")), QByteArray("a"));
    EXPECT_FALSE(DeleteFile(temp.File("folder"))) << "a folder is no file";
    EXPECT_FALSE(RemoveFolder(temp.File("folder"))) << "not empty";
    EXPECT_TRUE(RemoveFolder(temp.File("folder/inner")));
    EXPECT_TRUE(DeleteFile(temp.File("folder/moved")));
    EXPECT_FALSE(DeleteFile(temp.File("folder/moved")));
    EXPECT_TRUE(RemoveFolder(temp.File("folder")));
}

TEST(FileChanges, CurrentFolder)
{
    TempFolder temp;
    const QString before = GetCurrentFolder();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_TRUE(SetCurrentFolder(temp.Path()));
    EXPECT_EQ(GetCurrentFolder(), QFileInfo(temp.Path()).canonicalFilePath());
    EXPECT_FALSE(SetCurrentFolder(temp.File("missing")));
    EXPECT_TRUE(SetCurrentFolder(before));
}

TEST(FileChanges, RoundToDosTime)
{
    const QDateTime even = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10, 999));
    const QDateTime odd = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 11, 500));
    EXPECT_EQ(RoundToDosTime(even), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10)));
    EXPECT_EQ(RoundToDosTime(odd), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10)));
    const QDateTime early = QDateTime(QDate(1970, 1, 2), QTime(0, 0, 1, 250));
    EXPECT_EQ(RoundToDosTime(early), QDateTime(QDate(1970, 1, 2), QTime(0, 0, 1))) << "outside the DOS years";
}

TEST(FileChanges, CopyIntoAnExistingFolderWithTheRoundedTime)
{
    TempFolder temp;
    const QString source = temp.File("src/program.bin");
    WriteBytes(source, "program bytes");
    QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetModificationTime(source, QDateTime(QDate(2023, 3, 4), QTime(5, 6, 7, 800)));
    QDir().mkpath(temp.File("target"));

    EXPECT_EQ(CopyOutcome(source, temp.File("target")), QStringLiteral("ok"));
    const QString copied = temp.File("target/program.bin");
    EXPECT_EQ(ReadBytes(copied), QByteArray("program bytes"));
    EXPECT_EQ(ModificationTime(copied), QDateTime(QDate(2023, 3, 4), QTime(5, 6, 6)));
    EXPECT_TRUE(QFileInfo(copied).permissions() & QFileDevice::ExeOwner) << "a program stays executable";

    EXPECT_EQ(CopyOutcome(source, temp.File("new/deep/folders/copy.bin")), QStringLiteral("ok"));
    EXPECT_EQ(ReadBytes(temp.File("new/deep/folders/copy.bin")), QByteArray("program bytes"));

    WriteBytes(temp.File("target/longer.bin"), QByteArray(5000, 'L'));
    EXPECT_EQ(CopyOutcome(source, temp.File("target/longer.bin")), QStringLiteral("ok"));
    EXPECT_EQ(ReadBytes(temp.File("target/longer.bin")), QByteArray("program bytes")) << "replaced, not overlaid";
}

TEST(FileChanges, CopyLargeAndEmptyFiles)
{
    TempFolder temp;
    QByteArray big(2500000, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7919) >> 3);
    WriteBytes(temp.File("big"), big);
    WriteBytes(temp.File("empty"), QByteArray());
    EXPECT_EQ(CopyOutcome(temp.File("big"), temp.File("big.copy")), QStringLiteral("ok"));
    EXPECT_EQ(ReadBytes(temp.File("big.copy")), big);
    EXPECT_EQ(CopyOutcome(temp.File("empty"), temp.File("empty.copy")), QStringLiteral("ok"));
    EXPECT_TRUE(QFileInfo::exists(temp.File("empty.copy")));
    EXPECT_EQ(QFileInfo(temp.File("empty.copy")).size(), 0);
}

TEST(FileChanges, CopyFailuresRaiseAndKeepTheTarget)
{
    TempFolder temp;
    const QString source = temp.File("source.txt");
    WriteBytes(source, "new");
    const QString target = temp.File("target.txt");
    WriteBytes(target, "old");

    EXPECT_EQ(CopyOutcome(temp.File("missing.txt"), target),
              QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(temp.File("missing.txt")));
    EXPECT_EQ(CopyOutcome(source, source), QStringLiteral("Datei %1 kann nicht erstellt werden").arg(source))
        << "copying a file onto itself must not empty it";
    EXPECT_EQ(ReadBytes(source), QByteArray("new"));
    {
        auto holder = testprocesses::HoldLock(target, true);
        EXPECT_EQ(CopyOutcome(source, target), QStringLiteral("Datei %1 kann nicht erstellt werden").arg(target));
    }
    EXPECT_EQ(ReadBytes(target), QByteArray("old"));
    {
        auto holder = testprocesses::HoldLock(source, false);
        EXPECT_EQ(CopyOutcome(source, target), QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(source));
    }
    const QString program = temp.File("running");
    auto running = testprocesses::RunProgramFrom(program);
    EXPECT_EQ(CopyOutcome(source, program), QStringLiteral("Datei %1 kann nicht erstellt werden").arg(program));

    EXPECT_EQ(CopyOutcome(QString(), target), QStringLiteral("Datei  kann nicht geöffnet werden"));
    EXPECT_NE(CopyOutcome(source, QString()), QStringLiteral("ok"));
    EXPECT_NE(CopyOutcome(temp.Path(), target), QStringLiteral("ok")) << "a folder as source";
    EXPECT_EQ(ReadBytes(target), QByteArray("old"));
}

TEST(FileChanges, CopyOntoATargetThatCannotBeWritten)
{
    TempFolder temp;
    QFile::setPermissions(temp.Path(), QFileDevice::Permissions(0x7777)); // rwx for everyone
    const QString source = temp.File("source.txt");
    WriteBytes(source, "new");
    const QString target = temp.File("read-only.txt");
    WriteBytes(target, "old");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    EXPECT_EQ(testprocesses::RunUnprivileged({QStringLiteral("copy"), source, target}),
              QStringLiteral("Datei %1 kann nicht erstellt werden").arg(target).toUtf8());
    EXPECT_EQ(ReadBytes(target), QByteArray("old"));
}

TEST(FileChanges, AppendTextToFile)
{
    TempFolder temp;
    const QString log = temp.File("fail.log");
    ASSERT_TRUE(AppendTextToFile(log, QStringLiteral("erste Zeile äß"), false, true, 0));
    ASSERT_TRUE(AppendTextToFile(log, QStringLiteral("second"), true, false, 0));
    const QByteArray bytes = ReadBytes(log);
    ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_EQ(bytes.count("\xFF\xFE"), 1) << "one mark, at the start";
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6) << text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("erste Zeile äß"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_TRUE(QDateTime::fromString(lines[2], QStringLiteral("yyyy-MM-dd hh:mm:ss")).isValid()) << lines[2].toStdString();
    EXPECT_EQ(lines[3], QString(40, QLatin1Char('-')));
    EXPECT_EQ(lines[4], QStringLiteral("second"));
    EXPECT_EQ(lines[5], QString());

    // Beyond the size limit the file moves to its older generation, replacing that.
    WriteBytes(temp.File("fail_2.log"), "older generation");
    ASSERT_TRUE(AppendTextToFile(log, QStringLiteral("third"), false, false, 10));
    EXPECT_EQ(ReadBytes(temp.File("fail_2.log")), bytes);
    EXPECT_EQ(ReadBytes(log), QByteArray("\xFF\xFEt\0h\0i\0r\0d\0\r\0\n\0", 16));

    EXPECT_FALSE(AppendTextToFile(temp.File("missing-folder/x.log"), QStringLiteral("x"), false, false, 0));
    EXPECT_FALSE(AppendTextToFile(QString(), QStringLiteral("x"), true, true, 100));
}
