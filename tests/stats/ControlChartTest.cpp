#include "stats/ControlChart.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace {

using stats::ControlChart;
using stats::ControlLimits;
using stats::SpecialCauseTests;
using stats::Tolerance;

constexpr double kClose = 1e-9;

ControlChart formed(const stats::ControlChartOutcome &outcome)
{
    if (const auto *refused = std::get_if<stats::NoControlChart>(&outcome))
        ADD_FAILURE() << "refused: " << refused->reason;
    return std::holds_alternative<ControlChart>(outcome) ? std::get<ControlChart>(outcome)
                                                         : ControlChart{};
}

std::vector<std::string> labelsOf(const stats::ControlSeries &series)
{
    std::vector<std::string> labels;
    for (const auto &line : series.lines)
        labels.push_back(line.label);
    return labels;
}

// ---- the two charts' figures -------------------------------------------------

TEST(ControlChart, IndividualsWorkedExample)
{
    const ControlChart chart = formed(stats::individualsChart({10, 12, 11, 13, 12, 14}));
    EXPECT_NEAR(chart.location.limits.center, 12.0, kClose);
    EXPECT_NEAR(chart.location.limits.upper, 16.256, kClose);
    EXPECT_NEAR(*chart.location.limits.lower, 7.744, kClose);
    EXPECT_NEAR(chart.spread.limits.center, 1.6, kClose);
    EXPECT_NEAR(chart.spread.limits.upper, 5.2272, kClose);
    EXPECT_FALSE(chart.spread.limits.lower.has_value());
    EXPECT_EQ(labelsOf(chart.location),
              (std::vector<std::string>{"上方管理限界 16.256", "中心線 12", "下方管理限界 7.744"}));
    EXPECT_EQ(labelsOf(chart.spread),
              (std::vector<std::string>{"上方管理限界 5.2272", "中心線 1.6"}));
    // Moving ranges 2 1 2 1 2, numbered from the second value.
    EXPECT_EQ(chart.spread.values, (std::vector<double>{2, 1, 2, 1, 2}));
    EXPECT_EQ(chart.spread.firstNumber, 2);
    EXPECT_EQ(chart.location.firstNumber, 1);
    EXPECT_EQ(chart.spread.trippedTests.size(), 5u);
    // The drawing range reaches from the lower limit to the upper one.
    EXPECT_NEAR(chart.location.low, 7.744, kClose);
    EXPECT_NEAR(chart.location.high, 16.256, kClose);
    EXPECT_EQ(chart.spread.low, 1.0);
    EXPECT_EQ(chart.leftOut, 0);
    EXPECT_EQ(chart.leftOutNote, "");
}

TEST(ControlChart, SubgroupWorkedExampleLeavesIncompleteGroupOut)
{
    // Subgroups of 3: means 11, 13, 12 and ranges 2, 2, 3; the 99 is left out.
    const ControlChart chart =
        formed(stats::subgroupChart({10, 12, 11, 13, 12, 14, 11, 11, 14, 99}, 3));
    EXPECT_NEAR(chart.location.limits.center, 12.0, kClose);
    EXPECT_NEAR(chart.location.limits.upper, 12.0 + 1.023 * 7 / 3, kClose);
    EXPECT_NEAR(chart.spread.limits.center, 7.0 / 3, kClose);
    EXPECT_EQ(labelsOf(chart.location),
              (std::vector<std::string>{"上方管理限界 14.387", "中心線 12", "下方管理限界 9.613"}));
    EXPECT_EQ(labelsOf(chart.spread),
              (std::vector<std::string>{"上方管理限界 6.006", "中心線 2.3333"}));
    EXPECT_EQ(chart.location.values, (std::vector<double>{11, 13, 12}));
    EXPECT_EQ(chart.spread.values, (std::vector<double>{2, 2, 3}));
    EXPECT_EQ(chart.spread.firstNumber, 1);
    EXPECT_EQ(chart.leftOut, 1);
    EXPECT_EQ(chart.leftOutNote, "群にそろわない最後の値 1 個は除きました");
}

struct FactorRow
{
    const char *name;
    int n;
    double a2, d4;
    std::optional<double> d3;
};

