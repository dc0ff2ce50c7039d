#include "chart/RecordText.h"

#include "chart/ChartTexts.h"
#include "stats/NumberText.h"

#include <cmath>

namespace chart {

namespace {

std::string place(std::size_t index)
{
    return stats::integerToText(static_cast<std::int64_t>(index) + 1);
}

std::string limitText(const std::optional<double> &limit)
{
    return limit ? stats::numberToText(*limit) : std::string();
}

std::string toleranceText(const stats::Tolerance &tolerance)
{
    if (!tolerance.upper && !tolerance.lower)
        return "なし";
    if (!tolerance.lower)
        return "上限 " + limitText(tolerance.upper);
    if (!tolerance.upper)
        return "下限 " + limitText(tolerance.lower);
    return "上限 " + limitText(tolerance.upper) + "・下限 " + limitText(tolerance.lower);
}

std::vector<RecordField> headerFields(const stats::ChartContent *content)
{
    std::vector<RecordField> header;
    for (const char *caption : {"品名", "品番", "特性", "単位", "測定器", "工程・機械", "担当者"})
        header.push_back({caption, ""});
    const bool groups = content && content->request.type == stats::ChartType::MeansRanges;
    header.push_back({"規格", content ? toleranceText(content->request.tolerance) : "なし"});
    header.push_back({"n", groups ? stats::integerToText(content->request.subgroupSize) : "1"});
    header.push_back({"期間", "—"});
    return header;
}

/// The centre line and the limits of a chart, each with its value.
void addControlLines(std::vector<RecordField> &figures, const stats::ControlSeries &series)
{
    for (const stats::ControlLine &line : series.lines)
        figures.push_back({series.name + " 管理図", line.label});
}

void addControlFigures(std::vector<RecordField> &figures, const stats::ControlChart &chart)
{
    addControlLines(figures, chart.location);
    addControlLines(figures, chart.spread);
    const bool groups = chart.location.subgroups;
    figures.push_back({groups ? "x̿" : "x̄", stats::formatResult(chart.location.limits.center)});
    figures.push_back({groups ? "R̄" : "R̄s", stats::formatResult(chart.spread.limits.center)});
    figures.push_back({groups ? "σ 群内 (R̄ ÷ d2)" : "σ 群内 (R̄s ÷ 1.128)",
                       stats::formatResult(stats::withinSigma(chart))});
}

void addExpectedShares(std::vector<RecordField> &figures, const stats::ExpectedOutside &expected)
{
    const auto share = [](const std::optional<stats::ExpectedShare> &s) {
        return s->ppmText + " (" + s->percentText + ")";
    };
    if (expected.total)
        figures.push_back({"推定不良率 計", share(expected.total)});
    if (expected.above)
        figures.push_back({"推定不良率 上", share(expected.above)});
    if (expected.below)
        figures.push_back({"推定不良率 下", share(expected.below)});
    if (!expected.total)
        figures.push_back({"推定不良率", "—"});
}

std::vector<RecordField> recordFigures(const stats::ChartContent &content)
{
    std::vector<RecordField> figures;
    if (const stats::ControlChart *chart = content.controlChart())
        addControlFigures(figures, *chart);
    for (FigureText &figure : figureTexts(&content)) {
        if (figure.name == std::string_view("figureExpected"))
            continue; // in its shares below, one line each
        if (figure.name == std::string_view("figureOutside"))
            figure.caption = "規格外の数 (実測)";
        if (!figure.value.empty())
            figures.push_back({figure.caption, figure.value});
    }
    if (content.data.capability)
        addExpectedShares(figures, content.expected);
    if (content.control) {
        const std::vector<RecordField> tests = testFields(content.request.tests);
        figures.insert(figures.end(), tests.begin(), tests.end());
    }
    return figures;
}

std::vector<std::string> recordNotes(const stats::ChartContent &content)
{
    std::vector<std::string> notes;
    if (!content.withoutNumberNote.empty())
        notes.push_back(content.withoutNumberNote + "。");
    if (const stats::NoControlChart *refusal = content.refusal())
        notes.push_back(refusal->reason + "。");
    if (const stats::ControlChart *chart = content.controlChart(); chart && !chart->leftOutNote.empty())
        notes.push_back(chart->leftOutNote + "。");
    if (content.data.capability && !content.data.capability->reason.empty())
        notes.push_back(content.data.capability->reason);
    if (content.data.capability)
        notes.push_back("Cp = (規格上限 − 規格下限) ÷ 6s、Cpk = min(規格上限 − x̄, x̄ − 規格下限) ÷ 3s "
                        "(s は標本標準偏差)。");
    return notes;
}

std::vector<std::string> numberedSignals(const stats::ControlChart &chart)
{
    std::vector<std::string> lines = specialCauseLines(chart);
    if (lines.size() == 1 && lines.front() == kNoSignals)
        return lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = place(i) + ". " + lines[i];
    return lines;
}

/// Each item a row: its value and moving range, or why it was left out. Its
/// point on the charts is said only where items were left out: otherwise
/// it is the item's own number, and a full list's record would print
/// 32,767 numbers twice.
std::vector<RecordRow> itemRows(const stats::ChartContent &content)
{
    const stats::ControlChart *chart = content.controlChart();
    const bool ranges = chart && !chart->location.subgroups;
    std::vector<RecordRow> rows;
    const std::size_t items = content.chartedItems.size() + content.withoutNumber.size();
    rows.reserve(items);
    std::size_t point = 0;
    auto leftOut = content.withoutNumber.begin();
    for (std::size_t item = 0; item < items; ++item) {
        RecordRow row;
        row.number = place(item);
        if (leftOut != content.withoutNumber.end() && *leftOut == item) {
            ++leftOut;
            row.values = {""};
            row.exclusion = "数値でない";
        } else {
            if (!content.withoutNumber.empty())
                row.point = place(point);
            row.values = {stats::numberToText(content.data.points[point].value)};
            if (ranges && point > 0)
                row.spread = stats::formatResult(chart->spread.values[point - 1]);
            ++point;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

/// Each subgroup a row; the values of an incomplete last subgroup, and the
/// items without a number, rows of their own marked as left out.
std::vector<RecordRow> subgroupRows(const stats::ChartContent &content,
                                    const stats::ControlChart &chart)
{
    std::vector<RecordRow> rows;
    const auto n = static_cast<std::size_t>(chart.subgroupSize);
    const std::vector<stats::RunPoint> &points = content.data.points;
    for (std::size_t g = 0; g < chart.location.values.size(); ++g) {
        RecordRow row;
        row.number = place(g);
        row.point = row.number;
        for (std::size_t i = g * n; i < (g + 1) * n; ++i)
            row.values.push_back(stats::numberToText(points[i].value));
        row.mean = stats::formatResult(chart.location.values[g]);
        row.spread = stats::formatResult(chart.spread.values[g]);
        rows.push_back(std::move(row));
    }
    if (chart.leftOut > 0) {
        RecordRow row;
        for (std::size_t i = points.size() - static_cast<std::size_t>(chart.leftOut);
             i < points.size(); ++i)
            row.values.push_back(stats::numberToText(points[i].value));
        row.values.resize(n);
        row.exclusion = "群にそろわない";
        rows.push_back(std::move(row));
    }
    for (const std::size_t item : content.withoutNumber) {
        RecordRow row;
        row.number = place(item) + " 番目";
        row.values.resize(n);
        row.exclusion = "数値でない";
        rows.push_back(std::move(row));
    }
    return rows;
}

RecordColumns columnsFor(const stats::ChartContent &content)
{
    RecordColumns columns;
    const stats::ControlChart *chart = content.controlChart();
    if (chart && chart->location.subgroups) {
        columns.number = "群";
        columns.values.clear();
        for (std::int64_t i = 1; i <= chart->subgroupSize; ++i)
            columns.values.push_back("x" + stats::integerToText(i));
        columns.mean = "x̄";
        columns.spread = "R";
    } else if (chart) {
        columns.spread = "Rs";
    }
    if (!(chart && chart->location.subgroups) && content.withoutNumber.empty())
        columns.point.clear();
    return columns;
}

} // namespace

std::string sourceLine(const RecordSource &source)
{
    if (source.fileName.empty())
        return "ファイル: 未保存";
    return "ファイル: " + source.fileName + (source.unsavedChanges ? "（未保存の変更あり）" : "");
}

std::vector<RecordField> testFields(const stats::SpecialCauseTests &tests)
{
    stats::SpecialCauseTests off;
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        if (!tests.contains(test))
            off.add(test);
    return {{"判定に使った規則", tests.empty() ? "なし" : tests.numbersText()},
            {"使わなかった規則", off.empty() ? "なし" : off.numbersText()}};
}

std::vector<std::string> signalMarks(const stats::ControlSeries &series, std::size_t firstLine)
{
    std::vector<std::string> marks(series.values.size());
    std::size_t line = firstLine;
    std::size_t i = 0;
    while (i < series.causes.size()) {
        const std::int64_t number = series.causes[i].number;
        std::size_t j = i;
        while (j < series.causes.size() && series.causes[j].number == number)
            ++j;
        const auto at = static_cast<std::size_t>(number - series.firstNumber);
        if (at < marks.size())
            marks[at] = j - i == 1 ? stats::integerToText(static_cast<std::int64_t>(line))
                                   : stats::integerToText(static_cast<std::int64_t>(line)) + "–" +
                                         stats::integerToText(static_cast<std::int64_t>(line + (j - i) - 1));
        line += j - i;
        i = j;
    }
    return marks;
}

RecordInput listRecord(const stats::ChartContent *content, const RecordSource &source)
{
    RecordInput record;
    record.title = content ? chartTypeName(content->request.type) : chartTypeName(stats::ChartType::Run);
    record.header = headerFields(content);
    record.source = sourceLine(source);
    record.printedAt = "印刷: " + source.dateTime;
    if (!content) {
        record.notes.push_back("演算開始を押すと、そのときの一覧をグラフにします。");
        return record;
    }
    record.figures = recordFigures(*content);
    record.notes = recordNotes(*content);
    if (const stats::ControlChart *chart = content->controlChart())
        record.signalLines = numberedSignals(*chart);
    record.columns = columnsFor(*content);
    const stats::ControlChart *chart = content->controlChart();
    record.rows = chart && chart->location.subgroups ? subgroupRows(*content, *chart)
                                                     : itemRows(*content);
    return record;
}

} // namespace chart
