// The updater's real window in interactive mode, run from a staging folder against a
// real host folder and host process; a user stand-in answers the dialogs
// (tests/helpers/interactive_updater).
#include "app/EndToEndFixture.h"
#include "ui/translation/Translation.h"

#include <QThread>
#include <sys/stat.h>

using namespace testsupport;

namespace {

QString T(const char *text)
{
    return TranslateText(text);
}

class EndToEndInteractive : public EndToEndFixture
{
protected:
    QString dialogs = root.File("dialogs.txt");
    QString restarted = root.File("restarted");

    void SetUp() override
    {
        EndToEndFixture::SetUp();
        if (IsSkipped())
            return;
        // The window with the user stand-in takes the updater's place in the staging folder.
        QFile::remove(updater);
        ASSERT_TRUE(QFile::copy(HelperProgram("interactive_updater"), updater));
        QFile::setPermissions(updater, QFile::permissions(HelperProgram("interactive_updater")));
    }

    int RunWindow(bool pressCancel = false)
    {
        EnvGuard log("QX_DIALOG_LOG", dialogs.toUtf8());
        EnvGuard cancel("QX_PRESS_CANCEL", pressCancel ? "1" : "0");
        return RunUpdater();
    }

    QStringList Dialogs() const { return QString::fromUtf8(ReadBytes(dialogs)).split('\n', Qt::SkipEmptyParts); }

    QList<QByteArray> RestartArguments() const
    {
        for (int i = 0; i < 400 && !QFile::exists(restarted); ++i)
            QThread::msleep(50);
        QThread::msleep(100);
        QList<QByteArray> arguments = ReadBytes(restarted).split('\0');
        if (!arguments.isEmpty() && arguments.last().isEmpty())
            arguments.removeLast();
        return arguments;
    }
};

TEST_F(EndToEndInteractive, UpdatesShowsTheResultAndRestartsTheHostWithItsParameters)
{
    Install("lib/catalog.so", "version 1");
    Stage("lib/catalog.so", "version 2");
    Stage("plugins/new.jar", "added");
    QProcess running;
    StartHost(running, {"--run-ms", "800"});
    WriteJob(hostProgram, int32_t(running.processId()),
             QString("--record \"%1\" \"Teile Katalog\" /x=\\\"1\\\" C:\\Daten\\").arg(restarted));

    ASSERT_EQ(RunWindow(), 0);

    EXPECT_EQ(Dialogs(), QStringList{T("!!Update durchgeführt")});
    EXPECT_EQ(Installed("lib/catalog.so"), "version 2");
    EXPECT_EQ(Installed("plugins/new.jar"), "added");
    EXPECT_EQ(RestartArguments(), (QList<QByteArray>{"Teile Katalog", "/x=\"1\"", "C:\\Daten\\"}));
    EXPECT_FALSE(QDir(host + "/Log").exists()) << "no run log in interactive mode";
    EXPECT_TRUE(Files(stage).isEmpty());
}

TEST_F(EndToEndInteractive, ACopyFailureShowsTheErrorRollsBackAndRestartsTheOldVersion)
{
    Install("a.dll", "old a");
    Install("z.dll/z.dll/inner", "a folder where the file belongs");
    Stage("a.dll", "new a");
    Stage("z.dll", "new z");
    WriteJob(hostProgram, 1, "--record \"" + restarted + "\" again");
    const auto before = Files(host);

    ASSERT_EQ(RunWindow(), 1);

    EXPECT_EQ(Files(host, {"backup/"}), before);
    const QStringList shown = Dialogs();
    ASSERT_EQ(shown.size(), 2) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.first().contains("z.dll")) << "the exception report names the file";
    EXPECT_EQ(shown.last(), T("!!Update abgebrochen"));
    EXPECT_EQ(RestartArguments(), QList<QByteArray>{"again"});
}

TEST_F(EndToEndInteractive, CancelBeforeTheStartKeepsTheInstalledVersion)
{
    Install("a.dll", "old a");
    Stage("a.dll", "new a");
    WriteJob(hostProgram, 1, "--record \"" + restarted + "\"");

    ASSERT_EQ(RunWindow(true), 1);

    EXPECT_EQ(Dialogs(), (QStringList{T("!!Wollen Sie das Update abbrechen?"), T("!!Update abgebrochen")}));
    EXPECT_EQ(Installed("a.dll"), "old a");
    EXPECT_EQ(RestartArguments(), QList<QByteArray>{});
    EXPECT_TRUE(QFile::exists(restarted)) << "the host is restarted after a cancel too";
}

TEST_F(EndToEndInteractive, AnUnreadableSourceRollsBackForAnOrdinaryUser)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "needs root to hand the folders to the user 65534";
    Install("a.dll", "old a");
    Install("b.dll", "old b");
    Stage("a.dll", "new a");
    Stage("b.dll", "new b");
    Stage("c.dll", "new c");
    WriteJob(hostProgram, 1, "--record \"" + restarted + "\"");
    const auto before = Files(host);
    ASSERT_EQ(QProcess::execute("chown", {"-R", "65534:65534", root.Path()}), 0);
    ASSERT_EQ(chmod(root.Path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(chmod((stage + "/b.dll").toLocal8Bit().constData(), 0), 0);

    QByteArray output;
    const int code = RunAsNobody("/usr/bin/env", {"QX_DIALOG_LOG=" + dialogs, "QX_PRESS_CANCEL=0", updater}, 120000, &output);

    ASSERT_EQ(code, 1) << output.toStdString();
    QFile::setPermissions(stage + "/b.dll", QFile::ReadOwner);
    EXPECT_EQ(Files(host, {"backup/"}), before);
    const QStringList shown = Dialogs();
    ASSERT_EQ(shown.size(), 2) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.first().contains("b.dll"));
    EXPECT_EQ(shown.last(), T("!!Update abgebrochen"));
}

} // namespace
