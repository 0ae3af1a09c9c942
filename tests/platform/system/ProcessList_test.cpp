#include "platform/system/ProcessList.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace testsupport;

namespace {

// A copy of the sample host under a name of the test's choosing, running.
class RunningCopy
{
public:
    RunningCopy(const QString &path)
    {
        EXPECT_TRUE(QFile::copy(HelperProgram(QStringLiteral("sample_host")), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_process.start(path, {QStringLiteral("--run-ms"), QStringLiteral("30000")});
        EXPECT_TRUE(m_process.waitForStarted());
    }
    ~RunningCopy()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }
    int32_t Pid() const { return int32_t(m_process.processId()); }
    QProcess &Process() { return m_process; }

private:
    QProcess m_process;
};

TEST(ListProcessesByProgram, FindsEveryProcessOfABareNameInAnyLetterCase)
{
    TempFolder folder;
    RunningCopy first(folder.File(QStringLiteral("QxHost.exe")));
    RunningCopy second(folder.File(QStringLiteral("QxHost.exe.2")));
    TIntList list;
    ListProcessesByProgram(QStringLiteral("qxhost.EXE"), list);
    EXPECT_GE(list.IndexOf(first.Pid()), 0);
    EXPECT_LT(list.IndexOf(second.Pid()), 0) << "another program's name must not match";
    EXPECT_LT(list.IndexOf(int32_t(getpid())), 0);
}

TEST(ListProcessesByProgram, AFullPathMatchesNoProcessAndTheListIsClearedFirst)
{
    TempFolder folder;
    const QString path = folder.File(QStringLiteral("host.exe"));
    RunningCopy host(path);
    TIntList list;
    list.Add(4711);
    ListProcessesByProgram(path, list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListProcessesByProgram, AProgramReplacedWhileRunningIsStillFoundByItsName)
{
    TempFolder folder;
    const QString path = folder.File(QStringLiteral("host.exe"));
    RunningCopy host(path);
    ASSERT_TRUE(QFile::remove(path));
    TIntList list;
    ListProcessesByProgram(QStringLiteral("host.exe"), list);
    EXPECT_GE(list.IndexOf(host.Pid()), 0);
}

TEST(IsProcessAlive, TellsARunningProcessFromAnEndedOne)
{
    TempFolder folder;
    RunningCopy host(folder.File(QStringLiteral("host.exe")));
    const int32_t pid = host.Pid();
    EXPECT_TRUE(IsProcessAlive(pid));
    EXPECT_TRUE(IsProcessAlive(1));
    host.Process().terminate();
    ASSERT_TRUE(host.Process().waitForFinished());
    EXPECT_FALSE(IsProcessAlive(pid));
    EXPECT_FALSE(IsProcessAlive(0));
    EXPECT_FALSE(IsProcessAlive(-5));
}

TEST(TakeProcessSnapshot, ListsThisTestWithItsBareProgramName)
{
    bool found = false;
    for (const ProcessEntry &entry : TakeProcessSnapshot()) {
        EXPECT_FALSE(entry.ExeName.contains(QLatin1Char('/'))) << entry.ExeName.toStdString();
        if (entry.ProcessId == int32_t(getpid())) {
            found = true;
            EXPECT_EQ(entry.ExeName, QStringLiteral("ProcessList_test"));
        }
    }
    EXPECT_TRUE(found);
}

} // namespace
