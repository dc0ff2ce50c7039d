#include "chart/ChartRecord.h"
#include "chart/RecordText.h"
#include "stats/ChartContent.h"
#include "sheetwin/SheetRecord.h"

#include "RowName.h"
#include "Wine.h"

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace {

using stats::ChartType;

/// A word of a page as pdftotext -bbox finds it, its text in compatibility
/// form: the Japanese face draws some kanji and their look-alike radicals
/// (方, ⽅) with one glyph, which the PDF names by the radical, so both sides
/// are compared in NFKC.
struct Word
{
    int page;
    QRectF box;
    QString text;
};

QString normalized(const QString &text)
{
    // The Japanese face draws ・ and ‧ with one glyph, which the PDF names ‧.
    return text.normalized(QString::NormalizationForm_KC).replace(QChar(0x2027), QChar(0x30FB));
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::vector<Word> wordsOf(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<Word> words;
    int page = 0;
    static const QRegularExpression item(QString::fromUtf8(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto match = item.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        QString text = m.captured(5);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"))
            .replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""));
        words.push_back({page, QRectF(from, to), normalized(text)});
    }
    return words;
}

/// The words of the text, as pdftotext splits them: at blanks.
QStringList split(const std::string &text)
{
    return normalized(QString::fromStdString(text))
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

stats::StatisticsFigures figuresOf(const std::vector<std::string> &items)
{
    return std::get<stats::StatisticsFigures>(stats::calculateFigures(items, "3\xCF\x83"));
}

/// Values near 25 that rise past the 100th, so that nearly every later
/// point trips a test: hundreds of signals.
std::vector<std::string> trendingValues(int count, int riseFrom)
{
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        const double wobble = std::sin(i * 1.7) * 0.04 + std::cos(i * 0.9) * 0.02;
        const double rise = i >= riseFrom ? 0.004 * (i - riseFrom) : 0.0;
        items.push_back(std::to_string(std::round((25 + wobble + rise) * 1000) / 1000));
    }
    return items;
}

/// The record's PDF: A4 in the orientation asked for, at least leastPages
/// pages, every word of the record on them (the title, header, figures,
/// notes, signals, rows and page numbers), no word below 7 points high and
/// none over another.
void expectReadableRecord(const QString &pdf, const chart::RecordInput &record,
                          QPageLayout::Orientation orientation, int leastPages)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(orientation == QPageLayout::Landscape
                                  ? QStringLiteral("842 x 595 pts (A4)")
                                  : QStringLiteral("595 x 842 pts (A4)")))
        << info.toStdString();
    const std::vector<Word> words = wordsOf(pdf);
    ASSERT_FALSE(words.empty());
    const int pages = words.back().page;
    EXPECT_GE(pages, leastPages);

    // Every word of the record is among the page's words, as often as it is
    // written: the figures, both shares of 推定不良率, every signal and every row.
    // pdftotext also splits a word where the face changes (Latin to
    // Japanese): neighbours with no gap between them count joined as well.
    std::map<QString, int> found;
    for (std::size_t i = 0; i < words.size(); ++i) {
        ++found[words[i].text];
        QString joined = words[i].text;
        for (std::size_t j = i + 1; j < words.size() && j < i + 4; ++j) {
            if (words[j].page != words[i].page ||
                std::abs(words[j].box.left() - words[j - 1].box.right()) > 0.5)
                break;
            joined += words[j].text;
            ++found[joined];
        }
    }
    std::map<QString, int> wanted;
    const auto want = [&](const std::string &text) {
        for (const QString &word : split(text))
            ++wanted[word];
    };
    want(record.title);
    want(record.source);
    for (const chart::RecordField &figure : record.figures)
        want(figure.caption + " " + figure.value);
    for (const chart::RecordField &field : record.header)
        want(field.caption + " " + field.value);
    for (const chart::RecordPhase &phase : record.phases)
        want(phase.name);
    for (const std::string &note : record.notes)
        want(note);
    for (const std::string &line : record.signalLines)
        want(line);
    for (const chart::RecordRow &row : record.rows) {
        want(row.number + " " + row.point + " " + row.label + " " + row.mean + " " + row.spread +
             " " + row.note + " " + row.exclusion);
        for (const std::string &value : row.values)
            want(value);
    }
    for (int page = 1; page <= pages; ++page)
        want(std::to_string(page) + " / " + std::to_string(pages));
    // A word wrapped across two lines is whole in the words run together.
    QString allText;
    for (const Word &word : words)
        allText += word.text;
    for (const auto &[word, count] : wanted) {
        if (found[word] < count) {
            EXPECT_TRUE(count == 1 && allText.contains(word)) << word.toStdString();
        }
    }

    // No word is set below 7 points, and none overlaps another.
    std::vector<Word> sorted = words;
    std::sort(sorted.begin(), sorted.end(), [](const Word &a, const Word &b) {
        return a.page != b.page ? a.page < b.page : a.box.left() < b.box.left();
    });
    int crowded = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_GE(sorted[i].box.height(), 7.0) << sorted[i].text.toStdString();
        for (std::size_t j = i + 1; j < sorted.size() && sorted[j].page == sorted[i].page &&
                                    sorted[j].box.left() < sorted[i].box.right();
             ++j) {
            const QRectF overlap = sorted[i].box.intersected(sorted[j].box);
            if (overlap.width() > 0.01 && overlap.height() > 0.01 && crowded++ < 5)
                ADD_FAILURE() << "page " << sorted[i].page << ": "
                              << sorted[i].text.toStdString() << " over "
                              << sorted[j].text.toStdString();
        }
    }
    EXPECT_EQ(crowded, 0);
}

