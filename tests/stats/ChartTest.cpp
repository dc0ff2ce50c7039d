#include "files/ValueFile.h"
#include "stats/Chart.h"
#include "stats/Statistics.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    std::string reason; // empty when both indices are shown
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
    EXPECT_EQ(c->reason, row.reason);
}

// ",000" as many times as asked: the grouped zeros of a huge result.
std::string zeroGroups(int groups)
{
    std::string text;
    for (int i = 0; i < groups; ++i)
        text += ",000";
    return text;
}

// 122, 130, 138: mean 130, s = 8 (population sigma 6.53, which must not be used).
const std::vector<std::string> kWorked = {"122", "130", "138"};

const std::string kOneSided = "規格が片側のみのため Cp はありません";
const std::string kTooFew = "データが2個未満です";
const std::string kNoSpread = "ばらつきがありません (s = 0)";
const std::string kTooLarge = "値が大きすぎます";
const std::string kInverted = "規格上限が規格下限以下です";
const std::string kEqualLimits = "規格上限と規格下限が同じです";

const CapabilityRow kCapabilityRows[] = {
    {"WorkedExample", kWorked, {150.0, 100.0}, "8.", "1.04", "0.83", "0", "0", ""},
    {"UpperOnly", kWorked, {150.0, std::nullopt}, "8.", kDash, "0.83", "0", "0", kOneSided},
    {"LowerOnly", kWorked, {std::nullopt, 100.0}, "8.", kDash, "1.25", "0", "0", kOneSided},
    // Mean outside the tolerance: Cpk below zero, rounded to two decimals as the mean is.
    {"MeanAboveUpper", kWorked, {125.0, 100.0}, "8.", "0.52", "-0.21", "2", "67", ""},
    {"WholeNumbersKeepDecimals", kWorked, {154.0, 106.0}, "8.", "1.00", "1.00", "0", "0", ""},
    // A value equal to a limit lies within it; one beyond each side counts once.
    {"ValuesOnAndBeyond", kWorked, {130.0, 125.0}, "8.", "0.10", "0.00", "2", "67", ""},
    {"SingleValue", {"5"}, {6.0, 4.0}, kDash, kDash, kDash, "0", "0", kTooFew},
    {"NoSpread", {"5", "5", "5"}, {6.0, 4.0}, ".", kDash, kDash, "0", "0", kNoSpread},
    // Limits that leave no room between them are a typing slip: nothing is
    // counted as outside them, and that comes before any other reason.
    {"UpperNotAboveLower", kWorked, {100.0, 150.0}, "8.", kDash, kDash, kDash, kDash, kInverted},
    {"EqualLimits", kWorked, {130.0, 130.0}, "8.", kDash, kDash, kDash, kDash, kEqualLimits},
    {"InvertedWithOneValue", {"5"}, {4.0, 6.0}, kDash, kDash, kDash, kDash, kDash, kInverted},
    {"EqualLimitsNoSpread", {"5", "5"}, {5.0, 5.0}, ".", kDash, kDash, kDash, kDash, kEqualLimits},
    {"BeyondDoubleRange", kWorked, {1e308, -1e308}, "8.", kDash, kDash, "0", "0", kTooLarge},
    // The squared deviations of subnormal values vanish: no spread to divide by.
    {"SubnormalValues", {"1e-320", "2e-320", "3e-320"}, {1e-319, 0.0}, ".", kDash, kDash, "0", "0",
     kNoSpread},
    {"EqualValuesNearDoubleLimit", {"1.7e306", "1.7e306"}, {1.75e306, -1.7e306}, ".", kDash, kDash,
     "0", "0", kNoSpread},
    // 1e150, -1e150 and 0: mean 0, s = 1e150, so each index rounds to zero.
    {"HugeSpreadNarrowTolerance", {"1e150", "-1e150", "0"}, {1.0, -1.0},
     "1" + zeroGroups(50) + ".", "0.00", "0.00", "2", "67", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, CapabilityFigures, testing::ValuesIn(kCapabilityRows), RowName());

// Figures no calculation accepts (their squares overflow) still give texts,
// and the reason names the size, not a missing spread.
TEST(Capability, SpreadBeyondDoubleRange)
{
    StatisticsFigures figures;
    figures.values = {1e200, -1e200};
    const auto c = stats::processCapability(figures, {1.0, -1.0});
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->sampleSigmaText, kDash);
    EXPECT_EQ(c->cpText, kDash);
    EXPECT_EQ(c->cpkText, kDash);
    EXPECT_EQ(c->reason, "値が大きすぎます");
}

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
    {"LineFeeds", "\n \n", stats::ToleranceEntry::Empty, 0},
    // A NUL byte is no blank: the entry is text without a number.
    {"NulByte", std::string(" \0 ", 3), stats::ToleranceEntry::NotNumber, 0},
    {"HalfOfIdeographicSpace", "\xE3\x80", stats::ToleranceEntry::NotNumber, 0},
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
    // Twelve significant digits are all counted.
    {"TwelveDigits", {1.23456789012}, 1e-11},
    // Only twelve digits of the largest magnitude count: 123456789012|3.
    {"ThirteenDigitMagnitude", {1234567890123}, 10.0},
    {"ThirteenDigitsBesideAFineValue", {1234567890123, 0.5}, 10.0},
    {"HugeBesideTiny", {1e300, 1e-320}, 1e289},
    {"NearDoubleLimit", {-1.7e306}, 1e295},
    // Finer than 10^-307 a double holds no twelve digits; the unit stops there.
    {"Subnormal", {1e-320, 2e-320, 3e-320}, 1e-307},
    {"BelowFullPrecision", {1.23456789e-300}, 1e-307},
    {"NegativeZero", {-0.0}, 1.0},
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

