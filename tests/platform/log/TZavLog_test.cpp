#include "platform/log/TZavLog.h"

#include "app/UpdateState.h"
#include "platform/log/RunLog.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const QDateTime kNow(QDate(2007, 3, 1), QTime(14, 30, 5));

TEST(TZavLogFormatLine, MarksLevelsAndLeavesSeparatorsBare)
{
    const struct {
        const char *text;
        int level;
        bool timestamp;
        const char *expected;
    } cases[] = {
        {"", 2, true, ""},
        {"----------", 1, true, "----------"},
        {"---------", 0, true, "[2007-03-01 14:30:05] ---------"},
        {"Kopiert", 0, true, "[2007-03-01 14:30:05] Kopiert"},
        {"Vorsicht", 1, true, "[2007-03-01 14:30:05] [W] Vorsicht"},
        {"Fehler", 2, true, "[2007-03-01 14:30:05] [E] Fehler"},
        {"Fehler", 2, false, "[E] Fehler"},
        {"Text", 0, false, "Text"},
        {"Unbekannt", 7, true, "[2007-03-01 14:30:05] Unbekannt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TZavLog::FormatLine(QString::fromUtf8(c.text), c.level, c.timestamp, kNow),
                  QString::fromUtf8(c.expected))
            << c.text << " level " << c.level;
}

class RunLogFolder : public ::testing::Test
{
protected:
    TempFolder temp;
    QString folder = temp.File("Log");
    TZavLog log;

    void SetUp() override
    {
        log.Folder = folder;
        log.BaseName = "QX_Update";
    }
    QStringList LogFiles() const
    {
        return QDir(folder).entryList({"QX_Update_*.log"}, QDir::Files, QDir::Name);
    }
    void MakeFile(const QString &name, qint64 size, int ageSeconds)
    {
        WriteBytes(folder + '/' + name, QByteArray(size, 'x'));
        QFile file(folder + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    }
};

TEST_F(RunLogFolder, TheFirstLineStartsADatedUtf8FileWithMarkAndCrLf)
{
    log.WriteLine("Erste Zeile äöü", 1, true);
    const QStringList files = LogFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression("^QX_Update_\\d{8}_\\d{6}\\.log$").match(files.first()).hasMatch());
    EXPECT_EQ(log.FileName(), folder + '/' + files.first());
    const QByteArray bytes = ReadBytes(log.FileName());
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF["));
    EXPECT_TRUE(bytes.endsWith(" [W] Erste Zeile \xC3\xA4\xC3\xB6\xC3\xBC\r\n"));

    log.WriteLine(QString(), 0, true);
    EXPECT_TRUE(ReadBytes(log.FileName()).endsWith("\r\n\r\n"));
    EXPECT_EQ(LogFiles().size(), 1);
}

TEST_F(RunLogFolder, ANewFileStartsOnlyOnceTheNewestReachesTheSizeLimit)
{
    MakeFile("QX_Update_20000101_000000.log", 500 * 1024 - 1, 10);
    log.WriteLine("still appended", 0, false);
    EXPECT_EQ(LogFiles(), QStringList{"QX_Update_20000101_000000.log"});
    EXPECT_TRUE(ReadBytes(folder + "/QX_Update_20000101_000000.log").endsWith("xstill appended\r\n"))
        << "no byte-order mark is put into an existing file without one";

    // Now at or above 500 x 1024 bytes: the next line goes to a new file.
    log.WriteLine("new file", 0, false);
    ASSERT_EQ(LogFiles().size(), 2);
    EXPECT_EQ(ReadBytes(log.FileName()), "\xEF\xBB\xBFnew file\r\n");
}

TEST_F(RunLogFolder, AnExistingFileIsAppendedToInTheEncodingItsMarkShows)
{
    MakeFile("QX_Update_20000101_000000.log", 0, 10);
    WriteBytes(folder + "/QX_Update_20000101_000000.log", QByteArray("\xFF\xFE", 2));
    log.WriteLine("ab", 0, false);
    EXPECT_EQ(ReadBytes(folder + "/QX_Update_20000101_000000.log"), QByteArray("\xFF\xFE" "a\0b\0\r\0\n\0", 10));
}

TEST_F(RunLogFolder, AtMostTenFilesRemainTheOldestByWriteTimeGoingFirst)
{
    // Names in the opposite order of their ages: only the write time counts.
    for (int i = 0; i < 11; ++i)
        MakeFile(QString("QX_Update_2000010%1_00000%2.log").arg(i / 10).arg(i % 10), 10, 100 + i * 10);
    MakeFile("Other_20000101_000000.log", 10, 1000);
    log.WriteLine("line", 0, true);
    const QStringList files = LogFiles();
    EXPECT_EQ(files.size(), 10);
    EXPECT_FALSE(files.contains("QX_Update_20000101_000000.log")) << "the oldest file goes";
    EXPECT_TRUE(files.contains("QX_Update_20000100_000009.log"));
    EXPECT_TRUE(QFile::exists(folder + "/Other_20000101_000000.log")) << "other names are not touched";
}

TEST_F(RunLogFolder, AnUnwritableFolderDropsLinesAndWarnsOnce)
{
    WriteBytes(temp.File("file"), "a file where the folder should be");
    log.Folder = temp.File("file/Log");
    int warnings = 0;
    QString warning;
    log.OnWarning = [&](const QString &text) {
        ++warnings;
        warning = text;
    };
    EXPECT_NO_THROW(log.WriteLine("one", 0, true));
    EXPECT_NO_THROW(log.WriteLine("two", 0, true));
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(warning, "Cannot write log file!");
}

TEST_F(RunLogFolder, AFileThatCannotBeCreatedRaisesTheWrappedError)
{
    // Folders stand where the next log files would go (for the coming seconds), so
    // creating the file fails even for root.
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 30; ++second)
        QDir().mkpath(log.NewFileName(now.addSecs(second)));
    try {
        log.WriteLine("line", 0, true);
        FAIL() << "writing must fail";
    } catch (const std::exception &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Fehler beim Schreiben der Logdatei: ")) << e.what();
        EXPECT_GT(QString::fromUtf8(e.what()).size(), 40) << "the inner message follows";
    }
}

TEST(OpenRunLog, OnlyAnUnattendedRunWithAnExistingHostProgramHasARunLog)
{
    TempFolder temp;
    WriteBytes(temp.File("app/host.exe"), "program");
    UpdateState state;
    state.HostProgram = temp.File("app/host.exe");
    EXPECT_EQ(OpenRunLog(state), nullptr) << "interactive";
    state.RunningAsSystemAccount = true;
    const auto log = OpenRunLog(state);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->Folder, temp.File("app/Log"));
    EXPECT_EQ(log->BaseName, "QX_Update");
    EXPECT_EQ(log->MaxSizeKB, 500);
    EXPECT_EQ(log->MaxFiles, 10);
    state.HostProgram = temp.File("app/missing.exe");
    EXPECT_EQ(OpenRunLog(state), nullptr) << "missing host program";
}

} // namespace
