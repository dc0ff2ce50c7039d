#include "files/Columns.h"
#include "files/ValueLines.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

struct FieldsCase
{
    const char *name;
    std::string row;
    char separator;
    Values fields;
};

class SplitFieldsTest : public ::testing::TestWithParam<FieldsCase>
{
};

TEST_P(SplitFieldsTest, FollowsSimpleCsv)
{
    EXPECT_EQ(files::splitFields(GetParam().row, GetParam().separator), GetParam().fields);
}

const FieldsCase kFieldsCases[] = {
    {"Comma", "1,25.01", ',', {"1", "25.01"}},
    {"Tab", "1\t25.01\t", '\t', {"1", "25.01", ""}},
    {"Semicolon", "1;2,5", ';', {"1", "2,5"}},
    {"BlanksAroundDropped", " 1 ,\t2\t, ", ',', {"1", "2", ""}},
    {"QuotedHoldsSeparator", "\"1,5\",2", ',', {"1,5", "2"}},
    {"DoubledQuoteIsQuote", "\"a\"\"b\";c", ';', {"a\"b", "c"}},
    {"TextAfterClosingQuoteJoins", "\"a\"b,c", ',', {"ab", "c"}},
    {"UnclosedQuoteRunsToEnd", "1,\"2,3", ',', {"1", "2,3"}},
    {"QuoteInsideFieldIsText", "a\"b,c", ',', {"a\"b", "c"}},
    {"EmptyRow", "", ',', {""}},
    {"JapaneseKept", "外径,１２．５", ',', {"外径", "１２．５"}},
    {"EmptyFieldsBetweenTabs", "1\t\t2", '\t', {"1", "", "2"}},
};
INSTANTIATE_TEST_SUITE_P(Rows, SplitFieldsTest, ::testing::ValuesIn(kFieldsCases), RowName{});

struct DetectCase
{
    const char *name;
    std::string text;
    char separator;    // '\0': one column
    std::size_t columns;
    std::size_t preselected;
    Values values;     // of the preselected column
};

class DetectColumnsTest : public ::testing::TestWithParam<DetectCase>
{
};

TEST_P(DetectColumnsTest, FindsTableAndPreselectedValues)
{
    const DetectCase &c = GetParam();
    const auto layout = files::detectColumns(c.text);
    if (c.separator == '\0') {
        EXPECT_FALSE(layout.has_value()) << layout->columns;
        return;
    }
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->separator, c.separator);
    EXPECT_EQ(layout->columns, c.columns);
    EXPECT_EQ(layout->preselected, c.preselected);
    EXPECT_EQ(files::columnValues(c.text, *layout, layout->preselected), c.values);
}

