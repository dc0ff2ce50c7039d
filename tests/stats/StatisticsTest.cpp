#include "stats/NumberText.h"
#include "stats/Statistics.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using stats::calculateStatistics;
using stats::StatisticsError;
using stats::StatisticsTexts;

const std::string oneSigma = "1\xCF\x83";
const std::string twoSigma = "2\xCF\x83";
const std::string threeSigma = "3\xCF\x83";

} // namespace

namespace stats {
// Both texts in full when they differ, field by field in box order.
void PrintTo(const StatisticsTexts &t, std::ostream *out)
{
    *out << '{' << t.count << " | " << t.mean << " | " << t.standardDeviation << " | "
         << t.upperLimit << " | " << t.lowerLimit << " | " << t.aboveCount << " | "
         << t.abovePercent << " | " << t.belowCount << " | " << t.belowPercent << " | "
         << t.maximum << " | " << t.minimum << '}';
}
} // namespace stats

namespace {

// ---- results -------------------------------------------------------------

struct ResultRow
{
    std::string name;
    std::vector<std::string> items;
    std::string sigmaChoice;
    // count, mean, sd, upper, lower, above, above %, below, below %, max, min
    StatisticsTexts expected;
};

void PrintTo(const ResultRow &row, std::ostream *out) { *out << row.name; }

class StatisticsResults : public testing::TestWithParam<ResultRow>
{};

TEST_P(StatisticsResults, FillsEveryBox)
{
    const ResultRow &row = GetParam();
    const auto outcome = calculateStatistics(row.items, row.sigmaChoice);
    const auto *texts = std::get_if<StatisticsTexts>(&outcome);
    ASSERT_NE(texts, nullptr) << "refused with error " << static_cast<int>(std::get<StatisticsError>(outcome));
    EXPECT_EQ(*texts, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StatisticsResults,
    testing::Values(
        ResultRow{"FourValuesOneSigma", {"1", "2", "3", "4"}, oneSigma,
                  {"4", "2.5", "1.118", "3.618", "1.382", "1", "25", "1", "25", "4", "1"}},
        ResultRow{"FourValuesThreeSigma", {"1", "2", "3", "4"}, threeSigma,
                  {"4", "2.5", "1.118", "5.8541", "-.8541", "0", "0", "0", "0", "4", "1"}},
        ResultRow{"FourValuesUnknownChoice", {"1", "2", "3", "4"}, "xyz",
                  {"4", "2.5", "1.118", "2.5", "2.5", "2", "50", "2", "50", "4", "1"}},
        ResultRow{"ThreeTensTwoSigma", {"10", "20", "30"}, twoSigma,
                  {"3", "20", "8.165", "36.3299", "3.6701", "0", "0", "0", "0", "30", "10"}},
        ResultRow{"ValuesOnTheLimitsAreNotBeyond", {"1000", "3000"}, oneSigma,
                  {"2", "2000", "1,000.", "3,000.", "1,000.", "0", "0", "0", "0", "3000", "1000"}},
        ResultRow{"LargerValueReplacesFirstText", {"5.0", "7.0"}, oneSigma,
                  {"2", "6", "1.", "7.", "5.", "0", "0", "0", "0", "7", "5.0"}},
        ResultRow{"EqualValueKeepsFirstText", {"3.0", "3"}, oneSigma,
                  {"2", "3", ".", "3.", "3.", "0", "0", "0", "0", "3.0", "3.0"}},
        ResultRow{"SingleItem", {"12.5"}, oneSigma,
                  {"1", "12.5", ".", "12.5", "12.5", "0", "0", "0", "0", "12.5", "12.5"}},
        ResultRow{"SingleNegativeItem", {"-2.5"}, threeSigma,
                  {"1", "-2.5", ".", "-2.5", "-2.5", "0", "0", "0", "0", "-2.5", "-2.5"}},
        ResultRow{"NegativeMeanCutByMagnitude", {"-1.234"}, oneSigma,
                  {"1", "-1.23", ".", "-1.234", "-1.234", "0", "0", "0", "0", "-1.234", "-1.234"}},
        ResultRow{"OneOfThreeAboveTwoBelow", {"0", "0", "3"}, "xyz",
                  {"3", "1", "1.4142", "1.", "1.", "1", "33", "2", "67", "3", "0"}},
        ResultRow{"TwoOfThreeAboveOneBelow", {"0", "3", "3"}, "xyz",
                  {"3", "2", "1.4142", "2.", "2.", "2", "67", "1", "33", "3", "0"}},
        ResultRow{"TextWithoutNumberCountsAsZero", {"abc", "-1"}, oneSigma,
                  {"2", "-0.5", ".5", ".", "-1.", "0", "0", "0", "0", "abc", "-1"}},
        ResultRow{"FirstTextKeptAsWritten", {" 1 ", "\xEF\xBC\x92", "&H3"}, oneSigma,
                  {"3", "2", ".8165", "2.8165", "1.1835", "1", "33", "1", "33", "3", " 1 "}},
        ResultRow{"InputMethodSignsAndPoints", {"ー３。５", "\xE2\x88\x92" "2"}, oneSigma,
                  {"2", "-2.75", ".75", "-2.", "-3.5", "0", "0", "0", "0", "-2", "ー３。５"}},
        ResultRow{"UnderflowReadsAsZero", {"1e-400"}, oneSigma,
                  {"1", "0", ".", ".", ".", "0", "0", "0", "0", "1e-400", "1e-400"}},
        ResultRow{"LargeOffsetKeepsPrecision", {"1000000001", "1000000002", "1000000003"}, oneSigma,
                  {"3", "1000000002", ".8165", "1,000,000,002.8165", "1,000,000,001.1835", "1", "33", "1",
                   "33", "1000000003", "1000000001"}}),
    RowName{});

TEST(StatisticsLongList, CountsAndPercentsOverOneThousandValues)
{
    std::vector<std::string> items;
    for (int i = 1000; i >= 1; --i)
        items.push_back(std::to_string(i));
    const auto outcome = calculateStatistics(items, oneSigma);
    ASSERT_TRUE(std::holds_alternative<StatisticsTexts>(outcome));
    // Population sd of 1..1000 is sqrt(999999 / 12) = 288.67499...; the upper
    // limit 789.17 leaves 790..1000 above, the lower 211.83 leaves 1..211 below.
    const StatisticsTexts expected{"1000", "500.5", "288.675", "789.175", "211.825", "211",
                                   "21",   "211",   "21",      "1000",    "1"};
    EXPECT_EQ(std::get<StatisticsTexts>(outcome), expected);
}

// ---- maximum and minimum texts ------------------------------------------

// The extremes exactly as the rule reads: the current text is read again as a
// number for every comparison.
std::pair<std::string, std::string> extremesReadingTextsAgain(const std::vector<std::string> &items)
{
    std::string maximum = items[0];
    std::string minimum = items[0];
    for (const std::string &item : items) {
        const double value = stats::parseValueText(item);
        if (stats::parseValueText(maximum) < value)
            maximum = stats::numberToText(value);
        if (stats::parseValueText(minimum) > value)
            minimum = stats::numberToText(value);
    }
    return {maximum, minimum};
}

TEST(StatisticsExtremes, MatchReadingTheCurrentTextAgain)
{
    // Neighbouring doubles around a few bases, written with 17 digits or in
    // the shortest form, so that many values share a 15-digit text.
    const double bases[] = {1.0 / 3, 123456.789, 0.1, -2.5e-310, 3.3e-308, 1e150, -7.25};
    std::mt19937_64 generator(7);
    for (int list = 0; list < 200; ++list) {
        const double base = bases[list % std::size(bases)];
        std::vector<std::string> items;
        for (int i = 0; i < 12; ++i) {
            double value = base;
            for (int step = static_cast<int>(generator() % 7); step > 3; --step)
                value = std::nextafter(value, HUGE_VAL);
            for (int step = static_cast<int>(generator() % 7); step > 3; --step)
                value = std::nextafter(value, -HUGE_VAL);
            char buffer[40];
            const auto written = generator() % 2 == 0
                ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17)
                : std::to_chars(buffer, buffer + sizeof buffer, value);
            items.emplace_back(buffer, written.ptr);
        }
        const auto outcome = calculateStatistics(items, oneSigma);
        ASSERT_TRUE(std::holds_alternative<StatisticsTexts>(outcome)) << "list " << list;
        const auto [maximum, minimum] = extremesReadingTextsAgain(items);
        EXPECT_EQ(std::get<StatisticsTexts>(outcome).maximum, maximum) << "list " << list;
        EXPECT_EQ(std::get<StatisticsTexts>(outcome).minimum, minimum) << "list " << list;
    }
}

// ---- sigma choice --------------------------------------------------------

struct ChoiceRow
{
    std::string name;
    std::string choice;
    std::string upperLimit; // of 1, 2, 3, 4: mean 2.5, sigma 1.118
};

void PrintTo(const ChoiceRow &row, std::ostream *out) { *out << row.name; }

class SigmaChoice : public testing::TestWithParam<ChoiceRow>
{};

TEST_P(SigmaChoice, ReadsDigitWithOrWithoutSigma)
{
    const auto outcome = calculateStatistics({"1", "2", "3", "4"}, GetParam().choice);
    ASSERT_TRUE(std::holds_alternative<StatisticsTexts>(outcome));
    EXPECT_EQ(std::get<StatisticsTexts>(outcome).upperLimit, GetParam().upperLimit);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SigmaChoice,
    testing::Values(ChoiceRow{"Two", twoSigma, "4.7361"}, ChoiceRow{"TrailingBlank", threeSigma + " ", "2.5"},
                    ChoiceRow{"FullWidthDigit", "３σ", "5.8541"},
                    ChoiceRow{"DigitOnly", "3", "5.8541"}, ChoiceRow{"Empty", "", "2.5"},
                    // What an input method leaves in the box.
                    ChoiceRow{"FullWidthDigitOnly", "２", "4.7361"},
                    ChoiceRow{"FullWidthDigitCapitalSigma", "２Σ", "4.7361"},
                    ChoiceRow{"BlankBetween", "2 σ", "4.7361"},
                    ChoiceRow{"IdeographicBlanksBetween", "１　 σ", "3.618"},
                    ChoiceRow{"OneCapitalSigma", "1Σ", "3.618"},
                    // Anything else still means no limits apart from the mean.
                    ChoiceRow{"LeadingBlank", " 2σ", "2.5"}, ChoiceRow{"NoDigit", "σ", "2.5"},
                    ChoiceRow{"FourSigma", "4σ", "2.5"}, ChoiceRow{"BlankWithoutSigma", "2 ", "2.5"},
                    ChoiceRow{"TwoDigits", "22σ", "2.5"}, ChoiceRow{"LatinS", "2s", "2.5"},
                    ChoiceRow{"SigmaTwice", "2σσ", "2.5"}, ChoiceRow{"FinalSigma", "2ς", "2.5"}),
    RowName{});

// ---- refusals ------------------------------------------------------------

struct ErrorRow
{
    std::string name;
    std::vector<std::string> items;
    StatisticsError expected;
};

void PrintTo(const ErrorRow &row, std::ostream *out) { *out << row.name; }

class StatisticsErrors : public testing::TestWithParam<ErrorRow>
{};

TEST_P(StatisticsErrors, RefusesList)
{
    const auto outcome = calculateStatistics(GetParam().items, oneSigma);
    ASSERT_TRUE(std::holds_alternative<StatisticsError>(outcome));
    EXPECT_EQ(std::get<StatisticsError>(outcome), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StatisticsErrors,
    testing::Values(ErrorRow{"Empty", {}, StatisticsError::EmptyList},
                    ErrorRow{"SumOverflows", {"1e308", "1e308"}, StatisticsError::OutOfRange},
                    ErrorRow{"ValueOverflows", {"1", "1e400"}, StatisticsError::OutOfRange},
                    ErrorRow{"NegativeValueOverflows", {"-1e400"}, StatisticsError::OutOfRange},
                    ErrorRow{"HexOverflows", {"&H" + std::string(300, 'F')}, StatisticsError::OutOfRange},
                    ErrorRow{"SquaresOverflow", {"1e200", "-1e200"}, StatisticsError::OutOfRange},
                    ErrorRow{"MeanCutOverflows", {"1e307"}, StatisticsError::OutOfRange}),
    RowName{});

// ---- items not read whole -------------------------------------------------

struct LooseRow
{
    std::string name;
    std::vector<std::string> items;
    std::vector<std::size_t> withoutNumber;
    std::vector<std::size_t> partlyRead;
    std::vector<std::size_t> all;
    std::vector<std::size_t> blanksInside = {};
};

void PrintTo(const LooseRow &row, std::ostream *out) { *out << row.name; }

class LooseReadings : public testing::TestWithParam<LooseRow>
{};

TEST_P(LooseReadings, FindsTheItemsNotReadWhole)
{
    const LooseRow &row = GetParam();
    const stats::LooseReadings loose = stats::looseReadings(row.items);
    EXPECT_EQ(loose.withoutNumber, row.withoutNumber);
    EXPECT_EQ(loose.partlyRead, row.partlyRead);
    EXPECT_EQ(loose.blanksInside, row.blanksInside);
    EXPECT_EQ(loose.all(), row.all);
    EXPECT_EQ(loose.empty(), row.all.empty());
    // The calculation finds the same items in its own pass over the list.
    const stats::FiguresOutcome figures = stats::calculateFigures(row.items, "3σ");
    if (const auto *calculated = std::get_if<stats::StatisticsFigures>(&figures)) {
        EXPECT_EQ(calculated->loose.all(), row.all);
        EXPECT_EQ(calculated->loose.blanksInside, row.blanksInside);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, LooseReadings,
    testing::Values(
        LooseRow{"Empty", {}, {}, {}, {}},
        LooseRow{"AllWhole", {"1", " 2 ", "３", "&H1F", "4e2"}, {}, {}, {}},
        LooseRow{"HeaderFirst", {"測定値", "10", "20"}, {0}, {}, {0}},
        LooseRow{"BothKindsInterleaved",
                 {"1,234.5", "±0.1", "12.5", "12.5mm", "", "-", "1e"},
                 {1, 4, 5},
                 {0, 3, 6},
                 {0, 1, 3, 4, 5, 6}},
        LooseRow{"LastOnly", {"1", "2", "3ー"}, {}, {2}, {2}},
        // Read whole as 2501 and 2502, but not as typed: told, not refused.
        LooseRow{"BlanksInsideTheNumber",
                 {"25 01", " 25.01 ", "２５　０２", "2 .5", "1 e3", "- 5", "25 01mm"},
                 {},
                 {6},
                 {0, 2, 3, 4, 6},
                 {0, 2, 3, 4}}),
    RowName{});

} // namespace