void PrintTo(const FactorRow &row, std::ostream *out) { *out << row.name; }

class SubgroupFactors : public testing::TestWithParam<FactorRow>
{};

// Two subgroups of 0, 1, 0, ...: every range is 1, so R̄ = 1 and each limit
// lies the factor itself away from its centre.
TEST_P(SubgroupFactors, LimitsUseTheTable)
{
    const FactorRow &row = GetParam();
    std::vector<double> values(static_cast<std::size_t>(2 * row.n), 0.0);
    values[1] = values[static_cast<std::size_t>(row.n) + 1] = 1.0;
    const ControlChart chart = formed(stats::subgroupChart(values, row.n));
    EXPECT_EQ(chart.subgroupSize, row.n);
    EXPECT_NEAR(chart.location.limits.upper - chart.location.limits.center, row.a2, kClose);
    EXPECT_NEAR(chart.location.limits.center - *chart.location.limits.lower, row.a2, kClose);
    EXPECT_NEAR(chart.spread.limits.upper, row.d4, kClose);
    ASSERT_EQ(chart.spread.limits.lower.has_value(), row.d3.has_value());
    if (row.d3) {
        EXPECT_NEAR(*chart.spread.limits.lower, *row.d3, kClose);
    }
    EXPECT_EQ(chart.spread.lines.size(), row.d3 ? 3u : 2u);
}

const FactorRow kFactorRows[] = {
    {"Two", 2, 1.880, 3.267, std::nullopt},   {"Three", 3, 1.023, 2.574, std::nullopt},
    {"Four", 4, 0.729, 2.282, std::nullopt},  {"Five", 5, 0.577, 2.114, std::nullopt},
    {"Six", 6, 0.483, 2.004, std::nullopt},   {"Seven", 7, 0.419, 1.924, 0.076},
    {"Eight", 8, 0.373, 1.864, 0.136},        {"Nine", 9, 0.337, 1.816, 0.184},
    {"Ten", 10, 0.308, 1.777, 0.223},
};
INSTANTIATE_TEST_SUITE_P(JisZ9020, SubgroupFactors, testing::ValuesIn(kFactorRows), RowName{});

TEST(ControlChart, DefaultSubgroupIsFive)
{
    const std::vector<double> values = {1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 7};
    const ControlChart chart = formed(stats::subgroupChart(values));
    EXPECT_EQ(chart.subgroupSize, 5);
    EXPECT_EQ(chart.leftOut, 1);
    EXPECT_NEAR(chart.spread.limits.upper, 2.114 * 4, kClose);
}

// ---- charts refused ------------------------------------------------------------

struct RefusalRow
{
    const char *name;
    std::vector<double> values;
    int subgroupSize; // 0: the X-Rs chart
    const char *reason;
};

void PrintTo(const RefusalRow &row, std::ostream *out) { *out << row.name; }

class ControlChartRefusals : public testing::TestWithParam<RefusalRow>
{};

TEST_P(ControlChartRefusals, GiveTheReason)
{
    const RefusalRow &row = GetParam();
    const auto outcome = row.subgroupSize == 0 ? stats::individualsChart(row.values)
                                               : stats::subgroupChart(row.values, row.subgroupSize);
    ASSERT_TRUE(std::holds_alternative<stats::NoControlChart>(outcome));
    EXPECT_EQ(std::get<stats::NoControlChart>(outcome).reason, row.reason);
}

constexpr double kHuge = std::numeric_limits<double>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
const char *const kNoSpread = "ばらつきがないため管理限界を引けません";
const char *const kTooLarge = "値が大きすぎるため管理図を描けません";

