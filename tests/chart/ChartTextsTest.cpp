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
