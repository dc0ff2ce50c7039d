#include "sheetwin/SheetRecord.h"

#include "sheet/Capability.h"
#include "stats/NumberText.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

namespace sheetwin {

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string groupText(std::size_t row)
{
    return stats::integerToText(static_cast<std::int64_t>(row) + 1);
}

std::string toleranceText(const sheet::Header &header)
{
    const std::string upper = trimmed(header.upperLimit);
    const std::string lower = trimmed(header.lowerLimit);
    const std::string center = trimmed(header.specCenter);
    std::string text;
    if (!upper.empty())
        text = "上限 " + upper;
    if (!lower.empty())
        text += (text.empty() ? "" : "・") + std::string("下限 ") + lower;
    if (!center.empty())
        text += (text.empty() ? "" : "・") + std::string("中心 ") + center;
    return text.empty() ? "なし" : text;
}

/// From the first label to the last one written.
std::string period(const sheet::Sheet &sheet)
{
    std::string first, last;
    for (const sheet::Row &row : sheet.rows) {
        const std::string label = trimmed(row.label);
        if (label.empty())
            continue;
        if (first.empty())
            first = label;
        last = label;
    }
    if (first.empty())
        return "—";
    return first == last ? first : first + " – " + last;
}

std::vector<chart::RecordField> headerFields(const sheet::Sheet &sheet)
{
    const sheet::Header &h = sheet.header;
    return {{"品名", h.productName},       {"品番", h.partNumber},    {"特性", h.characteristic},
            {"単位", h.unit},              {"測定器", h.gauge},       {"工程・機械", h.process},
            {"担当者", h.operatorName},    {"規格", toleranceText(h)},
            {"n", stats::integerToText(h.subgroupSize)},               {"期間", period(sheet)}};
}

std::string phaseName(const sheet::PhaseOutcome &phase)
{
    std::string name = phase.title + " (第 " + groupText(phase.firstRow);
    return name + (phase.lastRow > phase.firstRow ? "–" + groupText(phase.lastRow) : "") + " 群)";
}

std::string limitSourceText(const sheet::Sheet &sheet, std::size_t index)
{
    const std::vector<sheet::Phase> phases = sheet::effectivePhases(sheet);
    if (index >= phases.size())
        return std::string();
    const sheet::Phase &phase = phases[index];
    switch (phase.source) {
    case sheet::LimitSource::OwnRows:
        return "この期の群から";
    case sheet::LimitSource::Baseline:
        return "第 " + groupText(phase.baselineFirst) + "–" + groupText(phase.baselineLast) +
               " 群から固定";
    case sheet::LimitSource::Standard:
        return "標準値 x̄₀ " + trimmed(phase.standardMean) + "・σ₀ " + trimmed(phase.standardSigma) +
               " から固定";
    case sheet::LimitSource::Given:
        return "入力した値で固定";
    }
    return std::string();
}

void addLimits(std::vector<chart::RecordField> &figures, const std::string &caption,
               const stats::ControlLimits &limits)
{
    std::string value = "UCL " + stats::formatResult(limits.upper) + "・CL " +
                        stats::formatResult(limits.center);
    if (limits.lower)
        value += "・LCL " + stats::formatResult(*limits.lower);
    figures.push_back({caption, value});
}

void addPhaseFigures(std::vector<chart::RecordField> &figures, const sheet::Sheet &sheet,
                     const sheet::SheetAnalysis &analysis, std::size_t index)
{
    const sheet::PhaseOutcome &phase = analysis.phases[index];
    const std::string name = phaseName(phase);
    figures.push_back({name, limitSourceText(sheet, index)});
    if (!phase.limits) {
        figures.push_back({phase.title + " 管理線", phase.reason.empty() ? "—" : phase.reason});
        return;
    }
    const sheet::ChartKind kind = *analysis.kind;
    const std::string location = sheet::locationName(kind);
    const std::string spread = sheet::spreadName(kind);
    addLimits(figures, phase.title + " " + location + " 管理図", phase.limits->location);
    addLimits(figures, phase.title + " " + spread + " 管理図", phase.limits->spread);
    const bool individuals = kind == sheet::ChartKind::IndividualsMovingRange;
    figures.push_back({phase.title + (individuals ? " x̄" : " x̿"),
                       stats::formatResult(phase.limits->location.center)});
    figures.push_back({phase.title + (individuals ? " R̄s" : " " + spread + "̄"),
                       stats::formatResult(phase.limits->spread.center)});
}

void addIndex(std::vector<chart::RecordField> &figures, const std::optional<sheet::CapabilityIndex> &index)
{
    if (!index)
        return;
    figures.push_back({index->name + (index->side.empty() ? "" : " " + index->side),
                       index->text + " (95 % 信頼区間 " + index->intervalText + ")・" + index->band});
}

std::string shareText(const std::optional<stats::ExpectedShare> &share)
{
    return share ? share->ppmText + " (" + share->percentText + ")" : std::string("—");
}

std::size_t countOutside(const std::vector<double> &values, const stats::Tolerance &tolerance)
{
    // A value on a limit is within the tolerance.
    return static_cast<std::size_t>(std::count_if(values.begin(), values.end(), [&](double v) {
        return (tolerance.upper && v > *tolerance.upper) || (tolerance.lower && v < *tolerance.lower);
    }));
}

void addCapability(std::vector<chart::RecordField> &figures, std::vector<std::string> &notes,
                   const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis)
{
    const std::optional<std::size_t> phase = sheet::currentPhase(analysis);
    if (!phase) {
        figures.push_back({"工程能力", "数えられる群がまだありません"});
        return;
    }
    const sheet::PhaseOutcome &outcome = analysis.phases[*phase];
    const sheet::CapabilityReport report = sheet::phaseCapability(sheet, analysis, *phase);
    figures.push_back({"工程能力", phaseName(outcome)});
    if (report.within)
        figures.push_back({"σ 群内 (" + report.within->basis + ")",
                           stats::resultInSentence(report.within->sigma)});
    figures.push_back({"s 全体", stats::resultInSentence(report.overallSigma)});
    figures.push_back({"データ数", stats::integerToText(static_cast<std::int64_t>(report.count))});
    addIndex(figures, report.cp);
    addIndex(figures, report.cpk);
    addIndex(figures, report.pp);
    addIndex(figures, report.ppk);
    const sheet::Normality &normal = report.normality;
    if (normal.statistic && normal.pValue)
        figures.push_back({"正規性 (Anderson-Darling)",
                           "A² " + stats::resultInSentence(*normal.statistic) + "・p " +
                               stats::resultInSentence(*normal.pValue) +
                               (normal.rejected ? "・正規分布とみなせない" : "・正規分布とみなせる")});
    else
        figures.push_back({"正規性 (Anderson-Darling)", normal.reason.empty() ? "—" : normal.reason});
    if (!normal.warning.empty())
        notes.push_back(normal.warning);
    if (!report.reason.empty())
        notes.push_back(report.reason);
    const stats::Tolerance tolerance = sheet::toleranceOf(sheet.header);
    if (!tolerance.upper && !tolerance.lower)
        return;
    figures.push_back({"推定不良率 計", shareText(report.outside.total)});
    if (tolerance.upper)
        figures.push_back({"推定不良率 上", shareText(report.outside.above)});
    if (tolerance.lower)
        figures.push_back({"推定不良率 下", shareText(report.outside.below)});
    const std::vector<double> values =
        sheet::countedValues(sheet, analysis, outcome.firstRow, outcome.lastRow);
    figures.push_back({"規格外の数 (実測)",
                       stats::integerToText(static_cast<std::int64_t>(countOutside(values, tolerance))) +
                           " / " + stats::integerToText(static_cast<std::int64_t>(values.size()))});
}

// The one place the record reads the analysis's list of signals.
const std::vector<sheet::SheetSignal> &signalsOf(const sheet::SheetAnalysis &analysis)
{
    return analysis.causes;
}

chart::RecordColumns columnsOf(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis)
{
    chart::RecordColumns columns;
    columns.number = "群";
    columns.point.clear();
    columns.label = "ラベル";
    const int n = std::max(1, sheet.header.subgroupSize);
    columns.values.clear();
    if (n == 1) {
        columns.values.push_back("x");
    } else {
        for (int i = 1; i <= n; ++i)
            columns.values.push_back("x" + stats::integerToText(i));
        columns.mean = "x̄";
    }
    columns.spread = analysis.kind ? sheet::spreadName(*analysis.kind) : "";
    columns.note = "注記";
    columns.exclusion = "除外";
    return columns;
}

std::vector<chart::RecordRow> rowsOf(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis)
{
    const auto n = static_cast<std::size_t>(std::max(1, sheet.header.subgroupSize));
    std::vector<chart::RecordRow> rows;
    rows.reserve(sheet.rows.size());
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const sheet::Row &row = sheet.rows[r];
        chart::RecordRow out;
        out.number = groupText(r);
        out.label = row.label;
        out.values = row.values;
        out.values.resize(std::max(n, row.values.size()));
        if (r < analysis.points.size()) {
            const sheet::SheetPoint &point = analysis.points[r];
            if (n > 1 && point.location)
                out.mean = stats::formatResult(*point.location);
            if (point.spread)
                out.spread = stats::formatResult(*point.spread);
        }
        out.note = row.note;
        if (row.excluded)
            out.exclusion = trimmed(row.exclusionReason).empty() ? "除外" : "除外: " + row.exclusionReason;
        rows.push_back(std::move(out));
    }
    return rows;
}

