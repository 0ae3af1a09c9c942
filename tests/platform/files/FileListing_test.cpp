#include "platform/files/FileListing.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

// A tree with files on two levels, a hidden file and folder, and links.
void MakeTree(const TempFolder &temp, const QString &outside)
{
    WriteBytes(temp.File("tree/top.exe"), "t");
    WriteBytes(temp.File("tree/readme.TXT"), "r");
    WriteBytes(temp.File("tree/.hidden-file"), "h");
    WriteBytes(temp.File("tree/sub/a.dll"), "a");
    WriteBytes(temp.File("tree/sub/deeper/b.dll"), "b");
    WriteBytes(temp.File("tree/.hidden-folder/c.dll"), "c");
    WriteBytes(outside + QStringLiteral("/precious.dll"), "outside");
    QFile::link(outside, temp.File("tree/link-to-outside"));
    QFile::link(outside + QStringLiteral("/precious.dll"), temp.File("tree/sub/link-to-file.dll"));
}

QStringList Listed(const QString &folder, const QString &mask, bool recursive, bool fullPaths)
{
    QStringList list;
    ListFiles(list, folder, mask, false, recursive, fullPaths);
    return list;
}

// Position of the last entry of a folder's own files must come before the first entry
// of any subfolder.
void ExpectOwnFilesFirst(const QStringList &relative)
{
    bool seenSubfolder = false;
    for (const QString &path : relative) {
        const bool inSubfolder = path.contains(QLatin1Char('/'));
        EXPECT_FALSE(seenSubfolder && !inSubfolder) << "own file after subfolder files: " << relative.join(QLatin1Char(' ')).toStdString();
        seenSubfolder = seenSubfolder || inSubfolder;
    }
}

} // namespace

TEST(FileListing, OwnFilesFirstAndRelativePaths)
{
    TempFolder temp;
    TempFolder outside;
    MakeTree(temp, outside.Path());
    const QString tree = temp.File("tree");

    const QStringList relative = Listed(tree, QString(), true, false);
    ExpectOwnFilesFirst(relative);
    QStringList sorted = relative;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{QStringLiteral(".hidden-file"), QStringLiteral("readme.TXT"), QStringLiteral("sub/a.dll"),
                                   QStringLiteral("sub/deeper/b.dll"), QStringLiteral("sub/link-to-file.dll"),
                                   QStringLiteral("top.exe")}))
        << "hidden files listed, hidden folders and folder links not entered";
    EXPECT_LT(relative.indexOf(QStringLiteral("sub/a.dll")), relative.indexOf(QStringLiteral("sub/deeper/b.dll")));

    for (const QString &folder : {tree, tree + QStringLiteral("/"), tree + QStringLiteral("//"), tree + QStringLiteral("\\")})
        EXPECT_EQ(Listed(folder, QString(), true, false), relative) << folder.toStdString();
    const QStringList full = Listed(tree, QString(), true, true);
    ASSERT_EQ(full.size(), relative.size());
    for (qsizetype i = 0; i < full.size(); ++i)
        EXPECT_EQ(full[i], tree + QLatin1Char('/') + relative[i]);
}

