#include "common/HVException.h"
#include "platform/files/PathText.h"
#include "platform/files/TempNames.h"
#include "platform/system/SystemFile.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using testsupport::EnvGuard;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

constexpr quint32 kSeed = 20240611;

QStringList Entries(const QString &folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    entries.sort();
    return entries;
}

// The next count names the generator gives after seeding, found by creating them.
QStringList NamesAfterSeed(const QString &folder, int count)
{
    SeedUniqueNameGenerator(kSeed);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString name = MakeUniqueFileName(folder, QStringLiteral("tmp"));
        names.append(ExtractFileName(name));
        QFile::remove(name);
    }
    return names;
}

// Everything an attacker could have aimed the planted links at.
struct Targets
{
    TempFolder outside;
    Targets() { WriteBytes(outside.File("victim"), "untouched"); }
    void ExpectUntouched() const
    {
        EXPECT_EQ(Entries(outside.Path()), QStringList{QStringLiteral("victim")});
        EXPECT_EQ(ReadBytes(outside.File("victim")), QByteArray("untouched"));
    }
};

} // namespace

TEST(TempNames, UniqueNamesHaveTheirFormAndAreCreated)
{
    TempFolder temp;
    const QString name = MakeUniqueFileName(temp.Path(), QStringLiteral("bat"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]{12}\\.bat$")).match(ExtractFileName(name)).hasMatch()) << name.toStdString();
    EXPECT_EQ(ExtractFileDir(name), temp.Path());
    EXPECT_TRUE(QFileInfo(name).isFile()) << "an empty placeholder holds the name";
    EXPECT_EQ(QFileInfo(name).size(), 0);
    EXPECT_EQ(QFileInfo(name).permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther), 0);

    SystemFile file;
    const QString open = CreateUniqueFile(temp.Path(), QStringLiteral("sh"), file);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_TRUE(file.Write(QByteArray("written")));
    file.Close();
    EXPECT_EQ(ReadBytes(open), QByteArray("written"));

    EXPECT_NE(NamesAfterSeed(temp.Path(), 3)[0], QString());
    EXPECT_EQ(NamesAfterSeed(temp.Path(), 3), NamesAfterSeed(temp.Path(), 3)) << "seeding repeats the names";

    EXPECT_EQ(MakeUniqueFileName(temp.File("missing"), QStringLiteral("tmp")), QString());
    EXPECT_EQ(MakeUniqueFileName(QString(), QStringLiteral("tmp")), QString());
    EXPECT_EQ(CreateUniqueFolder(temp.File("missing"), QStringLiteral("tmp")), QString());
}

TEST(TempNames, PlantedLinksAtTheChosenNamesAreNeverFollowed)
{
    TempFolder temp;
    Targets targets;
    const QString folder = temp.File("names");
    QDir().mkpath(folder);
    const QStringList names = NamesAfterSeed(folder, 6);
    // Links to an existing file, to a missing file and to a folder outside, and a folder.
    QFile::link(targets.outside.File("victim"), folder + QLatin1Char('/') + names[0]);
    QFile::link(targets.outside.File("created-through-link"), folder + QLatin1Char('/') + names[1]);
    QFile::link(targets.outside.Path(), folder + QLatin1Char('/') + names[2]);
    QDir().mkpath(folder + QLatin1Char('/') + names[3]);

    SeedUniqueNameGenerator(kSeed);
    const QString chosen = MakeUniqueFileName(folder, QStringLiteral("tmp"));
    EXPECT_EQ(ExtractFileName(chosen), names[4]);
    EXPECT_TRUE(QFileInfo(chosen).isFile() && !QFileInfo(chosen).isSymLink());
    targets.ExpectUntouched();

    // The same in the temporary folder.
    EnvGuard tmpdir("TMPDIR", folder.toUtf8());
    ForgetTempFolder();
    QFile::remove(chosen);
    SeedUniqueNameGenerator(kSeed);
    EXPECT_EQ(MakeUniqueTempFileName(QStringLiteral("tmp")), chosen);
    targets.ExpectUntouched();
    ForgetTempFolder();
}

TEST(TempNames, FolderProbesNeverFollowPlantedLinks)
{
    TempFolder temp;
    Targets targets;
    const QString folder = temp.File("probed");
    QDir().mkpath(folder);
    const QStringList names = NamesAfterSeed(folder, 3);
    // The probe folder would be names[0]: a link to a folder outside sits there.
    QFile::link(targets.outside.Path(), folder + QLatin1Char('/') + names[0]);

    SeedUniqueNameGenerator(kSeed);
    EXPECT_TRUE(IsFolderWritable(folder));
    targets.ExpectUntouched();
    EXPECT_EQ(Entries(folder), QStringList{names[0]}) << "the probe leaves nothing of its own";
}

