#include "platform/TestProcesses.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

int OpenError(const QString &path, SystemFile::Mode mode)
{
    SystemFile file;
    int error = -1;
    const bool opened = file.Open(path, mode, &error);
    EXPECT_EQ(opened, error == 0) << path.toStdString();
    EXPECT_EQ(error, file.LastError());
    return error;
}

} // namespace

TEST(SystemFile, OpenFailuresGiveTheirErrorCodes)
{
    TempFolder temp;
    WriteBytes(temp.File("present.txt"), "data");
    QDir().mkpath(temp.File("folder"));
    ::mkfifo(temp.File("pipe").toLocal8Bit().constData(), 0600);
    QFile::link(temp.File("present.txt"), temp.File("link-to-present"));
    const QString tooLong = temp.File(QString(5000, QLatin1Char('n')));

    struct Case
    {
        const char *name;
        QString path;
        SystemFile::Mode mode;
        int expected;
    } cases[] = {
        {"missing file", temp.File("absent.txt"), SystemFile::Mode::Read, SystemErrorCode::FileNotFound},
        {"missing folder on the path", temp.File("nowhere/absent.txt"), SystemFile::Mode::Read, SystemErrorCode::PathNotFound},
        {"missing folder when writing", temp.File("nowhere/absent.txt"), SystemFile::Mode::Write, SystemErrorCode::PathNotFound},
        {"a file used as folder", temp.File("present.txt/x"), SystemFile::Mode::Read, SystemErrorCode::PathNotFound},
        {"folder opened as file", temp.File("folder"), SystemFile::Mode::Read, SystemErrorCode::AccessDenied},
        {"folder opened for writing", temp.File("folder"), SystemFile::Mode::Write, SystemErrorCode::AccessDenied},
        {"pipe (must not hang)", temp.File("pipe"), SystemFile::Mode::Read, SystemErrorCode::AccessDenied},
        {"empty path", QString(), SystemFile::Mode::Read, SystemErrorCode::InvalidName},
        {"NUL inside the path", temp.File("present.txt") + QChar(0) + QStringLiteral("x"), SystemFile::Mode::Read,
         SystemErrorCode::InvalidName},
        {"overlong name", tooLong, SystemFile::Mode::Read, SystemErrorCode::FilenameTooLong},
        {"exclusive creation over a file", temp.File("present.txt"), SystemFile::Mode::CreateNew, SystemErrorCode::FileExists},
        {"exclusive creation over a folder", temp.File("folder"), SystemFile::Mode::CreateNew, SystemErrorCode::FileExists},
        {"exclusive creation over a link", temp.File("link-to-present"), SystemFile::Mode::CreateNew,
         SystemErrorCode::FileExists},
        {"existing file for reading", temp.File("present.txt"), SystemFile::Mode::Read, SystemErrorCode::Success},
        {"backslashes read as slashes", temp.Path() + QStringLiteral("\\present.txt"), SystemFile::Mode::Read,
         SystemErrorCode::Success},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OpenError(c.path, c.mode), c.expected) << c.name;
    EXPECT_EQ(ReadBytes(temp.File("present.txt")), QByteArray("data"));
}

TEST(SystemFile, LocksFollowTheAccess)
{
    TempFolder temp;
    const QString path = temp.File("shared.txt");
    WriteBytes(path, "contents");

    SystemFile reader1;
    SystemFile reader2;
    ASSERT_TRUE(reader1.Open(path, SystemFile::Mode::Read));
    EXPECT_TRUE(reader2.Open(path, SystemFile::Mode::Read)) << "readers share";
    for (auto mode : {SystemFile::Mode::Write, SystemFile::Mode::ReadWrite, SystemFile::Mode::CreateTruncate,
                      SystemFile::Mode::OpenOrCreate})
        EXPECT_EQ(OpenError(path, mode), SystemErrorCode::SharingViolation);
    EXPECT_EQ(ReadBytes(path), QByteArray("contents")) << "a refused truncation leaves the data";

    SystemFile unlocked;
    EXPECT_TRUE(unlocked.Open(path, SystemFile::Mode::ReadWrite, nullptr, SystemFile::Locking::None));
    reader1.Close();
    reader2.Close();
    SystemFile writer;
    EXPECT_TRUE(writer.Open(path, SystemFile::Mode::Write));
    EXPECT_EQ(OpenError(path, SystemFile::Mode::Read), SystemErrorCode::SharingViolation);
}

