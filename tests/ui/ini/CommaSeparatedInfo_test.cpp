#include "ui/ini/TCSIFont.h"
#include "ui/ini/TCommaSeparatedInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(TCommaSeparatedInfo, CommaTextBothWays)
{
    struct Case { const char *name; QStringList fields; QString text; } cases[] = {
        {"plain", {"a", "b", "c"}, "a,b,c"},
        {"empty fields", {"a", "", "", "d"}, "a,,,d"},
        {"single empty field", {""}, "\"\""},
        {"blank and comma quoted", {"x y", "1,2"}, "\"x y\",\"1,2\""},
        {"quotes doubled", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {"control character", {QStringLiteral("a\tb")}, "\"a\tb\""},
        {"trailing empty", {"a", ""}, "a,"},
    };
    for (const Case &c : cases) {
        TCommaSeparatedInfo info;
        for (int i = 0; i < c.fields.size(); ++i)
            info.SetField(i, c.fields[i]);
        EXPECT_EQ(info.CommaText(), c.text) << c.name;
        EXPECT_EQ(TCommaSeparatedInfo(c.text).Fields(), c.fields) << c.name;
    }
}

TEST(TCommaSeparatedInfo, ReadingLooseText)
{
    struct Case { const char *text; QStringList fields; } cases[] = {
        {"", {}},
        {"  a b ,c", {"a", "b", "c"}},       // unquoted blanks separate too
        {"\"open", {"open"}},                 // missing closing quote
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {", ,", {"", "", ""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TCommaSeparatedInfo(QString::fromUtf8(c.text)).Fields(), c.fields) << c.text;
}

TEST(TCommaSeparatedInfo, FieldsBeyondTheEndAndTyped)
{
    TCommaSeparatedInfo info;
    info.SetField(3, "x");
    EXPECT_EQ(info.Fields(), (QStringList{"", "", "", "x"}));
    EXPECT_EQ(info.Field(10), "");
    info.SetBoolField(0, true);
    info.SetBoolField(1, false);
    info.SetIntegerField(2, -7);
    EXPECT_TRUE(info.BoolField(0));
    EXPECT_FALSE(info.BoolField(1));
    EXPECT_FALSE(TCommaSeparatedInfo("1 ").BoolField(1));
    EXPECT_FALSE(TCommaSeparatedInfo("\"1 \"").BoolField(0)); // only exactly "1"
    EXPECT_EQ(info.IntegerField(2, 0), -7);
    EXPECT_EQ(info.IntegerField(3, 5), 5);
}

TEST(TCSIFont, MissingFieldsKeepTheFontsOwnSizeAndName)
{
    TFont font;
    font.Font.setFamily("Arial");
    font.Font.setPointSize(9);
    font.Font.setItalic(true);
    TCSIFont(QStringLiteral(",x")).ApplyTo(font);
    EXPECT_EQ(font.Font.family(), "Arial");
    EXPECT_EQ(font.Font.pointSize(), 9);
    EXPECT_FALSE(font.Font.italic()); // style fields are set only when exactly "1"
    EXPECT_EQ(font.Color, 0);
}

} // namespace