std::string marksText(const std::vector<std::size_t> &lines)
{
    if (lines.empty())
        return std::string();
    const std::string first = stats::integerToText(static_cast<std::int64_t>(lines.front()));
    if (lines.size() == 1)
        return first;
    return first + "–" + stats::integerToText(static_cast<std::int64_t>(lines.back()));
}

} // namespace

chart::RecordInput sheetRecord(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis,
                               const chart::RecordSource &source)
{
    chart::RecordInput record;
    record.title = analysis.kind ? sheet::chartTitle(*analysis.kind) : "管理図シート";
    record.header = headerFields(sheet);
    record.source = chart::sourceLine(source);
    record.printedAt = "印刷: " + source.dateTime;
    if (!analysis.kind)
        record.notes.push_back(analysis.reason);
    for (std::size_t i = 0; analysis.kind && i < analysis.phases.size(); ++i)
        if (!analysis.phases[i].empty)
            addPhaseFigures(record.figures, sheet, analysis, i);
    if (analysis.kind)
        addCapability(record.figures, record.notes, sheet, analysis);
    const std::vector<chart::RecordField> tests = chart::testFields(sheet.tests);
    record.figures.insert(record.figures.end(), tests.begin(), tests.end());
    for (const sheet::RowProblem &problem : analysis.problems)
        record.notes.push_back(sheet::rowProblemText(problem, sheet.header.subgroupSize));
    if (analysis.kind) {
        const std::vector<sheet::SheetSignal> &found = signalsOf(analysis);
        for (std::size_t i = 0; i < found.size(); ++i)
            record.signalLines.push_back(groupText(i) + ". " +
                                         sheet::sheetSignalText(sheet, *analysis.kind, found[i]));
        if (found.empty())
            record.signalLines.push_back("判定に当たる点はありません");
    }
    record.columns = columnsOf(sheet, analysis);
    record.rows = rowsOf(sheet, analysis);
    for (const sheet::PhaseOutcome &phase : analysis.phases)
        if (!phase.empty)
            record.phases.push_back({phaseName(phase), phase.firstRow});
    return record;
}

