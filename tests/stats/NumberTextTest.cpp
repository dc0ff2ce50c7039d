#include "stats/NumberText.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <regex>
#include <ostream>
#include <string>

namespace {

using stats::roundToTwoDecimals;
using stats::formatResult;
using stats::groupedInteger;
using stats::integerToText;
using stats::numberToText;
using stats::parseValueText;
using stats::wholePercent;

constexpr double inf = std::numeric_limits<double>::infinity();

// ---- parseValueText ------------------------------------------------------

struct ParseRow
{
    std::string name;
    std::string text;
    double expected; // compared exactly: the nearest double is required
};

void PrintTo(const ParseRow &row, std::ostream *out) { *out << row.name; }

class ParseValueText : public testing::TestWithParam<ParseRow>
{};

TEST_P(ParseValueText, ReadsTheLeadingNumber)
{
    const ParseRow &row = GetParam();
    const double value = parseValueText(row.text);
    EXPECT_EQ(value, row.expected) << "text: \"" << row.text << '"';
    EXPECT_EQ(std::signbit(value), std::signbit(row.expected)) << "text: \"" << row.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseValueText,
    testing::Values(
        ParseRow{"TrailingLetters", "12abc", 12}, ParseRow{"NoNumber", "abc", 0},
        ParseRow{"Empty", "", 0}, ParseRow{"NegativeFraction", "-3.5", -3.5},
        ParseRow{"ExplicitPlus", "+7", 7}, ParseRow{"Exponent", "1.5e3", 1500},
        ParseRow{"CapitalNegativeExponent", "25E-1", 2.5},
        ParseRow{"ExponentWithoutDigits", "2e", 2},
        ParseRow{"ExponentSignWithoutDigits", "2e+", 2},
        ParseRow{"ExponentFollowedByLetter", "2ex5", 2},
        ParseRow{"SpacesBetweenDigits", "1 2 5", 125}, ParseRow{"SpaceAfterSign", "- 4", -4},
        ParseRow{"SpaceAsGroup", "1 000", 1000}, ParseRow{"TabAndLineFeed", "\t1\n5", 15},
        ParseRow{"IdeographicSpace", "1\xE3\x80\x80" "2", 12},
        ParseRow{"BlankInsideExponent", "2e 5", 200000},
        ParseRow{"BlankAfterExponentDigits", "1e5 0", 1e50},
        ParseRow{"BlankBeforePoint", "3 .5", 3.5}, ParseRow{"TrailingBlank", "42 ", 42},
        ParseRow{"CommaEndsNumber", "1,000", 1}, ParseRow{"LonePoint", ".", 0},
        ParseRow{"LoneMinus", "-", 0}, ParseRow{"LonePlus", "+", 0},
        ParseRow{"LeadingPoint", ".5", 0.5}, ParseRow{"TrailingPoint", "5.", 5},
        ParseRow{"SecondPointStops", "1.2.3", 1.2}, ParseRow{"DoubleSignStops", "--5", 0},
        ParseRow{"NearestDouble", "0.1", 0.1}, ParseRow{"NearestDoubleOfTenths", "0.3", 0.3},
        ParseRow{"FifteenDigitsLargestExactPower", "999999999999999e22", 999999999999999e22},
        ParseRow{"FifteenDigitsSmallestExactPower", "999999999999999e-22", 999999999999999e-22},
        ParseRow{"BeyondExactPowersSmall", "1e-23", 1e-23},
        ParseRow{"BeyondExactPowersLarge", "3e23", 3e23},
        ParseRow{"SixteenDigits", "0.1000000000000003", 0.1000000000000003},
        ParseRow{"TrailingZerosBeyondFifteenDigits", "1.00000000000000000001", 1.0},
        ParseRow{"LeadingZerosNotCounted", "0.000000000000000000012345678901234",
                 0.000000000000000000012345678901234},
        ParseRow{"TieToEven", "9007199254740993", 9007199254740992.0},
        // Long numbers that are not plain ASCII as they stand are spelled out
        // before the full conversion: sign left out, blanks dropped, forms mapped.
        ParseRow{"TieToEvenWithFullWidthDigit", "\xEF\xBC\x99" "007199254740993", 9007199254740992.0},
        ParseRow{"TieToEvenWithBlanksAndSign", "- 9007199254740 993", -9007199254740992.0},
        ParseRow{"LargeExponentWithInputMethodSign", "ー1E+ ３０", -1e30},
        ParseRow{"FullWidthOverflow", "\xEF\xBC\x91\xEF\xBD\x85" "400", inf},
        ParseRow{"InputMethodExponentSignUnderflow", "1eー400", 0.0},
        ParseRow{"FullWidthNumber", "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95", 12.5},
        ParseRow{"FullWidthMinus", "\xEF\xBC\x8D\xEF\xBC\x93", -3},
        ParseRow{"FullWidthPlus", "\xEF\xBC\x8B\xEF\xBC\x93", 3},
        ParseRow{"FullWidthCapitalExponent", "1\xEF\xBC\xA5" "3", 1000},
        ParseRow{"FullWidthSmallExponent", "2\xEF\xBD\x85-1", 0.2},
        // As typed with a Japanese input method on, or pasted: other minus
        // signs and dashes are a sign where one may stand and nothing else.
        ParseRow{"InputMethodMinusAndPoint", "ー３。５", -3.5},
        ParseRow{"FullWidthMinusAndPoint", "－３．５", -3.5},
        ParseRow{"MinusSign", "\xE2\x88\x92" "2", -2},
        ParseRow{"IdeographicFullStop", "１０。５", 10.5},
        ParseRow{"HalfWidthIdeographicFullStop", "1\xEF\xBD\xA1" "5", 1.5},
        ParseRow{"SecondIdeographicFullStopStops", "1。2。3", 1.2},
        ParseRow{"LongVowelMarkInsideWord", "データ", 0},
        ParseRow{"TwoLongVowelMarks", "ーー３", 0},
        ParseRow{"LongVowelMarkAfterNumber", "3ー", 3},
        ParseRow{"LongVowelMarkAsExponentSign", "1Eー5", 1e-5},
        ParseRow{"MinusSignAsExponentSign", "2e\xE2\x88\x92" "1", 0.2},
        ParseRow{"MinusSignBetweenDigits", "1\xE2\x88\x92" "2", 1},
        ParseRow{"LongVowelMarkNegativeZero", "ー0", -0.0},
        ParseRow{"LongVowelMarkBeforePoint", "ー.5", -0.5},
        ParseRow{"LongVowelMarkThenIdeographicSpace", "ー\xE3\x80\x80" "4", -4},
        ParseRow{"HalfWidthLongVowelMark", "\xEF\xBD\xB0" "4", -4},
        ParseRow{"Hyphen", "\xE2\x80\x90" "1", -1},
        ParseRow{"NonBreakingHyphen", "\xE2\x80\x91" "1", -1},
        ParseRow{"FigureDash", "\xE2\x80\x92" "1", -1},
        ParseRow{"EnDash", "\xE2\x80\x93" "1", -1},
        ParseRow{"EmDash", "\xE2\x80\x94" "1", -1},
        ParseRow{"HorizontalBar", "\xE2\x80\x95" "1", -1},
        ParseRow{"BeyondTheDashesStops", "\xE2\x80\x96" "1", 0},
        ParseRow{"SmallHyphenMinus", "\xEF\xB9\xA3" "1", -1},
        ParseRow{"SmallPlus", "\xEF\xB9\xA2" "7", 7},
        ParseRow{"IdeographicCommaEndsNumber", "１、０００", 1},
        ParseRow{"HalfWidthIdeographicCommaEndsNumber", "1\xEF\xBD\xA4" "5", 1},
        ParseRow{"DashEndsHexDigits", "&H1ー2", 1},
        ParseRow{"OtherNonAsciiStops", "12\xE5\x86\x86", 12},
        ParseRow{"OtherNonAsciiFirst", "\xE5\x86\x86" "12", 0},
        ParseRow{"HexUpper", "&HFF", 255}, ParseRow{"HexLowerMixed", "&hfF", 255},
        ParseRow{"HexBeyondDoublePrecision", "&H20000000000000", 9007199254740992.0},
        ParseRow{"HexWithBlanks", " & H 1 0", 16}, ParseRow{"HexStopsAtLetter", "&H1G", 1},
        ParseRow{"HexNoDigits", "&H", 0}, ParseRow{"HexOverflows", "&H" + std::string(300, 'F'), inf},
        ParseRow{"Octal", "&O17", 15}, ParseRow{"OctalLower", "&o17", 15},
        ParseRow{"OctalStopsAtEight", "&O178", 15}, ParseRow{"AmpersandAlone", "&", 0},
        ParseRow{"AmpersandOther", "&X1", 0}, ParseRow{"InfWord", "inf", 0},
        ParseRow{"InfinityWord", "Infinity", 0}, ParseRow{"NanWord", "nan", 0},
        ParseRow{"NegativeInfWord", "-inf", 0}, ParseRow{"CHexPrefix", "0x1F", 0},
        ParseRow{"Overflow", "1e400", inf}, ParseRow{"NegativeOverflow", "-1e400", -inf},
        ParseRow{"OverflowByIntegerDigits", "1000e306", inf},
        ParseRow{"InRangeAfterLeadingZeros", "0.001e311", 1e308},
        ParseRow{"OverflowAfterLeadingZeros", "0.01e311", inf},
        ParseRow{"Underflow", "100e-330", 0.0}, ParseRow{"NegativeUnderflow", "-1e-400", -0.0},
        ParseRow{"Denormal", "4.9e-324", std::numeric_limits<double>::denorm_min()},
        ParseRow{"HugeExponentDigits", "1e99999999999999999999", inf},
        ParseRow{"TinyExponentDigits", "1e-99999999999999999999", 0.0},
        ParseRow{"ZeroWithHugeExponent", "0e99999999999999", 0.0},
        ParseRow{"ThousandDigitMantissa", "1" + std::string(999, '0'), inf},
        ParseRow{"LongMantissaInRange", "1" + std::string(300, '0') + ".5", 1e300},
        ParseRow{"LongFractionUnderflows", "0." + std::string(400, '0') + "5", 0.0}),
    RowName{});

// ---- readingOf -----------------------------------------------------------

using stats::ReadingExtent;

struct ExtentRow
{
    std::string name;
    std::string text;
    ReadingExtent expected;
};

void PrintTo(const ExtentRow &row, std::ostream *out) { *out << row.name; }

class ReadingOf : public testing::TestWithParam<ExtentRow>
{};

TEST_P(ReadingOf, TellsHowMuchOfTheTextIsRead)
{
    const ExtentRow &row = GetParam();
    EXPECT_EQ(stats::readingOf(row.text), row.expected) << "text: \"" << row.text << '"';
    // Text without a number is exactly what reads as 0 for want of one.
    EXPECT_EQ(row.expected == ReadingExtent::NoNumber, !stats::holdsNumber(row.text));
}

constexpr auto Whole = ReadingExtent::Whole;
constexpr auto Partial = ReadingExtent::Partial;
constexpr auto NoNumber = ReadingExtent::NoNumber;

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadingOf,
    testing::Values(
        ExtentRow{"Plain", "12.5", Whole}, ExtentRow{"Header", "測定値", NoNumber},
        ExtentRow{"PlusMinusSign", "±0.1", NoNumber}, ExtentRow{"Grouped", "1,234.5", Partial},
        ExtentRow{"Unit", "12.5mm", Partial}, ExtentRow{"BlanksAround", " 12.5 ", Whole},
        ExtentRow{"IdeographicSpacesAround", "\xE3\x80\x80" "12.5\xE3\x80\x80", Whole},
        ExtentRow{"TabAndLineFeedAfter", "12.5\t\n", Whole},
        ExtentRow{"BlanksBetweenDigits", "1 2 5", Whole},
        ExtentRow{"InputMethodDigits", "１２．５", Whole},
        ExtentRow{"InputMethodSignAndPoint", "ー３。５", Whole},
        ExtentRow{"InputMethodExponentSign", "1Eー5", Whole},
        ExtentRow{"Empty", "", NoNumber}, ExtentRow{"LoneBlank", " ", NoNumber},
        ExtentRow{"LoneMinus", "-", NoNumber}, ExtentRow{"LonePoint", ".", NoNumber},
        ExtentRow{"ExponentWithoutDigits", "1e", Partial},
        ExtentRow{"ExponentSignWithoutDigits", "2e+ ", Partial},
        ExtentRow{"Exponent", "1.5e3", Whole}, ExtentRow{"TrailingPoint", "5.", Whole},
        ExtentRow{"LeadingPoint", ".5", Whole}, ExtentRow{"SecondPoint", "1.2.3", Partial},
        ExtentRow{"LongVowelMarkAfterNumber", "3ー", Partial},
        ExtentRow{"IdeographicComma", "１、０００", Partial},
        ExtentRow{"LetterFirst", "x12", NoNumber}, ExtentRow{"DoubleSign", "--5", NoNumber},
        ExtentRow{"Zero", "0", Whole}, ExtentRow{"NegativeZero", "-0", Whole},
        ExtentRow{"Hex", "&HFF", Whole}, ExtentRow{"HexWithBlanks", " & H 1 0 ", Whole},
        ExtentRow{"HexStopsAtLetter", "&H1G", Partial},
        ExtentRow{"OctalStopsAtEight", "&O178", Partial},
        ExtentRow{"HexNoDigits", "&H", NoNumber}, ExtentRow{"AmpersandAlone", "&", NoNumber},
        ExtentRow{"NulAfterNumber", std::string("12\0", 3), Partial},
        ExtentRow{"CarriageReturnAfterNumber", "12\r", Partial},
        ExtentRow{"CutCharacterAfterNumber", "12\xE3\x80", Partial},
        ExtentRow{"Overflow", "1e400", Whole},
        ExtentRow{"LongMantissa", "1" + std::string(300, '0') + ".5", Whole}),
    RowName{});

