#include "platform/files/PathText.h"

#include <QFileInfo>
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

struct TextCase
{
    const char *input;
    const char *expected;
};

template <typename Function, size_t N>
void ExpectAll(const char *operation, Function function, const TextCase (&cases)[N])
{
    for (const TextCase &c : cases)
        EXPECT_EQ(function(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << operation << "(\"" << c.input << "\")";
}

} // namespace

TEST(PathText, ExcludeTrailingSeparators)
{
    const TextCase cases[] = {
        {"C:\\dir\\\\/", "C:\\dir"}, {"/opt/app///", "/opt/app"}, {"\\/\\/", ""}, {"/", ""}, {"", ""}, {"name", "name"},
    };
    ExpectAll("ExcludeTrailingSeparators", ExcludeTrailingSeparators, cases);
}

TEST(PathText, FolderAndNameParts)
{
    const TextCase paths[] = {
        {"C:\\a.exe", "C:\\"}, {"C:\\dir\\a.exe", "C:\\dir\\"}, {"/opt/app/a.so", "/opt/app/"}, {"/a", "/"},
        {"a.txt", ""}, {"C:a.txt", "C:"}, {"/opt/a:b/c:d", "/opt/a:b/"}, {"dir/", "dir/"}, {"", ""},
    };
    ExpectAll("ExtractFilePath", ExtractFilePath, paths);
    const TextCase dirs[] = {
        {"C:\\a.exe", "C:\\"}, {"C:\\dir\\a.exe", "C:\\dir"}, {"/opt/app/a.so", "/opt/app"}, {"/a.exe", "/"},
        {"\\\\server\\a", "\\\\server"}, {"//a", "//"}, {"a.txt", ""}, {"", ""},
    };
    ExpectAll("ExtractFileDir", ExtractFileDir, dirs);
    const TextCase names[] = {
        {"C:\\dir\\a.exe", "a.exe"}, {"/opt/app/a.so", "a.so"}, {"C:a.txt", "a.txt"}, {"/opt/x/a:b", "a:b"},
        {"mixed\\sep/name", "name"}, {"dir/", ""}, {"", ""},
    };
    ExpectAll("ExtractFileName", ExtractFileName, names);
    const TextCase exts[] = {
        {"/opt/a.tar.gz", ".gz"}, {"/opt/a.b/c", ""}, {"C:\\x.y\\z", ""}, {"name.", "."}, {".hidden", ".hidden"},
        {"noext", ""},
    };
    ExpectAll("ExtractFileExt", ExtractFileExt, exts);
}

TEST(PathText, ExtractFilePathUpTo)
{
    EXPECT_EQ(ExtractFilePathUpTo(QStringLiteral("/opt/app/prog"), QStringLiteral("\\")), QStringLiteral("/opt/app/"));
    EXPECT_EQ(ExtractFilePathUpTo(QStringLiteral("C:\\app\\prog"), QStringLiteral("/")), QStringLiteral("C:\\app\\"));
    EXPECT_EQ(ExtractFilePathUpTo(QStringLiteral("a-b-c"), QStringLiteral("-")), QStringLiteral("a-b-"));
    EXPECT_EQ(ExtractFilePathUpTo(QStringLiteral("C:prog"), QStringLiteral("\\")), QStringLiteral("C:"));
    EXPECT_EQ(ExtractFilePathUpTo(QStringLiteral("prog"), QStringLiteral("\\")), QString());
}

TEST(PathText, ExtensionEditing)
{
    EXPECT_EQ(GetFileExtWithoutDot(QStringLiteral("/a/b.jar"), QStringLiteral("DLL")), QStringLiteral("jar"));
    EXPECT_EQ(GetFileExtWithoutDot(QStringLiteral("/a/b"), QStringLiteral("DLL")), QStringLiteral("DLL"));
    EXPECT_EQ(RemoveFileExtension(QStringLiteral("/a.d/b.hvk"), false), QStringLiteral("/a.d/b"));
    EXPECT_EQ(RemoveFileExtension(QStringLiteral("/a.d/b.hvk"), true), QStringLiteral("b"));
    EXPECT_EQ(RemoveFileExtension(QStringLiteral("/a.d/b"), false), QStringLiteral("/a.d/b"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("/x/config.hvk"), QStringLiteral(".~hvk")), QStringLiteral("/x/config.~hvk"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("/x.y/config"), QStringLiteral(".log")), QStringLiteral("/x.y/config.log"));
}

TEST(PathText, AppendBackslash)
{
    const TextCase cases[] = {{"/opt", "/opt/"}, {"/opt/", "/opt/"}, {"C:\\x\\", "C:\\x\\"}, {"", ""}};
    ExpectAll("AppendBackslash", AppendBackslash, cases);
}

TEST(PathText, AbsolutePathsIncludeTheForeignForms)
{
    struct Case
    {
        const char *path;
        bool absolute;
    } cases[] = {
        {"/opt/app", true}, {"\\\\server\\share", true}, {"C:\\x", true}, {"C:", true}, {"\\x", true},
        {"setup.exe", false}, {"sub/setup.exe", false}, {"sub\\setup.exe", false}, {"", false}, {"C", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsAbsolutePath(QString::fromUtf8(c.path)), c.absolute) << c.path;
}

TEST(PathText, WildcardsAndSanitizing)
{
    EXPECT_TRUE(HasWildcards(QStringLiteral("*.dll")));
    EXPECT_TRUE(HasWildcards(QStringLiteral("a?c")));
    EXPECT_FALSE(HasWildcards(QStringLiteral("a.dll")));
    EXPECT_EQ(SanitizeFileName(QStringLiteral("a\nb\rc\"d*e/f:g<h>i?j[k\\l]m|n")), QStringLiteral("a_b_c_d_e_f_g_h_i_j_k_l_m_n"));
    EXPECT_EQ(SanitizeFileName(QStringLiteral("{1234-abcd} ok.txt")), QStringLiteral("{1234-abcd} ok.txt"));
    EXPECT_EQ(SanitizeFileName(QString()), QString());
}

TEST(PathText, OwnFolderIsTheProgramsFolder)
{
    EXPECT_EQ(GetOwnFolder(), QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
}

TEST(PathText, HostileTextDoesNotBreakThePathFunctions)
{
    const QString huge(1 << 20, QLatin1Char('\\'));
    const QString control = QStringLiteral("a\x01\x02/\x7f:b") + QChar(0) + QStringLiteral("c");
    for (const QString &text : {huge, control, QString(), QStringLiteral(":"), QStringLiteral(".")}) {
        ExcludeTrailingSeparators(text);
        ExtractFileDir(text);
        ExtractFileName(text);
        RemoveFileExtension(text, true);
        ExtractFilePathUpTo(text, QString());
        IsAbsolutePath(text);
    }
    EXPECT_EQ(ExcludeTrailingSeparators(huge), QString());
    EXPECT_EQ(ExtractFileName(control), QStringLiteral("\x7f:b") + QChar(0) + QStringLiteral("c"));
}