const RefusalRow kRefusalRows[] = {
    {"NoValues", {}, 0, "X-Rs 管理図には値が 2 個以上必要です"},
    {"OneValue", {5}, 0, "X-Rs 管理図には値が 2 個以上必要です"},
    {"AllEqual", {3, 3, 3}, 0, kNoSpread},
    // One step of the doubles near 1e20 (16384) in eight values: 2.66·R̄s is
    // too small to move the limits off the centre line.
    {"LimitsOnCenterLine", {1e20, 1e20, 1e20, 1e20, 1e20, 1e20, 1e20, 1e20 + 16384}, 0, kNoSpread},
    {"Infinite", {1, kInf}, 0, kTooLarge},
    {"NotANumber", {1, std::nan("")}, 0, kTooLarge},
    {"SumBeyondRange", {kHuge, kHuge, kHuge / 2}, 0, kTooLarge},
    {"RangeBeyondRange", {kHuge, -kHuge}, 0, kTooLarge},
    {"OneSubgroupOnly", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 5, "X̄-R 管理図には 2 群 (値 10 個) 以上必要です"},
    {"SubgroupTooSmall", {1, 2, 3, 4}, 1, "群の大きさは 2 から 10 までです"},
    {"SubgroupTooLarge", std::vector<double>(30, 1.0), 11, "群の大きさは 2 から 10 までです"},
    // Different means, but no range within any subgroup.
    {"NoRangeWithinSubgroups", {1, 1, 5, 5, 9, 9}, 2, kNoSpread},
    {"SubgroupRangeBeyondRange", {kHuge, -kHuge, 1, 2}, 2, kTooLarge},
};
INSTANTIATE_TEST_SUITE_P(Refused, ControlChartRefusals, testing::ValuesIn(kRefusalRows), RowName{});

// ---- the tests for special causes --------------------------------------------

// Centre 10, σ̂ 2 above and below: the zone edges are 12, 14 and 8, 6.
const ControlLimits kSymmetric{10.0, 16.0, 4.0};

struct SpecialCauseRow
{
    const char *name;
    int test;
    std::vector<double> values;
    std::vector<std::int64_t> marked; // point numbers the test signals at
    ControlLimits limits = kSymmetric;
};

void PrintTo(const SpecialCauseRow &row, std::ostream *out) { *out << row.name; }

class SpecialCauseTable : public testing::TestWithParam<SpecialCauseRow>
{};

std::vector<std::int64_t> markedBy(const stats::SpecialCauseFindings &findings, int test)
{
    std::vector<std::int64_t> numbers;
    for (const auto &signal : findings.causes)
        if (signal.test == test)
            numbers.push_back(signal.number);
    return numbers;
}

TEST_P(SpecialCauseTable, SignalsWhereThePatternCompletes)
{
    const SpecialCauseRow &row = GetParam();
    const auto alone = stats::specialCauses(row.values, row.limits, SpecialCauseTests::only(row.test));
    EXPECT_EQ(markedBy(alone, row.test), row.marked);
    for (const auto &signal : alone.causes) {
        EXPECT_EQ(signal.test, row.test);
        EXPECT_EQ(signal.value, row.values[static_cast<std::size_t>(signal.number - 1)]);
    }
    // With every test on, the same points; switched off, never.
    const auto all = stats::specialCauses(row.values, row.limits, SpecialCauseTests::all());
    EXPECT_EQ(markedBy(all, row.test), row.marked);
    SpecialCauseTests others;
    for (int t = 1; t <= SpecialCauseTests::kCount; ++t)
        if (t != row.test)
            others.add(t);
    EXPECT_EQ(markedBy(stats::specialCauses(row.values, row.limits, others), row.test),
              std::vector<std::int64_t>{});
}

std::vector<double> repeated(std::vector<double> pattern, std::size_t count)
{
    std::vector<double> values;
    for (std::size_t i = 0; i < count; ++i)
        values.push_back(pattern[i % pattern.size()]);
    return values;
}

std::vector<double> with(std::vector<double> values, std::size_t at, double value)
{
    values[at] = value;
    return values;
}