// ---- numberToText --------------------------------------------------------

struct TextRow
{
    std::string name;
    double value;
    std::string expected;
};

void PrintTo(const TextRow &row, std::ostream *out) { *out << row.name; }

class NumberToText : public testing::TestWithParam<TextRow>
{};

TEST_P(NumberToText, WritesFifteenDigits)
{
    EXPECT_EQ(numberToText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberToText,
    testing::Values(
        TextRow{"TwoAndAHalf", 2.5, "2.5"}, TextRow{"Half", 0.5, "0.5"},
        TextRow{"Fraction", 1234.57, "1234.57"}, TextRow{"Third", 1.0 / 3, "0.333333333333333"},
        TextRow{"TwoThirdsRoundsUp", 2.0 / 3, "0.666666666666667"},
        TextRow{"SmallestScientific", 0.00001, "1E-05"}, TextRow{"LargestPlainSmall", 0.0001, "0.0001"},
        TextRow{"SmallFraction", 0.000123, "0.000123"}, TextRow{"FifteenDigitWhole", 123456789012345.0, "123456789012345"},
        TextRow{"PowerFourteen", 1e14, "100000000000000"}, TextRow{"PowerFifteen", 1e15, "1E+15"},
        TextRow{"RoundsIntoScientific", 999999999999999.5, "1E+15"},
        TextRow{"RoundsToNextPower", 99999.99999999999, "100000"},
        TextRow{"ExactTieGoesToEvenDown", 10000000000000.25, "10000000000000.2"},
        TextRow{"ExactTieGoesToEvenUp", 10000000000000.75, "10000000000000.8"},
        TextRow{"BinaryNoise", 0.1 + 0.2, "0.3"}, TextRow{"Negative", -2.5, "-2.5"},
        TextRow{"NegativeScientific", -0.00001, "-1E-05"}, TextRow{"Whole", 25.0, "25"},
        TextRow{"TrailingZerosWhole", 100.0, "100"}, TextRow{"Zero", 0.0, "0"},
        TextRow{"NegativeZero", -0.0, "0"}, TextRow{"ScientificFraction", 1.5e-7, "1.5E-07"},
        TextRow{"LongScientific", 123456789012345678901.0, "1.23456789012346E+20"},
        TextRow{"ThreeDigitExponent", 1e100, "1E+100"}, TextRow{"NearMax", 1e308, "1E+308"},
        TextRow{"Denormal", 5e-324, "4.94065645841247E-324"}),
    RowName{});

// ---- integerToText -------------------------------------------------------

struct IntegerRow
{
    std::string name;
    std::int64_t value;
    std::string expected;
};

void PrintTo(const IntegerRow &row, std::ostream *out) { *out << row.name; }

class IntegerToText : public testing::TestWithParam<IntegerRow>
{};

TEST_P(IntegerToText, WritesDecimalDigits)
{
    EXPECT_EQ(integerToText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IntegerToText,
    testing::Values(IntegerRow{"Zero", 0, "0"}, IntegerRow{"Positive", 1000, "1000"},
                    IntegerRow{"Negative", -7, "-7"},
                    IntegerRow{"Largest", INT64_MAX, "9223372036854775807"},
                    IntegerRow{"Smallest", INT64_MIN, "-9223372036854775808"}),
    RowName{});

// ---- groupedInteger ------------------------------------------------------

class GroupedInteger : public testing::TestWithParam<IntegerRow>
{};

TEST_P(GroupedInteger, PartsDigitsInThrees)
{
    EXPECT_EQ(groupedInteger(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GroupedInteger,
    testing::Values(IntegerRow{"Zero", 0, "0"}, IntegerRow{"ThreeDigits", 999, "999"},
                    IntegerRow{"FourDigits", 1000, "1,000"},
                    IntegerRow{"ListLimit", 32767, "32,767"},
                    IntegerRow{"SixDigits", 100000, "100,000"},
                    IntegerRow{"SevenDigits", 1234567, "1,234,567"},
                    IntegerRow{"NegativeThreeDigits", -999, "-999"},
                    IntegerRow{"NegativeFourDigits", -1000, "-1,000"},
                    IntegerRow{"Largest", INT64_MAX, "9,223,372,036,854,775,807"},
                    IntegerRow{"Smallest", INT64_MIN, "-9,223,372,036,854,775,808"}),
    RowName{});

// ---- formatResult --------------------------------------------------------

class FormatResult : public testing::TestWithParam<TextRow>
{};

TEST_P(FormatResult, WritesResultPattern)
{
    EXPECT_EQ(formatResult(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatResult,
    testing::Values(
        TextRow{"GroupsAndRounds", 1234.56789, "1,234.5679"}, TextRow{"TwoGroups", 1234567.1, "1,234,567.1"},
        TextRow{"DropsTrailingZero", 8.16496580927726, "8.165"}, TextRow{"NoIntegerPart", 0.25, ".25"},
        TextRow{"NegativeNoIntegerPart", -0.8541019662, "-.8541"}, TextRow{"Whole", 5.0, "5."},
        TextRow{"WholeThousand", 1000.0, "1,000."}, TextRow{"Zero", 0.0, "."},
        TextRow{"NegativeZero", -0.0, "."}, TextRow{"HalfAwayFromZero", 1.00005, "1.0001"},
        TextRow{"NegativeHalfAwayFromZero", -1.00005, "-1.0001"},
        TextRow{"HalfOfSmallestStep", 0.00005, ".0001"}, TextRow{"NegativeHalfOfSmallestStep", -0.00005, "-.0001"},
        TextRow{"BelowHalfOfSmallestStep", 0.000049, "."}, TextRow{"NegativeRoundsToZero", -0.00001, "."},
        TextRow{"TinyRoundsToZero", 1e-300, "."}, TextRow{"CarryIntoNewGroup", 999.99995, "1,000."},
        TextRow{"CarryAcrossPoint", 0.99999, "1."}, TextRow{"SquareRoot", 1.118033988749895, "1.118"},
        TextRow{"ExactSixDigits", 123456.0, "123,456."},
        TextRow{"NegativeGrouped", -1234567.00004, "-1,234,567."},
        TextRow{"BeyondFifteenDigits", 1e20, "100,000,000,000,000,000,000."},
        TextRow{"StoredBelowHalfRoundsUp", 2.00005, "2.0001"}),
    RowName{});

// ---- resultInSentence ------------------------------------------------------

class ResultInSentence : public testing::TestWithParam<TextRow>
{};

TEST_P(ResultInSentence, DropsOnlyABareTrailingPoint)
{
    EXPECT_EQ(stats::resultInSentence(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ResultInSentence,
    testing::Values(TextRow{"Whole", 11.0, "11"}, TextRow{"WholeThousand", 1000.0, "1,000"},
                    TextRow{"Decimals", 16.3, "16.3"}, TextRow{"NoIntegerPart", 0.25, ".25"},
                    TextRow{"NegativeWhole", -5.0, "-5"}, TextRow{"Zero", 0.0, "0"},
                    TextRow{"NegativeZero", -0.0, "0"}, TextRow{"RoundsToZero", -0.00001, "0"},
                    TextRow{"CarryAcrossPoint", 0.99999, "1"}),
    RowName{});

// ---- roundToTwoDecimals ----------------------------------------------------

class RoundToTwoDecimals : public testing::TestWithParam<TextRow>
{};

TEST_P(RoundToTwoDecimals, HalfGoesAwayFromZero)
{
    EXPECT_EQ(numberToText(roundToTwoDecimals(GetParam().value)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundToTwoDecimals,
    testing::Values(
        TextRow{"StoredBelowHalf", 1.005, "1"}, TextRow{"StoredAboveHalf", 2.675, "2.68"},
        TextRow{"TooSmall", 0.004, "0"}, TextRow{"ExactHalfStep", 0.005, "0.01"},
        TextRow{"OneDecimal", 2.5, "2.5"}, TextRow{"Whole", 3.0, "3"},
        TextRow{"FourDecimals", 1234.5678, "1234.57"}, TextRow{"Zero", 0.0, "0"},
        TextRow{"NegativeOneDecimal", -2.5, "-2.5"}, TextRow{"NegativeRoundsByMagnitude", -1.234, "-1.23"},
        TextRow{"NegativeStoredBelowHalf", -1.005, "-1"}, TextRow{"NegativeWhole", -857.0, "-857"},
        TextRow{"NegativeTooSmall", -0.004, "0"},
        TextRow{"NegativeStoredAboveHalf", -2.675, "-2.68"},
        TextRow{"NegativeExactHalfStep", -0.005, "-0.01"}),
    RowName{});

// ---- wholePercent --------------------------------------------------------

struct PercentRow
{
    std::string name;
    std::int64_t count;
    std::int64_t n;
    double expected;
};

void PrintTo(const PercentRow &row, std::ostream *out) { *out << row.name; }

class WholePercent : public testing::TestWithParam<PercentRow>
{};

TEST_P(WholePercent, RoundsShare)
{
    const PercentRow &row = GetParam();
    EXPECT_EQ(wholePercent(row.count, row.n), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shares, WholePercent,
    testing::Values(PercentRow{"OneThird", 1, 3, 33}, PercentRow{"TwoThirds", 2, 3, 67},
                    PercentRow{"OneEighth", 1, 8, 13}, PercentRow{"HalfPercent", 1, 200, 1},
                    PercentRow{"All", 7, 7, 100}, PercentRow{"None", 0, 9, 0},
                    PercentRow{"OneFortieth", 1, 40, 3}, PercentRow{"ThreeSevenths", 3, 7, 43}),
    RowName{});

// ---- properties over many values -----------------------------------------

// The value at 15 significant digits, read back independently of the code
// under test. Rounding up past the largest double gives infinity.
double roundedToFifteenDigits(double x)
{
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    double value = 0;
    const auto read = std::from_chars(buffer, written.ptr, value);
    if (read.ec == std::errc::result_out_of_range)
        return std::copysign(inf, x);
    return value;
}

// Finite doubles spread over every binary exponent, plus short decimals.
std::vector<double> sampleValues()
{
    std::mt19937_64 generator(20240611);
    std::vector<double> values;
    while (values.size() < 400) {
        const double x = std::bit_cast<double>(generator());
        if (std::isfinite(x))
            values.push_back(x);
    }
    for (int i = 0; i < 200; ++i)
        values.push_back(static_cast<double>(static_cast<std::int64_t>(generator() % 2000001) - 1000000) / 1000.0);
    return values;
}

TEST(NumberTextProperties, TextReadsBackAsFifteenDigitValue)
{
    for (const double x : sampleValues()) {
        const std::string text = numberToText(x);
        EXPECT_EQ(parseValueText(text), roundedToFifteenDigits(x)) << "text: " << text;
    }
}

TEST(NumberTextProperties, ResultPatternHolds)
{
    const std::regex pattern(R"(^-?(\d{1,3}(,\d{3})*)?\.(\d{0,3}[1-9])?$)");
    for (const double x : sampleValues()) {
        const std::string text = formatResult(x);
        EXPECT_TRUE(std::regex_match(text, pattern)) << x << " -> " << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    }
}

} // namespace
