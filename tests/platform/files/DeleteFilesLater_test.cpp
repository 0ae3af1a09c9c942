#include "platform/files/DeleteFilesLater.h"
#include "platform/files/TempNames.h"

#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

using testsupport::EnvGuard;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

QStringList Entries(const QString &folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    entries.sort();
    return entries;
}

// Waits (bounded) until condition holds; the script runs detached, so its work shows
// only after a while.
bool WaitUntil(const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

bool NothingNamedPwnedBelow(const QString &folder)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (it.next().contains(QStringLiteral("pwned")))
            return false;
    }
    return true;
}

} // namespace

TEST(DeleteFilesLater, DeletesExactlyTheHostileNamesAndNothingElse)
{
    TempFolder temp;
    const QString stage = temp.File("stage");
    const QString scripts = temp.File("tmp");
    QDir().mkpath(scripts);
    EnvGuard tmpdir("TMPDIR", scripts.toUtf8());
    ForgetTempFolder();

    const QStringList hostile{QStringLiteral("it's"),          QStringLiteral("say \"hi\""),   QStringLiteral("$(touch pwned1)"),
                              QStringLiteral("`touch pwned2`"), QStringLiteral("two words"),    QStringLiteral("line\nbreak"),
                              QStringLiteral("*"),              QStringLiteral("-rf"),          QStringLiteral("semi;colon && |pipe")};
    // Canaries: what a broken quoting would hit instead (split words, glob matches).
    const QStringList canaries{QStringLiteral("it"),   QStringLiteral("s"),     QStringLiteral("say"),   QStringLiteral("two"),
                               QStringLiteral("words"), QStringLiteral("line"), QStringLiteral("break"), QStringLiteral("hi"),
                               QStringLiteral("canary.dll")};
    QStringList files;
    for (const QString &name : hostile) {
        WriteBytes(stage + QLatin1Char('/') + name, "doomed");
        files.append(stage + QLatin1Char('/') + name);
    }
    for (const QString &name : canaries)
        WriteBytes(stage + QLatin1Char('/') + name, "canary");
    files.append(stage + QStringLiteral("/already-gone"));

    ASSERT_TRUE(DeleteFilesLater(stage, files));
    EXPECT_TRUE(WaitUntil([&] { return Entries(scripts).isEmpty(); })) << "the script deletes itself: " << Entries(scripts).join(QLatin1Char('|')).toStdString();
    QStringList expectedLeft = canaries;
    expectedLeft.sort();
    EXPECT_EQ(Entries(stage), expectedLeft);
    for (const QString &name : canaries)
        EXPECT_EQ(ReadBytes(stage + QLatin1Char('/') + name), QByteArray("canary")) << name.toStdString();
    EXPECT_TRUE(NothingNamedPwnedBelow(temp.Path()));
    EXPECT_TRUE(NothingNamedPwnedBelow(QDir::currentPath()));
    ForgetTempFolder();
}

TEST(DeleteFilesLater, RetriesUntilAFileCanGoThenRemovesTheFolder)
{
    TempFolder temp;
    // Everyone may work in the temporary folder; only the staging folder is closed
    // until the test opens it, so deleting its file fails at first.
    QFile::setPermissions(temp.Path(), QFileDevice::Permissions(0x7777));
    const QString stage = temp.File("stage");
    const QString scripts = temp.File("tmp");
    QDir().mkpath(scripts);
    QFile::setPermissions(scripts, QFileDevice::Permissions(0x7777));
    WriteBytes(stage + QStringLiteral("/in use.exe"), "busy");
    QFile::setPermissions(stage, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther
                                   | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    EnvGuard tmpdir("TMPDIR", scripts.toUtf8());
    const QString runner = testsupport::HelperProgram(QStringLiteral("delete_later_runner"));
    const QStringList arguments{stage, stage + QStringLiteral("/in use.exe")};
    // Root may delete anywhere: the updater's part is played by an ordinary user then.
    const int exitCode = testsupport::RunningAsRoot() ? testsupport::RunAsNobody(runner, arguments)
                                                      : QProcess::execute(runner, arguments);
    ASSERT_EQ(exitCode, 0);

    // Give the script time for a few failed rounds, then let the file go.
    QThread::msleep(700);
    EXPECT_TRUE(QFile::exists(stage + QStringLiteral("/in use.exe")));
    EXPECT_EQ(Entries(scripts).size(), 1) << "the script still waits";
    QFile::setPermissions(stage, QFileDevice::Permissions(0x7777));

    EXPECT_TRUE(WaitUntil([&] { return !QFileInfo::exists(stage); })) << "the emptied folder is removed";
    EXPECT_TRUE(WaitUntil([&] { return Entries(scripts).isEmpty(); })) << "the script deletes itself";
}

TEST(DeleteFilesLater, RefusesWhatItCannotDo)
{
    TempFolder temp;
    EnvGuard tmpdir("TMPDIR", temp.File("missing").toUtf8());
    ForgetTempFolder();
    EXPECT_FALSE(DeleteFilesLater(temp.Path(), {temp.File("x")})) << "no temporary folder for the script";
    ForgetTempFolder();
    EXPECT_FALSE(DeleteFilesLater(QString(), {}));
    EXPECT_FALSE(DeleteFilesLater(QStringLiteral("a") + QChar(0), {}));
    // A NUL cannot be part of a file name: such an entry is left out of the script.
    const QByteArray script = DeleteFilesLaterScript(QStringLiteral("/stage"), {QStringLiteral("/stage/a") + QChar(0) + QStringLiteral("b"), QStringLiteral("/stage/c")}, QStringLiteral("/tmp/s.sh"));
    EXPECT_FALSE(script.contains('\0'));
    EXPECT_TRUE(script.contains("'/stage/c'"));
    EXPECT_FALSE(script.contains("/stage/a"));
}
