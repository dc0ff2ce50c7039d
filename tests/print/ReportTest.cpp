#include "print/Report.h"

#include "RecordingPrinter.h"
#include "ReportSamples.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The nine result lines for calculatedBoxes(), as they must print.
const std::vector<std::string> kCalculatedResultLines = {
    " 　　　データ数  　　25",
    "   　　　平均        13",
    " 　　　標準偏差      7.2111",
    "  　　　 上限        34.6333",
    "  　　　 下限        -8.6333",
    " 上限から溢れたデータ 2 (10%)",
    " 下限から溢れたデータ 0 (0%)",
    "        最大値       25",
    "        最小値       1",
};

// The same lines with every box empty.
const std::vector<std::string> kEmptyResultLines = {
    " 　　　データ数  　　",
    "   　　　平均        ",
    " 　　　標準偏差      ",
    "  　　　 上限        ",
    "  　　　 下限        ",
    " 上限から溢れたデータ  (%)",
    " 下限から溢れたデータ  (%)",
    "        最大値       ",
    "        最小値       ",
};

struct SectionCase
{
    const char *name;
    std::vector<std::string> scratch;
    std::vector<std::string> section; // the printed lines before the result lines
};

class ReportSectionTest : public ::testing::TestWithParam<SectionCase>
{
};

TEST_P(ReportSectionTest, PrintsTenEntriesToALineThenResults)
{
    const SectionCase &c = GetParam();
    std::vector<std::string> expected = c.section;
    expected.insert(expected.end(), kCalculatedResultLines.begin(),
                    kCalculatedResultLines.end());
    EXPECT_EQ(report::composeReport(c.scratch, calculatedBoxes()), expected);
}

const SectionCase kSectionCases[] = {
    {"ThreeLines", numbered(3), {"1   2   3    "}},
    {"TenLines", numbered(10), {"1   2   3   4   5   6   7   8   9   10   ", " "}},
    {"TwentyFiveLines",
     numbered(25),
     {"1   2   3   4   5   6   7   8   9   10   ",
      "11   12   13   14   15   16   17   18   19   20   ", "21   22   23   24   25    "}},
    {"TwentyLinesEndWithLoneSpace",
     numbered(20),
     {"1   2   3   4   5   6   7   8   9   10   ",
      "11   12   13   14   15   16   17   18   19   20   ", " "}},
    {"EmptyFile", {}, {" "}},
    {"EmptyLineIsAnEntry", {"1", "", "3"}, {"1      3    "}},
    {"EmptyLineCountsTowardsTen",
     {"", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
     {"   2   3   4   5   6   7   8   9   10   ", "11    "}},
    {"OnlyEmptyLine", {""}, {"    "}},
    {"TextKeptUnchanged", {" 1,5 ", "表ソ", "abc"}, {" 1,5    表ソ   abc    "}},
};
INSTANTIATE_TEST_SUITE_P(Scratch, ReportSectionTest, ::testing::ValuesIn(kSectionCases), RowName{});

TEST(Report, EmptyBoxesLeaveLabelsAndParenthesesOnly)
{
    std::vector<std::string> expected = {" "};
    expected.insert(expected.end(), kEmptyResultLines.begin(), kEmptyResultLines.end());
    EXPECT_EQ(report::composeReport({}, report::BoxTexts{}), expected);
}

TEST(Report, EachBoxLandsOnItsOwnLine)
{
    // Distinct texts catch two boxes swapped between lines.
    const report::BoxTexts boxes{.mean = "mean",
                                 .standardDeviation = "sd",
                                 .upperLimit = "upper",
                                 .lowerLimit = "lower",
                                 .aboveCount = "above",
                                 .abovePercent = "ap",
                                 .belowCount = "below",
                                 .belowPercent = "bp",
                                 .count = "count",
                                 .maximum = "max",
                                 .minimum = "min"};
    const std::vector<std::string> lines = report::composeReport({"x"}, boxes);
    ASSERT_EQ(lines.size(), 10u);
    const char *const suffixes[] = {"count", "mean",        "sd",          "upper", "lower",
                                    "above (ap%)", "below (bp%)", "max", "min"};
    for (std::size_t i = 0; i < 9; ++i) {
        const std::string &line = lines[i + 1];
        const std::string suffix = suffixes[i];
        ASSERT_GE(line.size(), suffix.size());
        EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << "result line " << i + 1;
    }
}

struct ColumnsCase
{
    const char *name;
    const char *text;
    int columns;
};

class DisplayColumnsTest : public ::testing::TestWithParam<ColumnsCase>
{
};

TEST_P(DisplayColumnsTest, CountsFullWidthTwiceAndHalfWidthOnce)
{
    EXPECT_EQ(report::displayColumns(GetParam().text), GetParam().columns);
}

const ColumnsCase kColumnsCases[] = {
    {"Empty", "", 0},
    {"Ascii", "12.5", 4},
    {"FullWidthDigits", "１２．５", 8},
    {"HalfWidthKatakana", "ｱｲｳｴｵ", 5},
    {"HalfWidthVoicedMark", "ｶﾞ", 2}, // ｶ and the half-width ﾞ, one column each
    {"Hiragana", "あいう", 6},
    {"Kanji", "表計算", 6},
    {"IdeographicSpace", "　", 2},
    {"MixedWidths", "表ｿ1", 4},
    {"FullWidthMinusAndYen", "－１０￥", 8},
    {"LatinAccentsAreNarrow", "é", 1},
    {"CombiningMarkTakesNone", "e\xCC\x81", 1}, // e and U+0301
    {"SupplementaryIdeograph", "𠮷", 2},
    {"GreekAndCyrillicAreNarrow", "σЖ", 2},
    {"StrayContinuationByte", "\x80", 1},
    {"CutSequence", "\xE8\xA1", 2},
};
INSTANTIATE_TEST_SUITE_P(Texts, DisplayColumnsTest, ::testing::ValuesIn(kColumnsCases), RowName{});

TEST(Report, LabelsLineUpTheValues)
{
    const std::vector<std::string> lines = report::composeReport({}, report::BoxTexts{});
    const int expected[] = {21, 21, 21, 21, 21, 22, 22, 21, 21};
    for (std::size_t i = 0; i < 9; ++i) {
        std::string label = lines[i + 1];
        if (i == 5 || i == 6)
            label = label.substr(0, label.size() - std::string(" (%)").size());
        EXPECT_EQ(report::displayColumns(label), expected[i]) << "result line " << i + 1;
    }
}

TEST(Report, PrinterGetsEveryLineEndedThenTheDocumentEnd)
{
    const std::vector<std::string> lines = {"1   2    ", "", "last"};
    PrintRecord record;
    RecordingPrinter printer(record);
    EXPECT_TRUE(report::printReport(lines, printer));
    EXPECT_EQ(record.lines, lines);
    EXPECT_EQ(record.current, "");
    EXPECT_EQ(record.documentsEnded, 1);

    PrintRecord refused;
    RecordingPrinter refusing(refused, false);
    EXPECT_FALSE(report::printReport(lines, refusing));
    EXPECT_EQ(refused.documentsEnded, 1);
}

} // namespace
