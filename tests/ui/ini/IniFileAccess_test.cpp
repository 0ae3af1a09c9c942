// A job file that exists but cannot be read must fail loudly at once, never read as an
// empty document (which would silently run an update without its settings).
#include "common/HVException.h"
#include "platform/files/TextFileWriter.h"
#include "support/TestSupport.h"
#include "ui/ini/TBigIniFile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Outcome
{
    int exitCode;
    QString output;
};

// Loads path as an ordinary user: in a helper process when the tests run as root,
// otherwise right here.
Outcome LoadAsOrdinaryUser(const QString &path)
{
    if (RunningAsRoot()) {
        QByteArray output;
        const int code = RunAsNobody(HelperProgram(QStringLiteral("ini_load_probe")), {path}, 30000, &output);
        return {code, QString::fromUtf8(output).trimmed()};
    }
    try {
        TBigIniFile ini(path, false);
        return {0, QStringLiteral("loaded ") + ini.ReadString("S", "k", "-")};
    } catch (const HVException &e) {
        return {2, e.WideMessage()};
    }
}

class IniFileAccessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Others may enter the test folder; each case narrows what it needs.
        QFile::setPermissions(m_folder.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                   | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                                   | QFile::ExeGroup);
    }

    QString MakeFile(const QString &relative, QFile::Permissions permissions)
    {
        const QString path = m_folder.File(relative);
        WriteBytes(path, "[S]\nk=v\n");
        QFile::setPermissions(path, permissions);
        return path;
    }

    TempFolder m_folder;
};

constexpr QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

TEST_F(IniFileAccessTest, ReadableAndMissingFilesLoad)
{
    const Outcome readable = LoadAsOrdinaryUser(MakeFile("ok.ini", kReadable));
    ASSERT_EQ(readable.exitCode, 0) << readable.output.toStdString();
    EXPECT_EQ(readable.output, "loaded v");
    const Outcome missing = LoadAsOrdinaryUser(m_folder.File("missing.ini"));
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.output, "loaded -");
}

TEST_F(IniFileAccessTest, UnreadableFileRaises)
{
    const QString path = MakeFile("locked.ini", QFile::WriteOwner);
    const Outcome outcome = LoadAsOrdinaryUser(path);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.output, QStringLiteral("Cannot open file ") + path);
}

TEST_F(IniFileAccessTest, FileInAFolderThatCannotBeSearchedRaises)
{
    const QString path = MakeFile("closed/job.ini", kReadable);
    QFile::setPermissions(m_folder.File("closed"), QFile::ReadOwner | QFile::WriteOwner);
    const Outcome outcome = LoadAsOrdinaryUser(path);
    QFile::setPermissions(m_folder.File("closed"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                       | QFile::ExeOther);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.output, QStringLiteral("Cannot open file ") + path);
}

TEST_F(IniFileAccessTest, FileLockedByAWriterRaisesAtOnce)
{
    const QString path = MakeFile("busy.ini", kReadable);
    TUnicodeFileWriter writer(path, false, false, false, true); // holds it exclusively
    try {
        TBigIniFile ini(path, false);
        ADD_FAILURE() << "loaded a file that a writer holds";
    } catch (const HVException &e) {
        EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot open file ") + path);
    }
}

} // namespace
