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

namespace {

// Diameters near 25 with two entries that hold no number: read as 0 they
// would pull the limits to 49.58 and −9.58; left out, every figure is the
// numbers' own.
TEST(ChartContent, ItemsWithoutNumberAreNeitherDrawnNorInAnyLimit)
{
    const std::vector<std::string> items{"25.02", "24.98", "測定値", "25.01", "24.99", "-", "25.00"};
    const std::vector<std::size_t> withoutNumber = stats::looseReadings(items).withoutNumber;
    ASSERT_EQ(withoutNumber, (std::vector<std::size_t>{2, 5}));
    const stats::ChartContent content = stats::chartContent(
        figuresOf(items), request(ChartType::IndividualsMovingRange, {25.1, 24.9}), withoutNumber);

    EXPECT_EQ(content.withoutNumber, withoutNumber);
    EXPECT_EQ(content.withoutNumberNote,
              "数値でない 2 項目（3 番目, 6 番目）はグラフから除きました");
    EXPECT_EQ(content.chartedItems, (std::vector<std::size_t>{0, 1, 3, 4, 6}));
    EXPECT_EQ(content.count, 5);
    ASSERT_EQ(content.data.points.size(), 5u);
    for (const stats::RunPoint &point : content.data.points)
        EXPECT_NEAR(point.value, 25.0, 0.021);
    EXPECT_NEAR(content.mean, 25.0, 1e-12);
    EXPECT_EQ(content.texts.count, "5");
    EXPECT_GT(content.data.low, 24.8);
    EXPECT_LT(content.data.high, 25.2);
    ASSERT_NE(content.controlChart(), nullptr);
    const stats::ControlSeries &x = content.controlChart()->location;
    EXPECT_EQ(x.values.size(), 5u);
    EXPECT_NEAR(x.limits.center, 25.0, 1e-12);
    EXPECT_LT(x.limits.upper, 25.2);
    ASSERT_TRUE(x.limits.lower.has_value());
    EXPECT_GT(*x.limits.lower, 24.8);
    ASSERT_TRUE(content.data.capability.has_value());
    EXPECT_EQ(content.data.capability->outsideCountText, "0");
}

struct LeftOutRow
{
    const char *name;
    std::vector<std::string> items;
    std::vector<std::size_t> withoutNumber;
    std::vector<std::size_t> charted;
    bool chartFormed;
};

void PrintTo(const LeftOutRow &row, std::ostream *out) { *out << row.name; }

class LeftOutItems : public testing::TestWithParam<LeftOutRow>
{};

TEST_P(LeftOutItems, ChartWhatRemains)
{
    const LeftOutRow &row = GetParam();
    const stats::ChartContent content = stats::chartContent(
        figuresOf(row.items), request(ChartType::IndividualsMovingRange), row.withoutNumber);
    EXPECT_EQ(content.chartedItems, row.charted);
    EXPECT_EQ(content.data.points.size(), row.charted.size());
    EXPECT_EQ(content.controlChart() != nullptr, row.chartFormed);
    EXPECT_TRUE(content.control.has_value());
}

const LeftOutRow kLeftOutRows[] = {
    {"None", {"1", "2", "3"}, {}, {0, 1, 2}, true},
    {"First", {"x", "2", "3"}, {0}, {1, 2}, true},
    {"Last", {"1", "2", "x"}, {2}, {0, 1}, true},
    // Only one number remains: too few for an X-Rs chart.
    {"AllButOne", {"x", "2", "y"}, {0, 2}, {1}, false},
    {"All", {"x", "y"}, {0, 1}, {}, false},
    // Indices past the list or out of order are not the list's: ignored.
    {"PastTheEndIgnored", {"1", "2", "3"}, {7}, {0, 1, 2}, true},
    {"RepeatIgnored", {"x", "2", "3", "4"}, {0, 0}, {1, 2, 3}, true},
};

INSTANTIATE_TEST_SUITE_P(Table, LeftOutItems, testing::ValuesIn(kLeftOutRows), RowName());

struct NoteRow
{
    const char *name;
    std::vector<std::size_t> withoutNumber;
    std::size_t named;
    const char *note;
};

void PrintTo(const NoteRow &row, std::ostream *out) { *out << row.name; }

class NotNumberNotes : public testing::TestWithParam<NoteRow>
{};

TEST_P(NotNumberNotes, MatchTable)
{
    EXPECT_EQ(stats::notNumberNote(GetParam().withoutNumber, GetParam().named), GetParam().note);
}

constexpr std::size_t kAll = static_cast<std::size_t>(-1);

const NoteRow kNoteRows[] = {
    {"None", {}, kAll, ""},
    {"One", {0}, kAll, "数値でない 1 項目（1 番目）はグラフから除きました"},
    {"Two", {7, 14}, kAll, "数値でない 2 項目（8 番目, 15 番目）はグラフから除きました"},
    {"MoreThanNamed", {0, 1, 2}, 2,
     "数値でない 3 項目（1 番目, 2 番目 ほか 1 項目）はグラフから除きました"},
    // Places are written as the signal list writes them, without grouping.
    {"LastOfAFullList", {32766}, kAll, "数値でない 1 項目（32767 番目）はグラフから除きました"},
};

INSTANTIATE_TEST_SUITE_P(Table, NotNumberNotes, testing::ValuesIn(kNoteRows), RowName());

} // namespace