const DetectCase kDetectCases[] = {
    {"SpreadsheetCsvWithHeader", "No,外径\r\n1,25.01\r\n2,25.00\r\n3,24.99\r\n", ',', 2, 1,
     {"25.01", "25.00", "24.99"}},
    {"LfLineEnds", "No,外径\n1,25.01\n2,25.00\n", ',', 2, 1, {"25.01", "25.00"}},
    {"TabWithoutHeader", "1\t5.5\r\n2\t6.5\r\n", '\t', 2, 1, {"5.5", "6.5"}},
    {"SemicolonWithDecimalComma", "Nr;Wert\r\n1;2,5\r\n2;4,5\r\n", ';', 2, 1, {"2,5", "4,5"}},
    {"QuotedCommasStayInField", "\"a\",\"b\"\r\n\"1,5\",\"x\"\r\n\"2,5\",\"y\"\r\n", ',', 2, 0,
     {"1,5", "2,5"}},
    {"MostNumbersWins", "外径,判定\r\n25.1,OK\r\n25.2,NG\r\n", ',', 2, 0, {"25.1", "25.2"}},
    {"EqualNumbersLeftmostMeasurement", "No,外径,内径\r\n1,25.1,10.1\r\n2,25.2,10.2\r\n", ',', 3,
     1, {"25.1", "25.2"}},
    {"TwoHeaderRows", "測定データ\r\nNo,外径\r\n1,25.1\r\n2,25.2\r\n3,25.3\r\n4,25.4\r\n5,25.5\r\n"
                      "6,25.6\r\n7,25.7\r\n8,25.8\r\n",
     ',', 2, 1, {"25.1", "25.2", "25.3", "25.4", "25.5", "25.6", "25.7", "25.8"}},
    // Exactly as many header rows as a column may leave out: 「外径」 is a header, no value.
    {"ThreeHeaderRows",
     "シャフト,SH-2041\r\n単位,mm\r\nNo,外径\r\n1,25.01\r\n2,25.00\r\n3,24.99\r\n4,25.02\r\n"
     "5,25.03\r\n",
     ',', 2, 1, {"25.01", "25.00", "24.99", "25.02", "25.03"}},
    // Dates and times read as numbers (2024, 8) but are never the values.
    {"DateColumnFirst", "日付,外径\r\n2024/01/05,25.01\r\n2024/01/06,25.00\r\n2024/01/07,24.99\r\n",
     ',', 2, 1, {"25.01", "25.00", "24.99"}},
    {"TimeColumnWithMoreNumbers", "時刻\t外径\r\n08:00\t25.01\r\n09:00\t\r\n10:00\t24.99\r\n",
     '\t', 2, 1, {"25.01", "24.99"}},
    {"DateTimeAndLot",
     "日時,ロット,外径\r\n2024-01-05 08:00,L7,25.01\r\n2024-01-05 09:00,L7,25.00\r\n", ',', 3,
     2, {"25.01", "25.00"}},
    {"JapaneseDatesBeforeText", "日付,判定\r\n1月5日,OK\r\n1月6日,NG\r\n", ',', 2, 1,
     {"OK", "NG"}},
    {"TextBelowHeaderKept", "No,外径\r\n1,25.1\r\n2,欠測\r\n3,25.3\r\n", ',', 2, 1,
     {"25.1", "欠測", "25.3"}},
    {"RaggedRowsWithinShare", "1,5\r\n2,6\r\n3\r\n4,8\r\n5,9\r\n", ',', 2, 1, {"5", "6", "8", "9"}},
    {"FullWidthDigits", "番号,外径\r\n１,２５．０１\r\n２,２５．００\r\n", ',', 2, 1,
     {"２５．０１", "２５．００"}},
    {"EmptyFieldsPassedOver", "1,5\r\n2,\r\n3,7\r\n", ',', 2, 1, {"5", "7"}},
    {"TabBeforeComma", "a,b\tc\r\n1,2\t3\r\n", '\t', 2, 0, {"1,2"}},
    {"EmptyLinesAreNoRows", "1,5\r\n\r\n\r\n2,7\r\n", ',', 2, 1, {"5", "7"}},
    // One column: what the value-file and paste rules read as before.
    {"Empty", "", '\0', 0, 0, {}},
    {"NoSeparator", "25.01\r\n25.00\r\n", '\0', 0, 0, {}},
    {"LoneRow", "1,25.01\r\n", '\0', 0, 0, {}},
    {"RaggedBeyondShare", "1,5\r\n2\r\n3,7\r\n4\r\n", '\0', 0, 0, {}},
    {"GroupedNumbers", "1,234.5\r\n12,345\r\n-1,000,000\r\n", '\0', 0, 0, {}},
    {"GroupedNumbersBesideOthers", "値\r\n1,234.5\r\n999\r\n", '\0', 0, 0, {}},
    {"NoNumberAnywhere", "a,b\r\nc,d\r\n", '\0', 0, 0, {}},
    {"OneInFiveHasTabs", "1\t2\r\n3\r\n4\r\n5\r\n6\r\n", '\0', 0, 0, {}},
};
INSTANTIATE_TEST_SUITE_P(Texts, DetectColumnsTest, ::testing::ValuesIn(kDetectCases), RowName{});

struct DateCase
{
    const char *name;
    const char *field;
    bool date;
};

const DateCase kDateCases[] = {
    {"SlashDate", "2024/01/05", true},
    {"DashDate", "2024-01-05", true},
    {"DotDate", "05.01.2024", true},
    {"MonthDay", "12/7", true},
    {"JapaneseDate", "2024年1月5日", true},
    {"JapaneseMonthDay", "1月5日", true},
    {"Time", "08:00", true},
    {"TimeWithSeconds", "8:00:15.25", true},
    {"JapaneseTime", "8時30分", true},
    {"DateAndTime", "2024/01/05 08:00", true},
    {"IsoDateTime", "2024-01-05T08:00:00", true},
    {"BlanksAround", " 12/07 8:00 ", true},
    {"Decimal", "25.01", false},
    {"Exponent", "1.5e3", false},
    {"DashPair", "12-5", false},
    {"FourParts", "1/2/3/4", false},
    {"LongYear", "20245/01/05", false},
    {"MinutesOneDigit", "8:5", false},
    {"DateThenText", "2024/01/05 朝", false},
    {"FullWidthDigits", "２０２４/０１/０５", false},
    {"Word", "外径", false},
    {"Empty", "", false},
};