struct RecordCase
{
    const char *name;
    std::vector<std::string> items;
    ChartType type;
    int subgroupSize;
    stats::Tolerance tolerance;
    QPageLayout::Orientation orientation;
    std::size_t leastSignals; // the record lists at least this many
    int leastPages;
};

void PrintTo(const RecordCase &c, std::ostream *out) { *out << c.name; }

// A temporary folder for the PDFs, and a skip where poppler-utils is missing.
template <typename Base>
class PdfFolderTest : public Base
{
protected:
    void SetUp() override
    {
        SKIP_UNDER_WINE(kNoPdfReader);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            GTEST_SKIP() << "pdftotext and pdfinfo are not installed (poppler-utils)";
        ASSERT_TRUE(m_folder.isValid());
    }

    QTemporaryDir m_folder;
};

class RecordPdfTest : public PdfFolderTest<testing::TestWithParam<RecordCase>>
{
};

TEST_P(RecordPdfTest, EverythingReadableNothingCutOrCrowded)
{
    const RecordCase &c = GetParam();
    const std::vector<std::size_t> withoutNumber = stats::looseReadings(c.items).withoutNumber;
    const stats::ChartContent content =
        stats::chartContent(figuresOf(c.items),
                            {c.type, c.subgroupSize, c.tolerance, stats::SpecialCauseTests::all()},
                            withoutNumber);
    const chart::RecordSource source{"/data/径.txt", true, "2026/12/08 09:00"};
    const QString pdf = m_folder.filePath(QStringLiteral("record.pdf"));
    ASSERT_EQ(chart::saveRecordPdf(pdf, &content, source, c.orientation), QString());

    expectReadableRecord(pdf, chart::listRecord(&content, source), c.orientation, c.leastPages);
    EXPECT_GE(chart::listRecord(&content, source).signalLines.size(), c.leastSignals);
}

std::vector<std::string> withText(std::vector<std::string> items)
{
    items[7] = "測定値";
    items[14] = "-";
    return items;
}

const RecordCase kRecordCases[] = {
    {"ShortIndividuals", trendingValues(19, 12), ChartType::IndividualsMovingRange, 5,
     {25.1, 24.9}, QPageLayout::Landscape, 1, 1},
    {"TrendOf35", trendingValues(35, 10), ChartType::IndividualsMovingRange, 5, {25.1, 24.9},
     QPageLayout::Landscape, 3, 1},
    // Hundreds of signals and two items without a number: continuation pages.
    {"LongWithTextItems", withText(trendingValues(260, 100)), ChartType::IndividualsMovingRange, 5,
     {26.0, 24.9}, QPageLayout::Landscape, 121, 3},
    {"Subgroups", withText(trendingValues(300, 150)), ChartType::MeansRanges, 5, {26.0, 24.9},
     QPageLayout::Landscape, 121, 2},
    {"RunChartPortrait", trendingValues(120, 200), ChartType::Run, 5, {25.1, std::nullopt},
     QPageLayout::Portrait, 0, 2},
};

INSTANTIATE_TEST_SUITE_P(Table, RecordPdfTest, testing::ValuesIn(kRecordCases), RowName());

/// 60 subgroups of 5 over two phases: an analysis phase of 30, then limits
/// fixed from its first 25 while the process drifts up; notes on every
/// seventh row and two rows excluded with their reasons.
sheet::Sheet sheetOf60Rows()
{
    sheet::Sheet sheet;
    sheet.header = {.productName = "シャフト",
                    .partNumber = "SF-1020",
                    .characteristic = "外径",
                    .unit = "mm",
                    .gauge = "マイクロメータ M-07",
                    .process = "研削 2 号機",
                    .operatorName = "山田",
                    .upperLimit = "25.10",
                    .lowerLimit = "24.90",
                    .specCenter = "",
                    .subgroupSize = 5,
                    .standardDeviations = false};
    for (int r = 0; r < 60; ++r) {
        sheet::Row row;
        row.label = "12/" + std::to_string(1 + r / 4) + " " + std::to_string(8 + 2 * (r % 4)) + ":00";
        for (int i = 0; i < 5; ++i) {
            const double wobble = std::sin(r * 1.3 + i * 2.1) * 0.02;
            const double drift = r >= 40 ? 0.003 * (r - 40) : 0.0;
            row.values.push_back(std::to_string(std::round((25 + wobble + drift) * 1000) / 1000).substr(0, 6));
        }
        if (r % 7 == 3)
            row.note = "砥石交換 " + std::to_string(r + 1);
        if (r == 12 || r == 47) {
            row.excluded = true;
            row.exclusionReason = "測定器の校正切れ";
        }
        sheet.rows.push_back(std::move(row));
    }
    sheet::Phase control;
    control.firstRow = 30;
    control.source = sheet::LimitSource::Baseline;
    control.baselineFirst = 0;
    control.baselineLast = 24;
    control.note = "工程改善後";
    sheet.phases = {sheet::Phase{}, control};
    sheet.tests = {};
    for (int test : {1, 2, 3, 5, 6, 7, 8})
        sheet.tests.add(test);
    return sheet;
}

