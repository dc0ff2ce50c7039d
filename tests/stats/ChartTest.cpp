#include "stats/Chart.h"
#include "stats/Statistics.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using stats::Tolerance;
using stats::StatisticsFigures;

const std::string kDash = "\xE2\x80\x94";

StatisticsFigures figuresOf(const std::vector<std::string> &items, const char *sigma = "3\xCF\x83")
{
    auto outcome = stats::calculateFigures(items, sigma);
    EXPECT_TRUE(std::holds_alternative<StatisticsFigures>(outcome));
    return std::get<StatisticsFigures>(outcome);
}

// ---- capability ------------------------------------------------------------

struct CapabilityRow
{
    const char *name;
    std::vector<std::string> items;
    Tolerance limits;
    std::string sampleSigma, cp, cpk, outside, outsidePercent;
    bool reasonGiven;
};

void PrintTo(const CapabilityRow &row, std::ostream *out) { *out << row.name; }

class CapabilityFigures : public testing::TestWithParam<CapabilityRow>
{};

TEST_P(CapabilityFigures, MatchTable)
{
    const CapabilityRow &row = GetParam();
    const auto c = stats::processCapability(figuresOf(row.items), row.limits);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->sampleSigmaText, row.sampleSigma);
    EXPECT_EQ(c->cpText, row.cp);
    EXPECT_EQ(c->cpkText, row.cpk);
    EXPECT_EQ(c->outsideCountText, row.outside);
    EXPECT_EQ(c->outsidePercentText, row.outsidePercent);
    EXPECT_EQ(!c->reason.empty(), row.reasonGiven) << c->reason;
}

// 122, 130, 138: mean 130, s = 8 (population sigma 6.53, which must not be used).
const std::vector<std::string> kWorked = {"122", "130", "138"};

const CapabilityRow kCapabilityRows[] = {
    {"WorkedExample", kWorked, {150.0, 100.0}, "8.", "1.04", "0.83", "0", "0", false},
    {"UpperOnly", kWorked, {150.0, std::nullopt}, "8.", kDash, "0.83", "0", "0", true},
    {"LowerOnly", kWorked, {std::nullopt, 100.0}, "8.", kDash, "1.25", "0", "0", true},
    // Mean outside the tolerance: Cpk below zero, cut toward zero as the mean is.
    {"MeanAboveUpper", kWorked, {125.0, 100.0}, "8.", "0.52", "-0.21", "2", "67", false},
    {"WholeNumbersKeepDecimals", kWorked, {154.0, 106.0}, "8.", "1.00", "1.00", "0", "0", false},
    // A value equal to a limit lies within it; one beyond each side counts once.
    {"ValuesOnAndBeyond", kWorked, {130.0, 125.0}, "8.", "0.10", "0.00", "2", "67", false},
    {"SingleValue", {"5"}, {6.0, 4.0}, kDash, kDash, kDash, "0", "0", true},
    {"NoSpread", {"5", "5", "5"}, {6.0, 4.0}, ".", kDash, kDash, "0", "0", true},
    {"UpperNotAboveLower", kWorked, {100.0, 150.0}, "8.", kDash, kDash, "3", "100", true},
    {"EqualLimits", kWorked, {130.0, 130.0}, "8.", kDash, kDash, "2", "67", true},
    {"BeyondDoubleRange", kWorked, {1e308, -1e308}, "8.", kDash, kDash, "0", "0", true},
};

INSTANTIATE_TEST_SUITE_P(Table, CapabilityFigures, testing::ValuesIn(kCapabilityRows), RowName());

TEST(Capability, NoneWithoutLimits)
{
    EXPECT_FALSE(stats::processCapability(figuresOf(kWorked), {}).has_value());
}

// ---- tolerance entries -------------------------------------------------------

struct ToleranceRow
{
    const char *name;
    std::string text;
    stats::ToleranceEntry entry;
    double value;
};

void PrintTo(const ToleranceRow &row, std::ostream *out) { *out << row.name; }

class ToleranceEntries : public testing::TestWithParam<ToleranceRow>
{};

TEST_P(ToleranceEntries, ReadAsTable)
{
    const ToleranceRow &row = GetParam();
    const stats::ToleranceReading reading = stats::readToleranceLimit(row.text);
    EXPECT_EQ(reading.entry, row.entry);
    EXPECT_EQ(reading.value, row.value);
}