class DateOrTimeTest : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(DateOrTimeTest, RecognisesSpreadsheetForms)
{
    EXPECT_EQ(files::isDateOrTime(GetParam().field), GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(Fields, DateOrTimeTest, ::testing::ValuesIn(kDateCases), RowName{});

TEST(Columns, OtherColumnLeavesOutItsOwnHeader)
{
    const std::string text = "No,外径\r\n1,25.01\r\n2,25.00\r\n";
    const auto layout = files::detectColumns(text);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->headerRows, (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(layout->numbers, (std::vector<std::size_t>{2, 2}));
    EXPECT_EQ(files::columnValues(text, *layout, 0), (Values{"1", "2"}));
    EXPECT_EQ(files::columnValues(text, *layout, 5), Values{});
}

TEST(Columns, TextColumnTakesTableHeader)
{
    const std::string text = "判定,No,外径\r\n\"OK\",1,25.01\r\nNG,2,25.00\r\n";
    const auto layout = files::detectColumns(text);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->preselected, 2u);
    EXPECT_EQ(layout->headerRows, (std::vector<std::size_t>{1, 1, 1}));
    EXPECT_EQ(files::columnValues(text, *layout, 0), (Values{"OK", "NG"}));
}

TEST(Columns, HeaderIsOnlyAtTheTop)
{
    // Four text rows before the first number are more than a header: all kept.
    const std::string text = "a,1\r\nb,x\r\nc,x\r\nd,x\r\ne,x\r\n2,x\r\n3,x\r\n";
    const auto layout = files::detectColumns(text);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->headerRows[0], 0u);
    EXPECT_EQ(files::columnValues(text, *layout, 0),
              (Values{"a", "b", "c", "d", "e", "2", "3"}));
}

TEST(Columns, PreviewHoldsFirstRowsSplit)
{
    const auto layout = files::detectColumns("h1,h2\r\n1,2\r\n3\r\n4,5\r\n6,7\r\n8,9\r\n10,11\r\n");
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->rows, 7u);
    ASSERT_EQ(layout->preview.size(), files::kPreviewRows);
    EXPECT_EQ(layout->preview[0], (Values{"h1", "h2"}));
    EXPECT_EQ(layout->preview[2], (Values{"3"}));
}

struct GroupedCase
{
    const char *name;
    const char *row;
    bool grouped;
};

class GroupedNumberTest : public ::testing::TestWithParam<GroupedCase>
{
};

TEST_P(GroupedNumberTest, RecognisesDigitGroups)
{
    EXPECT_EQ(files::isGroupedNumber(GetParam().row), GetParam().grouped);
}

const GroupedCase kGroupedCases[] = {
    {"Thousands", "1,234.5", true},   {"Signed", "-12,345", true},
    {"Millions", "1,000,000", true},  {"TrailingPoint", "1,234.", true},
    {"TwoDigitGroup", "1,25.01", false}, {"FourDigitLead", "1234,567", false},
    {"FourDigitGroup", "1,2345", false}, {"NoComma", "1234", false},
    {"TextAfter", "1,234mm", false},  {"Empty", "", false},
};
INSTANTIATE_TEST_SUITE_P(Rows, GroupedNumberTest, ::testing::ValuesIn(kGroupedCases), RowName{});

struct PasteCase
{
    const char *name;
    std::string text;
    std::optional<std::size_t> answer; // what the question is answered; unset: not asked
    bool asked;
    std::optional<Values> values;
};

class PastedValuesTest : public ::testing::TestWithParam<PasteCase>
{
};

TEST_P(PastedValuesTest, AsksOnlyForTables)
{
    const PasteCase &c = GetParam();
    bool asked = false;
    const auto values = files::pastedValues(c.text, [&](const files::ColumnLayout &) {
        asked = true;
        return c.answer;
    });
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(values, c.values);
    if (!c.asked) {
        EXPECT_EQ(values, files::splitPastedValues(c.text));
    }
}

const PasteCase kPasteCases[] = {
    {"Column", "1\r\n2\r\n", std::nullopt, false, Values{"1", "2"}},
    {"RowOfCells", "1\t2\t3", std::nullopt, false, Values{"1", "2", "3"}},
    {"RaggedCellsInterleave", "1\t2\n3\n4\n", std::nullopt, false, Values{"1", "2", "3", "4"}},
    {"TwoColumnsSecondChosen", "No\t外径\r\n1\t25.01\r\n2\t25.00\r\n", 1, true,
     Values{"25.01", "25.00"}},
    {"TwoColumnsFirstChosen", "No\t外径\r\n1\t25.01\r\n2\t25.00\r\n", 0, true, Values{"1", "2"}},
    {"Cancelled", "1\t25.01\r\n2\t25.00\r\n", std::nullopt, true, std::nullopt},
    {"ColumnBeyondTable", "1\t25.01\r\n2\t25.00\r\n", 2, true, std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Pastes, PastedValuesTest, ::testing::ValuesIn(kPasteCases), RowName{});

} // namespace
