#include "ui/translation/ILanguagePluginManager.h"
#include "ui/translation/Translation.h"

#include <QMap>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A plugin manager with one German entry ("Schließen" = 1) and texts per language.
class FakeManager : public ILanguagePluginManager
{
public:
    QMap<QString, QString> texts; // language -> text of entry 1
    bool throwOnGetText = false;
    int loads = 0;

    void LoadPlugins() override { ++loads; }
    int FindEntry(const QString &key) override { return key == QStringLiteral("Schließen") ? 1 : 0; }
    QString GetText(int, const QString &language) override
    {
        if (throwOnGetText)
            throw std::runtime_error("plugin failure");
        if (texts.contains(language))
            return texts.value(language);
        if (texts.contains(QStringLiteral("EN")))
            return texts.value(QStringLiteral("EN"));
        return language + QStringLiteral("??");
    }
    QString GetTextRaw(int, const QString &language) override { return texts.value(language); }
};

class TranslationTest : public ::testing::Test
{
protected:
    void SetUp() override { SetLanguage(QStringLiteral("DE")); }
    void TearDown() override
    {
        RegisterLanguagePluginManager(nullptr);
        SetLanguage(QStringLiteral("DE"));
    }
};

} // namespace

TEST_F(TranslationTest, WithoutManagerTheMarkerIsRemoved)
{
    struct Case {
        const char *name;
        const char *source;
        QString expected;
    } cases[] = {
        {"unmarked", "Abbrechen", QStringLiteral("Abbrechen")},
        {"marked", "!!Schließen", QStringLiteral("Schließen")},
        {"only marker", "!!", QString()},
        {"marker inside", "a!!b", QStringLiteral("a!!b")},
    };
    for (const Case &c : cases) {
        SetLanguage(QStringLiteral("EN"));
        EXPECT_EQ(TranslateText(c.source), c.expected) << c.name;
    }
}

TEST_F(TranslationTest, ManagerAnswersWithFallbacks)
{
    FakeManager manager;
    manager.texts = {{QStringLiteral("DE"), QStringLiteral("Schließen")}, {QStringLiteral("EN"), QStringLiteral("Close")}};
    RegisterLanguagePluginManager(&manager);
    EXPECT_EQ(manager.loads, 1);

    SetLanguage(QStringLiteral("FR"));
    EXPECT_EQ(TranslateText("!!Schließen"), QStringLiteral("Close")) << "English fallback";
    EXPECT_EQ(TranslateText("!!Unbekannt"), QStringLiteral("Unbekannt")) << "not in the German plugin";
    EXPECT_EQ(TranslateText("Abbrechen"), QStringLiteral("Abbrechen"));

    manager.texts.remove(QStringLiteral("EN"));
    EXPECT_EQ(TranslateText("!!Schließen"), QStringLiteral("Schließen")) << "\"FR??\" gives the German key";
}

TEST_F(TranslationTest, ExplicitLanguageIsRestoredEvenWhenTheHookThrows)
{
    FakeManager manager;
    manager.texts = {{QStringLiteral("EN"), QStringLiteral("Close")}};
    RegisterLanguagePluginManager(&manager);

    EXPECT_EQ(TranslateText("!!Schließen", QStringLiteral("EN")), QStringLiteral("Close"));
    EXPECT_EQ(GetLanguage(), QStringLiteral("DE"));

    manager.throwOnGetText = true;
    EXPECT_THROW(TranslateText("!!Schließen", QStringLiteral("EN")), std::runtime_error);
    EXPECT_EQ(GetLanguage(), QStringLiteral("DE"));
}

TEST_F(TranslationTest, MissingAnswerComparisonIsCaseSensitive)
{
    EXPECT_TRUE(IsMissingTextAnswer(QStringLiteral("EN?"), QStringLiteral("EN")));
    EXPECT_TRUE(IsMissingTextAnswer(QStringLiteral("EN??"), QStringLiteral("EN")));
    EXPECT_FALSE(IsMissingTextAnswer(QStringLiteral("en?"), QStringLiteral("EN")));
    EXPECT_FALSE(IsMissingTextAnswer(QStringLiteral("EN???"), QStringLiteral("EN")));
}
