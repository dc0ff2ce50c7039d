#include "files/Paste.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using files::PasteVerdict;

struct PlanCase
{
    const char *name;
    std::string text;
    std::size_t room;
    std::size_t limit;
    PasteVerdict verdict;
    std::vector<std::string> values;
    std::size_t tooLongIndex; // and its length, for TooLong
    std::size_t tooLongLength;
};

class PlanPasteTest : public ::testing::TestWithParam<PlanCase>
{
};

TEST_P(PlanPasteTest, EntersAllOrNothing)
{
    const PlanCase &c = GetParam();
    const files::PastePlan plan = files::planPaste(c.text, c.room, c.limit);
    EXPECT_EQ(plan.verdict, c.verdict);
    EXPECT_EQ(plan.values, c.values);
    if (c.verdict == PasteVerdict::TooLong) {
        EXPECT_EQ(plan.tooLongIndex, c.tooLongIndex);
        EXPECT_EQ(plan.tooLongLength, c.tooLongLength);
    }
}

const std::string kLongest(files::kMaxLineLength, '9');

const PlanCase kPlanCases[] = {
    {"AllFit", "1\r\n2\t3\n", 3, files::kMaxLineLength, PasteVerdict::Enter, {"1", "2", "3"}, 0, 0},
    {"OneTooMany", "1\n2\n3\n4", 3, files::kMaxLineLength, PasteVerdict::TooMany,
     {"1", "2", "3", "4"}, 0, 0},
    {"FullList", "1\n2", 0, files::kMaxLineLength, PasteVerdict::TooMany, {"1", "2"}, 0, 0},
    {"OnlyBreaksIntoFullList", "\r\n\t\n", 0, files::kMaxLineLength, PasteVerdict::Enter, {}, 0, 0},
    {"LineAtTheLimit", kLongest + "\n1", 2, files::kMaxLineLength, PasteVerdict::Enter,
     {kLongest, "1"}, 0, 0},
    {"LineOverTheLimit", "1\n" + kLongest + "9\n2", 5, files::kMaxLineLength,
     PasteVerdict::TooLong, {"1", kLongest + "9", "2"}, 1, files::kMaxLineLength + 1},
    // Characters, not bytes: three-byte characters up to the limit still fit.
    {"WideCharactersCountOnce", "１２３４\t１２３４５", 2, 4, PasteVerdict::TooLong,
     {"１２３４", "１２３４５"}, 1, 5},
    // A long value is told before the room is, as no room would ever take it.
    {"LongBeforeTooMany", "12345\n1", 0, 4, PasteVerdict::TooLong, {"12345", "1"}, 0, 5},
};
INSTANTIATE_TEST_SUITE_P(Pastes, PlanPasteTest, ::testing::ValuesIn(kPlanCases), RowName{});

TEST(PlanValues, ValueHoldingATabOrBreakEntersNothing)
{
    // A quoted field of a pasted table may hold a tab; saved, it would open
    // as a table of its own.
    for (const char *held : {"a\tb", "a\nb", "a\rb"}) {
        const files::PastePlan plan = files::planValues({"1", held, "2"}, 5);
        EXPECT_EQ(plan.verdict, PasteVerdict::HoldsBreak) << held;
        EXPECT_EQ(plan.tooLongIndex, 1u) << held;
    }
    EXPECT_EQ(files::planValues({"1", "2"}, 5).verdict, PasteVerdict::Enter);
}

struct LengthCase
{
    const char *name;
    std::string text;
    std::size_t characters;
};

class CharacterCountTest : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(CharacterCountTest, CountsCodePointsAsTheLineLimitDoes)
{
    const LengthCase &c = GetParam();
    EXPECT_EQ(files::characterCount(c.text), c.characters);
    EXPECT_FALSE(files::longerThan(c.text, c.characters));
    if (c.characters > 0) {
        EXPECT_TRUE(files::longerThan(c.text, c.characters - 1));
    }
}

const LengthCase kLengthCases[] = {
    {"Empty", "", 0},
    {"Ascii", "12.5", 4},
    {"FullWidth", "１２．５", 4},
    {"HalfWidthKana", "ﾃﾞｰﾀ", 4},
    {"BeyondTheBasicPlane", "2😀", 2},
};
INSTANTIATE_TEST_SUITE_P(Texts, CharacterCountTest, ::testing::ValuesIn(kLengthCases), RowName{});

} // namespace
