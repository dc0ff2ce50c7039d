#include "stats/Axis.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr double kMax = std::numeric_limits<double>::max();

struct TickRow
{
    const char *name;
    double low, high;
    int wanted;
    double smallestStep;
    std::vector<double> ticks;
};

void PrintTo(const TickRow &row, std::ostream *out) { *out << row.name; }

class AxisTicks : public testing::TestWithParam<TickRow>
{};

TEST_P(AxisTicks, MatchTable)
{
    const TickRow &row = GetParam();
    const std::vector<double> ticks =
        stats::axisTicks(row.low, row.high, row.wanted, row.smallestStep);
    ASSERT_EQ(ticks.size(), row.ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_NEAR(ticks[i], row.ticks[i], std::abs(row.ticks[i]) * 1e-12) << i;
        EXPECT_FALSE(ticks[i] == 0 && std::signbit(ticks[i])) << "-0 at " << i;
    }
}

const TickRow kTickRows[] = {
    {"WholeRange", 0, 10, 5, 0, {0, 2, 4, 6, 8, 10}},
    {"StepOfTen", 0, 50, 5, 0, {0, 10, 20, 30, 40, 50}},
    {"EndsOffStep", -0.4, 10.4, 6, 0, {0, 2, 4, 6, 8, 10}},
    {"Decimals", 24.87, 25.13, 6, 0, {24.9, 24.95, 25, 25.05, 25.1}},
    {"ItemNumbers", 1, 35, 8, 1, {5, 10, 15, 20, 25, 30, 35}},
    // Items 1 and 2: the step never falls below one item.
    {"TwoItems", 1, 2, 8, 1, {1, 2}},
    {"ZeroNotNegative", -1e-17, 1, 2, 0, {0, 0.5, 1}},
    {"NegativeRange", -7, -1, 3, 0, {-6, -4, -2}},
    {"EmptyRange", 5, 5, 5, 0, {}},
    {"InvertedRange", 6, 5, 5, 0, {}},
    {"NotFinite", 0, std::numeric_limits<double>::infinity(), 5, 0, {}},
    {"NoTicksWanted", 0, 10, 0, 0, {}},
    // No round step of 1, 2 or 5 times a power of ten fits a span this wide.
    {"WholeDoubleRange", -kMax, kMax, 2, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Table, AxisTicks, testing::ValuesIn(kTickRows), RowName());

TEST(AxisTicks, NeverMoreThanFifty)
{
    EXPECT_EQ(stats::axisTicks(0, 1e6, 1000000, 1.0).size(), 50u);
}

struct TickTextRow
{
    const char *name;
    double value;
    const char *text;
};

void PrintTo(const TickTextRow &row, std::ostream *out) { *out << row.name; }

class TickTexts : public testing::TestWithParam<TickTextRow>
{};

TEST_P(TickTexts, MatchTable)
{
    EXPECT_EQ(stats::tickText(GetParam().value), GetParam().text);
}

const TickTextRow kTickTextRows[] = {
    {"Whole", 25, "25"},
    {"RoundingStepAway", 0.1 + 0.2, "0.3"},
    {"JustBelowRound", 24.950000000000003, "24.95"},
    {"Negative", -2.5, "-2.5"},
    {"Zero", 0, "0"},
    // Below 0.001 the tick keeps its own digits, which snapping would round to 0.
    {"Tiny", 2e-4, "0.0002"},
    {"Huge", 1e300, "1E+300"},
};

INSTANTIATE_TEST_SUITE_P(Table, TickTexts, testing::ValuesIn(kTickTextRows), RowName());

TEST(ValueScale, LeavesRoomOnEachSide)
{
    const stats::ValueScale scale(0, 10);
    EXPECT_NEAR(scale.low, -0.4, 1e-12);
    EXPECT_NEAR(scale.high, 10.4, 1e-12);
    EXPECT_NEAR(scale.fraction(0), 0.4 / 10.8, 1e-12);
    EXPECT_NEAR(scale.fraction(10.4), 1.0, 1e-12);
    EXPECT_NEAR(scale.fraction(-0.4), 0.0, 1e-12);
}

TEST(ValueScale, WholeDoubleRangeStaysFinite)
{
    const stats::ValueScale scale(-kMax, kMax);
    EXPECT_EQ(scale.low, -kMax);
    EXPECT_EQ(scale.high, kMax);
    EXPECT_NEAR(scale.fraction(0), 0.5, 1e-12);
    EXPECT_NEAR(scale.fraction(kMax), 1.0, 1e-12);
}

struct CountRow
{
    const char *name;
    double most;
    std::vector<double> ticks;
    double ceiling;
};

void PrintTo(const CountRow &row, std::ostream *out) { *out << row.name; }

class CountAxes : public testing::TestWithParam<CountRow>
{};

TEST_P(CountAxes, MatchTable)
{
    const stats::CountAxis axis = stats::countAxis(GetParam().most);
    EXPECT_EQ(axis.ticks, GetParam().ticks);
    EXPECT_NEAR(axis.ceiling, GetParam().ceiling, 1e-12);
}

const CountRow kCountRows[] = {
    {"Ten", 10, {0, 5, 10}, 12.5},
    // The curve's peak over the tallest bar of 12 raises the axis with it.
    {"CurvePeakAboveBars", 13.7, {0, 5, 10}, 16.2},
    {"One", 1, {0, 1}, 1.5},
    {"LessThanOneCountsAsOne", 0.2, {0, 1}, 1.5},
    {"NotFiniteCountsAsOne", std::numeric_limits<double>::quiet_NaN(), {0, 1}, 1.5},
    {"LastTickRightAtTheTop", 20, {0, 5, 10, 15, 20}, 22.5},
};

INSTANTIATE_TEST_SUITE_P(Table, CountAxes, testing::ValuesIn(kCountRows), RowName());

struct StrideRow
{
    const char *name;
    std::vector<double> centres, widths;
    double gap;
    std::size_t stride;
};

void PrintTo(const StrideRow &row, std::ostream *out) { *out << row.name; }

class LabelStrides : public testing::TestWithParam<StrideRow>
{};

TEST_P(LabelStrides, MatchTable)
{
    const StrideRow &row = GetParam();
    EXPECT_EQ(stats::labelStride(row.centres, row.widths, row.gap), row.stride);
}

const StrideRow kStrideRows[] = {
    {"RoomForAll", {0, 20, 40}, {8, 8, 8}, 4, 1},
    {"ExactlyTheGap", {0, 12, 24}, {8, 8, 8}, 4, 1},
    {"EverySecond", {0, 10, 20, 30}, {8, 8, 8, 8}, 4, 2},
    // Every second label leaves the wide last one out, and so fits.
    {"WideLastLabel", {0, 10, 20, 30}, {4, 4, 4, 30}, 4, 2},
    {"WideLastLabelOfFive", {0, 10, 20, 30, 40}, {4, 4, 4, 4, 30}, 4, 3},
    {"OnlyTheFirstFits", {0, 1, 2}, {50, 50, 50}, 4, 3},
    {"OneLabel", {5}, {100}, 4, 1},
    {"None", {}, {}, 4, 1},
};

INSTANTIATE_TEST_SUITE_P(Table, LabelStrides, testing::ValuesIn(kStrideRows), RowName());

struct SpreadRow
{
    const char *name;
    std::vector<double> centres;
    double gap, first, last;
    std::vector<double> spread;
};

void PrintTo(const SpreadRow &row, std::ostream *out) { *out << row.name; }

class SpreadLabels : public testing::TestWithParam<SpreadRow>
{};

TEST_P(SpreadLabels, MatchTable)
{
    const SpreadRow &row = GetParam();
    EXPECT_EQ(stats::spreadApart(row.centres, row.gap, row.first, row.last), row.spread);
}

const SpreadRow kSpreadRows[] = {
    {"FarApartStay", {10, 30, 50}, 4, 0, 100, {10, 30, 50}},
    {"CrowdedMovesAway", {10, 11, 50}, 4, 0, 100, {10, 14, 50}},
    {"AtTheEndMoveBack", {98, 99}, 4, 0, 100, {96, 100}},
    {"BeforeTheStartMoveIn", {-5, 1}, 4, 0, 100, {0, 4}},
    // Order by value, not by place in the list: the labels' lines keep theirs.
    {"UnsortedKeepTheirPlaces", {50, 11, 10}, 4, 0, 100, {50, 14, 10}},
    {"EqualCentres", {20, 20, 20}, 4, 0, 100, {20, 24, 28}},
};

INSTANTIATE_TEST_SUITE_P(Table, SpreadLabels, testing::ValuesIn(kSpreadRows), RowName());

} // namespace
