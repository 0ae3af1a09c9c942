#include "common/HVException.h"
#include "support/TestSupport.h"
#include "ui/ini/TBiggerIniFile.h"

#include <gtest/gtest.h>
#include <memory>

using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

class BiggerIniFileTest : public ::testing::Test
{
protected:
    QString Path() const { return m_folder.File(QStringLiteral("theme.ini")); }
    std::unique_ptr<TBiggerIniFile> Load(const QByteArray &bytes)
    {
        WriteBytes(Path(), bytes);
        return std::make_unique<TBiggerIniFile>(Path(), false);
    }

    TempFolder m_folder;
};

TEST_F(BiggerIniFileTest, FontRoundTrip)
{
    TFont written;
    written.Font.setFamily(QStringLiteral("Courier New, \"Mono\""));
    written.Font.setPointSize(11);
    written.Font.setBold(true);
    written.Font.setStrikeOut(true);
    written.Charset = 238;
    written.Pitch = 2;
    for (const TColor color : {clWindowText, TColor(0x00123456), TColor(-1), clBlack, TColor(0x7FFFFFFF)}) {
        written.Color = color;
        {
            auto ini = Load("");
            ini->WriteFont("Fonts", "Title", written);
        }
        auto ini = Load(ReadBytes(Path()));
        TFont read;
        ini->ReadFont("Fonts", "Title", read);
        EXPECT_EQ(read.Font.family(), written.Font.family());
        EXPECT_EQ(read.Font.pointSize(), 11);
        EXPECT_TRUE(read.Font.bold());
        EXPECT_FALSE(read.Font.italic());
        EXPECT_FALSE(read.Font.underline());
        EXPECT_TRUE(read.Font.strikeOut());
        EXPECT_EQ(read.Color, color);
        EXPECT_EQ(read.Charset, 238);
        EXPECT_EQ(read.Pitch, 2);
    }
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[Fonts]\r\nTitle=\"Courier New, \"\"Mono\"\"\",11,1,,,1,$7FFFFFFF,238,2\r\n"));
}

TEST_F(BiggerIniFileTest, FontColourFieldForms)
{
    struct Case { const char *value; TColor color; } cases[] = {
        {"Arial,8,,,,,clWindowText,1,0", clWindowText},
        {"Arial,8,,,,,CLRED,1,0", 0x0000FF},
        {"Arial,8,,,,,FF0000,1,0", 0xFF0000},       // digits alone are hexadecimal
        {"Arial,8,,,,,$00FF00,1,0", 0x00FF00},
        {"Arial,8,,,,,255,1,0", 0x255},             // hexadecimal first
        {"Arial,8,,,,,FFFFFFFF,1,0", 0},            // -1 goes on to the colour text, which is not one
        {"Arial,8,,,,,-1,1,0", -1},
        {"Arial,8,,,,,nonsense,1,0", 0},
        {"Arial,8", 0},
    };
    for (const Case &c : cases) {
        auto ini = Load("[F]\nf=" + QByteArray(c.value) + "\n");
        TFont font;
        ini->ReadFont("F", "f", font);
        EXPECT_EQ(font.Color, c.color) << c.value;
    }
}

TEST_F(BiggerIniFileTest, NumberedLists)
{
    auto ini = Load("[L]\nItem0=zero\nCount=3\nItem1=a\nItem2=b\nItem3=c\n"
                    "[P]\nItemCount=2\nItem5=x\n");
    QStringList target{"kept"};
    ini->ReadNumberedList("L", target, false, 1, "Item", "-");
    EXPECT_EQ(target, (QStringList{"kept", "a", "b", "c"}));
    target.clear();
    ini->ReadNumberedList("P", target, true, 5, "Item", "-");
    EXPECT_EQ(target, (QStringList{"x", "-"}));

    // An unchanged list rewritten leaves the document unchanged.
    ini->WriteNumberedList("L", {"a", "b", "c"}, false, 1, "Item");
    EXPECT_FALSE(ini->Changed());
    ini.reset();
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[L]\nItem0=zero\nCount=3\nItem1=a\nItem2=b\nItem3=c\n"
                                            "[P]\nItemCount=2\nItem5=x\n"));

    ini = Load(ReadBytes(Path()));
    ini->WriteNumberedList("L", {"n"}, false, 1, "Item");
    EXPECT_TRUE(ini->Changed());
    QStringList lines;
    ini->ReadSectionValues("L", lines);
    EXPECT_EQ(lines, (QStringList{"Item0=zero", "Count=1", "Item1=n"}));

    // Lines of other keys between the items move the items to the end: a change.
    ini = Load("[L]\nCount=2\nItem1=a\nNote=x\nItem2=b\n");
    ini->WriteNumberedList("L", {"a", "b"}, false, 1, "Item");
    EXPECT_TRUE(ini->Changed());

    // A changed item under the same count is a change.
    ini = Load("[L]\nCount=2\nItem1=a\nItem2=b\n");
    ini->WriteNumberedList("L", {"a", "x"}, false, 1, "Item");
    EXPECT_TRUE(ini->Changed());
}