TEST(SystemFile, LocksOfAnotherProcessAreSharingViolations)
{
    TempFolder temp;
    const QString path = temp.File("held.txt");
    WriteBytes(path, "held");
    {
        auto holder = testprocesses::HoldLock(path, true);
        EXPECT_EQ(OpenError(path, SystemFile::Mode::Read), SystemErrorCode::Success);
        EXPECT_EQ(OpenError(path, SystemFile::Mode::Write), SystemErrorCode::SharingViolation);
        EXPECT_EQ(OpenError(path, SystemFile::Mode::CreateTruncate), SystemErrorCode::SharingViolation);
    }
    {
        auto holder = testprocesses::HoldLock(path, false);
        EXPECT_EQ(OpenError(path, SystemFile::Mode::Read), SystemErrorCode::SharingViolation);
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("held"));
    EXPECT_EQ(OpenError(path, SystemFile::Mode::Write), SystemErrorCode::Success) << "free again once the holder ended";
}

TEST(SystemFile, RunningProgramRefusesWriting)
{
    TempFolder temp;
    const QString program = temp.File("running");
    auto running = testprocesses::RunProgramFrom(program);
    EXPECT_EQ(OpenError(program, SystemFile::Mode::Write), SystemErrorCode::SharingViolation);
    EXPECT_EQ(OpenError(program, SystemFile::Mode::Read), SystemErrorCode::Success);
}

TEST(SystemFile, CreateNewNeverWritesThroughALink)
{
    TempFolder temp;
    const QString victim = temp.File("victim.txt");
    WriteBytes(victim, "keep");
    QFile::link(victim, temp.File("planted"));
    QFile::link(temp.File("nonexistent-target"), temp.File("dangling"));

    SystemFile file;
    int error = 0;
    EXPECT_FALSE(file.Open(temp.File("planted"), SystemFile::Mode::CreateNew, &error));
    EXPECT_FALSE(file.Open(temp.File("dangling"), SystemFile::Mode::CreateNew, &error));
    EXPECT_EQ(error, SystemErrorCode::FileExists);
    EXPECT_EQ(ReadBytes(victim), QByteArray("keep"));
    EXPECT_FALSE(QFile::exists(temp.File("nonexistent-target")));

    ASSERT_TRUE(file.Open(temp.File("fresh"), SystemFile::Mode::CreateNew, nullptr, SystemFile::Locking::ByAccess, 0600));
    struct stat info {};
    ASSERT_EQ(::stat(temp.File("fresh").toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(SystemFile, ReadWriteSeekResizeAndTimes)
{
    TempFolder temp;
    const QString path = temp.File("rw.bin");
    SystemFile file;
    ASSERT_TRUE(file.Open(path, SystemFile::Mode::CreateTruncate));
    ASSERT_TRUE(file.Write(QByteArray("0123456789")));
    EXPECT_EQ(file.Size(), 10);
    ASSERT_TRUE(file.Seek(4));
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 6) << "short read means the end";
    EXPECT_EQ(QByteArray(buffer, 6), QByteArray("456789"));
    ASSERT_TRUE(file.Resize(3));
    ASSERT_TRUE(file.SeekToEnd());
    ASSERT_TRUE(file.Write(QByteArray("!")));
    ASSERT_TRUE(file.Sync());
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1234567890);
    ASSERT_TRUE(file.SetLastWriteTime(stamp));
    QDateTime read;
    ASSERT_TRUE(file.GetLastWriteTime(read));
    EXPECT_EQ(read, stamp);
    file.Close();
    EXPECT_EQ(ReadBytes(path), QByteArray("012!"));

    SystemFile again;
    ASSERT_TRUE(again.Open(path, SystemFile::Mode::OpenOrCreate));
    EXPECT_EQ(again.Size(), 4) << "OpenOrCreate keeps the contents";
    again.Close();
    ASSERT_TRUE(again.Open(path, SystemFile::Mode::CreateTruncate));
    EXPECT_EQ(again.Size(), 0);
}

TEST(SystemFile, CopyFromCopiesEverythingFromTheCurrentPosition)
{
    TempFolder temp;
    QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &c : data)
        c = char(generator.bounded(256));
    WriteBytes(temp.File("source.bin"), data);

    for (const qint64 offset : {qint64(0), qint64(1000)}) {
        SystemFile source;
        SystemFile target;
        ASSERT_TRUE(source.Open(temp.File("source.bin"), SystemFile::Mode::Read));
        ASSERT_TRUE(target.Open(temp.File("target.bin"), SystemFile::Mode::CreateTruncate));
        ASSERT_TRUE(source.Seek(offset));
        bool readFailed = true;
        ASSERT_TRUE(target.CopyFrom(source, 64000, &readFailed));
        target.Close();
        EXPECT_EQ(ReadBytes(temp.File("target.bin")), data.mid(offset)) << "offset " << offset;
    }

    SystemFile closed;
    SystemFile target;
    ASSERT_TRUE(target.Open(temp.File("target.bin"), SystemFile::Mode::CreateTruncate));
    bool readFailed = false;
    EXPECT_FALSE(target.CopyFrom(closed, 64000, &readFailed));
    EXPECT_TRUE(readFailed);
}