class SheetRecordTest : public PdfFolderTest<testing::Test>
{
};

TEST_F(SheetRecordTest, SixtyRowsInTwoPhasesEverythingReadable)
{
    const sheet::Sheet sheet = sheetOf60Rows();
    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    const chart::RecordSource source{"/data/外径.vorla", false, "2026/12/08 09:00"};
    const QString pdf = m_folder.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_EQ(sheetwin::saveSheetRecordPdf(pdf, sheet, analysis, source), QString());
    const chart::RecordInput record = sheetwin::sheetRecord(sheet, analysis, source);
    expectReadableRecord(pdf, record, QPageLayout::Landscape, 2);

    // What a sheet's record must say, whatever the layout.
    std::map<std::string, std::string> fields;
    for (const chart::RecordField &field : record.header)
        fields[field.caption] = field.value;
    EXPECT_EQ(fields["品名"], "シャフト");
    EXPECT_EQ(fields["担当者"], "山田");
    EXPECT_EQ(fields["規格"], "上限 25.10・下限 24.90");
    EXPECT_EQ(fields["n"], "5");
    EXPECT_EQ(fields["期間"], "12/1 8:00 – 12/15 14:00");
    std::map<std::string, std::string> figures;
    for (const chart::RecordField &field : record.figures)
        figures[field.caption] = field.value;
    for (const char *caption : {"解析用 X̄ 管理図", "解析用 R 管理図", "管理用 X̄ 管理図", "Cp", "Cpk",
                                "Pp", "Ppk", "正規性 (Anderson-Darling)", "推定不良率 計",
                                "推定不良率 上", "推定不良率 下", "規格外の数 (実測)"})
        EXPECT_TRUE(figures.count(caption)) << caption;
    EXPECT_NE(figures["Cpk"].find("95 % 信頼区間"), std::string::npos) << figures["Cpk"];
    EXPECT_NE(figures["Cpk"].find("Cpk"), std::string::npos) << "its band: " << figures["Cpk"];
    EXPECT_EQ(figures["管理用 (第 31–60 群)"], "第 1–25 群から固定");
    EXPECT_EQ(figures["判定に使った規則"], "1・2・3・5・6・7・8");
    EXPECT_EQ(figures["使わなかった規則"], "4");
    ASSERT_EQ(record.rows.size(), 60u);
    EXPECT_EQ(record.rows[12].exclusion, "除外: 測定器の校正切れ");
    EXPECT_EQ(record.rows[3].note, "砥石交換 4");
    EXPECT_EQ(record.rows[0].values.size(), 5u);
    EXPECT_FALSE(record.rows[0].mean.empty());
    EXPECT_FALSE(record.rows[0].spread.empty());
    ASSERT_EQ(record.phases.size(), 2u);
    EXPECT_EQ(record.phases[1].firstRow, 30u);
    EXPECT_GE(record.signalLines.size(), 3u) << "the drift trips the fixed limits";
    EXPECT_EQ(record.signalLines.front().rfind("1. ", 0), 0u);
}

TEST(SheetRecord, SignalMarksNumberTheLinesBesideTheirPoints)
{
    const sheet::Sheet sheet = sheetOf60Rows();
    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    const chart::RecordInput record = sheetwin::sheetRecord(sheet, analysis, {});
    const sheetwin::SheetChartMarks marks = sheetwin::sheetSignalMarks(analysis);
    ASSERT_EQ(marks.location.size(), 60u);
    // Every signal line's number stands beside exactly one point, in the
    // row its line names.
    std::size_t marked = 0;
    for (std::size_t r = 0; r < 60; ++r)
        for (const std::string *mark : {&marks.location[r], &marks.spread[r]}) {
            if (mark->empty())
                continue;
            const std::size_t dash = mark->find("–");
            const int first = std::stoi(mark->substr(0, dash));
            const int last = dash == std::string::npos ? first : std::stoi(mark->substr(dash + 3));
            marked += static_cast<std::size_t>(last - first + 1);
            const std::string &line = record.signalLines[static_cast<std::size_t>(first - 1)];
            EXPECT_NE(line.find("第 " + std::to_string(r + 1) + " 群"), std::string::npos)
                << *mark << ": " << line;
        }
    EXPECT_EQ(marked, record.signalLines.size());
}

} // namespace