// Each value in the class whose [lower, upper) holds it, boundaries finite
// and joined, 5 to 30 classes: what must hold for any values a calculation
// accepts, however extreme.
void expectEachValueInItsClass(const std::vector<double> &values)
{
    const stats::Histogram h = stats::histogramClasses(values);
    EXPECT_TRUE(std::isfinite(h.unit) && h.unit > 0) << h.unit;
    EXPECT_TRUE(std::isfinite(h.width) && h.width >= h.unit) << h.width;
    ASSERT_GE(h.classes.size(), 5u);
    ASSERT_LE(h.classes.size(), 30u);
    std::vector<std::int64_t> found(h.classes.size(), 0);
    for (std::size_t i = 0; i < h.classes.size(); ++i) {
        EXPECT_TRUE(std::isfinite(h.classes[i].lower) && std::isfinite(h.classes[i].upper));
        EXPECT_LT(h.classes[i].lower, h.classes[i].upper);
        if (i > 0) {
            EXPECT_EQ(h.classes[i].lower, h.classes[i - 1].upper);
        }
    }
    for (const double v : values) {
        const auto in = std::find_if(h.classes.begin(), h.classes.end(), [v](const auto &c) {
            return c.lower <= v && v < c.upper;
        });
        ASSERT_NE(in, h.classes.end()) << v << " lies in no class";
        ++found[static_cast<std::size_t>(in - h.classes.begin())];
    }
    for (std::size_t i = 0; i < h.classes.size(); ++i)
        EXPECT_EQ(h.classes[i].count, found[i]) << "class " << i;
}

struct ExtremeRow
{
    const char *name;
    std::vector<double> values;
};

void PrintTo(const ExtremeRow &row, std::ostream *out) { *out << row.name; }

class ExtremeHistograms : public testing::TestWithParam<ExtremeRow>
{};

TEST_P(ExtremeHistograms, EachValueInItsClass)
{
    expectEachValueInItsClass(GetParam().values);
}

std::vector<double> fullList()
{
    std::vector<double> values;
    for (std::size_t i = 0; i < files::kMaxListItems; ++i)
        values.push_back(static_cast<double>(i * 7919 % 32767) * 0.001 - 16.0);
    return values;
}

const ExtremeRow kExtremeRows[] = {
    {"Subnormal", {1e-320, 2e-320, 3e-320}},
    {"SmallestSubnormal", {4.9406564584124654e-324, -4.9406564584124654e-324}},
    {"HugeBesideTiny", {1e300, 1e-320, -1e300}},
    {"NearDoubleLimit", {1.7e306, -1.7e306, 1.7e306 - 1e295}},
    {"LargestClassed", {1e307, -1e307}},
    {"OneValue", {42.0}},
    {"AllEqual", {-7.25, -7.25, -7.25, -7.25, -7.25, -7.25, -7.25}},
    {"NegativeZero", {-0.0, 0.0, -0.0}},
    {"FullList", fullList()},
    // 4.32401338005 sits half a unit (1e-10) off the grid of 10: rounding
    // once put the top boundary on 10 itself.
    {"DigitsBelowTheUnit", {10, 4.32401338005}},
};

