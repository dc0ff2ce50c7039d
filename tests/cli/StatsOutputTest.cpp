#include "cli/StatsOutput.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
}

} // namespace
