#include "platform/files/Versions.h"

#include <gtest/gtest.h>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

TEST(Versions, CompareVersions)
{
    struct Case
    {
        const char *a;
        const char *b;
        int sign;
    } cases[] = {
        {"1.10", "1.9", 1},
        {"1.9", "1.10", -1},
        {"1,2", "1.2", 0},
        {"1.2.3", "1.2", 0},         // extra parts are not compared
        {"1.2", "1.2.3", 0},
        {"1.2a", "1.2b", -1},        // text parts compare as text
        {"1.2b", "1.2a", 1},
        {"2.0.0.1", "2.0.0.1", 0},
        {"2.0.0.10", "2.0.0.9", 1},
        {" 3 . 4 ", "3.4", 0},       // parts are trimmed
        {"1.$A", "1.10", 0},         // the run-time integer syntax knows hexadecimal
        {"1.0x10", "1.16", 0},
        {"-1.0", "1.0", -1},
        {"1.b", "1.B", 1},           // case sensitive
        {"10", "9", 1},
        {"", "", 0},
        {"", "1", -1},
        {"99999999999.1", "99999999998.1", 1}, // beyond 32 bits: text, still ordered here
    };
    for (const Case &c : cases)
        EXPECT_EQ(Sign(CompareVersions(QString::fromUtf8(c.a), QString::fromUtf8(c.b))), c.sign) << c.a << " vs " << c.b;
}

TEST(Versions, CompareVersionPartsOnOddInput)
{
    EXPECT_EQ(CompareVersionParts(QStringLiteral("$"), QStringLiteral("$")), 0);
    EXPECT_EQ(CompareVersionParts(QStringLiteral("0x"), QStringLiteral("1")), -1);
    EXPECT_LT(CompareVersionParts(QStringLiteral("1 2"), QStringLiteral("12")), 0);
    const QString huge(100000, QLatin1Char('9'));
    EXPECT_EQ(Sign(CompareVersions(huge + QStringLiteral(".1"), huge + QStringLiteral(".2"))), -1);
}