INSTANTIATE_TEST_SUITE_P(Table, ExtremeHistograms, testing::ValuesIn(kExtremeRows), RowName());

TEST(HistogramClasses, NoneForValuesNoCalculationGives)
{
    EXPECT_TRUE(stats::histogramClasses({}).classes.empty());
    EXPECT_TRUE(stats::histogramClasses({1.0, 1.7e308}).classes.empty());
    EXPECT_TRUE(stats::histogramClasses({1.0, std::nan("")}).classes.empty());
}

struct ShapeRow
{
    const char *name;
    std::vector<double> values;
    double width;
    double firstLower;
    std::vector<std::int64_t> counts;
};

void PrintTo(const ShapeRow &row, std::ostream *out) { *out << row.name; }

class HistogramShapes : public testing::TestWithParam<ShapeRow>
{};

TEST_P(HistogramShapes, MatchTable)
{
    const ShapeRow &row = GetParam();
    const stats::Histogram h = stats::histogramClasses(row.values);
    EXPECT_EQ(h.width, row.width);
    ASSERT_EQ(h.classes.size(), row.counts.size());
    EXPECT_NEAR(h.classes.front().lower, row.firstLower,
                std::max(row.width * 1e-9, std::abs(row.firstLower) * 1e-15));
    for (std::size_t i = 0; i < row.counts.size(); ++i)
        EXPECT_EQ(h.classes[i].count, row.counts[i]) << "class " << i;
}

