#include "ui/translation/TZavMultiSprache.h"

#include <gtest/gtest.h>

namespace {

TEST(TZavMultiSprache, CodesMatchWithoutLetterCase)
{
    TZavMultiSprache text;
    text.SetText("EN", "Setup");
    text.SetText("en", "Installer");
    EXPECT_EQ(text.Count(), 1);
    EXPECT_EQ(text.GetText("En"), "Installer");
    text.SetDefault("Standard");
    EXPECT_EQ(text.GetText("FR"), ""); // never the default text
    EXPECT_EQ(text.Default(), "Standard");
}

TEST(TZavMultiSprache, MergingAndAssigning)
{
    TZavMultiSprache target;
    target.SetText("DE", "Einrichtung");
    target.SetText("EN", "Setup");
    TZavMultiSprache source;
    source.SetDefault("new default");
    source.SetText("en", "");
    source.SetText("fr", "Installation");

    TZavMultiSprache nonEmpty;
    nonEmpty.Assign(&target);
    nonEmpty.MergeNonEmpty(source);
    EXPECT_EQ(nonEmpty.GetText("EN"), "Setup");
    EXPECT_EQ(nonEmpty.GetText("FR"), "Installation");
    EXPECT_EQ(nonEmpty.Default(), "new default");
    EXPECT_EQ(nonEmpty.Codes(), (QStringList{"DE", "EN", "FR"}));

    target.MergeFrom(source);
    EXPECT_EQ(target.GetText("EN"), "");
    EXPECT_EQ(target.Count(), 3);

    source.SetIsFile(true);
    TZavMultiSprache copy;
    copy.SetText("IT", "x");
    copy.Assign(&source);
    EXPECT_TRUE(copy.IsFile());
    EXPECT_EQ(copy.Codes(), (QStringList{"EN", "FR"}));
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copy.Default(), "new default");
    copy.MergeFrom(copy); // merging with itself is harmless
    EXPECT_EQ(copy.Count(), 0);
}

TEST(TZavMultiSprache, EveryChangeCallsOnChange)
{
    TZavMultiSprache text;
    int calls = 0;
    text.OnChange = [&](TZavMultiSprache *sender) {
        EXPECT_EQ(sender, &text);
        ++calls;
    };
    TZavMultiSprache other;
    other.SetText("DE", "x");
    text.SetText("DE", "a");
    text.SetDefault("d");
    text.SetIsFile(true);
    text.Assign(&other);
    text.MergeFrom(other);
    text.MergeNonEmpty(other);
    text.Clear();
    EXPECT_EQ(calls, 7);
    EXPECT_EQ(text.GetText("DE"), "");
}

} // namespace
