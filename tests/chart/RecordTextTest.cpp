#include "chart/RecordText.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace {

using stats::ChartType;

struct SourceCase
{
    const char *name;
    chart::RecordSource source;
    std::string line;
};

void PrintTo(const SourceCase &c, std::ostream *out) { *out << c.name; }

class RecordSourceLine : public testing::TestWithParam<SourceCase>
{};

TEST_P(RecordSourceLine, SaysWhetherTheListChanged)
{
    EXPECT_EQ(chart::sourceLine(GetParam().source), GetParam().line);
}

const SourceCase kSourceCases[] = {
    {"Saved", {"/home/a/径.txt", false, ""}, "ファイル: /home/a/径.txt"},
    {"ChangedSince", {"/home/a/径.txt", true, ""}, "ファイル: /home/a/径.txt（未保存の変更あり）"},
    {"NeverSaved", {"", false, ""}, "ファイル: 未保存"},
    // A list never saved has no file to have changed from.
    {"NeverSavedChanged", {"", true, ""}, "ファイル: 未保存"},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordSourceLine, testing::ValuesIn(kSourceCases), RowName());

TEST(RecordTests, NameTheTestsUsedAndSwitchedOff)
{
    stats::SpecialCauseTests some;
    for (const int test : {1, 2, 5, 6, 7, 8})
        some.add(test);
    EXPECT_EQ(chart::testFields(some),
              (std::vector<chart::RecordField>{{"判定に使った規則", "1・2・5・6・7・8"},
                                               {"使わなかった規則", "3・4"}}));
    EXPECT_EQ(chart::testFields(stats::SpecialCauseTests::all())[1].value, "なし");
    EXPECT_EQ(chart::testFields({})[0].value, "なし");
}

stats::ChartContent contentOf(const std::vector<std::string> &items, ChartType type,
                              int subgroupSize = 5)
{
    const auto figures =
        std::get<stats::StatisticsFigures>(stats::calculateFigures(items, "3\xCF\x83"));
    return stats::chartContent(figures,
                               {type, subgroupSize, {}, stats::SpecialCauseTests::all()},
                               stats::looseReadings(items).withoutNumber);
}

// Values 1 to 9 below the centre line (test 2 at the 9th), the last far above
// both charts' limits: three signals, two at the 19th point.
const std::vector<std::string> kTripping{"10", "12", "11", "13", "12", "11", "10",
                                         "12", "11", "14", "13", "14", "13", "14",
                                         "13", "14", "13", "14", "30"};

TEST(RecordSignals, NumberedInOrderAndMarkedAtTheirPoints)
{
    const stats::ChartContent content = contentOf(kTripping, ChartType::IndividualsMovingRange);
    const chart::RecordInput record = chart::listRecord(&content, {});
    EXPECT_EQ(record.signalLines,
              (std::vector<std::string>{"1. X 管理図 9 番目 11: 判定 2 中心線の片側に 9 点連続",
                                        "2. X 管理図 19 番目 30: 判定 1 管理限界の外",
                                        "3. Rs 管理図 19 番目 16: 判定 1 管理限界の外"}));
    const stats::ControlChart &chart = *content.controlChart();
    const std::vector<std::string> location = chart::signalMarks(chart.location, 1);
    ASSERT_EQ(location.size(), 19u);
    EXPECT_EQ(location[8], "1");
    EXPECT_EQ(location[18], "2");
    EXPECT_EQ(std::count(location.begin(), location.end(), std::string()), 17);
    // The Rs chart's points start at the second value: its 19th is its 18th point.
    const std::vector<std::string> spread = chart::signalMarks(chart.spread, 3);
    ASSERT_EQ(spread.size(), 18u);
    EXPECT_EQ(spread[17], "3");
}

TEST(RecordSignals, OnePointsSeveralSignalsShareAMark)
{
    // Ten values under the centre line, the tenth also beyond 2σ with the
    // ninth: tests 2 and 5 at one point.
    stats::ControlSeries series;
    series.firstNumber = 1;
    series.values = {1, 2, 3};
    series.causes = {{2, 2, 2.0}, {5, 2, 2.0}, {6, 2, 2.0}, {1, 3, 3.0}};
    EXPECT_EQ(chart::signalMarks(series, 4), (std::vector<std::string>{"", "4–6", "7"}));
}

