#include "app/HostWait.h"

#include "app/RecordingReporter.h"
#include "app/UpdateTestFixture.h"
#include "ui/translation/Translation.h"

#include <QProcess>

using namespace testsupport;

namespace {

bool HasEnded(int32_t pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) == "Z";
}

class HostWait : public UpdateFolderFixture
{
protected:
    RecordingReporter reporter;
    TIntList processes;
};

TEST_F(HostWait, EndsAtOnceWhenTheHostHasEndedEvenIfItsIdNowBelongsToAnotherProgram)
{
    WaitForHostExit(state, reporter, processes);
    ASSERT_EQ(reporter.lines.size(), 1);
    EXPECT_EQ(reporter.lines.first().text, TranslateText("!!Anwendung beendet. Update starten..."));
    EXPECT_EQ(reporter.lines.first().level, 0);
}

TEST_F(HostWait, WaitsUntilEveryRunningInstanceOfTheHostProgramHasEnded)
{
    // Two instances started from the host folder: the program file stays busy until both end.
    QProcess first;
    QProcess second;
    first.start(hostProgram, {"--run-ms", "300"});
    second.start(hostProgram, {"--run-ms", "900"});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());
    state.HostProcessId = int32_t(first.processId());
    const int32_t secondPid = int32_t(second.processId());

    WaitForHostExit(state, reporter, processes);

    // The wait ended only after the last instance had ended: its process is gone or a
    // zombie (nothing reaps it while this thread sleeps).
    EXPECT_TRUE(HasEnded(secondPid));
    first.waitForFinished();
    second.waitForFinished();
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(reporter.lines.size(), 1);
}

} // namespace
