#include "platform/TestProcesses.h"
#include "platform/files/FileQueries.h"
#include "platform/system/SystemError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using testsupport::HelperProgram;
using testsupport::TempFolder;
using testsupport::WriteBytes;

TEST(FileQueries, KindsSizesAndTimes)
{
    TempFolder temp;
    WriteBytes(temp.File("file.bin"), QByteArray(1234, 'x'));
    QDir().mkpath(temp.File("folder"));
    QFile::link(temp.File("file.bin"), temp.File("link-to-file"));
    QFile::link(temp.File("folder"), temp.File("link-to-folder"));
    QFile::link(temp.File("gone"), temp.File("dangling"));

    struct Case
    {
        const char *name;
        bool file;
        bool folder;
        qint64 size;
    } cases[] = {
        {"file.bin", true, false, 1234}, {"folder", false, true, -1},      {"link-to-file", true, false, 1234},
        {"link-to-folder", false, true, -1}, {"dangling", false, false, -1}, {"absent", false, false, -1},
    };
    for (const Case &c : cases) {
        const QString path = temp.File(QString::fromUtf8(c.name));
        EXPECT_EQ(FileExists(path), c.file) << c.name;
        EXPECT_EQ(FolderExists(path), c.folder) << c.name;
        EXPECT_EQ(GetFileSize64(path), c.size) << c.name;
        QDateTime time;
        EXPECT_EQ(GetFileDateTime(path, time), c.file) << c.name;
    }
    EXPECT_TRUE(FileExists(temp.Path() + QStringLiteral("\\file.bin"))) << "a backslash is a separator";
    for (const QString &bad : {QString(), QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QString(100000, QLatin1Char('a'))}) {
        EXPECT_FALSE(FileExists(bad));
        EXPECT_FALSE(FolderExists(bad));
        EXPECT_EQ(GetFileSize64(bad), -1);
    }

    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000);
    QFile file(temp.File("file.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    QDateTime time;
    ASSERT_TRUE(GetFileDateTime(temp.File("file.bin"), time));
    EXPECT_EQ(time, stamp);
    EXPECT_EQ(time.timeSpec(), Qt::LocalTime);
}

TEST(FileQueries, IsFileLocked)
{
    TempFolder temp;
    const QString plain = temp.File("plain.txt");
    WriteBytes(plain, "x");
    EXPECT_FALSE(IsFileLocked(plain, false));
    EXPECT_FALSE(IsFileLocked(temp.File("missing-in-writable-folder"), false)) << "the wait ends at once";
    EXPECT_TRUE(IsFileLocked(temp.File("missing-folder/file"), false));
    EXPECT_TRUE(IsFileLocked(temp.File("missing-folder/file"), true));
    EXPECT_FALSE(QDir(temp.File("missing-folder")).exists()) << "asking creates nothing";
    EXPECT_TRUE(IsFileLocked(QString(), false));
    EXPECT_EQ(QDir(temp.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("plain.txt")})
        << "the probe of a missing file's folder leaves nothing behind";

    {
        auto holder = testprocesses::HoldLock(plain, true);
        EXPECT_TRUE(IsFileLocked(plain, false));
        EXPECT_FALSE(IsFileLocked(plain, true)) << "only in use: sharing is free";
    }
    {
        auto holder = testprocesses::HoldLock(plain, false);
        EXPECT_TRUE(IsFileLocked(plain, false));
        EXPECT_FALSE(IsFileLocked(plain, true));
    }
    EXPECT_FALSE(IsFileLocked(plain, false)) << "free once the holder ended";

    const QString program = temp.File("running-program");
    auto running = testprocesses::RunProgramFrom(program);
    EXPECT_TRUE(IsFileLocked(program, false));
    EXPECT_FALSE(IsFileLocked(program, true));
}

TEST(FileQueries, IsFileLockedWithoutPermission)
{
    TempFolder temp;
    QFile::setPermissions(temp.Path(), QFileDevice::Permissions(0x7777) /* rwx for everyone */);
    const QString readOnly = temp.File("read-only.txt");
    WriteBytes(readOnly, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    // Missing permission is no sharing violation: locked even with sharing free.
    EXPECT_EQ(testprocesses::RunUnprivileged({QStringLiteral("locked"), readOnly, QStringLiteral("1")}), QByteArray("locked"));
    EXPECT_EQ(testprocesses::RunUnprivileged({QStringLiteral("locked"), readOnly, QStringLiteral("0")}), QByteArray("locked"));
}

TEST(FileQueries, FileCRC32)
{
    TempFolder temp;
    WriteBytes(temp.File("check.txt"), "123456789");
    EXPECT_EQ(FileCRC32(temp.File("check.txt")), 0xCBF43926u);
    WriteBytes(temp.File("empty"), QByteArray());
    EXPECT_EQ(FileCRC32(temp.File("empty")), 0u);
    EXPECT_EQ(FileCRC32(temp.File("missing")), 0u);
    EXPECT_EQ(FileCRC32(temp.Path()), 0u) << "a folder";

    // Across the block boundary: the same sum as one zlib call over all bytes.
    QByteArray big(65521 * 2 + 5, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 + 7);
    WriteBytes(temp.File("big"), big);
    EXPECT_EQ(FileCRC32(temp.File("big")), quint32(crc32(0, reinterpret_cast<const Bytef *>(big.constData()), uInt(big.size()))));

    ::mkfifo(temp.File("pipe").toLocal8Bit().constData(), 0600);
    EXPECT_EQ(FileCRC32(temp.File("pipe")), 0u) << "a pipe must not hang the checksum";
}

TEST(FileQueries, IsXmlStream)
{
    struct Case
    {
        QByteArray bytes;
        bool xml;
    } cases[] = {
        {"<?xml version=\"1.0\"?><a/>", true},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>", true},
        {QByteArray(35, ' ') + "<?xml", true},
        {QByteArray(36, ' ') + "<?xml", false}, // beyond the first 40 bytes
        {"plain text", false},
        {QByteArray(), false},
    };
    for (const Case &c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        buffer.seek(buffer.size() / 2);
        EXPECT_EQ(IsXmlStream(&buffer), c.xml) << c.bytes.constData();
        EXPECT_EQ(buffer.pos(), 0);
    }
    EXPECT_FALSE(IsXmlStream(nullptr));
}

TEST(FileQueries, GetFileVersionText)
{
    TempFolder temp;
    EXPECT_EQ(GetFileVersionText(HelperProgram(QStringLiteral("version_carrier"))), QStringLiteral("4.12.0.7"));
    EXPECT_EQ(GetFileVersionText(HelperProgram(QStringLiteral("busy_program"))), QString()) << "an ELF file without version";
    WriteBytes(temp.File("text"), "FileVersion=1.2.3.4");
    WriteBytes(temp.File("truncated-elf"), QByteArray("\x7f" "ELF\x02\x01\x01", 7) + QByteArray(100, '\xff'));
    for (const QString &path : {temp.File("text"), temp.File("truncated-elf"), temp.File("missing"), temp.Path()})
        EXPECT_EQ(GetFileVersionText(path), QString()) << path.toStdString();
    QFile carrier(HelperProgram(QStringLiteral("version_carrier")));
    ASSERT_TRUE(carrier.open(QIODevice::ReadOnly));
    const QByteArray whole = carrier.readAll();
    for (const qsizetype cut : {qsizetype(64), whole.size() / 2, whole.size() - 1}) {
        WriteBytes(temp.File("cut"), whole.left(cut));
        GetFileVersionText(temp.File("cut")); // must not crash
    }
}

TEST(FileQueries, GetLastErrorText)
{
    SetLastSystemError(0);
    EXPECT_EQ(GetLastErrorText(), QString());
    SetLastSystemError(ENOENT);
    EXPECT_EQ(GetLastErrorText(), QStringLiteral("No such file or directory ErrorCode: 00000002"));
    SetLastSystemError(EACCES);
    EXPECT_TRUE(GetLastErrorText().endsWith(QStringLiteral(" ErrorCode: 0000000D")));
    SetLastSystemError(987654);
    EXPECT_EQ(GetLastErrorText(), QStringLiteral("ErrorCode: 000F1206"));

    TempFolder temp;
    FileExists(temp.File("missing"));
    EXPECT_TRUE(GetLastErrorText().endsWith(QStringLiteral("ErrorCode: 00000002"))) << "set by a failing call";
}
