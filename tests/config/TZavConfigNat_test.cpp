#include "config/ConfigTestSupport.h"
#include "config/TZavConfigNat.h"
#include "common/HVException.h"
#include "support/TestSupport.h"
#include "ui/ini/TFont.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace configtest;

namespace {

const QString kNotLoaded = QStringLiteral("Programmfehler: Dem Konfigurationsobjekt wurde noch keine Konfigurationsdatei zugewiesen");

class RouterTest : public ::testing::Test
{
protected:
    TempFolder folder;
    QString mainPath = folder.File(QStringLiteral("Zav.hvk"));
    TZavConfigNat router;
    void Load() { ASSERT_TRUE(router.LoadFromFile(mainPath, true)); }
};

TEST_F(RouterTest, NothingLoaded)
{
    EXPECT_FALSE(router.IsLoaded());
    EXPECT_FALSE(router.CheckReadOnly(true));
    EXPECT_EQ(ErrorOf([&] { router.ReadString(QStringLiteral("A"), QString()); }), kNotLoaded);
    EXPECT_EQ(ErrorOf([&] { router.WriteValue(QStringLiteral("A"), QStringLiteral("n"), QString()); }), kNotLoaded);
    EXPECT_FALSE(router.LoadFromFile(QString(), true));
    EXPECT_FALSE(router.IsLoaded());
    EXPECT_EQ(ErrorOf([&] { router.LoadFromFile(QStringLiteral("a?.hvk"), false); }), QString::fromUtf8("Ungültiger Dateiname übergeben"));
    EXPECT_EQ(ErrorOf([&] { router.SetDllUTF8Mode(true); }), QStringLiteral("Funktion: SetDllUTF8Mode kann in Exe nicht verwendet werden"));
    EXPECT_EQ(ErrorOf([&] { router.SetDllCallBackFunction(nullptr); }),
              QStringLiteral("Funktion: SetDllCallBackFunction kann in Exe nicht verwendet werden"));
    EXPECT_TRUE(ErrorOf([&] { router.OpenUserSettings(QStringLiteral("x")); }).contains(QStringLiteral("nicht unterstützt")));
}

TEST_F(RouterTest, KeysGoToTheDocumentWithTheLongestFittingPrefix)
{
    Load();
    const QString userPath = folder.File(QStringLiteral("user.hvk"));
    ASSERT_TRUE(router.AddDocument(QStringLiteral("USER"), userPath, true));
    const struct { const char *key; const char *document; } cases[] = {
        {"USER\\X", "user.hvk"}, {"USERS\\X", "user.hvk"}, {"Security\\X", "Zav.hvk"}, {"user\\X", "Zav.hvk"}};
    for (const auto &c : cases)
        EXPECT_TRUE(router.GetDocumentFileName(QString::fromUtf8(c.key)).endsWith(QString::fromUtf8(c.document))) << c.key;
    router.WriteString(QStringLiteral("USER\\X"), QStringLiteral("u"));
    EXPECT_TRUE(ReadBytes(userPath).contains("<USER>"));
    EXPECT_FALSE(ReadBytes(mainPath).contains("<USER>"));

    EXPECT_TRUE(router.SetDocumentDisabled(QStringLiteral("USER"), true));
    EXPECT_FALSE(router.SetDocumentDisabled(QStringLiteral("USE"), true));
    for (const auto &c : cases)
        EXPECT_TRUE(router.GetDocumentFileName(QString::fromUtf8(c.key)).endsWith(QStringLiteral("Zav.hvk"))) << c.key;
    router.SetDocumentDisabled(QString(), true);
    EXPECT_FALSE(ErrorOf([&] { router.ReadString(QStringLiteral("A"), QString()); }).isEmpty());

    // A document that fails to load is not added.
    WriteBytes(folder.File(QStringLiteral("bad.hvk")), "<?xml version=\"1.0\"?><HALVREN><A></B></HALVREN>");
    HookRecorder hooks;
    EXPECT_FALSE(router.AddDocument(QStringLiteral("BAD"), folder.File(QStringLiteral("bad.hvk")), false));
    EXPECT_EQ(ErrorOf([&] { router.AddDocument(QStringLiteral("BAD"), folder.File(QStringLiteral("bad.hvk")), true); }),
              QStringLiteral("Fehler in Datei: bad.hvk"));
}

TEST_F(RouterTest, PathsAreKeptRelativeToTheDocumentFolder)
{
    Load();
    const QString base = folder.Path();
    const struct { const char *path; QString expanded; } cases[] = {
        {"img\\a.png", base + QStringLiteral("/img/a.png")},
        {"img/a.png", base + QStringLiteral("/img/a.png")},
        {"D:\\x", QStringLiteral("D:\\x")},
        {"\\\\srv\\x", QStringLiteral("\\\\srv\\x")},
        {"/abs/x", QStringLiteral("/abs/x")},
        {"", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(router.ExpandPath(QStringLiteral("K"), QString::fromUtf8(c.path)), c.expanded) << c.path;
    EXPECT_EQ(router.RelativePath(QStringLiteral("K"), base + QStringLiteral("/img/a.png")), QStringLiteral("img/a.png"));
    EXPECT_EQ(router.RelativePath(QStringLiteral("K"), base.toUpper() + QStringLiteral("/img/a.png")), base.toUpper() + QStringLiteral("/img/a.png"));
    EXPECT_EQ(router.RelativePath(QStringLiteral("K"), QStringLiteral("/elsewhere/a.png")), QStringLiteral("/elsewhere/a.png"));

    router.WritePath(QStringLiteral("P"), base + QStringLiteral("/img/a.png"));
    EXPECT_EQ(router.ReadString(QStringLiteral("P"), QString()), QStringLiteral("img/a.png"));
    EXPECT_EQ(router.ReadPath(QStringLiteral("P"), QString()), base + QStringLiteral("/img/a.png"));
    router.WritePathList(QStringLiteral("L"), {base + QStringLiteral("/a"), QStringLiteral("/b")});
    QStringList list;
    router.ReadStringList(QStringLiteral("L"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral("/b")}));
    router.ReadPathList(QStringLiteral("L"), list);
    EXPECT_EQ(list, (QStringList{base + QStringLiteral("/a"), QStringLiteral("/b")}));

    router.SetBaseFolder(QStringLiteral("/data/base/"));
    EXPECT_EQ(router.ExpandPath(QStringLiteral("K"), QStringLiteral("x")), QStringLiteral("/data/base/x"));
    EXPECT_EQ(router.RelativePath(QStringLiteral("K"), QStringLiteral("/data/base/x")), QStringLiteral("x"));
}

TEST_F(RouterTest, NumbersFontsRectanglesAndPlugins)
{
    Load();
    router.WriteFloat(QStringLiteral("F"), 1.5);
    EXPECT_EQ(router.ReadString(QStringLiteral("F"), QString()), QStringLiteral("1.5"));
    router.WriteString(QStringLiteral("G"), QStringLiteral("2,25"));
    EXPECT_DOUBLE_EQ(router.ReadFloat(QStringLiteral("G"), 0), 2.25);
    router.WriteString(QStringLiteral("H"), QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(router.ReadFloat(QStringLiteral("H"), 9.5), 9.5);
    router.WriteFloatValue(QStringLiteral("V"), QStringLiteral("f"), 0.125);
    EXPECT_DOUBLE_EQ(router.ReadFloatValue(QStringLiteral("V"), QStringLiteral("f"), 0), 0.125);
    for (const char *yes : {"1", "J", "true", "Wahr", "x", "Y"}) {
        router.WriteValue(QStringLiteral("V"), QStringLiteral("b"), QString::fromLatin1(yes));
        EXPECT_TRUE(router.ReadBoolValue(QStringLiteral("V"), QStringLiteral("b"), false)) << yes;
    }
    for (const char *no : {"0", "n", "False", "2"}) {
        router.WriteValue(QStringLiteral("V"), QStringLiteral("b"), QString::fromLatin1(no));
        EXPECT_FALSE(router.ReadBoolValue(QStringLiteral("V"), QStringLiteral("b"), true)) << no;
    }
    router.WriteBoolValue(QStringLiteral("V"), QStringLiteral("c"), true);
    EXPECT_EQ(router.ReadValue(QStringLiteral("V"), QStringLiteral("c")), QStringLiteral("1"));

    TFont font;
    router.ReadFont(QStringLiteral("Win"), font, nullptr);
    EXPECT_EQ(font.Font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(font.Font.pointSize(), 8);
    EXPECT_EQ(font.Color, clBlack);
    EXPECT_EQ(font.Charset, 1);
    font.Font.setFamily(QStringLiteral("DejaVu Sans"));
    font.Font.setPointSize(11);
    font.Font.setBold(true);
    font.Font.setStrikeOut(true);
    font.Color = clWindowText;
    font.Pitch = 2;
    router.WriteFont(QStringLiteral("Win"), font);
    EXPECT_EQ(router.ReadKeyInteger(QStringLiteral("Win\\TFont\\Style"), 0), 9);
    EXPECT_EQ(router.ReadString(QStringLiteral("Win\\TFont\\Color"), QString()), QStringLiteral("clWindowText"));
    TFont back;
    router.ReadFont(QStringLiteral("Win"), back, nullptr);
    EXPECT_EQ(back.Font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(back.Font.pointSize(), 11);
    EXPECT_TRUE(back.Font.bold() && back.Font.strikeOut() && !back.Font.italic());
    EXPECT_EQ(back.Color, clWindowText);
    EXPECT_EQ(back.Pitch, 2);

    const TZavRect given{1, 2, 3, 4};
    EXPECT_EQ(router.ReadRect(QStringLiteral("Win"), given), given);
    router.WriteRect(QStringLiteral("Win"), TZavRect{10, 20, 30, 40});
    EXPECT_EQ(router.ReadRect(QStringLiteral("Win"), given), (TZavRect{10, 20, 30, 40}));
    EXPECT_TRUE(ReadBytes(mainPath).contains("<Rect Count=\"0\">\r\n<TRect0 Bottom=\"40\" Left=\"10\" Right=\"30\" Top=\"20\"></TRect0>"));

    router.WriteValue(QStringLiteral("Security\\Plugin"), QStringLiteral("Count"), QStringLiteral("2"));
    router.WriteString(QStringLiteral("Security\\Plugin\\Plug1\\PluginName"), QStringLiteral("first"));
    QStringList names{QStringLiteral("kept")};
    router.ReadPluginNames(&names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("kept"), QStringLiteral("first"), QString()}));
    router.WriteValue(QStringLiteral("Security\\Plugin"), QStringLiteral("Count"), QStringLiteral("x"));
    EXPECT_EQ(router.ReadPluginCount(), 0);
}

TEST_F(RouterTest, CopyAndCompareSubtrees)
{
    Load();
    router.BeginUpdate();
    router.WriteString(QStringLiteral("K"), QStringLiteral("top"));
    router.WriteValue(QStringLiteral("K\\A"), QStringLiteral("n"), QStringLiteral("1|2"));
    router.WriteKeyInteger(QStringLiteral("K\\A\\B"), 5);
    router.WriteStringList(QStringLiteral("K\\C"), {QStringLiteral("x"), QStringLiteral("y")});
    router.EndUpdate();

    TZavConfigNat other;
    ASSERT_TRUE(other.LoadFromFile(folder.File(QStringLiteral("other.hvk")), true));
    other.WriteString(QStringLiteral("K\\Old"), QStringLiteral("old"));
    EXPECT_FALSE(other.KeysEqual(router, QStringLiteral("K")));
    other.CopyKeysFrom(router, QStringLiteral("K"));
    EXPECT_TRUE(other.KeysEqual(router, QStringLiteral("K")));
    EXPECT_EQ(other.ReadValue(QStringLiteral("K\\A"), QStringLiteral("n")), QStringLiteral("1|2"));

    const struct { const char *name; std::function<void()> change; } differences[] = {
        {"payload", [&] { other.WriteKeyInteger(QStringLiteral("K\\A\\B"), 6); }},
        {"attribute", [&] { other.WriteValue(QStringLiteral("K\\A"), QStringLiteral("m"), QString()); }},
        {"child", [&] { other.WriteString(QStringLiteral("K\\A\\Z"), QString()); }},
    };
    for (const auto &d : differences) {
        other.CopyKeysFrom(router, QStringLiteral("K"));
        d.change();
        EXPECT_FALSE(other.KeysEqual(router, QStringLiteral("K"))) << d.name;
        EXPECT_FALSE(router.KeysEqual(other, QStringLiteral("K"))) << d.name;
    }
}

TEST_F(RouterTest, ReadOnlyMainDocumentIsReported)
{
    WriteBytes(mainPath, "<?xml version=\"1.0\"?>\r\n<HALVREN Version=\"1.1\">\r\n</HALVREN>\r\n");
    QFile::setPermissions(mainPath, QFile::ReadOwner);
    Load();
    HookRecorder hooks;
    EXPECT_TRUE(router.CheckReadOnly(false));
    EXPECT_TRUE(HookRecorder::messages.isEmpty());
    EXPECT_TRUE(router.CheckReadOnly(true));
    EXPECT_EQ(HookRecorder::messages,
              QStringList{QString::fromUtf8("Die Projekt-Konfigurationsdatei ist scheibgeschützt!\r\nEs sind keine Änderungen möglich.")});
}

} // namespace
