#include "app/UpdateSequence.h"

#include "app/FinishUpdate.h"
#include "app/RecordingReporter.h"
#include "app/UpdateTestFixture.h"
#include "common/HVException.h"
#include "ui/translation/Translation.h"

#include <QElapsedTimer>
#include <QThread>
#include <sys/stat.h>

using namespace testsupport;

namespace {

QString T(const char *text)
{
    return TranslateText(text);
}

TEST(ShouldCopyStagedFile, SkipsJobAndConfigurationOnlyDirectlyInTheStagingFolder)
{
    const struct {
        const char *path;
        bool copied;
    } cases[] = {
        {"qx_update.ini", false}, {"QX_UPDATE.INI", false}, {"Zav.hvk", false},   {"zAV.HVK", false},
        {"sub/qx_update.ini", true}, {"sub/Zav.hvk", true}, {"qx_update.ini.bak", true}, {"a.dll", true},
        {"", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShouldCopyStagedFile(QString::fromUtf8(c.path)), c.copied) << c.path;
}

class UpdateSequence : public UpdateFolderFixture
{
protected:
    RecordingReporter reporter;

    void Run() { RunUpdateSequence(state, reporter, stage); }
    bool Copy(const QStringList &files)
    {
        return CopyStagedFiles(state, reporter, UpdateFoldersFor(stage, hostProgram), files);
    }
};

TEST_F(UpdateSequence, GuardRejectsJobsThatNameNoUpdate)
{
    const struct {
        const char *name;
        std::function<void(UpdateState &, QString &)> spoil;
    } cases[] = {
        {"empty host program", [](UpdateState &s, QString &) { s.HostProgram.clear(); }},
        {"process id 0", [](UpdateState &s, QString &) { s.HostProcessId = 0; }},
        {"started from the host folder", [this](UpdateState &, QString &staging) { staging = host; }},
        {"host program is a folder", [this](UpdateState &s, QString &) { s.HostProgram = host + "/sub"; }},
        {"host folder does not exist", [this](UpdateState &s, QString &) { s.HostProgram = host + "/gone/app"; }},
        {"host program without a folder", [](UpdateState &s, QString &) { s.HostProgram = "app"; }},
    };
    QDir().mkpath(host + "/sub");
    Stage("a.dll", "new");
    for (const auto &c : cases) {
        UpdateState job = state;
        QString staging = stage;
        c.spoil(job, staging);
        RecordingReporter report;
        RunUpdateSequence(job, report, staging);
        EXPECT_EQ(report.results, QStringList{"E:" + T("!!Kein Updateinformationen gefunden!")}) << c.name;
        EXPECT_EQ(report.closeCount, 1) << c.name;
        EXPECT_EQ(job.ExitCode, 1) << c.name;
        EXPECT_EQ(report.lines.size(), 3) << c.name << ": nothing but the result and the closing lines";
    }
    EXPECT_FALSE(QFile::exists(host + "/a.dll"));
    EXPECT_TRUE(QFile::exists(stage + "/a.dll"));
}

TEST_F(UpdateSequence, SilentUpdateReplacesFilesKeepsBackupsAndCleansTheStagingFolder)
{
    Install("b.dll", "old b");
    Install("sub/c.dll", "old c");
    Install("keep.txt", "untouched");
    WriteBytes(backup + "/stale.dll", "from an earlier run");
    WriteBytes(backup + "/deep/stale.dll", "from an earlier run");
    Stage("a.dll", "new a");
    Stage("b.dll", "new b");
    Stage("sub/c.dll", "new c");
    Stage("sub/qx_update.ini", "copied: not directly in the staging folder");
    Stage("qx_update.ini", "[COMMON]");
    Stage("ZAV.HVK", "<config/>");

    Run();

    EXPECT_EQ(Installed("a.dll"), "new a");
    EXPECT_EQ(Installed("b.dll"), "new b");
    EXPECT_EQ(Installed("sub/c.dll"), "new c");
    EXPECT_EQ(Installed("sub/qx_update.ini"), "copied: not directly in the staging folder");
    EXPECT_EQ(Installed("keep.txt"), "untouched");
    EXPECT_FALSE(QFile::exists(host + "/qx_update.ini"));
    EXPECT_FALSE(QFile::exists(host + "/ZAV.HVK"));
    // Backups of the replaced files only, in the same layout; the earlier run's are gone.
    EXPECT_EQ(Files(backup), (QMap<QString, QByteArray>{{"b.dll", "old b"}, {"sub/c.dll", "old c"}}));
    EXPECT_FALSE(QFileInfo::exists(backup + "/deep"));

    const QStringList texts = reporter.Texts();
    const QStringList expectedStart = {
        T("!!Aktualisiere Anwendung \"%s\"").replace("%s", "host.exe"),
        T("!!Warte auf Programmende..."),
        T("!!Anwendung beendet. Update starten..."),
        T("!!%d Dateien aktualisieren").replace("%d", "6"),
        T("!!Backupverzeichnis anlegen"),
        T("!!Verzeichnis %s angelegt").replace("%s", backup),
    };
    EXPECT_EQ(texts.mid(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(reporter.results, QStringList{"I:" + T("!!Update durchgeführt")});
    EXPECT_EQ(texts.mid(texts.size() - 2), (QStringList{"Close", ""}));
    EXPECT_EQ(reporter.closeCount, 1);
    EXPECT_EQ(state.ExitCode, 0);
    EXPECT_FALSE(state.CancelRequested);

    EXPECT_EQ(reporter.progressMax, 6);
    ASSERT_EQ(reporter.positions.size(), 5) << "position 0 at the start, then one per copied file";
    EXPECT_EQ(reporter.positions.first(), 0);
    for (int position : reporter.positions.mid(1))
        EXPECT_TRUE(position >= 0 && position < 6);

    // Staged files are gone; the subfolder stays, and with it the staging folder.
    EXPECT_TRUE(Files(stage).isEmpty());
    EXPECT_TRUE(QFileInfo(stage + "/sub").isDir());
}

TEST_F(UpdateSequence, AStagingFolderWithoutSubfoldersIsRemovedOnceEmpty)
{
    Stage("a.dll", "new a");
    Stage("qx_update.ini", "[COMMON]");
    Run();
    EXPECT_EQ(state.ExitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(stage));
}

TEST_F(UpdateSequence, AnEmptyStagingFolderIsACompleteUpdateOfNothing)
{
    const auto before = Files(host);
    Run();
    EXPECT_EQ(reporter.Texts().at(3), T("!!%d Dateien aktualisieren").replace("%d", "0"));
    EXPECT_EQ(reporter.results, QStringList{"I:" + T("!!Update durchgeführt")});
    EXPECT_EQ(Files(host, {"backup/"}), before);
}

// Faults that make one file of an ordered list fail; the files before it were replaced.
struct CopyFault {
    const char *name;
    std::function<void()> make;
    bool reportsException; // false: the error result "Fehler beim Kopieren" instead
};

TEST_F(UpdateSequence, ACopyFailureRestoresEveryFileAsItWas)
{
    const CopyFault faults[] = {
        {"target path taken by a folder holding a non-empty folder of the file's name",
         [this] {
             Install("bad.dll/bad.dll/inner.txt", "inner");
             Stage("bad.dll", "new bad");
         },
         true},
        {"source is a pipe",
         [this] { ASSERT_EQ(mkfifo((stage + "/bad.dll").toLocal8Bit().constData(), 0644), 0); },
         true},
        {"source is a link to a file outside",
         [this] {
             Install("secret.txt", "secret");
             ASSERT_TRUE(QFile::link(host + "/secret.txt", stage + "/bad.dll"));
         },
         true},
        {"source vanished after listing", [] {}, true},
    };
    for (const CopyFault &fault : faults) {
        SCOPED_TRACE(fault.name);
        QDir(stage).removeRecursively();
        QDir(host).removeRecursively();
        SetUp();
        reporter = RecordingReporter();
        Install("a.dll", "old a");
        Install("sub/b.dll", "old b");
        Install("c.dll", "old c");
        Stage("a.dll", "new a");
        Stage("new.dll", "added");
        Stage("sub/b.dll", "new b");
        Stage("sub2/added.dll", "added in a new folder");
        Stage("c.dll", "new c");
        fault.make();
        const auto before = Files(host);

        EXPECT_FALSE(Copy({"a.dll", "new.dll", "sub/b.dll", "sub2/added.dll", "bad.dll", "c.dll"}));

        EXPECT_EQ(Files(host, {"backup/"}), before);
        EXPECT_TRUE(state.CancelRequested);
        const QStringList texts = reporter.Texts();
        const qsizetype failed = texts.indexOf(T("!!Fehler beim Kopieren"));
        ASSERT_GE(failed, 0);
        EXPECT_EQ(reporter.lines.at(failed).level, 0);
        EXPECT_EQ(reporter.exceptions.size(), fault.reportsException ? 1 : 0);
        if (fault.reportsException) {
            EXPECT_TRUE(reporter.exceptions.first().contains("bad.dll")) << reporter.exceptions.first().toStdString();
        }
        EXPECT_EQ(texts.at(failed + 2), T("!!Update wird zurückgesetzt"));
        EXPECT_EQ(reporter.CountLevel(2), 1) << "only the error report, no failed restore";
        state.CancelRequested = false;
    }
}

TEST_F(UpdateSequence, AFailedRestoreIsReportedAndTheRollbackGoesOn)
{
    Install("a.dll", "old a");
    Install("b.dll", "old b");
    Stage("a.dll", "new a");
    Stage("b.dll", "new b");
    Install("bad.dll/bad.dll/x", "blocks the copy");
    Stage("bad.dll", "new bad");
    // The backup of a.dll disappears just before the rollback starts.
    reporter.onLine = [this](const QString &text) {
        if (text == T("!!Update wird zurückgesetzt"))
            QFile::remove(backup + "/a.dll");
    };

    EXPECT_FALSE(Copy({"a.dll", "b.dll", "bad.dll"}));

    EXPECT_EQ(Installed("a.dll"), "new a") << "without its backup the new version stays";
    EXPECT_EQ(Installed("b.dll"), "old b") << "the next row is still restored";
    const QStringList texts = reporter.Texts();
    const QString restoreLine = T("!!Datei %s konnte nicht wiederhergestellt werden").replace("%s", host + "/a.dll");
    bool reported = false;
    for (const auto &line : reporter.lines)
        reported |= line.level == 2 && line.text.startsWith(restoreLine);
    EXPECT_TRUE(reported) << texts.join('\n').toStdString();
}

TEST_F(UpdateSequence, ACopyFailureEndsAsCancelledWithHostFilesRestoredAndStagingCleaned)
{
    Install("a.dll", "old a");
    Install("lib/b.so", "old b");
    Stage("a.dll", "new a");
    Stage("lib/b.so", "new b");
    Stage("fresh.dll", "added");
    Install("x.dll/x.dll/y", "folder in the way");
    Stage("x.dll", "new x");
    const auto before = Files(host);

    Run();

    EXPECT_EQ(Files(host, {"backup/"}), before);
    EXPECT_EQ(reporter.results.last(), "E:" + T("!!Update abgebrochen"));
    EXPECT_EQ(state.ExitCode, 1);
    EXPECT_EQ(reporter.closeCount, 1);
    EXPECT_TRUE(Files(stage).isEmpty());
}

TEST_F(UpdateSequence, APipeOrLinkInTheStagingFolderEndsTheRunWithoutHangingOrLosingFiles)
{
    Install("a.dll", "old a");
    Stage("a.dll", "new a");
    ASSERT_EQ(mkfifo((stage + "/pipe").toLocal8Bit().constData(), 0644), 0);
    Install("target.txt", "outside the staging folder");
    ASSERT_TRUE(QFile::link(host + "/target.txt", stage + "/link"));
    const auto before = Files(host);

    Run();

    EXPECT_EQ(Files(host, {"backup/"}), before);
    EXPECT_EQ(state.ExitCode, 1);
    EXPECT_EQ(reporter.results.last(), "E:" + T("!!Update abgebrochen"));
    EXPECT_EQ(Installed("target.txt"), "outside the staging folder");
    // The link was a staged file and is deleted (itself, not what it points to); the pipe
    // is no file at all: never listed, never opened, left alone.
    EXPECT_EQ(Files(stage), (QMap<QString, QByteArray>{{"pipe", "special"}}));
}

TEST_F(UpdateSequence, InteractiveRunRestartsTheHostWithItsParametersSplitWithoutAShell)
{
    state.RunningAsSystemAccount = false;
    const QString record = root.File("args");
    state.HostParameters = QStringLiteral("--record \"%1\" \"two words\" a\\\"b $(touch %2)").arg(record, root.File("pwned"));
    Stage("a.dll", "new a");

    Run();

    EXPECT_EQ(reporter.results, QStringList{"I:" + T("!!Update durchgeführt")});
    EXPECT_EQ(reporter.closeCount, 1);
    EXPECT_EQ(state.ExitCode, 0);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(record) && timer.elapsed() < 20000)
        QThread::msleep(20);
    QThread::msleep(100);
    EXPECT_EQ(ReadBytes(record), QByteArray("two words\0a\"b\0$(touch\0", 22) + root.File("pwned").toUtf8() + ")" + QByteArray(1, '\0'));
    EXPECT_FALSE(QFile::exists(root.File("pwned")));
}

TEST_F(UpdateSequence, AFailedRestartIsReportedAndTheStagingFolderIsStillCleaned)
{
    state.RunningAsSystemAccount = false;
    QFile::setPermissions(hostProgram, QFile::ReadOwner | QFile::WriteOwner);
    WriteBytes(hostProgram, "not a program");
    Stage("a.dll", "new a");

    Run();

    EXPECT_EQ(reporter.results, (QStringList{"I:" + T("!!Update durchgeführt"),
                                             "E:" + T("!!Programm konnte nicht gestartet werden")}));
    EXPECT_EQ(reporter.closeCount, 0) << "the window stays open";
    EXPECT_EQ(state.ExitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(stage));
}

TEST_F(UpdateSequence, AnExceptionAfterTheCopyBecomesTheErrorOutcomeAndTheRestStillRuns)
{
    Stage("a.dll", "new a");
    reporter.onResult = [](bool isError, const QString &) {
        if (!isError)
            throw HVException(QStringLiteral("refresh failed"));
    };

    Run();

    EXPECT_EQ(reporter.exceptions, QStringList{"refresh failed"});
    EXPECT_EQ(reporter.results.last(), "E:" + T("!!Update mit Fehler beendet"));
    EXPECT_EQ(state.ExitCode, 1);
    EXPECT_EQ(reporter.closeCount, 1);
    EXPECT_FALSE(QFileInfo::exists(stage));
}

TEST_F(UpdateSequence, CopyFileWithRetryMakesThreeAttemptsWithAWarningBeforeEachRepeat)
{
    Stage("a.dll", "new a");
    Install("blocker", "a file where a folder is needed");
    try {
        CopyFileWithRetry(stage + "/a.dll", host + "/blocker/a.dll", reporter);
        FAIL() << "the copy cannot succeed";
    } catch (const std::exception &e) {
        EXPECT_TRUE(ExceptionMessageText(e).contains("blocker/a.dll")) << ExceptionMessageText(e).toStdString();
    }
    const QString warning = T("!!Datei %s kann nicht kopiert werden. Nochmaliger Versuch").replace("%s", "a.dll");
    ASSERT_EQ(reporter.lines.size(), 2);
    for (const auto &line : reporter.lines) {
        EXPECT_EQ(line.text, warning);
        EXPECT_EQ(line.level, 1);
    }
}

TEST_F(UpdateSequence, CopyFileWithRetryReplacesALinkAtTheTargetInsteadOfWritingThroughIt)
{
    Stage("a.dll", "new a");
    Install("outside.txt", "must stay");
    ASSERT_TRUE(QFile::link(host + "/outside.txt", host + "/a.dll"));
    CopyFileWithRetry(stage + "/a.dll", host + "/a.dll", reporter);
    EXPECT_FALSE(QFileInfo(host + "/a.dll").isSymLink());
    EXPECT_EQ(Installed("a.dll"), "new a");
    EXPECT_EQ(Installed("outside.txt"), "must stay");
}

} // namespace

namespace {

TEST_F(UpdateSequence, ACancelConfirmedBeforeTheCopyKeepsTheInstalledVersion)
{
    state.CancelRequested = true;
    state.RunningAsSystemAccount = false;
    state.HostParameters = "--record " + root.File("restarted");
    Install("a.dll", "old a");
    Stage("a.dll", "new a");
    Stage("b.dll", "new b");

    Run();

    EXPECT_EQ(Installed("a.dll"), "old a");
    EXPECT_FALSE(QFile::exists(host + "/b.dll"));
    EXPECT_EQ(reporter.results, QStringList{"E:" + T("!!Update abgebrochen")});
    EXPECT_EQ(state.ExitCode, 1);
    EXPECT_EQ(reporter.closeCount, 1) << "the host was restarted";
    EXPECT_FALSE(QFileInfo::exists(stage));
}

} // namespace

namespace {

TEST_F(UpdateSequence, TheHostRestartsInItsOwnFolderWhenTheUpdaterWorkedInTheStagingFolder)
{
    state.RunningAsSystemAccount = false;
    const QString record = root.File("cwd");
    state.HostParameters = "--record-cwd \"" + record + "\"";
    Stage("a.dll", "new a");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(stage));

    Run();

    QDir::setCurrent(previous);
    EXPECT_FALSE(QFileInfo::exists(stage));
    for (int i = 0; i < 400 && ReadBytes(record).isEmpty(); ++i)
        QThread::msleep(50);
    EXPECT_EQ(QString::fromUtf8(ReadBytes(record)), QFileInfo(host).canonicalFilePath());
}

} // namespace