const ToleranceRow kToleranceRows[] = {
    {"Empty", "", stats::ToleranceEntry::Empty, 0},
    {"Blanks", " \t\xE3\x80\x80 ", stats::ToleranceEntry::Empty, 0},
    {"Plain", "150", stats::ToleranceEntry::Number, 150},
    {"Zero", "0", stats::ToleranceEntry::Number, 0},
    {"NegativeFraction", "-.5", stats::ToleranceEntry::Number, -0.5},
    {"FullWidth", "\xEF\xBC\x91\xEF\xBC\x92", stats::ToleranceEntry::Number, 12},
    {"UnitAfterNumber", "12mm", stats::ToleranceEntry::Number, 12},
    {"Hexadecimal", "&H10", stats::ToleranceEntry::Number, 16},
    {"Word", "abc", stats::ToleranceEntry::NotNumber, 0},
    {"LonePoint", ".", stats::ToleranceEntry::NotNumber, 0},
    {"LoneSign", "-", stats::ToleranceEntry::NotNumber, 0},
    {"RadixWithoutDigits", "&H", stats::ToleranceEntry::NotNumber, 0},
    {"OctalNine", "&O9", stats::ToleranceEntry::NotNumber, 0},
    {"BeyondDoubleRange", "1e999", stats::ToleranceEntry::NotNumber, 0},
};

INSTANTIATE_TEST_SUITE_P(Table, ToleranceEntries, testing::ValuesIn(kToleranceRows), RowName());

// ---- histogram classes --------------------------------------------------------

struct UnitRow
{
    const char *name;
    std::vector<double> values;
    double unit;
};

void PrintTo(const UnitRow &row, std::ostream *out) { *out << row.name; }

class MeasurementUnits : public testing::TestWithParam<UnitRow>
{};

TEST_P(MeasurementUnits, MatchTable)
{
    EXPECT_EQ(stats::measurementUnit(GetParam().values), GetParam().unit);
}

const UnitRow kUnitRows[] = {
    {"Integers", {120, 130, 7}, 1.0},
    {"Tenths", {12.5, 13, -0.5}, 0.1},
    {"Hundredths", {12.5, 13, 12.25}, 0.01},
    {"Tiny", {0.00001, 0.00002}, 0.00001},
    {"Empty", {}, 1.0},
    {"Zeros", {0, 0}, 1.0},
    // 0.1 + 0.2 is 0.30000000000000004: noise, not a finer unit.
    {"BinaryNoise", {0.1 + 0.2, 0.5}, 0.1},
};

INSTANTIATE_TEST_SUITE_P(Table, MeasurementUnits, testing::ValuesIn(kUnitRows), RowName());

// Counts add up to n, classes join without gaps, every boundary lies half a
// unit from the values, and the class count follows sqrt(n) within 5..30.
void expectSoundClasses(const std::vector<double> &values)
{
    const stats::Histogram h = stats::histogramClasses(values);
    ASSERT_GE(h.classes.size(), 5u);
    ASSERT_LE(h.classes.size(), 30u);
    std::int64_t total = 0;
    for (std::size_t i = 0; i < h.classes.size(); ++i) {
        total += h.classes[i].count;
        if (i > 0) {
            EXPECT_EQ(h.classes[i].lower, h.classes[i - 1].upper);
        }
        EXPECT_NEAR(h.classes[i].upper - h.classes[i].lower, h.width, h.width * 1e-9);
    }
    EXPECT_EQ(total, static_cast<std::int64_t>(values.size()));
    const double steps = h.width / h.unit;
    EXPECT_NEAR(steps, std::round(steps), 1e-9);
    for (const double v : values) {
        EXPECT_LT(h.classes.front().lower, v);
        EXPECT_GT(h.classes.back().upper, v);
        for (const auto &c : h.classes) {
            // Half a unit away from each boundary, up to rounding.
            const double offset = std::abs(v - c.lower) / h.unit;
            EXPECT_NEAR(offset - std::floor(offset), 0.5, 1e-6) << v << " near " << c.lower;
        }
    }
}

