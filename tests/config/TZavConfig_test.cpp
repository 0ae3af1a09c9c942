#include "config/ConfigTestSupport.h"
#include "config/TZavConfigExe.h"
#include "common/HVException.h"
#include "platform/system/UserRegistry.h"
#include "support/TestSupport.h"
#include "ui/translation/TZavMultiSprache.h"
#include "ui/translation/Translation.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace configtest;

namespace {

class AccessTest : public ::testing::Test
{
protected:
    TempFolder folder;
    EnvGuard configHome{"XDG_CONFIG_HOME", QFile::encodeName(folder.File(QStringLiteral("xdg")))};
    QString path = folder.File(QStringLiteral("Zav.hvk"));
    void TearDown() override { SetLanguage(QStringLiteral("DE")); }
};

TEST_F(AccessTest, UnloadedThenLoadedWithFreshInstanceIds)
{
    TZavConfigExe config;
    EXPECT_EQ(ErrorOf([&] { config.ReadString(QStringLiteral("A"), QString()); }),
              QStringLiteral("Programmfehler: Dem Konfigurationsobjekt wurde noch keine Konfigurationsdatei zugewiesen"));
    EXPECT_EQ(ReadUserRegistryInteger(QStringLiteral("SOFTWARE\\Halvren\\Tarvik"), QStringLiteral("TimeStampLogFile"), 0), 1);

    EXPECT_TRUE(config.LoadFromFile(path, false));
    EXPECT_EQ(config.ReadString(QStringLiteral("A"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(QFileInfo::exists(path));
    const QString first = config.GetInstanceId();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$")).match(first).hasMatch()) << first.toStdString();
    EXPECT_TRUE(config.LoadFromFile(path, false));
    EXPECT_NE(config.GetInstanceId(), first);
    EXPECT_EQ(config.GetInstanceIdAgain(), config.GetInstanceId());

    // A failed load is swallowed and leaves the object unloaded.
    WriteBytes(path, "<?xml version=\"1.0\"?><HALVREN><A></B></HALVREN>");
    HookRecorder hooks;
    EXPECT_FALSE(config.LoadFromFile(path, false));
    EXPECT_FALSE(HookRecorder::errorLines.isEmpty()) << "the parse error is still shown";
    EXPECT_TRUE(ErrorOf([&] { config.ReadString(QStringLiteral("A"), QString()); }).startsWith(QStringLiteral("Programmfehler")));
    EXPECT_FALSE(ErrorOf([&] { config.LoadFromFile(QStringLiteral("x?.hvk"), false); }).isEmpty());
}

TEST_F(AccessTest, DirectCreationOfTheBaseClassIsReported)
{
    HookRecorder hooks;
    TZavConfig base(nullptr);
    EXPECT_EQ(HookRecorder::messages, QStringList{QStringLiteral("TZavConfig darf nicht direkt erzeugt werden")});
    EXPECT_TRUE(ErrorOf([&] { base.ReadString(QStringLiteral("A"), QString()); }).startsWith(QStringLiteral("Programmfehler")));
    TZavConfigExe derived;
    EXPECT_EQ(HookRecorder::messages.size(), 1);
}

TEST_F(AccessTest, MultiLanguageTexts)
{
    TZavConfigExe config;
    ASSERT_TRUE(config.LoadFromFile(path, false));
    config.BeginUpdate();
    config.WriteValue(QStringLiteral("Inst\\Name"), QStringLiteral("HVSP"), QStringLiteral("FILE"));
    config.WriteString(QStringLiteral("Inst\\Name\\DE"), QStringLiteral("setup\\de.exe"));
    config.WriteStringList(QStringLiteral("VIEWER\\LANGUAGES"), {QStringLiteral("DE"), QStringLiteral("EN")});
    config.EndUpdate();

    TZavMultiSprache text;
    config.ReadMultiLanguage(QStringLiteral("Inst\\Name"), text, QStringLiteral("Standard"));
    EXPECT_TRUE(text.IsFile());
    EXPECT_EQ(text.GetText(QStringLiteral("DE")), folder.Path() + QStringLiteral("/setup/de.exe"));
    EXPECT_EQ(text.GetText(QStringLiteral("EN")), QStringLiteral("Standard"));

    TZavMultiSprache names;
    names.SetText(QStringLiteral("DE"), QStringLiteral("Deutsch"));
    names.SetText(QStringLiteral("EN"), QStringLiteral("English"));
    config.WriteMultiLanguage(QStringLiteral("Inst\\Title"), names);
    names.SetText(QStringLiteral("EN"), QString());
    config.WriteMultiLanguage(QStringLiteral("Inst\\Title"), names);
    QStringList children;
    config.ReadSubKeys(QStringLiteral("Inst\\Title"), children);
    EXPECT_EQ(children, QStringList{QStringLiteral("DE")});
    EXPECT_EQ(config.ReadValue(QStringLiteral("Inst\\Title"), QStringLiteral("HVSP")), QStringLiteral("ML"));
    QStringList all;
    config.ReadAllMultiLanguageTexts(all, true);
    EXPECT_EQ(all, QStringList{QStringLiteral("Inst\\Title|DE|Deutsch")});
}

TEST_F(AccessTest, LanguageChoice)
{
    TZavConfigExe config;
    ASSERT_TRUE(config.LoadFromFile(path, false));
    config.WriteString(QStringLiteral("USER\\ViewerSprache"), QStringLiteral("FR"));
    const struct { QStringList list; const char *expected; } cases[] = {
        {{QStringLiteral("DE"), QStringLiteral("EN")}, "EN"},
        {{QStringLiteral("DE"), QStringLiteral("NL")}, "DE"},
        {{QStringLiteral("NL"), QStringLiteral("FR")}, "FR"},
    };
    for (const auto &c : cases) {
        config.WriteStringList(QStringLiteral("VIEWER\\LANGUAGES"), c.list);
        config.ApplyViewerLanguage();
        EXPECT_EQ(GetLanguage(), QString::fromLatin1(c.expected)) << c.list.join(QLatin1Char(',')).toStdString();
    }
    EXPECT_EQ(config.ReadLanguageList(zlkDatabase), QStringList{QStringLiteral("DE")});
    config.WriteString(QStringLiteral("USER\\DokuSprache"), QStringLiteral("IT"));
    config.WriteStringList(QStringLiteral("DATABASE\\Doku\\LANGUAGES"), {QStringLiteral("EN"), QStringLiteral("IT")});
    EXPECT_EQ(config.GetDocumentationLanguage(), QStringLiteral("IT"));
    EXPECT_EQ(config.GetDatabaseLanguage(), QStringLiteral("DE"));

    // Tool mode: the fixed table, and the wanted language from the per-user registry.
    config.SetToolMode(true);
    EXPECT_EQ(config.ReadLanguageList(zlkAvailable).size(), 36);
    WriteUserRegistryString(QStringLiteral("SOFTWARE\\Halvren\\Tarvik\\Sprache"), QStringLiteral("Akt.Sprache"), QStringLiteral("SV"));
    config.ApplyViewerLanguage();
    EXPECT_EQ(GetLanguage(), QStringLiteral("SV"));
}

TEST_F(AccessTest, CopyKeysFromWritesTheTargetOnce)
{
    TZavConfigExe source;
    ASSERT_TRUE(source.LoadFromFile(folder.File(QStringLiteral("src.hvk")), false));
    source.BeginUpdate();
    for (int i = 0; i < 5; ++i)
        source.WriteKeyInteger(QStringLiteral("K\\E%1").arg(i), i);
    source.EndUpdate();

    TZavConfigExe target;
    ASSERT_TRUE(target.LoadFromFile(path, false));
    target.WriteString(QStringLiteral("Before"), QStringLiteral("b"));
    const QByteArray beforeCopy = ReadBytes(path);
    target.CopyKeysFrom(source, QStringLiteral("K"));
    // With one save the backup holds the state before the copy, not a partial copy.
    EXPECT_TRUE(ReadBytes(folder.File(QStringLiteral("Zav.~hvk"))) == beforeCopy);
    EXPECT_TRUE(target.KeysEqual(source, QStringLiteral("K")));
}

} // namespace