TEST(TempNames, IsFolderWritableAndCreateWritableFolder)
{
    TempFolder temp;
    EXPECT_TRUE(IsFolderWritable(temp.File("created/on/the/way")));
    EXPECT_TRUE(QFileInfo(temp.File("created/on/the/way")).isDir());
    EXPECT_TRUE(Entries(temp.File("created/on/the/way")).isEmpty());
    EXPECT_TRUE(IsFolderWritable(temp.Path() + QStringLiteral("///")));
    WriteBytes(temp.File("file"), "f");
    EXPECT_FALSE(IsFolderWritable(temp.File("file")));
    EXPECT_FALSE(IsFolderWritable(QString()));
    EXPECT_FALSE(IsFolderWritable(QStringLiteral("///")));

    EXPECT_FALSE(CreateWritableFolder(QString()));
    EXPECT_TRUE(CreateWritableFolder(temp.File("new/")));
    EXPECT_TRUE(QFileInfo(temp.File("new")).isDir());

    if (testsupport::RunningAsRoot()) {
        QFile::setPermissions(temp.Path(), QFileDevice::Permissions(0x7777)); // rwx for everyone
        QDir().mkpath(temp.File("root-only"));
        QFile::setPermissions(temp.File("root-only"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                        | QFileDevice::ReadOther | QFileDevice::ExeOther);
        QByteArray output;
        testsupport::RunAsNobody(testsupport::HelperProgram(QStringLiteral("file_services_runner")),
                                 {QStringLiteral("writable"), temp.File("root-only")}, 60000, &output);
        EXPECT_EQ(output.trimmed(), QByteArray("not writable"));
        EXPECT_TRUE(Entries(temp.File("root-only")).isEmpty());
    }
}

TEST(TempNames, GetTempFolderChecksOnceAndCaches)
{
    TempFolder temp;
    ForgetTempFolder();
    {
        EnvGuard tmpdir("TMPDIR", (temp.Path() + QStringLiteral("//")).toUtf8());
        EXPECT_EQ(GetTempFolder(), temp.Path());
        EXPECT_TRUE(Entries(temp.Path()).isEmpty()) << "the test file is gone";
    }
    {
        EnvGuard tmpdir("TMPDIR", temp.File("missing").toUtf8());
        EXPECT_EQ(GetTempFolder(), temp.Path()) << "cached";
        ForgetTempFolder();
        try {
            GetTempFolder();
            FAIL() << "a missing temporary folder must raise";
        } catch (const HVException &e) {
            EXPECT_EQ(e.WideMessage(), QStringLiteral("Cannot write to temp-directory: ") + temp.File("missing"));
        }
    }
    {
        EnvGuard tmpdir("TMPDIR", QByteArray(""));
        ForgetTempFolder();
        EXPECT_EQ(GetTempFolder(), QStringLiteral("/tmp"));
    }
    ForgetTempFolder();
}

TEST(TempNames, GetWritableTempFolder)
{
    TempFolder temp;
    TempFolder other;
    struct Case
    {
        const char *name;
        QByteArray tmp;
        QByteArray temp;
        QString expected;
    } cases[] = {
        {"TMP", temp.Path().toUtf8(), other.Path().toUtf8(), temp.Path()},
        {"TMP trimmed", "  " + temp.Path().toUtf8() + "// ", QByteArray(), temp.Path()},
        {"TEMP when TMP is empty", "", other.Path().toUtf8(), other.Path()},
        {"TEMP when TMP is unset", QByteArray(), other.Path().toUtf8(), other.Path()},
        {"the system folder", QByteArray(), QByteArray(), temp.File("system")},
        {"fallback when not writable", temp.File("missing").toUtf8(), QByteArray(), QStringLiteral("/var/tmp")},
    };
    QDir().mkpath(temp.File("system"));
    EnvGuard tmpdir("TMPDIR", temp.File("system").toUtf8());
    for (const Case &c : cases) {
        EnvGuard tmp("TMP", c.tmp);
        EnvGuard tempVariable("TEMP", c.temp);
        EXPECT_EQ(GetWritableTempFolder(), c.expected) << c.name;
    }
    EXPECT_TRUE(Entries(temp.Path()) == QStringList{QStringLiteral("system")});
    EXPECT_TRUE(Entries(temp.File("system")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp.File("missing"))) << "the answer creates no folder";
}
