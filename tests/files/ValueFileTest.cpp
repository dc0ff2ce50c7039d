#include "files/ValueFile.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct AppendCase
{
    const char *name;
    std::string text;
    std::size_t room;
    std::size_t maxLineLength;
    std::vector<std::string> items;
    std::size_t leftOut;
    std::size_t tooLongLine;
    std::vector<std::size_t> lineNumbers; // each item's line, empty lines counted
};

class ItemsToAppendTest : public ::testing::TestWithParam<AppendCase>
{
};

TEST_P(ItemsToAppendTest, TakesNonEmptyLinesThatFit)
{
    const AppendCase &c = GetParam();
    const files::ItemsToAppend read = files::itemsToAppend(c.text, c.room, c.maxLineLength);
    EXPECT_EQ(read.items, c.items);
    EXPECT_EQ(read.leftOut, c.leftOut);
    EXPECT_EQ(read.tooLongLine, c.tooLongLine);
    EXPECT_EQ(read.lineNumbers, c.lineNumbers);
}

constexpr std::size_t kRoom = files::kMaxListItems;
constexpr std::size_t kLimit = files::kMaxLineLength;

const AppendCase kAppendCases[] = {
    {"SavedFile", "1.5\r\n-2\r\nabc\r\n\r\n", kRoom, kLimit, {"1.5", "-2", "abc"}, 0, 0, {1, 2, 3}},
    {"EmptyFile", "", kRoom, kLimit, {}, 0, 0, {}},
    {"EmptyLinesSkipped", "3\r\n\r\n4\r\n", kRoom, kLimit, {"3", "4"}, 0, 0, {1, 3}},
    {"BlankLineIsAnItem", "  \r\n", kRoom, kLimit, {"  "}, 0, 0, {1}},
    {"LastLineWithoutEnd", "3\r\n4", kRoom, kLimit, {"3", "4"}, 0, 0, {1, 2}},
    {"LfOnlyLines", "12.5\n13.1\n12.8\n", kRoom, kLimit, {"12.5", "13.1", "12.8"}, 0, 0, {1, 2, 3}},
    {"LfOnlyEmptyLinesSkipped", "\n1\n\n\n2", kRoom, kLimit, {"1", "2"}, 0, 0, {2, 5}},
    {"LoneCrEndsLine", "1\r2", kRoom, kLimit, {"1", "2"}, 0, 0, {1, 2}},
    {"CrOnlyEmptyLinesSkipped", "1\r\r2\r", kRoom, kLimit, {"1", "2"}, 0, 0, {1, 3}},
    {"MixedLineEnds", "1\r\n2\n3\r\n\n\r4", kRoom, kLimit, {"1", "2", "3", "4"}, 0, 0, {1, 2, 3, 6}},
    {"LfCrIsTwoLineEnds", "1\n\r2", kRoom, kLimit, {"1", "2"}, 0, 0, {1, 3}},
    {"LfOnlyRoomLeavesRestOut", "1\n2\n\n3\n", 1, kLimit, {"1"}, 2, 0, {1}},
    {"RoomLeavesRestOut", "1\r\n2\r\n\r\n3\r\n4", 2, kLimit, {"1", "2"}, 2, 0, {1, 2}},
    {"NoRoomAtAll", "1\r\n2\r\n", 0, kLimit, {}, 2, 0, {}},
    {"EmptyLinesNotCountedAsLeftOut", "1\r\n\r\n\r\n", 1, kLimit, {"1"}, 0, 0, {1}},
    {"LineAtLimitTaken", "abc\r\n", kRoom, 3, {"abc"}, 0, 0, {1}},
    {"LimitCountsCharactersNotBytes", "表ソ表\r\n", kRoom, 3, {"表ソ表"}, 0, 0, {1}},
    {"LongLineRefusesFile", "1\r\nabcd\r\n2", kRoom, 3, {}, 0, 2, {}},
    {"LongLineNumberCountsEmptyLines", "\r\n\r\nabcd", kRoom, 3, {}, 0, 3, {}},
    {"LongLineBeyondRoomStillRefuses", "1\r\n2\r\nabcd", 1, 3, {}, 0, 3, {}},
    {"MultiByteLongLine", "表ソ表ソ", kRoom, 3, {}, 0, 1, {}},
    // The limit holds for each line, not for the file: short LF lines of
    // any number pass, one long LF line is found by its own number.
    {"LfLinesEachWithinLimit", "abc\nabc\nabc\n", kRoom, 3, {"abc", "abc", "abc"}, 0, 0, {1, 2, 3}},
    {"LfLongLineRefusesFile", "1\n\nabcd\n2", kRoom, 3, {}, 0, 3, {}},
    {"CrLongLineRefusesFile", "1\rabcd", kRoom, 3, {}, 0, 2, {}},
    {"LineNumbersCountEmptyLines", "\r\n5\r\n\r\n\r\n6", kRoom, kLimit, {"5", "6"}, 0, 0, {2, 5}},
};
INSTANTIATE_TEST_SUITE_P(Files, ItemsToAppendTest, ::testing::ValuesIn(kAppendCases), RowName{});

} // namespace
