#include "cli/StatsOutput.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <variant>

namespace {

struct EscapeCase
{
    const char *name;
    std::string text;
    const char *cell; // in the table
    const char *json; // as a JSON string
};

class EscapeTest : public ::testing::TestWithParam<EscapeCase>
{
};

TEST_P(EscapeTest, TableCellAndJsonString)
{
    const EscapeCase &c = GetParam();
    EXPECT_EQ(cli::tableCell(c.text), c.cell);
    EXPECT_EQ(cli::jsonString(c.text), c.json);
}

const EscapeCase kEscapeCases[] = {
    {"Plain", "-.8541", "-.8541", R"("-.8541")"},
    {"Japanese", "測定値", "測定値", R"("測定値")"},
    {"HalfWidthKana", "ﾃﾞｰﾀ", "ﾃﾞｰﾀ", R"("ﾃﾞｰﾀ")"},
    {"Tab", "1\t2", "1 2", R"("1\t2")"},
    {"LineFeeds", "a\nb\n", "a b ", R"("a\nb\n")"},
    {"CarriageReturn", "a\rb", "a b", R"("a\rb")"},
    {"QuoteAndBackslash", R"(say "\")", R"(say "\")", R"("say \"\\\"")"},
    {"OtherControls", std::string("\x01\b\f\x1f\x7f", 5), "\x01\b\f\x1f\x7f",
     "\"\\u0001\\b\\f\\u001f\x7f\""},
    {"Empty", "", "", R"("")"},
};
INSTANTIATE_TEST_SUITE_P(StatsOutput, EscapeTest, ::testing::ValuesIn(kEscapeCases), RowName{});

stats::StatisticsTexts sampleTexts()
{
    return {"4", "2.5", "1.118", "3.618", "1.382", "1", "25", "2", "50", "4\t!", "a\nb"};
}

TEST(StatsOutput, TableRowHasTwelveCellsInWindowOrder)
{
    const std::string row = cli::tableRow("dir\tx.txt", sampleTexts());
    EXPECT_EQ(row, "dir x.txt\t4\t2.5\t1.118\t3.618\t1.382\t1\t25\t2\t50\t4 !\ta b\n");
    const std::string header = cli::tableHeader();
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 11);
    EXPECT_TRUE(header.ends_with("\t最大値\t最小値\n"));
}

TEST(StatsOutput, JsonObjectNamesEveryField)
{
    EXPECT_EQ(cli::jsonObject("a.txt", sampleTexts()),
              R"({"file": "a.txt", "count": "4", "mean": "2.5", "standardDeviation": "1.118", )"
              R"("upperLimit": "3.618", "lowerLimit": "1.382", "aboveCount": "1", )"
              R"("abovePercent": "25", "belowCount": "2", "belowPercent": "50", )"
              R"("maximum": "4\t!", "minimum": "a\nb"})");
    EXPECT_TRUE(cli::jsonObject("a.txt", sampleTexts(), {{"numbers", "{}"}, {"chart", "null"}})
                    .ends_with(R"("minimum": "a\nb", "numbers": {}, "chart": null})"));
}

struct NumberCase
{
    const char *name;
    double value;
    const char *json;
};

class JsonNumberTest : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(JsonNumberTest, ShortestTextThatReadsBack)
{
    const NumberCase &c = GetParam();
    const std::string text = cli::jsonNumber(c.value);
    EXPECT_EQ(text, c.json);
    if (std::isfinite(c.value)) {
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), c.value) << text;
    }
}

const NumberCase kNumberCases[] = {
    {"Whole", 12.0, "12"},
    {"Half", 2.5, "2.5"},
    {"SumOfTenths", 0.1 + 0.2, "0.30000000000000004"},
    {"ThreeSigma", 2.5 + 3 * std::sqrt(1.25), "5.854101966249685"},
    {"Huge", 1e300, "1e+300"},
    {"Tiny", 5e-324, "5e-324"},
    {"Largest", std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
    {"NegativeZero", -0.0, "-0"},
    {"Infinity", std::numeric_limits<double>::infinity(), "null"},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), "null"},
};
INSTANTIATE_TEST_SUITE_P(StatsOutput, JsonNumberTest, ::testing::ValuesIn(kNumberCases), RowName{});

