// The program as a whole: started without a display it runs off screen, and as the
// system account (root) it never waits for a user.
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

int RunUpdater(const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(QX_BIN_DIR "/qxupdater"), arguments);
    if (!process.waitForStarted(10000))
        return -1;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -2;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
}

class QxUpdaterProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::RunningAsRoot())
            GTEST_SKIP() << "needs root: as an ordinary user the program waits for the user to answer";
    }
    TempFolder temp;
};

TEST_F(QxUpdaterProgram, WithoutJobItEndsWithExitCodeOne)
{
    QByteArray output;
    EXPECT_EQ(RunUpdater({}, &output), 1) << output.constData();
    // A single argument is ignored: the job next to the program is missing too.
    const QString job = temp.File(QStringLiteral("job.ini"));
    WriteBytes(job, "[COMMON]\r\nORGEXE=/opt/host/prog\r\nPROGID=1\r\n");
    EXPECT_EQ(RunUpdater({job}), 1);
}

TEST_F(QxUpdaterProgram, UnreadableJobEndsWithExitCodeOne)
{
    const QString folder = temp.File(QStringLiteral("job.ini"));
    QDir().mkpath(folder);
    EXPECT_EQ(RunUpdater({folder, QStringLiteral("x")}), 1);
    EXPECT_EQ(RunUpdater({temp.File(QStringLiteral("missing.ini")), QStringLiteral("x")}), 1);
}

} // namespace