const SpecialCauseRow kSpecialCauseRows[] = {
    {"Test1Above", 1, {10, 16.5, 10}, {2}},
    {"Test1Below", 1, {3.9}, {1}},
    {"Test1OnLimitsIsInside", 1, {16, 4}, {}},
    {"Test1UpperOnlyWithoutLowerLimit", 1, {-100, 17}, {2}, {10.0, 16.0, std::nullopt}},
    {"Test2NineAbove", 2, repeated({11}, 9), {9}},
    {"Test2EightAboveMiss", 2, repeated({11}, 8), {}},
    {"Test2LongRunSignalsAtEachFurtherPoint", 2, repeated({9}, 11), {9, 10, 11}},
    {"Test2CenterLineBreaksRun", 2, with(repeated({11}, 10), 4, 10), {}},
    {"Test2NeedsLowerLimit", 2, repeated({11}, 9), {}, {10.0, 16.0, std::nullopt}},
    {"Test3SixIncreasing", 3, {10, 10.1, 10.2, 10.3, 10.4, 10.5}, {6}},
    {"Test3FiveIncreasingMiss", 3, {10, 10.1, 10.2, 10.3, 10.4}, {}},
    {"Test3SixDecreasing", 3, {11, 10.9, 10.8, 10.7, 10.6, 10.5, 10.4}, {6, 7}},
    {"Test3EqualNeighboursBreakRise", 3, {10, 10.1, 10.2, 10.2, 10.3, 10.4, 10.5}, {}},
    {"Test3EqualNeighboursBreakFall", 3, {11, 10.9, 10.8, 10.8, 10.7, 10.6, 10.5}, {}},
    {"Test4FourteenAlternating", 4, repeated({10, 11}, 14), {14}},
    {"Test4ThirteenMiss", 4, repeated({10, 11}, 13), {}},
    {"Test4FifteenAlternating", 4, repeated({11, 9}, 15), {14, 15}},
    {"Test4EqualNeighboursBreak", 4, with(repeated({10, 11}, 15), 7, 10), {}},
    {"Test5TwoOfThree", 5, {14.5, 10, 14.5}, {3}},
    {"Test5FirstTwo", 5, {14.5, 14.5}, {2}},
    {"Test5Below", 5, {5.9, 10, 5.9, 5.9}, {3, 4}},
    {"Test5AtTwoSigmaIsNotBeyond", 5, {14, 14, 14}, {}},
    {"Test5FourApartMiss", 5, {14.5, 10, 10, 14.5}, {}},
    {"Test5OppositeSidesMiss", 5, {14.5, 5.5, 10, 14.5, 5.5}, {}},
    {"Test5MarksOnlyABeyondPoint", 5, {14.5, 14.5, 10}, {2}},
    // Below the centre line σ̂ comes from the lower limit alone: 3 away is
    // σ̂ 1, so 7.9 lies beyond 2σ̂ (8) there though not beyond 6 above.
    {"Test5ZonesBelowFromLowerLimit", 5, {7.9, 7.9}, {2}, {10.0, 16.0, 7.0}},
    {"Test6FourOfFive", 6, {12.5, 12.5, 10, 12.5, 12.5}, {5}},
    {"Test6ThreeOfFiveMiss", 6, {12.5, 12.5, 10, 10, 12.5, 12.5}, {}},
    {"Test6AtOneSigmaIsNotBeyond", 6, repeated({12}, 6), {}},
    {"Test6Below", 6, {7.5, 7.5, 7.5, 7.5}, {4}},
    {"Test7FifteenWithin", 7, repeated({10.5, 9.5}, 15), {15}},
    {"Test7FourteenMiss", 7, repeated({10.5, 9.5}, 14), {}},
    {"Test7ZoneEdgesAreWithin", 7, repeated({12, 8}, 16), {15, 16}},
    {"Test7OnePointBeyondBreaks", 7, with(repeated({10.5, 9.5}, 15), 7, 12.01), {}},
    {"Test8EightBeyondEitherSide", 8, repeated({12.5, 7.5}, 8), {8}},
    {"Test8SevenMiss", 8, repeated({12.5, 7.5}, 7), {}},
    {"Test8PointOnEdgeBreaks", 8, with(repeated({12.5, 7.5}, 8), 3, 8), {}},
};
INSTANTIATE_TEST_SUITE_P(Tests, SpecialCauseTable, testing::ValuesIn(kSpecialCauseRows), RowName{});

