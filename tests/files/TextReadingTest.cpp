#include "files/TextReading.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase
{
    const char *name;
    std::string text;
    bool expected;
};

class PlausibleReadingTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(PlausibleReadingTest, JudgesEveryCharacter)
{
    EXPECT_EQ(files::isPlausibleReading(GetParam().text), GetParam().expected);
}

const TextCase kPlausibleCases[] = {
    {"Ascii", "12.5\r\n-3\r\n", true},
    {"KanjiAndKana", "測定値　ひらがな　カタカナ", true},
    {"HalfWidthWord", "ﾏｲﾅｽ", true},
    {"HalfWidthWordBeforeKanji", "ﾃﾞｰﾀ数", true},
    {"HalfWidthUnitAfterNumber", "5ｺ", true},
    {"MeasurementSigns", "±0.1 12.5° 3×4 5µm 10Ω 20℃ 3σ ㎜ ㌔", true},
    {"FullWidthForms", "１２．５ｍｍ￥", true},
    {"LatinLetters", "ϲŽ", false},
    {"LatinOneLetter", "ż", false},
    {"CyrillicLetter", "Ж", false},
    {"GreekLetterOtherThanSigns", "λ", false},
    {"EraSign", "驥埼㍼kg", false},
    {"PrivateUse", "\xEE\x80\x80", false},
    {"LoneKanaBetweenKanji", "貂ｩ蠎ｦ", false},
    {"LoneKanaAfterKanji", "値ｱ", false},
    {"KanaBeforeDigit", "ﾂｱ0.1", false},
    {"KanaAfterDigitIsUnit", "12.5ﾂｰC", true},
};
INSTANTIATE_TEST_SUITE_P(Readings, PlausibleReadingTest, ::testing::ValuesIn(kPlausibleCases),
                         RowName{});

class ValidUtf8Test : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ValidUtf8Test, FollowsRfc3629)
{
    EXPECT_EQ(files::isValidUtf8(GetParam().text), GetParam().expected);
}

const TextCase kUtf8Cases[] = {
    {"Empty", "", true},
    {"LongAsciiRun", std::string(100, '7') + "表" + std::string(9, '8'), true},
    {"FourBytes", "\xF0\x9F\x98\x80", true},
    {"Overlong", "\xC0\xAF", false},
    {"OverlongThreeBytes", "\xE0\x80\xAF", false},
    {"Surrogate", "\xED\xA0\x80", false},
    {"BeyondUnicode", "\xF4\x90\x80\x80", false},
    {"CutShort", "12345678\xE8\xA1", false},
    {"StrayContinuation", "1\x80", false},
    {"ShiftJisKanji", "\x95\x5C", false},
};
INSTANTIATE_TEST_SUITE_P(Bytes, ValidUtf8Test, ::testing::ValuesIn(kUtf8Cases), RowName{});

class SavedShapeTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(SavedShapeTest, MatchesWhatSaveWrites)
{
    EXPECT_EQ(files::hasSavedFileShape(GetParam().text), GetParam().expected);
}

const TextCase kShapeCases[] = {
    {"EmptyList", "\r\n", true},
    {"ThreeItems", "1.5\r\n-2\r\nabc\r\n\r\n", true},
    {"LoneLfEndsALine", "1\n2\r\n\r\n", false},
    {"LfOnlyFile", "1\n2\n\n", false},
    {"LfInsteadOfClosingLine", "1\r\n\n", false},
    {"NoClosingEmptyLine", "1\r\n", false},
    {"EmptyLineInside", "1\r\n\r\n2\r\n\r\n", false},
    {"TwoClosingEmptyLines", "1\r\n\r\n\r\n", false},
    {"LoneCr", "1\r2\r\n\r\n", false},
    {"Empty", "", false},
};
INSTANTIATE_TEST_SUITE_P(Files, SavedShapeTest, ::testing::ValuesIn(kShapeCases), RowName{});

} // namespace
