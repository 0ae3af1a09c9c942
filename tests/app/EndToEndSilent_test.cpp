// The real updater, unattended (as root), against a real host folder and host process.
#include "app/EndToEndFixture.h"
#include "ui/translation/Translation.h"

using namespace testsupport;

namespace {

class EndToEndSilent : public EndToEndFixture
{
protected:
    void SetUp() override
    {
        if (!RunningAsRoot())
            GTEST_SKIP() << "the unattended mode needs the updater to run as root";
        EndToEndFixture::SetUp();
    }
};

QString T(const char *text)
{
    return TranslateText(text);
}

TEST_F(EndToEndSilent, WaitsForTheRunningHostThenReplacesItsFilesAndLogsTheRun)
{
    Install("lib/catalog.so", "version 1");
    Install("readme.txt", "notes 1");
    Install("data/parts.dat", "customer data");
    Stage("lib/catalog.so", "version 2");
    Stage("readme.txt", "notes 2");
    Stage("lib/new.so", "added");
    QProcess running;
    const QString seen = root.File("seen-by-host");
    StartHost(running, {"--run-ms", "1500", "--observe", host + "/lib/catalog.so", seen});
    WriteJob(hostProgram, int32_t(running.processId()), "--record " + root.File("restarted"));

    ASSERT_EQ(RunUpdater(), 0);

    ASSERT_TRUE(running.waitForFinished());
    EXPECT_EQ(ReadBytes(seen), "version 1") << "nothing was replaced while the host ran";
    EXPECT_EQ(Installed("lib/catalog.so"), "version 2");
    EXPECT_EQ(Installed("lib/new.so"), "added");
    EXPECT_EQ(Installed("readme.txt"), "notes 2");
    EXPECT_EQ(Installed("data/parts.dat"), "customer data");
    EXPECT_EQ(ReadBytes(backup + "/lib/catalog.so"), "version 1");
    EXPECT_EQ(ReadBytes(host + "/qxupdater"), ReadBytes(QX_BIN_DIR "/qxupdater")) << "the updater is a staged file too";
    EXPECT_FALSE(QFile::exists(host + "/qx_update.ini"));
    EXPECT_FALSE(QFile::exists(root.File("restarted"))) << "an unattended run never starts the host";
    EXPECT_TRUE(Files(stage).isEmpty()) << "staged files are deleted, the running updater's own included";

    const QStringList log = RunLogLines();
    ASSERT_GE(log.size(), 8) << log.join('\n').toStdString();
    EXPECT_EQ(log.first(), T("!!Aktualisiere Anwendung \"%s\"").replace("%s", "host.exe"));
    EXPECT_TRUE(log.contains(T("!!Anwendung beendet. Update starten...")));
    EXPECT_TRUE(log.contains(T("!!%d Dateien aktualisieren").replace("%d", "5")));
    EXPECT_TRUE(log.contains(T("!!Update durchgeführt")));
    EXPECT_EQ(log.mid(log.size() - 3), (QStringList{"Close", "", ""})) << "Close, the empty line, the final line break";
}

TEST_F(EndToEndSilent, ACopyFailureRollsBackEveryFileAndEndsWithExitCode1)
{
    Install("a.dll", "old a");
    Install("b.dll/b.dll/inner.txt", "a folder where the file belongs");
    Stage("a.dll", "new a");
    Stage("b.dll", "new b");
    Stage("c.dll", "new c");
    WriteJob(hostProgram, 1);
    const auto before = Files(host);

    ASSERT_EQ(RunUpdater(), 1);

    EXPECT_EQ(Files(host, {"backup/", "Log/"}), before);
    const QStringList log = RunLogLines();
    const qsizetype failed = log.indexOf(T("!!Fehler beim Kopieren"));
    ASSERT_GE(failed, 0) << log.join('\n').toStdString();
    EXPECT_TRUE(log.at(failed + 1).startsWith("[E] ")) << log.at(failed + 1).toStdString();
    EXPECT_TRUE(log.at(failed + 1).contains("b.dll"));
    EXPECT_EQ(log.at(failed + 2), T("!!Update wird zurückgesetzt"));
    EXPECT_TRUE(log.contains("[E] " + T("!!Update abgebrochen")));
}

TEST_F(EndToEndSilent, BadJobsEndWithAClearOutcomeAndLoseNothing)
{
    Install("a.dll", "old a");
    Stage("a.dll", "new a");
    const auto before = Files(host);

    // The program path names a folder: nothing to wait for, nothing to update.
    QDir().mkpath(host + "/folder.exe");
    WriteJob(host + "/folder.exe", 1);
    EXPECT_EQ(RunUpdater(), 1);
    EXPECT_EQ(Files(host), before);
    EXPECT_EQ(ReadBytes(stage + "/a.dll"), "new a") << "a rejected job leaves the staging folder alone";

    // The process id belongs to another program (init): the update does not wait for it.
    WriteJob(hostProgram, 1);
    EXPECT_EQ(RunUpdater(), 0);
    EXPECT_EQ(Installed("a.dll"), "new a");
}

} // namespace