SheetChartMarks sheetSignalMarks(const sheet::SheetAnalysis &analysis)
{
    std::vector<std::vector<std::size_t>> location(analysis.points.size());
    std::vector<std::vector<std::size_t>> spread(analysis.points.size());
    const std::vector<sheet::SheetSignal> &found = signalsOf(analysis);
    for (std::size_t i = 0; i < found.size(); ++i)
        if (found[i].row < analysis.points.size())
            (found[i].spread ? spread : location)[found[i].row].push_back(i + 1);
    SheetChartMarks marks;
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        marks.location.push_back(marksText(location[r]));
        marks.spread.push_back(marksText(spread[r]));
    }
    return marks;
}

namespace {

chart::ChartsPainter sheetCharts(const sheet::SheetAnalysis &analysis)
{
    return [&analysis, marks = sheetSignalMarks(analysis)](QPainter &painter, const QRect &area) {
        paintSheetCharts(painter, area, analysis, &marks);
    };
}

} // namespace

QString saveSheetRecordPdf(const QString &path, const sheet::Sheet &sheet,
                           const sheet::SheetAnalysis &analysis, const chart::RecordSource &source,
                           QPageLayout::Orientation orientation)
{
    return chart::saveRecordPdf(path, sheetRecord(sheet, analysis, source), sheetCharts(analysis),
                                orientation);
}

QString printSheetRecord(QPrinter &printer, const sheet::Sheet &sheet,
                         const sheet::SheetAnalysis &analysis, const chart::RecordSource &source,
                         QPageLayout::Orientation orientation)
{
    return chart::printRecord(printer, sheetRecord(sheet, analysis, source), sheetCharts(analysis),
                              orientation);
}

} // namespace sheetwin
