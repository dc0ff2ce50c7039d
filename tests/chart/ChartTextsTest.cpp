#include "chart/ChartTexts.h"
#include "ui/FileDialog.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct RecordCase
{
    const char *name;
    chart::RecordFacts facts;
    std::vector<std::string> lines;
};

void PrintTo(const RecordCase &c, std::ostream *out) { *out << c.name; }

class RecordLinesTest : public testing::TestWithParam<RecordCase>
{};

TEST_P(RecordLinesTest, SayWhatWasCharted)
{
    EXPECT_EQ(chart::recordLines(GetParam().facts), GetParam().lines);
}

const RecordCase kRecordCases[] = {
    {"NeverSaved",
     {"", "2024/05/01 09:30", 19, 3.0, {}, "X-Rs 管理図"},
     {"グラフ: X-Rs 管理図", "ファイル: 未保存", "日時: 2024/05/01 09:30", "データ数: 19",
      "上限・下限: 平均 ± 3σ", "規格上限: なし　規格下限: なし"}},
    {"FileAndTolerance",
     {"/home/a/値.txt", "2024/12/31 23:59", 32767, 2.0, {150.0, 99.5}, "推移"},
     {"グラフ: 推移", "ファイル: /home/a/値.txt", "日時: 2024/12/31 23:59", "データ数: 32767",
      "上限・下限: 平均 ± 2σ", "規格上限: 150　規格下限: 99.5"}},
    {"UnknownMultipleLowerOnly",
     {"a.txt", "2024/01/02 03:04", 1, 0.0, {std::nullopt, -2.5}, "X̄-R 管理図 (群の大きさ 4)"},
     {"グラフ: X̄-R 管理図 (群の大きさ 4)", "ファイル: a.txt", "日時: 2024/01/02 03:04",
      "データ数: 1", "上限・下限: 不明", "規格上限: なし　規格下限: -2.5"}},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordLinesTest, testing::ValuesIn(kRecordCases), RowName());

struct ExpectedCase
{
    const char *name;
    double mean, s;
    std::int64_t count;
    stats::Tolerance tolerance;
    std::string text;
};

void PrintTo(const ExpectedCase &c, std::ostream *out) { *out << c.name; }

class ExpectedOutsideTextTest : public testing::TestWithParam<ExpectedCase>
{};

TEST_P(ExpectedOutsideTextTest, NamesEachLimitGivenAndTheTotal)
{
    const ExpectedCase &c = GetParam();
    EXPECT_EQ(chart::expectedOutsideText(stats::expectedOutside(c.mean, c.s, c.count, c.tolerance)),
              c.text);
}

const ExpectedCase kExpectedCases[] = {
    // 1 - Φ(3) = 0.0013499: 1,350 ppm, but 0.13 % to two decimals.
    {"BothSides", 0, 1, 100, {3.0, -3.0},
     "計 2,700 ppm (0.27 %)・上 1,350 ppm (0.13 %)・下 1,350 ppm (0.13 %)"},
    {"LowerOnly", 0, 1, 100, {std::nullopt, 0.0}, "下 500,000 ppm (50.00 %)"},
    {"NoSpread", 5, 0, 10, {6.0, 4.0}, "—"},
    {"OneValue", 5, 1, 1, {6.0, 4.0}, "—"},
};

INSTANTIATE_TEST_SUITE_P(Table, ExpectedOutsideTextTest, testing::ValuesIn(kExpectedCases),
                         RowName());

struct SuffixCase
{
    const char *name;
    const char *filter;
    const char *suffix;
};

void PrintTo(const SuffixCase &c, std::ostream *out) { *out << c.name; }

class FilterSuffixTest : public testing::TestWithParam<SuffixCase>
{};

TEST_P(FilterSuffixTest, IsTheFirstPatternsExtension)
{
    EXPECT_EQ(ui::FileDialog::filterSuffix(QString::fromUtf8(GetParam().filter)),
              QString::fromUtf8(GetParam().suffix));
}

