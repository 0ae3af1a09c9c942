#include "common/HVException.h"
#include "common/T2DStringArray.h"
#include "common/TIntList.h"
#include "common/TMapStrToStr.h"

#include <gtest/gtest.h>
#include <stdexcept>

TEST(SharedTypes, ExceptionMessageTextPrefersTheWideMessage)
{
    const HVException hv(QStringLiteral("Datei ä kann nicht geöffnet werden"));
    EXPECT_EQ(ExceptionMessageText(hv), QStringLiteral("Datei ä kann nicht geöffnet werden"));
    EXPECT_STREQ(hv.what(), "Datei \xc3\xa4 kann nicht ge\xc3\xb6" "ffnet werden");
    const std::runtime_error plain("plain \xc3\xbc");
    EXPECT_EQ(ExceptionMessageText(plain), QStringLiteral("plain ü"));
}

TEST(SharedTypes, IntListIndexOfAndEdits)
{
    TIntList list;
    list.Add(5);
    list.Add(7);
    list.Insert(0, 3);
    list.Put(2, 9);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(0), 3);
    EXPECT_EQ(list.IndexOf(9), 2);
    EXPECT_EQ(list.IndexOf(7), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(SharedTypes, MapStaysSortedAndReplaces)
{
    TMapStrToStr map;
    map.Set(QStringLiteral("b"), QStringLiteral("2"));
    map.Set(QStringLiteral("a"), QStringLiteral("1"));
    map.Set(QStringLiteral("c"), QStringLiteral("3"));
    map.Set(QStringLiteral("b"), QStringLiteral("two"));
    ASSERT_EQ(map.Count(), 3);
    EXPECT_EQ(map.KeyAt(0), QStringLiteral("a"));
    EXPECT_EQ(map.ValueAt(1), QStringLiteral("two"));
    bool found = true;
    EXPECT_TRUE(map.Get(QStringLiteral("x"), &found).isEmpty());
    EXPECT_FALSE(found);
    EXPECT_EQ(map.GetDefault(QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(map.Delete(QStringLiteral("a")));
    EXPECT_EQ(map.IndexOfKey(QStringLiteral("c")), 1);
    EXPECT_EQ(map.IndexOfKey(QStringLiteral("a")), -1);
}

TEST(SharedTypes, TableSortsByColumnsIgnoringCaseByDefault)
{
    T2DStringArray table(2);
    table.AddRow({QStringLiteral("b"), QStringLiteral("1")});
    table.AddRow({QStringLiteral("A"), QStringLiteral("2")});
    table.AddRow({QStringLiteral("a"), QStringLiteral("3")});
    table.Sort({{0, false}, {1, true}});
    EXPECT_EQ(table.Cell(1, 0), QStringLiteral("3"));
    EXPECT_EQ(table.Cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(table.Cell(0, 2), QStringLiteral("b"));
    EXPECT_TRUE(table.Cell(5, 5).isEmpty());
}