TEST(FileListing, MasksKindsAndAppending)
{
    TempFolder temp;
    TempFolder outside;
    MakeTree(temp, outside.Path());
    const QString tree = temp.File("tree");

    struct Case
    {
        const char *mask;
        bool recursive;
        QStringList expected;
    } cases[] = {
        {"*.dll", true, {"sub/a.dll", "sub/deeper/b.dll", "sub/link-to-file.dll"}},
        {"*.DLL", false, {}},
        {"*.txt", false, {"readme.TXT"}},
        {"TOP.EXE", false, {"top.exe"}},
        {"t?p.*", false, {"top.exe"}},
        {"sub/*.dll", false, {"sub/a.dll", "sub/link-to-file.dll"}},
        {"sub\\a.dll", false, {"sub/a.dll"}},
        {"*.none", true, {}},
    };
    for (const Case &c : cases) {
        QStringList listed = Listed(tree, QString::fromUtf8(c.mask), c.recursive, false);
        listed.sort();
        EXPECT_EQ(listed, c.expected) << c.mask;
    }

    QStringList list{QStringLiteral("kept")};
    ListFilesByKind(list, tree, QStringLiteral("*.exe"), 3);
    EXPECT_EQ(list, (QStringList{QStringLiteral("kept"), tree + QStringLiteral("/top.exe")})) << "appends";
    ClearAndListFiles(list, tree, QStringLiteral("*.exe"));
    EXPECT_EQ(list, QStringList{tree + QStringLiteral("/top.exe")});
    for (int kind : {0, 1, 2, 3}) {
        QStringList byKind;
        ListFilesByKind(byKind, tree, QStringLiteral("*.dll"), kind);
        EXPECT_EQ(byKind.size(), kind <= 1 ? 3 : 0) << kind;
        EXPECT_EQ(!byKind.isEmpty() && byKind[0].startsWith(QLatin1Char('/')), kind == 0) << kind;
    }
    QStringList none;
    ListFilesByKind(none, tree, QString(), 4);
    ListFiles(none, temp.File("missing"), QString(), true, true, true);
    ListFiles(none, tree + QChar(0), QString(), true, true, true);
    EXPECT_TRUE(none.isEmpty());
}

TEST(FileListing, EmptyFolderMeansTheCurrentFolder)
{
    TempFolder temp;
    WriteBytes(temp.File("here.txt"), "h");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.Path()));
    const QStringList listed = Listed(QString(), QString(), false, false);
    QDir::setCurrent(before);
    EXPECT_EQ(listed, QStringList{QStringLiteral("here.txt")});
}

TEST(FileListing, ProcessesMessagesWhenAsked)
{
    TempFolder temp;
    WriteBytes(temp.File("one"), "1");
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    QStringList list;
    ListFiles(list, temp.Path(), QString(), false, false, true);
    EXPECT_FALSE(fired);
    ListFiles(list, temp.Path(), QString(), true, false, true);
    EXPECT_TRUE(fired);
}

TEST(FileListing, SortFilesByDate)
{
    TempFolder temp;
    const QDateTime base(QDate(2022, 1, 1), QTime(12, 0));
    const struct
    {
        const char *name;
        int minutes;
    } files[] = {{"b", 2}, {"a", 2}, {"c", 1}, {"D", 3}};
    QStringList list;
    for (const auto &f : files) {
        const QString path = temp.File(QString::fromUtf8(f.name));
        WriteBytes(path, "x");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(base.addSecs(60 * f.minutes), QFileDevice::FileModificationTime);
        list.append(path);
    }
    list.append(temp.File("missing"));
    SortFilesByDate(list, false);
    EXPECT_EQ(list, (QStringList{temp.File("missing"), temp.File("c"), temp.File("a"), temp.File("b"), temp.File("D")}));
    SortFilesByDate(list, true);
    EXPECT_EQ(list, (QStringList{temp.File("D"), temp.File("b"), temp.File("a"), temp.File("c"), temp.File("missing")}));
}

TEST(FileListing, DeleteFolderContents)
{
    TempFolder temp;
    TempFolder outside;
    MakeTree(temp, outside.Path());
    const QString tree = temp.File("tree");

    EXPECT_TRUE(DeleteFolderContents(tree, QStringLiteral("*.dll"), false, true));
    EXPECT_FALSE(QFile::exists(temp.File("tree/sub/a.dll")));
    EXPECT_FALSE(QFileInfo(temp.File("tree/sub/link-to-file.dll")).isSymLink());
    EXPECT_EQ(ReadBytes(outside.File("precious.dll")), QByteArray("outside")) << "a link goes, not its target";
    EXPECT_TRUE(QFile::exists(temp.File("tree/top.exe")));
    EXPECT_TRUE(QFileInfo(temp.File("tree/sub/deeper")).isDir()) << "folders stay without removeFolders";

    EXPECT_TRUE(DeleteFolderContents(tree, QString(), true, true));
    EXPECT_FALSE(QFile::exists(temp.File("tree/top.exe")));
    EXPECT_FALSE(QFile::exists(temp.File("tree/.hidden-file")));
    EXPECT_TRUE(QFile::exists(temp.File("tree/.hidden-folder/c.dll"))) << "hidden folders are not entered";
    EXPECT_TRUE(QFileInfo(temp.File("tree")).isDir()) << "not empty, so it stays";

    TempFolder flat;
    WriteBytes(flat.File("f/x"), "x");
    WriteBytes(flat.File("f/sub/y"), "y");
    EXPECT_TRUE(DeleteFolderContents(flat.File("f"), QString(), true, true));
    EXPECT_FALSE(QFileInfo::exists(flat.File("f"))) << "emptied folders are removed";

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(flat.Path()));
    WriteBytes(flat.File("in-current-folder"), "c");
    EXPECT_FALSE(DeleteFolderContents(QString(), QString(), true, true));
    QDir::setCurrent(before);
    EXPECT_TRUE(QFile::exists(flat.File("in-current-folder"))) << "an empty folder text deletes nothing";
}