const SuffixCase kSuffixCases[] = {
    {"Png", "PNG 画像 (*.png)", "png"},
    {"Pdf", "PDF 文書 (*.pdf)", "pdf"},
    {"FirstOfTwo", "テキスト (*.txt *.dat)", "txt"},
    {"Everything", "すべて (*)", ""},
    {"NoPattern", "PNG 画像", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, FilterSuffixTest, testing::ValuesIn(kSuffixCases), RowName());

} // namespace

namespace {

stats::ControlSeries markedSeries(const char *name, std::int64_t firstNumber, std::size_t points,
                                  const std::vector<std::size_t> &marked)
{
    stats::ControlSeries series;
    series.name = name;
    series.firstNumber = firstNumber;
    series.values.assign(points, 1.0);
    series.trippedTests.assign(points, {});
    for (const std::size_t i : marked)
        series.trippedTests[i] = stats::SpecialCauseTests::only(1);
    return series;
}

struct DescriptionCase
{
    const char *name;
    stats::ControlSeries series;
    std::string marks; // the description's sentence on the marked points
};

void PrintTo(const DescriptionCase &c, std::ostream *out) { *out << c.name; }

class ControlChartDescriptions : public testing::TestWithParam<DescriptionCase>
{};

TEST_P(ControlChartDescriptions, NameTheMarkedPoints)
{
    const std::string said = chart::controlChartDescription(GetParam().series);
    EXPECT_NE(said.find(GetParam().marks), std::string::npos) << said;
}

const DescriptionCase kDescriptionCases[] = {
    {"None", markedSeries("X", 1, 5, {}), "異常の点はありません。"},
    {"TenNamed", markedSeries("X", 1, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
     "異常の点 10 個: 1 番目 (判定 1)、2 番目 (判定 1)、3 番目 (判定 1)、4 番目 (判定 1)、"
     "5 番目 (判定 1)、6 番目 (判定 1)、7 番目 (判定 1)、8 番目 (判定 1)、9 番目 (判定 1)、"
     "10 番目 (判定 1)。"},
    // Past ten, the first ten are named and the rest counted.
    {"TwelveMarked", markedSeries("X", 1, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
     "9 番目 (判定 1)、10 番目 (判定 1)、ほか 2 個。"},
    // The Rs chart's first point is the second value's moving range.
    {"RsStartsAtTwo", markedSeries("Rs", 2, 4, {0, 3}), "異常の点 2 個: 2 番目 (判定 1)、5 番目 (判定 1)。"},
    {"Subgroups", [] {
         stats::ControlSeries s = markedSeries("X̄", 1, 3, {2});
         s.subgroups = true;
         return s;
     }(), "異常の点 1 個: 第 3 群 (判定 1)。"},
};

INSTANTIATE_TEST_SUITE_P(Table, ControlChartDescriptions, testing::ValuesIn(kDescriptionCases),
                         RowName());

struct TypeNameCase
{
    const char *name;
    stats::ChartRequest request;
    std::string chartName;
};

void PrintTo(const TypeNameCase &c, std::ostream *out) { *out << c.name; }

class RecordChartNames : public testing::TestWithParam<TypeNameCase>
{};

TEST_P(RecordChartNames, AreTheChartsProperNames)
{
    EXPECT_EQ(chart::recordChartName(GetParam().request), GetParam().chartName);
}

const TypeNameCase kTypeNameCases[] = {
    {"Run", {stats::ChartType::Run, 4, {}, stats::SpecialCauseTests::all()}, "推移"},
    {"Individuals", {stats::ChartType::IndividualsMovingRange, 4, {}, stats::SpecialCauseTests::all()}, "X-Rs 管理図"},
    {"MeansRanges", {stats::ChartType::MeansRanges, 4, {}, stats::SpecialCauseTests::all()}, "X̄-R 管理図 (群の大きさ 4)"},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordChartNames, testing::ValuesIn(kTypeNameCases), RowName());

} // namespace