TEST_F(BiggerIniFileTest, HugeCountsDoNotRunAway)
{
    auto ini = Load("[L]\nCount=2147483647\nItem1=a\n");
    QStringList target;
    ini->ReadNumberedList("L", target, false, 1, "Item", "");
    EXPECT_EQ(target.first(), "a");
    EXPECT_LE(target.size(), 1000000);
    ini->WriteNumberedList("L", {"b"}, false, 1, "Item");
    QStringList lines;
    ini->ReadSectionValues("L", lines);
    EXPECT_EQ(lines, (QStringList{"Count=1", "Item1=b"}));
}

TEST_F(BiggerIniFileTest, HexValues)
{
    auto ini = Load("[H]\na=1F\nb=zz\nc=$10\n");
    EXPECT_EQ(ini->ReadHexValue("H", "a", 0), 31);
    EXPECT_EQ(ini->ReadHexValue("H", "missing", -2), -2);
    EXPECT_THROW(ini->ReadHexValue("H", "b", 0), HVException);
    EXPECT_THROW(ini->ReadHexValue("H", "c", 0), HVException); // "$$10"
    ini->WriteHexValue("H", "w", -2);
    ini->WriteHexValue("H", "x", 0xABC);
    EXPECT_EQ(ini->ReadString("H", "w", ""), "FFFFFFFE");
    EXPECT_EQ(ini->ReadString("H", "x", ""), "00000ABC");
    EXPECT_EQ(ini->ReadHexValue("H", "w", 0), -2);
}

TEST_F(BiggerIniFileTest, RenamingKeysAndSections)
{
    auto ini = Load("[S]\nold=1\nother=2\n[T]\nx=1\n");
    ini->RenameKey("S", "old", "new");
    EXPECT_EQ(ini->ReadString("S", "new", "-"), "1");
    EXPECT_EQ(ini->ReadString("S", "old", "-"), "-");
    ini->RenameKey("S", "missing", "gone");
    EXPECT_FALSE(ini->ValueExists("S", "gone"));
    // letter case only: the value must survive
    ini->RenameKey("S", "other", "Other");
    EXPECT_TRUE(ini->ValueExists("S", "Other"));
    EXPECT_EQ(ini->ReadString("S", "other", "-"), "2");

    ini->RenameSection("T", "U");
    EXPECT_FALSE(ini->SectionExists("T"));
    EXPECT_EQ(ini->ReadString("u", "x", "-"), "1");
    ini.reset();
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[S]\r\nOther=2\r\nnew=1\r\n\r\n[U]\r\nx=1\r\n"));

    ini = Load("[S]\nk=1\n");
    ini->RenameSection("S", "S");
    EXPECT_FALSE(ini->Changed());
}

TEST_F(BiggerIniFileTest, SectionValuesAndBoolsUnlessDefault)
{
    auto ini = Load("[S]\na=1\nb=2\n");
    ini->WriteSectionValues("S", {"a=1", "b=2"});
    EXPECT_FALSE(ini->Changed());
    ini->WriteSectionValues("S", {"a=1", "b=3"});
    EXPECT_TRUE(ini->Changed());
    EXPECT_EQ(ini->ReadString("S", "b", "-"), "3");
    ini->WriteSectionValues("New", {"z=9"});
    EXPECT_EQ(ini->ReadString("New", "z", "-"), "9");
    ini->WriteSectionValues("S", {"only=1"});
    EXPECT_EQ(ini->ReadString("S", "a", "-"), "-");
    EXPECT_EQ(ini->ReadString("S", "only", "-"), "1");

    ini->WriteBoolUnlessDefault("S", "flag", true, false);
    EXPECT_EQ(ini->ReadString("S", "flag", "-"), "1");
    ini->WriteBoolUnlessDefault("S", "flag", false, false);
    EXPECT_FALSE(ini->ValueExists("S", "flag"));
}

} // namespace
