// The sheet's record (印刷, PDF に保存, `vorla --chart SHEET -o OUT.pdf`)
// over any bytes read as a .vorla file.
//
// Checks, for every sheet that reads:
//  - every row is a row of the record, in order, with its label, note and
//    every value as written, and no value column fewer than the sheet's n;
//  - one signal line per signal, numbered from 1 in order, or the one line
//    that says there is none; each signal's number stands beside its own
//    point (location or spread) on the charts, and no mark names a line
//    that is not there;
//  - the phases start at rows the sheet has, in order;
//  - every text is valid UTF-8;
//  - the record lays out on A4 pages (a PDF written to memory) without
//    failing, with at least one page, and a sheet's continuation pages come
//    with more rows, never fewer.

#include "FuzzCheck.h"

#include "chart/ChartRecord.h"
#include "sheet/SheetAnalysis.h"
#include "sheet/SheetFile.h"
#include "sheetwin/SheetRecord.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

namespace {

// Laying out costs milliseconds a page; past this many rows the record's
// texts are still checked, but not painted.
constexpr std::size_t kMaxPaintedRows = 200;

void checkText(const std::string &text, const char *what)
{
    fuzz::check(fuzz::isValidUtf8(text), what, text);
}

void checkTexts(const chart::RecordInput &record)
{
    checkText(record.title, "title");
    checkText(record.source, "source line");
    for (const chart::RecordField &field : record.header) {
        checkText(field.caption, "header caption");
        checkText(field.value, "header value");
    }
    for (const chart::RecordField &field : record.figures) {
        checkText(field.caption, "figure caption");
        checkText(field.value, "figure value");
    }
    for (const std::string &note : record.notes)
        checkText(note, "note");
    for (const std::string &line : record.signalLines)
        checkText(line, "signal line");
    for (const chart::RecordPhase &phase : record.phases)
        checkText(phase.name, "phase name");
}

void checkRows(const sheet::Sheet &sheet, const chart::RecordInput &record)
{
    fuzz::check(record.rows.size() == sheet.rows.size(), "a record row per sheet row");
    const std::size_t columns = record.columns.values.size();
    fuzz::check(columns >= static_cast<std::size_t>(std::max(1, sheet.header.subgroupSize)),
                "a value column for each of n");
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const sheet::Row &row = sheet.rows[r];
        const chart::RecordRow &out = record.rows[r];
        fuzz::check(out.label == row.label && out.note == row.note, "label and note as written", row.label);
        fuzz::check(out.values.size() >= row.values.size(), "every value of the row");
        for (std::size_t v = 0; v < row.values.size(); ++v)
            fuzz::check(out.values[v] == row.values[v], "value as written", row.values[v]);
        fuzz::check(out.exclusion.empty() != row.excluded, "exclusion shown");
    }
}

/// The first and last line numbers of a mark ("3" or "3–5").
std::pair<std::size_t, std::size_t> markRange(const std::string &mark)
{
    const std::size_t dash = mark.find("–");
    const std::size_t first = std::strtoull(mark.c_str(), nullptr, 10);
    const std::size_t last =
        dash == std::string::npos ? first : std::strtoull(mark.c_str() + dash + 3, nullptr, 10);
    return {first, last};
}

void checkSignals(const sheet::SheetAnalysis &analysis, const chart::RecordInput &record)
{
    if (!analysis.kind)
        return;
    const std::vector<sheet::SheetSignal> &found = analysis.causes;
    fuzz::check(record.signalLines.size() == std::max<std::size_t>(1, found.size()),
                "a line per signal");
    for (std::size_t i = 0; i < found.size(); ++i)
        fuzz::check(record.signalLines[i].starts_with(std::to_string(i + 1) + ". "),
                    "signal lines numbered in order", record.signalLines[i]);
    const sheetwin::SheetChartMarks marks = sheetwin::sheetSignalMarks(analysis);
    fuzz::check(marks.location.size() == analysis.points.size() &&
                    marks.spread.size() == analysis.points.size(),
                "a mark per point");
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::string &mark = (found[i].spread ? marks.spread : marks.location)[found[i].row];
        const auto [first, last] = markRange(mark);
        fuzz::check(first <= i + 1 && i + 1 <= last, "the signal's number beside its point", mark);
    }
    for (const auto *side : {&marks.location, &marks.spread})
        for (const std::string &mark : *side)
            if (!mark.empty())
                fuzz::check(markRange(mark).second <= found.size(), "a mark names a line there is",
                            mark);
}

int paintedPages(const chart::RecordInput &record, const sheet::SheetAnalysis &analysis)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    const sheetwin::SheetChartMarks marks = sheetwin::sheetSignalMarks(analysis);
    return chart::paintRecordPages(writer, record, [&](QPainter &painter, const QRect &area) {
        sheetwin::paintSheetCharts(painter, area, analysis, &marks);
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Pages are laid out with the fonts a window would have.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const sheet::SheetReadOutcome outcome = sheet::readSheet(bytes);
    if (!std::holds_alternative<sheet::Sheet>(outcome))
        return 0;
    const sheet::Sheet &sheet = std::get<sheet::Sheet>(outcome);
    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    const chart::RecordInput record =
        sheetwin::sheetRecord(sheet, analysis, {"工程A.vorla", true, "2026-12-08 09:30"});
    checkTexts(record);
    checkRows(sheet, record);
    checkSignals(analysis, record);
    std::size_t previous = 0;
    for (const chart::RecordPhase &phase : record.phases) {
        fuzz::check(phase.firstRow < std::max<std::size_t>(1, sheet.rows.size()), "phase within the rows");
        fuzz::check(phase.firstRow >= previous, "phases in order");
        previous = phase.firstRow;
    }
    if (sheet.rows.size() > kMaxPaintedRows)
        return 0;
    const int pages = paintedPages(record, analysis);
    fuzz::check(pages >= 1, "the record has a page");
    if (sheet.rows.size() > 1) {
        chart::RecordInput fewer = record;
        fewer.rows.resize(1);
        fuzz::check(paintedPages(fewer, analysis) <= pages, "fewer rows, no more pages");
    }
    return 0;
}
