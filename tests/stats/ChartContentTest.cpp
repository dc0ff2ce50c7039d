#include "stats/ChartContent.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace {

using stats::ChartType;

stats::StatisticsFigures figuresOf(const std::vector<std::string> &items)
{
    return std::get<stats::StatisticsFigures>(stats::calculateFigures(items, "3\xCF\x83"));
}

// Values 1 to 9 lie below the centre line (test 2 at the 9th), the last far
// above the upper limit on both charts (test 1 at the 19th).
const std::vector<std::string> kTripping{"10", "12", "11", "13", "12", "11", "10",
                                         "12", "11", "14", "13", "14", "13", "14",
                                         "13", "14", "13", "14", "30"};

struct ContentRow
{
    const char *name;
    std::vector<std::string> items;
    stats::ChartRequest request;
    bool control;           // a control chart is asked for
    const char *refusal;    // why it was refused; nullptr when formed (or not asked)
    std::size_t signals;    // of both charts together, when formed
    std::size_t toleranceLines;
    bool expectedTotal;     // 推定不良率 has a total
};

void PrintTo(const ContentRow &row, std::ostream *out) { *out << row.name; }

class ChartContents : public testing::TestWithParam<ContentRow>
{};

TEST_P(ChartContents, HoldWhatTheWindowShows)
{
    const ContentRow &row = GetParam();
    const stats::StatisticsFigures figures = figuresOf(row.items);
    const stats::ChartContent content = stats::chartContent(figures, row.request);

    // The run chart, the histogram and the capability are the chart data's.
    const stats::ChartData data = stats::chartData(figures, row.request.tolerance);
    ASSERT_EQ(content.data.points.size(), data.points.size());
    EXPECT_EQ(content.data.lines.size(), data.lines.size());
    EXPECT_EQ(content.data.histogram.classes.size(), data.histogram.classes.size());
    EXPECT_EQ(content.data.capability.has_value(), data.capability.has_value());
    EXPECT_EQ(content.texts, stats::statisticsTexts(figures));
    EXPECT_EQ(content.count, static_cast<std::int64_t>(row.items.size()));

    EXPECT_EQ(content.control.has_value(), row.control);
    if (row.refusal) {
        ASSERT_NE(content.refusal(), nullptr);
        EXPECT_EQ(content.refusal()->reason, row.refusal);
        EXPECT_EQ(content.controlChart(), nullptr);
    } else if (row.control) {
        ASSERT_NE(content.controlChart(), nullptr);
        EXPECT_EQ(content.refusal(), nullptr);
        const stats::ControlChart &chart = *content.controlChart();
        EXPECT_EQ(chart.location.causes.size() + chart.spread.causes.size(), row.signals);
    } else {
        EXPECT_EQ(content.controlChart(), nullptr);
        EXPECT_EQ(content.refusal(), nullptr);
    }
    ASSERT_EQ(content.toleranceLines.size(), row.toleranceLines);
    for (const stats::ChartLine &line : content.toleranceLines)
        EXPECT_TRUE(line.kind == stats::LineKind::UpperTolerance ||
                    line.kind == stats::LineKind::LowerTolerance);
    EXPECT_EQ(content.expected.total.has_value(), row.expectedTotal);
}

stats::ChartRequest request(ChartType type, stats::Tolerance tolerance = {},
                            stats::SpecialCauseTests tests = stats::SpecialCauseTests::all(),
                            int subgroupSize = 5)
{
    return {type, subgroupSize, tolerance, tests};
}

const ContentRow kContentRows[] = {
    {"RunChart", kTripping, request(ChartType::Run), false, nullptr, 0, 0, false},
    {"RunChartWithTolerance", kTripping, request(ChartType::Run, {20.0, 5.0}), false, nullptr, 0,
     2, true},
    {"IndividualsAllTests", kTripping, request(ChartType::IndividualsMovingRange), true, nullptr,
     3, 0, false},
    {"IndividualsTestOneOnly", kTripping,
     request(ChartType::IndividualsMovingRange, {}, stats::SpecialCauseTests::only(1)), true,
     nullptr, 2, 0, false},
    {"IndividualsNoTests", kTripping, request(ChartType::IndividualsMovingRange, {}, {}), true,
     nullptr, 0, 0, false},
    {"UpperToleranceOnly", kTripping,
     request(ChartType::IndividualsMovingRange, {20.0, std::nullopt}), true, nullptr, 3, 1, true},
    {"OneValueRefused", {"5"}, request(ChartType::IndividualsMovingRange), true,
     "X-Rs 管理図には値が 2 個以上必要です", 0, 0, false},
    {"TooFewForSubgroups", {"1", "2", "3", "4", "5", "6"}, request(ChartType::MeansRanges), true,
     "X̄-R 管理図には 2 群 (値 10 個) 以上必要です", 0, 0, false},
    // The subgroup size is the request's: two values a group chart 5 15 5 15.
    {"SubgroupsOfTwo", {"5", "15", "5", "15"},
     request(ChartType::MeansRanges, {}, stats::SpecialCauseTests::all(), 2), true, nullptr, 0, 0,
     false},
    {"SubgroupsOfFiveRefuseFourValues", {"5", "15", "5", "15"},
     request(ChartType::MeansRanges, {}, stats::SpecialCauseTests::all(), 5), true,
     "X̄-R 管理図には 2 群 (値 10 個) 以上必要です", 0, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartContents, testing::ValuesIn(kContentRows), RowName());

// The location chart is drawn with the same tolerance lines the run chart has.
TEST(ChartContent, ToleranceLinesAreTheRunChartsOwn)
{
    const stats::ChartContent content = stats::chartContent(
        figuresOf(kTripping), request(ChartType::IndividualsMovingRange, {20.0, 5.0}));
    ASSERT_EQ(content.toleranceLines.size(), 2u);
    EXPECT_EQ(content.toleranceLines[0].label, "規格上限 20");
    EXPECT_EQ(content.toleranceLines[0].value, 20.0);
    EXPECT_EQ(content.toleranceLines[1].label, "規格下限 5");
}

// 推定不良率 uses the capability's s, so the two boxes agree.
TEST(ChartContent, ExpectedShareUsesTheCapabilitysSigma)
{
    const stats::StatisticsFigures figures = figuresOf({"122", "130", "138"});
    const stats::ChartContent content =
        stats::chartContent(figures, request(ChartType::Run, {150.0, 100.0}));
    ASSERT_TRUE(content.expected.total.has_value());
    EXPECT_EQ(content.expected.total->ppmText, "6,298 ppm");
    EXPECT_NEAR(content.sampleSigma.value, 8.0, 1e-12);
    EXPECT_NEAR(content.mean, 130.0, 1e-12);
}

} // namespace