TEST(StatsOutput, FiguresAreUnroundedNumbers)
{
    // 1, 2, 3, 4 at 1σ: σ = sqrt(1.25); 4 lies above 3.618..., 1 below 1.381...
    stats::StatisticsFigures figures;
    figures.values = {1, 2, 3, 4};
    figures.mean = 2.5;
    figures.sigma = std::sqrt(1.25);
    figures.k = 1;
    figures.upperLimit = 2.5 + std::sqrt(1.25);
    figures.lowerLimit = 2.5 - std::sqrt(1.25);
    figures.aboveCount = 1;
    figures.belowCount = 1;
    EXPECT_EQ(cli::jsonFigures(figures),
              R"({"count": 4, "mean": 2.5, "standardDeviation": 1.118033988749895, )"
              R"("sigmaMultiple": 1, "upperLimit": 3.618033988749895, )"
              R"("lowerLimit": 1.381966011250105, "aboveCount": 1, "abovePercent": 25, )"
              R"("belowCount": 1, "belowPercent": 25, "maximum": 4, "minimum": 1})");
    figures.values = {0, 2, 1};
    figures.aboveCount = 0;
    const std::string third = cli::jsonFigures(figures);
    EXPECT_NE(third.find(R"("belowPercent": 33.333333333333336, "maximum": 2, "minimum": 0})"),
              std::string::npos)
        << third;
}

// The number after `"key": ` from the `nth` (from 0) occurrence of the key on.
double numberAfter(const std::string &json, const std::string &key, int nth = 0)
{
    std::size_t at = 0;
    for (int i = 0; i <= nth; ++i)
        at = json.find("\"" + key + "\": ", at) + key.size() + 4;
    return std::strtod(json.c_str() + at, nullptr);
}

TEST(StatsOutput, ControlChartLimitsReadBackExactly)
{
    const auto outcome = stats::individualsChart({10, 12, 11, 13, 12, 14});
    ASSERT_TRUE(std::holds_alternative<stats::ControlChart>(outcome));
    const stats::ControlChart &chart = std::get<stats::ControlChart>(outcome);
    const std::string json = cli::jsonControlChart("xrs", chart);
    EXPECT_TRUE(json.starts_with(R"({"type": "xrs", "subgroupSize": 1, "leftOut": 0, )"
                                 R"("location": {"name": "X", "center": 12, )"))
        << json;
    EXPECT_EQ(numberAfter(json, "upper"), chart.location.limits.upper);
    EXPECT_EQ(numberAfter(json, "lower"), *chart.location.limits.lower);
    EXPECT_EQ(numberAfter(json, "upper", 1), chart.spread.limits.upper);
    EXPECT_NEAR(numberAfter(json, "upper"), 16.256, 1e-12);
    EXPECT_NEAR(numberAfter(json, "lower"), 7.744, 1e-12);
    EXPECT_NEAR(numberAfter(json, "upper", 1), 5.2272, 1e-12);
    EXPECT_NE(json.find(R"("name": "Rs", "center": 1.6)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("lower": null, "signals": []}})"), std::string::npos) << json;
}

TEST(StatsOutput, ControlChartListsSignals)
{
    const auto outcome = stats::subgroupChart({5, 15, 5, 15, 5, 15, 5, 15, 5, 15, 40, 51}, 2);
    ASSERT_TRUE(std::holds_alternative<stats::ControlChart>(outcome));
    const std::string json = cli::jsonControlChart("xbar-r", std::get<stats::ControlChart>(outcome));
    EXPECT_NE(json.find(R"("subgroupSize": 2)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("signals": [{"test": 1, "number": 6, "value": 45.5}]})"),
              std::string::npos)
        << json;
}

} // namespace