const ShapeRow kShapeRows[] = {
    // 0 to 11: 11 units over 5 classes is 2.2, so the width is 2 (not 3).
    {"WidthRoundedToNearest", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 2.0, -0.5,
     {2, 2, 2, 2, 2, 2}},
    // Subnormal values share the finest unit's class, two empty ones each side.
    {"Subnormal", {1e-320, 2e-320, 3e-320}, 1e-307, -2.5e-307, {0, 0, 3, 0, 0}},
    {"OneHugeValue", {1.7e306}, 1e295, 1.7e306 - 2.5e295, {0, 0, 1, 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Table, HistogramShapes, testing::ValuesIn(kShapeRows), RowName());

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
    for (const std::size_t n : {std::size_t{2}, std::size_t{30}, std::size_t{100},
                                std::size_t{400}, files::kMaxListItems}) {
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
    // 1, 2, 3, 4 and 0 (text without a number) with 1σ: mean 2, squared
    // deviations 1 + 0 + 1 + 4 + 4 = 10, sigma = sqrt(10 / 5) = 1.41421356...,
    // so the limits are 3.41421356... and 0.58578643..., shown to four decimals;
    // 4 lies above the upper limit and 0 below the lower one.
    const std::vector<std::string> items = {"1", "2", "3", "4", "abc"};
    const StatisticsFigures figures = figuresOf(items, "1\xCF\x83");
    const stats::ChartData data = stats::chartData(figures, {3.5, std::nullopt});

    ASSERT_EQ(data.points.size(), items.size());
    const std::vector<double> drawn = {1, 2, 3, 4, 0};
    const std::vector<bool> beyond = {false, false, false, true, true};
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(data.points[i].value, drawn[i]) << "point " << i;
        EXPECT_EQ(data.points[i].beyondLimit, beyond[i]) << "point " << i;
    }

    ASSERT_EQ(data.lines.size(), 4u);
    EXPECT_EQ(data.lines[0].value, figures.mean);
    EXPECT_EQ(data.lines[0].label, "平均 2");
    EXPECT_EQ(data.lines[1].value, figures.upperLimit);
    EXPECT_EQ(data.lines[1].label, "上限 3.4142");
    EXPECT_EQ(data.lines[2].value, figures.lowerLimit);
    EXPECT_EQ(data.lines[2].label, "下限 .5858");
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

// ---- what a screen reader says for the pictures ---------------------------------

struct DescriptionRow
{
    const char *name;
    std::vector<std::string> items;
    const char *sigma;
    Tolerance limits;
    std::string runChart, histogram;
};

void PrintTo(const DescriptionRow &row, std::ostream *out) { *out << row.name; }

class PictureDescriptions : public testing::TestWithParam<DescriptionRow>
{};

TEST_P(PictureDescriptions, MatchTable)
{
    const DescriptionRow &row = GetParam();
    const stats::ChartData data = stats::chartData(figuresOf(row.items, row.sigma), row.limits);
    EXPECT_EQ(stats::runChartDescription(data), row.runChart);
    EXPECT_EQ(stats::histogramDescription(data), row.histogram);
}

const DescriptionRow kDescriptionRows[] = {
    // Mean 18, sigma 16: only 50 lies beyond the upper limit 34.
    {"OneSignal", {"10", "10", "10", "10", "50"}, "1\xCF\x83", {},
     "値 5 個を一覧の順に結んだ線。平均 18、上限 34.、下限 2.。上限・下限をこえた点 1 個 (5 番目)。",
     "6 級、幅 8 (測定単位 1)、9.5 から 57.5 まで。度数は小さい級から 4、0、0、0、0、1。"},
    {"WithTolerance", kWorked, "3\xCF\x83", {150.0, 100.0},
     "値 3 個を一覧の順に結んだ線。平均 130、上限 149.5959、下限 110.4041、規格上限 150、"
     "規格下限 100。上限・下限をこえた点はありません。",
     "6 級、幅 3 (測定単位 1)、121.5 から 139.5 まで。度数は小さい級から 1、0、1、0、0、1。"
     "規格外の値 0 個 (0 %)。"},
    // An unknown sigma choice puts both limits on the mean 7: all but the
    // 7th value lie beyond; the first ten are named.
    {"MoreSignalsThanNamed",
     {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}, "", {},
     "値 13 個を一覧の順に結んだ線。平均 7、上限 7.、下限 7.。"
     "上限・下限をこえた点 12 個 (1・2・3・4・5・6・8・9・10・11 番目、ほか 2 個)。",
     "7 級、幅 2 (測定単位 1)、0.5 から 14.5 まで。度数は小さい級から 2、2、2、2、2、2、1。"},
    // Limits the wrong way round count nothing as outside, so the
    // histogram's description names no such values.
    {"InvertedTolerance", kWorked, "3\xCF\x83", {100.0, 150.0},
     "値 3 個を一覧の順に結んだ線。平均 130、上限 149.5959、下限 110.4041、規格上限 100、"
     "規格下限 150。上限・下限をこえた点はありません。",
     "6 級、幅 3 (測定単位 1)、121.5 から 139.5 まで。度数は小さい級から 1、0、1、0、0、1。"},
};

INSTANTIATE_TEST_SUITE_P(Table, PictureDescriptions, testing::ValuesIn(kDescriptionRows),
                         RowName());

// ---- chart data of extreme calculations -------------------------------------------

struct ExtremeChartRow
{
    const char *name;
    std::vector<std::string> items;
    Tolerance limits;
};

void PrintTo(const ExtremeChartRow &row, std::ostream *out) { *out << row.name; }

class ExtremeCharts : public testing::TestWithParam<ExtremeChartRow>
{};

// The range to draw is finite, holds every point, line and class, and the
// texts say no "inf" or "nan".
TEST_P(ExtremeCharts, DrawableRange)
{
    const ExtremeChartRow &row = GetParam();
    const stats::ChartData data = stats::chartData(figuresOf(row.items), row.limits);
    EXPECT_TRUE(std::isfinite(data.low) && std::isfinite(data.high));
    EXPECT_LT(data.low, data.high);
    for (const auto &p : data.points) {
        EXPECT_LE(data.low, p.value);
        EXPECT_GE(data.high, p.value);
    }
    for (const auto &line : data.lines) {
        EXPECT_LE(data.low, line.value);
        EXPECT_GE(data.high, line.value);
    }
    ASSERT_GE(data.histogram.classes.size(), 5u);
    EXPECT_LE(data.low, data.histogram.classes.front().lower);
    EXPECT_GE(data.high, data.histogram.classes.back().upper);
    for (const std::string &text :
         {stats::runChartDescription(data), stats::histogramDescription(data)}) {
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    }
}

const ExtremeChartRow kExtremeChartRows[] = {
    {"Subnormal", {"1e-320", "2e-320", "3e-320"}, {}},
    {"OneValueNearDoubleLimit", {"1.7e306"}, {}},
    {"NegativeNearDoubleLimit", {"-1.7e306", "-1.7e306"}, {1.0, -1.79e308}},
    {"ToleranceAtBothEnds", {"1", "2", "3"}, {1.79e308, -1.79e308}},
    {"NegativeZero", {"-0"}, {}},
    {"HugeBesideTiny", {"1e150", "1e-320", "-1e150"}, {1e-320, -1e-320}},
};

INSTANTIATE_TEST_SUITE_P(Table, ExtremeCharts, testing::ValuesIn(kExtremeChartRows), RowName());

} // namespace
