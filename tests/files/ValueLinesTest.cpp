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
    {"LfOnlyEndsLines", "12.5\n13.1\n12.8\n", {"12.5", "13.1", "12.8"}},
    {"LfOnlyNoFinalLineEnd", "1\n2", {"1", "2"}},
    {"LfOnlyEmptyLineInside", "1\n\n2\n", {"1", "", "2"}},
    {"OnlyLf", "\n", {""}},
    {"CrOnlyNoFinalLineEnd", "1\r2\r3", {"1", "2", "3"}},
    {"CrOnlyEmptyLineInside", "1\r\r2", {"1", "", "2"}},
    {"MixedLineEnds", "1\r\n2\n3\r4", {"1", "2", "3", "4"}},
    {"CrCrLf", "1\r\r\n2", {"1", "", "2"}},
    {"LfCrIsTwoLineEnds", "1\n\r2", {"1", "", "2"}},
    {"LfLfCrLf", "1\n\n\r\n2\n", {"1", "", "", "2"}},
    {"LfCrLfIsTwoLineEnds", "1\n\r\n", {"1", ""}},
    {"BlanksKept", "  \r\n", {"  "}},
    {"MultiByteKept", "表\r\nソ", {"表", "ソ"}},
};
INSTANTIATE_TEST_SUITE_P(Lines, SplitValueLinesTest, ::testing::ValuesIn(kSplitCases), RowName{});

class SplitPastedValuesTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitPastedValuesTest, OneValuePerLineOrCell)
{
    EXPECT_EQ(files::splitPastedValues(GetParam().text), GetParam().lines);
}

const SplitCase kPasteCases[] = {
    {"SpreadsheetColumn", "1\r\n2\r\n3\r\n", {"1", "2", "3"}},
    {"LfOnlyNoFinalBreak", "1\n2\n3", {"1", "2", "3"}},
    {"LoneCr", "1\r2", {"1", "2"}},
    {"RowOfCellsEmptyCellsSkipped", "1\t\t2\t\n\n", {"1", "2"}},
    {"BlankCellIsAValue", " \n4", {" ", "4"}},
    {"OnlyBreaks", "\r\n\t", {}},
    {"JapaneseKept", "１２．５\r\n測定値", {"１２．５", "測定値"}},
};
INSTANTIATE_TEST_SUITE_P(Pastes, SplitPastedValuesTest, ::testing::ValuesIn(kPasteCases),
                         RowName{});

} // namespace
