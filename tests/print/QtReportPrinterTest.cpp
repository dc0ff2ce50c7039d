#include "print/QtReportPrinter.h"

#include "PdfText.h"
#include "Wine.h"

#include <QFontMetricsF>
#include <QTemporaryDir>

#include "ReportSamples.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class QtReportPrinterTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    /// Prints the lines to a PDF file and returns its path.
    QString printToPdf(const std::vector<std::string> &lines)
    {
        const QString path = m_dir.filePath(QStringLiteral("report.pdf"));
        std::unique_ptr<QtReportPrinter> printer = QtReportPrinter::openPdfFile(path);
        EXPECT_TRUE(report::printReport(lines, *printer));
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(QtReportPrinterTest, PdfHoldsScratchLinesThenResultLines)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    const QString pdf = printToPdf(report::composeReport(numbered(25), calculatedBoxes()));
    const std::optional<QString> text = pdfText(pdf);
    ASSERT_TRUE(text.has_value()) << "pdftotext failed";
    EXPECT_EQ(squeezedLines(*text),
              QStringList({"1 2 3 4 5 6 7 8 9 10", "11 12 13 14 15 16 17 18 19 20",
                           "21 22 23 24 25", "データ数 25", "平均 13", "標準偏差 7.2111",
                           "上限 34.6333", "下限 -8.6333", "上限から溢れたデータ 2 (10%)",
                           "下限から溢れたデータ 0 (0%)", "最大値 25", "最小値 1"}));
    EXPECT_EQ(text->count(QLatin1Char('\f')), 1) << "one page";
}

TEST_F(QtReportPrinterTest, ValuesStartInOneColumn)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    const QString pdf = printToPdf(report::composeReport({}, calculatedBoxes()));
    const auto lines = firstPageWords(pdf);
    ASSERT_TRUE(lines.has_value()) << "pdftotext failed";
    // Lines 1 to 5, 8 and 9 of the results: label, then the value.
    const QStringList labels = {"データ数", "平均", "標準偏差", "上限", "下限", "最大値",
                                "最小値"};
    QList<double> valueEdges;
    for (const QList<PdfWord> &words : *lines)
        if (words.size() == 2 && labels.contains(words[0].text))
            valueEdges << words[1].left;
    ASSERT_EQ(valueEdges.size(), labels.size());
    for (double left : valueEdges)
        EXPECT_NEAR(left, valueEdges.front(), 0.5) << "points";
}

struct GridCase
{
    const char *name;
    std::vector<std::string> entries;
    std::vector<int> columns; // where each entry's word starts on the printed line
};

class ReportGridTest : public QtReportPrinterTest,
                       public ::testing::WithParamInterface<GridCase>
{
};

TEST_P(ReportGridTest, EntriesStartAtTheirDisplayColumns)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    const GridCase &c = GetParam();
    const QString pdf = printToPdf(report::composeReport(c.entries, calculatedBoxes()));
    const auto lines = firstPageWords(pdf);
    ASSERT_TRUE(lines.has_value()) << "pdftotext failed";
    ASSERT_GE(lines->size(), 10);
    const QList<PdfWord> &words = lines->front();
    ASSERT_EQ(words.size(), static_cast<qsizetype>(c.columns.size()));
    // The font at one pixel a point measures the PDF's half-width column.
    QFont font = QtReportPrinter::reportFont();
    font.setPixelSize(font.pointSize());
    font.setHintingPreference(QFont::PreferNoHinting);
    const qreal cell = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    const double origin = words.front().left;
    for (std::size_t i = 0; i < c.columns.size(); ++i) {
        EXPECT_EQ(words[i].text.normalized(QString::NormalizationForm_KC),
                  QString::fromStdString(c.entries[i]).normalized(QString::NormalizationForm_KC));
        EXPECT_NEAR(words[i].left - origin, c.columns[i] * cell, 0.3) << "entry " << i;
    }
    // The values after the labels still start in one column, 22.
    for (const QList<PdfWord> &result : lines->mid(1)) {
        if (result.size() == 2 && result[0].text == QStringLiteral("平均")) {
            EXPECT_NEAR(result[1].left - origin, 21 * cell, 0.3);
        }
    }
}

const GridCase kGridCases[] = {
    {"Ascii", {"12.5", "13.0", "9.75"}, {0, 7, 14}},
    {"FullWidth", {"１２．５", "１３", "12.5"}, {0, 11, 18}},
    {"HalfWidthKatakana", {"ｱｲｳ", "ｶﾞｷﾞ", "12"}, {0, 6, 13}},
    {"Mixed", {"表ｿ1", "ａb", "ｱ", "１"}, {0, 7, 13, 17}},
    {"KanaAndKanji", {"あ表", "ｱ表", "ー1"}, {0, 7, 13}},
};
INSTANTIATE_TEST_SUITE_P(Widths, ReportGridTest, ::testing::ValuesIn(kGridCases), RowName{});