TEST(RecordRows, PointColumnOnlyWhereItemsWereLeftOut)
{
    const stats::ChartContent whole =
        contentOf({"10", "12", "11"}, ChartType::IndividualsMovingRange);
    const chart::RecordInput record = chart::listRecord(&whole, {});
    EXPECT_EQ(record.columns.point, "") << "each point is its item's number";
    EXPECT_EQ(record.rows[1], (chart::RecordRow{"2", "", "", {"12"}, "", "2.", "", ""}));
    const stats::ChartContent gappy =
        contentOf({"10", "abc", "12"}, ChartType::IndividualsMovingRange);
    EXPECT_EQ(chart::listRecord(&gappy, {}).columns.point, "点");
}

TEST(RecordRows, ItemsWithoutNumberAreRowsLeftOut)
{
    const stats::ChartContent content =
        contentOf({"10", "abc", "12", "11"}, ChartType::IndividualsMovingRange);
    const chart::RecordInput record = chart::listRecord(&content, {});
    EXPECT_EQ(record.columns.spread, "Rs");
    ASSERT_EQ(record.rows.size(), 4u);
    EXPECT_EQ(record.rows[0], (chart::RecordRow{"1", "1", "", {"10"}, "", "", "", ""}));
    EXPECT_EQ(record.rows[1], (chart::RecordRow{"2", "", "", {""}, "", "", "", "数値でない"}));
    // The moving range is between the numbers on either side of the text.
    EXPECT_EQ(record.rows[2], (chart::RecordRow{"3", "2", "", {"12"}, "", "2.", "", ""}));
    EXPECT_EQ(record.rows[3], (chart::RecordRow{"4", "3", "", {"11"}, "", "1.", "", ""}));
    ASSERT_FALSE(record.notes.empty());
    EXPECT_EQ(record.notes.front(), "数値でない 1 項目（2 番目）はグラフから除きました。");
}

TEST(RecordRows, SubgroupsAndTheValuesLeftOver)
{
    const stats::ChartContent content = contentOf(
        {"10", "12", "11", "13", "12", "14", "11", "11", "14", "99"}, ChartType::MeansRanges, 3);
    const chart::RecordInput record = chart::listRecord(&content, {});
    EXPECT_EQ(record.title, "X̄-R 管理図");
    EXPECT_EQ(record.columns.values, (std::vector<std::string>{"x1", "x2", "x3"}));
    EXPECT_EQ(record.columns.number, "群");
    ASSERT_EQ(record.rows.size(), 4u);
    EXPECT_EQ(record.rows[0], (chart::RecordRow{"1", "1", "", {"10", "12", "11"}, "11.", "2.", "", ""}));
    EXPECT_EQ(record.rows[3].values, (std::vector<std::string>{"99", "", ""}));
    EXPECT_EQ(record.rows[3].exclusion, "群にそろわない");
    const auto n = std::find(record.header.begin(), record.header.end(),
                             chart::RecordField{"n", "3"});
    EXPECT_NE(n, record.header.end());
}

TEST(RecordFigures, BothSharesOfTheExpectedShareAndEachLimit)
{
    const auto figures = std::get<stats::StatisticsFigures>(
        stats::calculateFigures({"122", "130", "138"}, "3\xCF\x83"));
    const stats::ChartContent content = stats::chartContent(
        figures, {ChartType::Run, 5, {150.0, 100.0}, stats::SpecialCauseTests::all()});
    const chart::RecordInput record = chart::listRecord(&content, {"a.txt", false, "2026/12/08 09:00"});
    const auto has = [&](const chart::RecordField &field) {
        return std::find(record.figures.begin(), record.figures.end(), field) != record.figures.end();
    };
    EXPECT_TRUE(has({"推定不良率 計", "6,298 ppm (0.63 %)"}));
    EXPECT_TRUE(has({"推定不良率 上", "6,210 ppm (0.62 %)"}));
    EXPECT_TRUE(has({"推定不良率 下", "88 ppm (0.01 %)"}));
    EXPECT_TRUE(has({"Cp", "1.04"}));
    EXPECT_TRUE(has({"規格外の数 (実測)", "0 個 (0 %)"}));
    EXPECT_EQ(record.printedAt, "印刷: 2026/12/08 09:00");
    const auto tolerance = std::find(record.header.begin(), record.header.end(),
                                         chart::RecordField{"規格", "上限 150・下限 100"});
    EXPECT_NE(tolerance, record.header.end());
}

} // namespace
