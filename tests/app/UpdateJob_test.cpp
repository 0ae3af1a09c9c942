#include "app/UpdateGuard.h"
#include "app/UpdateJob.h"
#include "app/UpdateState.h"
#include "common/HVException.h"
#include "support/TestSupport.h"
#include "ui/translation/Translation.h"

#include <QDir>
#include <gtest/gtest.h>

using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

TEST(JobFilePath, NeedsTwoArgumentsToTakeTheFirst)
{
    const QString own = QStringLiteral("/opt/staging");
    const QString fallback = QStringLiteral("/opt/staging/qx_update.ini");
    struct Case {
        const char *name;
        QStringList arguments;
        QString path;
    };
    const Case cases[] = {
        {"no argument", {"qxupdater"}, fallback},
        {"one argument is ignored", {"qxupdater", "/tmp/job.ini"}, fallback},
        {"two arguments: the first", {"qxupdater", "/tmp/job.ini", "second"}, QStringLiteral("/tmp/job.ini")},
        {"three arguments: the first", {"qxupdater", "/tmp/a.ini", "b", "c"}, QStringLiteral("/tmp/a.ini")},
        {"empty first argument", {"qxupdater", "", "x"}, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(JobFilePath(c.arguments, own), c.path) << c.name;
}

class ReadUpdateJobTest : public ::testing::Test
{
protected:
    void TearDown() override { SetLanguage(QStringLiteral("DE")); }

    QString Job(const QByteArray &common)
    {
        const QString path = temp.File(QStringLiteral("qx_update.ini"));
        WriteBytes(path, "[COMMON]\r\n" + common);
        return path;
    }

    TempFolder temp;
    UpdateState state;
};

TEST_F(ReadUpdateJobTest, ReadsAllKeysOfCommon)
{
    const QString caption = ReadUpdateJob(Job("ORGEXECAPTION=Katalog 7\r\n"
                                              "ORGEXE=C:\\Programme\\Katalog\\katalog.exe\r\n"
                                              "ORGPARAM=-user \"a b\"\r\n"
                                              "USEHVK=C:\\Programme\\Katalog\\Zav.hvk\r\n"
                                              "LANGUAGE=FR\r\n"
                                              "PROGID=4711\r\n"
                                              "UPDATENR=12;13\r\n"),
                                          state);
    EXPECT_EQ(caption, QStringLiteral("Katalog 7"));
    EXPECT_EQ(state.HostProgram, QStringLiteral("C:/Programme/Katalog/katalog.exe"));
    EXPECT_EQ(state.HostParameters, QStringLiteral("-user \"a b\""));
    EXPECT_EQ(state.ConfigurationFile, QStringLiteral("C:/Programme/Katalog/Zav.hvk"));
    EXPECT_EQ(GetLanguage(), QStringLiteral("FR"));
    EXPECT_EQ(state.HostProcessId, 4711);
    EXPECT_EQ(state.UpdateNumber, QStringLiteral("12;13"));
}

TEST_F(ReadUpdateJobTest, DefaultsForMissingKeysAndFile)
{
    EXPECT_TRUE(ReadUpdateJob(Job("ORGEXE=/opt/host/prog\r\n"), state).isEmpty());
    EXPECT_EQ(GetLanguage(), QStringLiteral("EN"));
    EXPECT_EQ(state.HostProcessId, 0);

    UpdateState fresh;
    SetLanguage(QStringLiteral("DE"));
    EXPECT_TRUE(ReadUpdateJob(temp.File(QStringLiteral("missing.ini")), fresh).isEmpty());
    EXPECT_TRUE(fresh.HostProgram.isEmpty());
    EXPECT_EQ(GetLanguage(), QStringLiteral("EN"));
}

TEST_F(ReadUpdateJobTest, ProcessIdForms)
{
    struct Case {
        QByteArray value;
        int id;
    };
    const Case cases[] = {{"0x1F", 31}, {"$1F", 31}, {" 12", 12}, {"12abc", 0}, {"", 0}, {"-5", -5},
                          {"99999999999", 0}};
    for (const Case &c : cases) {
        UpdateState s;
        ReadUpdateJob(Job("PROGID=" + c.value + "\r\n"), s);
        EXPECT_EQ(s.HostProcessId, c.id) << c.value.constData();
    }
}

TEST_F(ReadUpdateJobTest, UnreadableJobFileRaises)
{
    // A folder stands where the job file should be.
    const QString folder = temp.File(QStringLiteral("job.ini"));
    QDir().mkpath(folder);
    EXPECT_THROW(ReadUpdateJob(folder, state), HVException);
}

TEST(UpdateJobIsValid, NeedsHostProgramForeignFolderAndProcessId)
{
    struct Case {
        const char *name;
        QString hostProgram;
        int processId;
        bool valid;
    };
    const QString staging = QStringLiteral("/tmp/staging");
    const Case cases[] = {
        {"complete", QStringLiteral("/opt/host/prog"), 42, true},
        {"no host program", QString(), 42, false},
        {"host in the staging folder", QStringLiteral("/tmp/staging/prog"), 42, false},
        {"host folder with trailing separators", QStringLiteral("/tmp/staging//prog"), 42, false},
        {"letter case differs", QStringLiteral("/tmp/Staging/prog"), 42, true},
        {"staging subfolder", QStringLiteral("/tmp/staging/sub/prog"), 42, true},
        {"no process id", QStringLiteral("/opt/host/prog"), 0, false},
    };
    for (const Case &c : cases) {
        UpdateState state;
        state.HostProgram = c.hostProgram;
        state.HostProcessId = c.processId;
        EXPECT_EQ(UpdateJobIsValid(state, staging), c.valid) << c.name;
    }
}

} // namespace
