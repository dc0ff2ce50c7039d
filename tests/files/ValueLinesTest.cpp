#include "files/ValueLines.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase
{
    const char *name;
    std::string text;
    std::vector<std::string> lines;
};

class SplitValueLinesTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitValueLinesTest, FollowsLineRule)
{
    EXPECT_EQ(files::splitValueLines(GetParam().text), GetParam().lines);
}

const SplitCase kSplitCases[] = {
    {"Empty", "", {}},
    {"OnlyLineEnd", "\r\n", {""}},
    {"SavedThreeItems", "1.5\r\n-2\r\nabc\r\n\r\n", {"1.5", "-2", "abc", ""}},
    {"NoFinalLineEnd", "3\r\n4", {"3", "4"}},
    {"EmptyLineInside", "3\r\n\r\n4\r\n", {"3", "", "4"}},
    {"LoneCrEndsLine", "1\r2\r", {"1", "2"}},
    {"LoneLfBelongsToLine", "1\n2\n3\n", {"1\n2\n3\n"}},
    {"CrCrLf", "1\r\r\n2", {"1", "", "2"}},
    {"LfCr", "1\n\r2", {"1\n", "2"}},
    {"BlanksKept", "  \r\n", {"  "}},
    {"MultiByteKept", "表\r\nソ", {"表", "ソ"}},
};
INSTANTIATE_TEST_SUITE_P(Lines, SplitValueLinesTest, ::testing::ValuesIn(kSplitCases), RowName{});

} // namespace