TEST(SpecialCauses, SignalsInPointOrderAndMarkEachPoint)
{
    // Beyond the limit (1), beyond 2σ̂ (5) and beyond 1σ̂ (6), numbered from 4:
    // listed point by point, not test by test.
    const std::vector<double> values = {17, 15, 15, 17};
    const auto findings = stats::specialCauses(values, kSymmetric, SpecialCauseTests::all(), 4);
    const std::vector<stats::SpecialCause> expected = {
        {1, 4, 17}, {5, 5, 15}, {5, 6, 15}, {1, 7, 17}, {5, 7, 17}, {6, 7, 17}};
    EXPECT_EQ(findings.causes, expected);
    ASSERT_EQ(findings.trippedTests.size(), 4u);
    EXPECT_EQ(findings.trippedTests[0].numbersText(), "1");
    EXPECT_EQ(findings.trippedTests[3].numbersText(), "1・5・6");
    SpecialCauseTests none;
    EXPECT_TRUE(stats::specialCauses(values, kSymmetric, none).causes.empty());
}

TEST(SpecialCauses, RangeChartsRunTestOneOnly)
{
    // Nine large moving ranges then nine small: nine Rs points above R̄s in
    // a row, which test 2 would flag on an X chart; one spike trips test 1.
    std::vector<double> values;
    for (int i = 0; i < 10; ++i)
        values.push_back(i % 2 == 0 ? 0.0 : 2.0);
    for (int i = 0; i < 9; ++i)
        values.push_back(2.0 + 0.1 * (i % 2));
    values.push_back(12.0);
    const ControlChart chart = formed(stats::individualsChart(values));
    ASSERT_FALSE(chart.spread.causes.empty());
    for (const auto &signal : chart.spread.causes) {
        EXPECT_EQ(signal.test, 1);
        EXPECT_EQ(signal.number, 20);
        EXPECT_EQ(signal.value, 10.0);
    }
    EXPECT_EQ(chart.spread.trippedTests.back().numbersText(), "1");
    const ControlChart quiet = formed(stats::individualsChart(values, SpecialCauseTests::only(2)));
    EXPECT_TRUE(quiet.spread.causes.empty());
}

TEST(SpecialCauses, ListLinesNameChartPointAndTest)
{
    const ControlChart values = formed(stats::individualsChart({10, 10.2, 9.8, 10.1, 16.3}));
    ASSERT_EQ(values.location.causes.size(), 1u);
    EXPECT_EQ(stats::specialCauseText(values.location, values.location.causes.front()),
              "X 管理図 5 番目 16.3: 判定 1 管理限界の外");
    const ControlChart groups =
        formed(stats::subgroupChart({5, 15, 5, 15, 5, 15, 5, 15, 5, 15, 40, 51}, 2));
    ASSERT_EQ(groups.location.causes.size(), 1u);
    EXPECT_EQ(stats::specialCauseText(groups.location, groups.location.causes.front()),
              "X̄ 管理図 第 6 群 45.5: 判定 1 管理限界の外");
}

// ---- the normal curve -----------------------------------------------------------

struct ShareRow
{
    const char *name;
    double mean, s;
    std::int64_t count;
    Tolerance limits;
    const char *above, *below, *total; // "ppm|percent", "" when absent
    bool reasonGiven;
};

void PrintTo(const ShareRow &row, std::ostream *out) { *out << row.name; }

class ExpectedOutsideTable : public testing::TestWithParam<ShareRow>
{};

std::string textOf(const std::optional<stats::ExpectedShare> &share)
{
    return share ? share->ppmText + "|" + share->percentText : "";
}

TEST_P(ExpectedOutsideTable, MatchesTable)
{
    const ShareRow &row = GetParam();
    const auto outside = stats::expectedOutside(row.mean, row.s, row.count, row.limits);
    EXPECT_EQ(textOf(outside.above), row.above);
    EXPECT_EQ(textOf(outside.below), row.below);
    EXPECT_EQ(textOf(outside.total), row.total);
    EXPECT_EQ(!outside.reason.empty(), row.reasonGiven) << outside.reason;
}

