#include "platform/process/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *name;
    QString commandLine;
    QStringList expected;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitCommandLineTest, FollowsTheWindowsRuntimeRules)
{
    const SplitCase &c = GetParam();
    EXPECT_EQ(SplitCommandLine(c.commandLine), c.expected) << c.name;
}

const SplitCase kCases[] = {
    {"Empty", QString(), {}},
    {"OnlyBlanks", QStringLiteral(" \t  "), {}},
    {"BlanksAndTabsSeparate", QStringLiteral("  a\tb   c "), {"a", "b", "c"}},
    {"QuotesGroupBlanks", QStringLiteral("\"C:\\Program Files\\x\" -y"), {"C:\\Program Files\\x", "-y"}},
    {"QuotesInsideAWord", QStringLiteral("a\"b c\"d e"), {"ab cd", "e"}},
    {"EmptyQuotesGiveEmptyArgument", QStringLiteral("a \"\" b"), {"a", "", "b"}},
    {"BackslashQuoteIsAQuote", QStringLiteral("a\\\"b"), {"a\"b"}},
    {"BackslashesWithoutQuoteStay", QStringLiteral("C:\\dir\\ \\\\server\\share"), {"C:\\dir\\", "\\\\server\\share"}},
    {"EvenBackslashesBeforeQuoteHalveAndQuote", QStringLiteral("\"a\\\\\" b"), {"a\\", "b"}},
    {"OddBackslashesBeforeQuoteHalveAndEscape", QStringLiteral("a\\\\\\\"b"), {"a\\\"b"}},
    {"DoubledQuoteInsideQuotesIsLiteral", QStringLiteral("\"a \"\"b\"\" c\""), {"a \"b\" c"}},
    {"UnclosedQuoteRunsToTheEnd", QStringLiteral("\"a b"), {"a b"}},
    {"ShellCharactersAreText", QStringLiteral("$(rm -rf /) `x` ; | & > <"),
     {"$(rm", "-rf", "/)", "`x`", ";", "|", "&", ">", "<"}},
    {"NonLatinText", QStringLiteral("\"Straße Ä\" 東京"), {"Straße Ä", "東京"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SplitCommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SplitCommandLine, OversizedInputIsSplitWithoutLoss)
{
    QString line;
    for (int i = 0; i < 20000; ++i)
        line += QStringLiteral("\"arg %1\" ").arg(i);
    const QStringList arguments = SplitCommandLine(line);
    ASSERT_EQ(arguments.size(), 20000);
    EXPECT_EQ(arguments.last(), QStringLiteral("arg 19999"));
}

} // namespace