TEST_F(QtReportPrinterTest, LongReportContinuesOnNextPage)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    // 1000 entries make 100 full lines plus the closing and result lines.
    const QString pdf = printToPdf(report::composeReport(numbered(1000), calculatedBoxes()));
    const std::optional<QString> text = pdfText(pdf);
    ASSERT_TRUE(text.has_value()) << "pdftotext failed";
    EXPECT_GE(text->count(QLatin1Char('\f')), 2) << "more than one page";
    const QStringList lines = squeezedLines(*text);
    QStringList expectedEntries;
    for (int i = 1; i <= 1000; ++i)
        expectedEntries << QString::number(i);
    EXPECT_EQ(lines.mid(0, 100).join(QLatin1Char(' ')), expectedEntries.join(QLatin1Char(' ')));
    EXPECT_EQ(lines.last(), QStringLiteral("最小値 1"));
}

TEST_F(QtReportPrinterTest, WideLineContinuesWithoutLoss)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "0123456789";
    const QString pdf = printToPdf(report::composeReport({wide}, calculatedBoxes()));
    const std::optional<QString> text = pdfText(pdf);
    ASSERT_TRUE(text.has_value()) << "pdftotext failed";
    const QStringList lines = squeezedLines(*text);
    const qsizetype results = lines.indexOf(QStringLiteral("データ数 25"));
    ASSERT_GE(results, 2) << "the entry takes several printed lines";
    EXPECT_EQ(lines.mid(0, results).join(QString()), QString::fromStdString(wide));
}

TEST_F(QtReportPrinterTest, EndedDocumentIsNotEndedTwice)
{
    const QString path = m_dir.filePath(QStringLiteral("twice.pdf"));
    std::unique_ptr<QtReportPrinter> printer = QtReportPrinter::openPdfFile(path);
    printer->printText("1");
    EXPECT_TRUE(printer->endDocument());
    EXPECT_FALSE(printer->endDocument());
}

TEST_F(QtReportPrinterTest, UnwritableOutputIsRefused)
{
    const QString path = m_dir.filePath(QStringLiteral("missing/folder/report.pdf"));
    std::unique_ptr<QtReportPrinter> printer = QtReportPrinter::openPdfFile(path);
    printer->printText("1");
    printer->endLine();
    EXPECT_FALSE(printer->endDocument());
}

struct FitCase
{
    const char *name;
    const char *line;
    double halfWidths; // the width, in half-width character advances
    std::vector<const char *> pieces;
};

class FitToWidthTest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(FitToWidthTest, BreaksBetweenCharacters)
{
    const FitCase &c = GetParam();
    // At an even pixel size both widths are whole pixels, so a font engine
    // that rounds each advance to a pixel (GDI on Windows) keeps 2 : 1.
    QFont font = QtReportPrinter::reportFont();
    font.setPixelSize(20);
    const QFontMetricsF metrics(font);
    const qreal halfWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    ASSERT_NEAR(metrics.horizontalAdvance(QStringLiteral("表")), 2 * halfWidth, 0.05)
        << "the report font is not fixed-pitch";
    QStringList expected;
    for (const char *piece : c.pieces)
        expected << QString::fromUtf8(piece);
    EXPECT_EQ(QtReportPrinter::fitToWidth(QString::fromUtf8(c.line), metrics,
                                          c.halfWidths * halfWidth),
              expected);
}

const FitCase kFitCases[] = {
    {"FitsWhole", "12345", 5.5, {"12345"}},
    {"BreaksAtWidth", "1234567", 3.5, {"123", "456", "7"}},
    {"FullWidthStaysWhole", "表ソ表", 3.5, {"表", "ソ", "表"}},
    {"MixedWidths", "1表2", 3.5, {"1表", "2"}},
    {"SurrogatePairStaysWhole", "a𠮷b", 2.5, {"a", "𠮷", "b"}},
    {"TrailingSpacesDropped", "123   ", 3.5, {"123"}},
    {"SpacesInsideKept", "12   34", 3.5, {"12 ", "  3", "4"}},
    {"BlankLineKept", " ", 3.5, {" "}},
    {"EmptyLineKept", "", 3.5, {""}},
    {"CharacterWiderThanWidth", "表1", 1.5, {"表", "1"}},
};
INSTANTIATE_TEST_SUITE_P(Lines, FitToWidthTest, ::testing::ValuesIn(kFitCases), RowName{});

} // namespace