TEST(FileListing, DeleteFolderTreeLeavesHiddenEntriesAndLinkTargets)
{
    TempFolder temp;
    TempFolder outside;
    MakeTree(temp, outside.Path());
    WriteBytes(outside.File("inside-linked-folder.txt"), "keep");
    const QString tree = temp.File("tree");

    QStringList errors;
    EXPECT_TRUE(DeleteFolderTree(tree, true, false, &errors)) << "the tree stays for its hidden entries";
    EXPECT_EQ(errors.size(), 1) << errors.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(errors.value(0).contains(QStringLiteral("ErrorCode: ")));
    QStringList left = QDir(tree).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral(".hidden-file"), QStringLiteral(".hidden-folder")}));
    EXPECT_EQ(ReadBytes(outside.File("precious.dll")), QByteArray("outside"));
    EXPECT_EQ(ReadBytes(outside.File("inside-linked-folder.txt")), QByteArray("keep")) << "never deletes through a link";

    QFile::remove(temp.File("tree/.hidden-file"));
    QDir(temp.File("tree/.hidden-folder")).removeRecursively();
    EXPECT_FALSE(DeleteFolderTree(tree, true, false, &errors));
    EXPECT_FALSE(QFileInfo::exists(tree));

    WriteBytes(temp.File("keep/a/file"), "f");
    QDir().mkpath(temp.File("keep/empty/inner"));
    EXPECT_FALSE(DeleteFolderTree(temp.File("keep"), false, true, nullptr));
    EXPECT_TRUE(QFile::exists(temp.File("keep/a/file"))) << "keepFiles";
    EXPECT_FALSE(QFileInfo::exists(temp.File("keep/empty"))) << "empty folders go";
    EXPECT_TRUE(QFileInfo(temp.File("keep")).isDir()) << "without removeFolder";

    EXPECT_FALSE(DeleteFolderTree(QString(), true, false, &errors));
    EXPECT_FALSE(DeleteFolderTree(temp.File("missing"), true, false, nullptr));
}

TEST(FileListing, NamesAreListedExactly)
{
    // Blanks and control characters are valid in file names here: a listed path must
    // name the file, so nothing is trimmed away, and a name of blanks ends nothing.
    TempFolder temp;
    const QStringList names{QStringLiteral(" lead"), QStringLiteral("trail "), QStringLiteral("   "),
                            QStringLiteral("ctl\x01\x1f"), QStringLiteral("new\nline"), QStringLiteral("z-last")};
    for (const QString &name : names)
        WriteBytes(temp.File(QStringLiteral("sub/") + name), name.toUtf8());
    QStringList listed;
    ListFiles(listed, temp.Path(), QString(), false, true, false);
    QStringList expected;
    for (const QString &name : names)
        expected.append(QStringLiteral("sub/") + name);
    expected.sort();
    listed.sort();
    EXPECT_EQ(listed, expected);
    for (const QString &path : std::as_const(listed))
        EXPECT_EQ(ReadBytes(temp.File(path)), path.mid(4).toUtf8()) << path.toStdString();
}
