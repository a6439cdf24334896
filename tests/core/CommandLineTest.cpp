#include <gtest/gtest.h>

#include "CommandLine.h"

namespace folio {
namespace {

struct SplitCase {
    const char* raw;
    std::vector<std::string> slots; // slot 0 first
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesTheArgumentsOfTheRawLine)
{
    std::optional<ArgumentList> args;
    ParseCommandLine(args, GetParam().raw);
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(args->slots, GetParam().slots);
    EXPECT_EQ(args->Count(), static_cast<int>(GetParam().slots.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineSplit,
    ::testing::Values(
        SplitCase{R"("c:\images\" *.TIF c:\report.csv)", {"", R"(c:\images\)", "*.TIF", R"(c:\report.csv)"}},
        SplitCase{R"("c:\my images\" *.TIF "c:\out put.csv")",
                  {"", R"(c:\my images\)", "*.TIF", R"(c:\out put.csv)"}},
        SplitCase{"\"a\tb\"", {"", "a b"}},
        SplitCase{R"(a "" b c)", {"", "a", "b", "c"}},
        SplitCase{R"(a " b" c)", {"", "a ", "b", "c"}},
        SplitCase{R"(abc"def ghi"jkl)", {"", "abcdef ghijkl"}},
        SplitCase{R"(" x" y)", {" ", "x", "y"}},
        SplitCase{"  a\t\t b \t", {"", "a", "b"}},
        SplitCase{"\" \t\"\t\"", {"  "}},
        SplitCase{R"(one "open to the end)", {"", "one", "open to the end"}},
        SplitCase{"\"Bilder \xC3\xA4\" *.PNG", {"", "Bilder \xC3\xA4", "*.PNG"}},
        SplitCase{R"(UPPER lower MiXeD\)", {"", "UPPER", "lower", "MiXeD\\"}}));

TEST(CommandLine, EmptyRawLineLeavesTheListAbsent)
{
    std::optional<ArgumentList> args;
    ParseCommandLine(args, "");
    EXPECT_FALSE(args.has_value());
}

TEST(CommandLine, ReplacesWhatTheListHeldBefore)
{
    std::optional<ArgumentList> args = ArgumentList{{"", "old", "older"}};
    ParseCommandLine(args, "new");
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(args->slots, (std::vector<std::string>{"", "new"}));
}

} // namespace
} // namespace folio