TEST(HistogramClasses, SmallListHasFiveClasses)
{
    const stats::Histogram h = stats::histogramClasses({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_EQ(h.classes.size(), 5u);
    EXPECT_EQ(h.width, 2.0);
    EXPECT_EQ(h.classes.front().lower, 0.5);
    EXPECT_EQ(h.classes.back().upper, 10.5);
    for (const auto &c : h.classes)
        EXPECT_EQ(c.count, 2);
}

TEST(HistogramClasses, AllEqualValuesSitInTheMiddleClass)
{
    const stats::Histogram h = stats::histogramClasses({4.2, 4.2, 4.2});
    ASSERT_EQ(h.classes.size(), 5u);
    EXPECT_EQ(h.classes[2].count, 3);
    EXPECT_NEAR(h.classes[2].lower, 4.15, 1e-12);
    EXPECT_NEAR(h.classes[2].upper, 4.25, 1e-12);
}

TEST(HistogramClasses, ClassCountFollowsSquareRoot)
{
    std::mt19937 random(7);
    std::normal_distribution<double> spread(50.0, 4.0);
    // n -> sqrt(n) clamped to 5..30; the rounded width may give one class more
    // or a few fewer.
    for (const std::size_t n : {2u, 30u, 100u, 400u, 32767u}) {
        std::vector<double> values;
        for (std::size_t i = 0; i < n; ++i)
            values.push_back(std::round(spread(random) * 100) / 100);
        SCOPED_TRACE(n);
        expectSoundClasses(values);
        const double wanted = std::clamp(std::round(std::sqrt(double(n))), 5.0, 30.0);
        const auto classes = static_cast<double>(stats::histogramClasses(values).classes.size());
        EXPECT_LE(classes, std::min(wanted + 1, 30.0));
        EXPECT_GE(classes, wanted * 0.75);
    }
}

TEST(HistogramClasses, SoundForAwkwardData)
{
    expectSoundClasses({-3.5, 2.5, 0.0, -0.5});
    expectSoundClasses({1e6, 1e6 + 1, 1e6 + 2});
    expectSoundClasses({0.001, 0.002, 0.0015, 0.0011});
    // A coarse unit against many values: the width is bumped so 30 classes suffice.
    std::vector<double> wide;
    for (int i = 0; i < 1000; ++i)
        wide.push_back(i % 61);
    expectSoundClasses(wide);
}

// ---- chart data against the calculation -------------------------------------------

TEST(ChartData, AgreesWithTheResultBoxes)
{
    const std::vector<std::string> items = {"1", "2", "3", "4", "abc"};
    const StatisticsFigures figures = figuresOf(items, "1\xCF\x83");
    const stats::StatisticsTexts texts = stats::statisticsTexts(figures);
    const stats::ChartData data = stats::chartData(figures, {3.5, std::nullopt});

    ASSERT_EQ(data.points.size(), items.size());
    const std::vector<double> drawn = {1, 2, 3, 4, 0}; // text without a number is drawn as 0
    std::int64_t beyond = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(data.points[i].value, drawn[i]);
        beyond += data.points[i].beyondLimit ? 1 : 0;
    }
    EXPECT_EQ(beyond, figures.aboveCount + figures.belowCount);

    ASSERT_EQ(data.lines.size(), 4u);
    EXPECT_EQ(data.lines[0].value, figures.mean);
    EXPECT_EQ(data.lines[0].label, "平均 " + texts.mean);
    EXPECT_EQ(data.lines[1].value, figures.upperLimit);
    EXPECT_EQ(data.lines[1].label, "上限 " + texts.upperLimit);
    EXPECT_EQ(data.lines[2].value, figures.lowerLimit);
    EXPECT_EQ(data.lines[2].label, "下限 " + texts.lowerLimit);
    EXPECT_EQ(data.lines[3].kind, stats::LineKind::UpperTolerance);
    EXPECT_EQ(data.lines[3].label, "規格上限 3.5");

    ASSERT_TRUE(data.capability.has_value());
    EXPECT_EQ(data.capability->outsideCountText, "1");
    for (const auto &line : data.lines) {
        EXPECT_LE(data.low, line.value);
        EXPECT_GE(data.high, line.value);
    }
    EXPECT_LE(data.low, data.histogram.classes.front().lower);
    EXPECT_GE(data.high, data.histogram.classes.back().upper);
}

TEST(ChartData, LimitEqualToAValueIsNotBeyond)
{
    // 1000 and 3000 with 1σ: the limits are exactly 3000 and 1000.
    const stats::ChartData data = stats::chartData(figuresOf({"1000", "3000"}, "1\xCF\x83"), {});
    ASSERT_EQ(data.points.size(), 2u);
    EXPECT_FALSE(data.points[0].beyondLimit);
    EXPECT_FALSE(data.points[1].beyondLimit);
    EXPECT_FALSE(data.capability.has_value());
}

} // namespace