const ShareRow kShareRows[] = {
    {"ThreeSigmaBothSides", 0, 1, 30, {3.0, -3.0}, "1,350 ppm|0.13 %", "1,350 ppm|0.13 %",
     "2,700 ppm|0.27 %", false},
    {"UpperOnly", 130, 8, 30, {142.0, std::nullopt}, "66,807 ppm|6.68 %", "", "66,807 ppm|6.68 %", false},
    {"LowerOnly", 130, 8, 30, {std::nullopt, 130.0}, "", "500,000 ppm|50.00 %",
     "500,000 ppm|50.00 %", false},
    {"MeanBeyondUpper", 5, 1, 30, {3.0, std::nullopt}, "977,250 ppm|97.72 %", "",
     "977,250 ppm|97.72 %", false},
    {"WideSpreadHalfOnEachSide", 0, 1e300, 30, {1.0, -1.0}, "500,000 ppm|50.00 %",
     "500,000 ppm|50.00 %", "1,000,000 ppm|100.00 %", false},
    {"FarTailRoundsToZero", 0, 1, 30, {10.0, std::nullopt}, "0 ppm|0.00 %", "", "0 ppm|0.00 %", false},
    {"NoLimit", 0, 1, 30, {}, "", "", "", true},
    {"OneValue", 0, 1, 1, {3.0, -3.0}, "", "", "", true},
    {"NoSpread", 5, 0, 30, {6.0, 4.0}, "", "", "", true},
    {"SpreadNotFinite", 5, kInf, 30, {6.0, 4.0}, "", "", "", true},
    {"InvertedLimits", 5, 1, 30, {4.0, 6.0}, "", "", "", true},
    {"EqualLimits", 5, 1, 30, {5.0, 5.0}, "", "", "", true},
};
INSTANTIATE_TEST_SUITE_P(Shares, ExpectedOutsideTable, testing::ValuesIn(kShareRows), RowName{});

TEST(ExpectedOutside, TailKeepsItsPrecision)
{
    // 1 - Φ(10) = 7.6198530241605e-24; forming 1 - Φ would give 0.
    const auto outside = stats::expectedOutside(0, 1, 30, {10.0, std::nullopt});
    ASSERT_TRUE(outside.above.has_value());
    EXPECT_NEAR(outside.above->share / 7.6198530241605e-24, 1.0, 1e-12);
}

TEST(NormalCurve, HeightsScaleToTheHistogram)
{
    const auto heights = stats::normalCurveHeights({0.0, 1.0, 50.0}, 0.0, 1.0, 100, 0.5);
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_NEAR(heights[0], 50 * 0.3989422804014327, 1e-12);
    EXPECT_NEAR(heights[1], 50 * 0.24197072451914337, 1e-12);
    EXPECT_EQ(heights[2], 0.0);
    // The area under the curve, in class widths, is the count.
    std::vector<double> xs;
    for (double x = 60; x <= 140; x += 0.01)
        xs.push_back(x);
    double area = 0;
    for (const double h : stats::normalCurveHeights(xs, 100.0, 5.0, 250, 2.0))
        area += h * 0.01 / 2.0;
    EXPECT_NEAR(area, 250.0, 1e-6);
    EXPECT_TRUE(stats::normalCurveHeights({1.0}, 0.0, 0.0, 10, 1.0).empty());
}

} // namespace

namespace {

// σ within: R̄s / 1.128 for single values, R̄ / d2 of the subgroup size.
TEST(WithinSigma, FromTheSpreadChartsCentreLine)
{
    const auto individuals = stats::individualsChart({10, 12, 11, 13, 12, 14});
    ASSERT_TRUE(std::holds_alternative<stats::ControlChart>(individuals));
    EXPECT_NEAR(stats::withinSigma(std::get<stats::ControlChart>(individuals)), 1.6 / 1.128, 1e-12);
    const auto groups = stats::subgroupChart({10, 12, 11, 13, 12, 14, 11, 11, 14, 99}, 3);
    ASSERT_TRUE(std::holds_alternative<stats::ControlChart>(groups));
    EXPECT_NEAR(stats::withinSigma(std::get<stats::ControlChart>(groups)), (7.0 / 3) / 1.693, 1e-12);
    const auto tens = stats::subgroupChart({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}, 10);
    ASSERT_TRUE(std::holds_alternative<stats::ControlChart>(tens));
    EXPECT_NEAR(stats::withinSigma(std::get<stats::ControlChart>(tens)), 9.5 / 3.078, 1e-12);
}

} // namespace
