#include "sheet/SheetAnalysis.h"

#include "stats/NumberText.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace sheet {

namespace {

// The X-Rs chart's factors, as the main window's X-Rs chart uses them.
constexpr double kE2 = 2.660;
constexpr double kMovingRangeD4 = 3.267;
constexpr double kMovingRangeD2 = 1.128;
constexpr double kMovingRangeBigD2 = 3.686;

std::string number(std::size_t value)
{
    return stats::integerToText(static_cast<std::int64_t>(value));
}

// The mean and the spread (R or s) of one complete subgroup. s divides by
// n - 1 and is formed in two passes, mean first.
struct Subgroup
{
    double mean = 0.0, range = 0.0, sigma = 0.0;
};

Subgroup subgroupOf(const std::vector<double> &values)
{
    Subgroup group;
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    group.mean = sum / static_cast<double>(values.size());
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    group.range = *high - *low;
    if (values.size() > 1) {
        double squares = 0.0;
        for (const double v : values)
            squares += (v - group.mean) * (v - group.mean);
        group.sigma = std::sqrt(squares / static_cast<double>(values.size() - 1));
    }
    return group;
}

// Reads a row's n values; lists what keeps it from being a point.
std::optional<std::vector<double>> rowValues(const Row &row, std::size_t rowIndex, std::size_t n,
                                             std::vector<RowProblem> &problems)
{
    std::vector<double> values;
    values.reserve(n);
    bool complete = true;
    for (std::size_t i = 0; i < n; ++i) {
        const ValueCheck check = readValue(i < row.values.size() ? row.values[i] : std::string());
        RowProblem::Kind kind = RowProblem::Kind::Missing;
        switch (check.state) {
        case ValueState::Number: values.push_back(check.value); continue;
        case ValueState::Empty: kind = RowProblem::Kind::Missing; break;
        case ValueState::NoNumber: kind = RowProblem::Kind::NoNumber; break;
        case ValueState::OutOfRange: kind = RowProblem::Kind::OutOfRange; break;
        }
        problems.push_back({rowIndex, i, kind});
        complete = false;
    }
    if (row.values.size() > n) {
        problems.push_back({rowIndex, row.values.size(), RowProblem::Kind::TooMany});
        complete = false;
    }
    if (!complete)
        return std::nullopt;
    return values;
}

void setPoints(const Sheet &sheet, ChartKind kind, const std::vector<Phase> &phases,
               SheetAnalysis &analysis)
{
    const auto n = static_cast<std::size_t>(sheet.header.subgroupSize);
    analysis.points.resize(sheet.rows.size());
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        SheetPoint &point = analysis.points[r];
        point.excluded = sheet.rows[r].excluded;
        point.phase = phaseOfRow(phases, r);
        const auto values = rowValues(sheet.rows[r], r, n, analysis.problems);
        if (!values)
            continue;
        const Subgroup group = subgroupOf(*values);
        if (!std::isfinite(group.mean) || !std::isfinite(group.range) || !std::isfinite(group.sigma)) {
            analysis.problems.push_back({r, n, RowProblem::Kind::OutOfRange});
            continue;
        }
        point.location = group.mean;
        point.counted = !point.excluded;
        if (kind == ChartKind::MeansRanges)
            point.spread = group.range;
        else if (kind == ChartKind::MeansStdDevs)
            point.spread = group.sigma;
        point.spreadCounted = point.counted;
    }
    if (kind != ChartKind::IndividualsMovingRange)
        return;
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        SheetPoint &point = analysis.points[r];
        point.spreadCounted = false;
        if (r == 0 || !point.location || !analysis.points[r - 1].location)
            continue;
        const SheetPoint &before = analysis.points[r - 1];
        const double range = std::abs(*point.location - *before.location);
        if (!std::isfinite(range))
            continue;
        point.spread = range;
        point.spreadCounted = point.counted && before.counted && before.phase == point.phase;
    }
}

using LimitsOutcome = std::variant<ChartLimits, std::string>;

const char *const kNoSpread = "ばらつきがないため管理限界を引けません";
const char *const kTooLarge = "値が大きすぎるため管理限界を引けません";

// Checks the lines' order and range: LCL < CL < UCL on the location chart,
// 0 <= LCL < CL < UCL on the spread chart.
LimitsOutcome checked(const ChartLimits &limits)
{
    const auto finite = [](const stats::ControlLimits &l) {
        return std::isfinite(l.center) && std::isfinite(l.upper)
               && (!l.lower || std::isfinite(*l.lower));
    };
    if (!finite(limits.location) || !finite(limits.spread))
        return std::string(kTooLarge);
    const auto ordered = [](const stats::ControlLimits &l) {
        return l.center < l.upper && (!l.lower || *l.lower < l.center);
    };
    if (!(limits.spread.center > 0.0) || !ordered(limits.location) || !ordered(limits.spread))
        return std::string(kNoSpread);
    if (limits.spread.lower && *limits.spread.lower < 0.0)
        return std::string("下方管理限界が負です");
    return limits;
}

std::optional<double> positive(double factor, double scale)
{
    if (factor > 0.0)
        return factor * scale;
    return std::nullopt;
}

// Limits from the counted points of rows first..last.
LimitsOutcome limitsFromRows(ChartKind kind, int n, const SheetAnalysis &analysis,
                             std::size_t first, std::size_t last, std::size_t &used)
{
    double locationSum = 0.0, spreadSum = 0.0;
    std::size_t locations = 0, spreads = 0;
    for (std::size_t r = first; r <= last && r < analysis.points.size(); ++r) {
        const SheetPoint &point = analysis.points[r];
        if (!point.counted)
            continue;
        locationSum += *point.location;
        ++locations;
        const bool pairInside = kind != ChartKind::IndividualsMovingRange
                                || (r > first && analysis.points[r - 1].counted);
        if (point.spread && pairInside) {
            spreadSum += *point.spread;
            ++spreads;
        }
    }
    used = locations;
    if (locations < 2 || spreads == 0)
        return std::string("管理限界を計算できる群が 2 つ未満です");
    const double center = locationSum / static_cast<double>(locations);
    const double spread = spreadSum / static_cast<double>(spreads);
    ChartLimits limits;
    if (kind == ChartKind::IndividualsMovingRange) {
        limits.location = {center, center + kE2 * spread, center - kE2 * spread};
        limits.spread = {spread, kMovingRangeD4 * spread, std::nullopt};
    } else {
        const Factors f = *factorsFor(n);
        const bool ranges = kind == ChartKind::MeansRanges;
        const double a = ranges ? f.a2 : f.a3;
        limits.location = {center, center + a * spread, center - a * spread};
        limits.spread = {spread, (ranges ? f.d4 : f.b4) * spread,
                         positive(ranges ? f.d3 : f.b3, spread)};
    }
    return checked(limits);
}

LimitsOutcome limitsFromStandard(ChartKind kind, int n, const Phase &phase)
{
    const LimitReading mean = readLimit(phase.standardMean);
    const LimitReading sigma = readLimit(phase.standardSigma);
    if (!mean.value || !sigma.value)
        return std::string("標準値 x̄₀ と σ₀ が数値で入力されていません");
    const double m = *mean.value, s = *sigma.value;
    if (!(s > 0.0))
        return std::string("標準値 σ₀ が正ではありません");
    ChartLimits limits;
    if (kind == ChartKind::IndividualsMovingRange) {
        limits.location = {m, m + 3 * s, m - 3 * s};
        limits.spread = {kMovingRangeD2 * s, kMovingRangeBigD2 * s, std::nullopt};
        return checked(limits);
    }
    const Factors f = *factorsFor(n);
    const double half = 3 * s / std::sqrt(static_cast<double>(n));
    limits.location = {m, m + half, m - half};
    if (kind == ChartKind::MeansRanges) {
        limits.spread = {f.d2 * s, f.bigD2 * s, positive(f.d1, s)};
    } else {
        const double width = 3 * std::sqrt(1 - f.c4 * f.c4);
        limits.spread = {f.c4 * s, (f.c4 + width) * s, positive(f.c4 - width, s)};
    }
    return checked(limits);
}

std::optional<stats::ControlLimits> typedLimits(const LimitTexts &texts, bool lowerNeeded)
{
    const LimitReading center = readLimit(texts.center);
    const LimitReading upper = readLimit(texts.upper);
    const LimitReading lower = readLimit(texts.lower);
    if (!center.value || !upper.value || lower.error || (lowerNeeded && !lower.value))
        return std::nullopt;
    return stats::ControlLimits{*center.value, *upper.value, lower.value};
}

LimitsOutcome limitsFromTexts(const Phase &phase)
{
    const auto location = typedLimits(phase.location, true);
    const auto spread = typedLimits(phase.spread, false);
    if (!location || !spread)
        return std::string("入力された管理線が数値ではありません");
    return checked({*location, *spread});
}

PhaseOutcome phaseOutcome(const Sheet &sheet, ChartKind kind, const std::vector<Phase> &phases,
                          std::size_t p, const SheetAnalysis &analysis)
{
    const Phase &phase = phases[p];
    PhaseOutcome outcome;
    outcome.firstRow = phase.firstRow;
    outcome.source = phase.source;
    outcome.title = phaseTitle(phases, p);
    const std::size_t end = p + 1 < phases.size() ? phases[p + 1].firstRow : sheet.rows.size();
    outcome.empty = phase.firstRow >= std::min(end, sheet.rows.size());
    outcome.lastRow = outcome.empty ? phase.firstRow : std::min(end, sheet.rows.size()) - 1;
    const int n = sheet.header.subgroupSize;
    LimitsOutcome limits;
    switch (phase.source) {
    case LimitSource::OwnRows:
        if (outcome.empty)
            limits = std::string("この期にはまだ群がありません");
        else
            limits = limitsFromRows(kind, n, analysis, outcome.firstRow, outcome.lastRow,
                                    outcome.rowsUsed);
        break;
    case LimitSource::Baseline:
        if (phase.baselineFirst >= sheet.rows.size() || phase.baselineLast < phase.baselineFirst)
            limits = "基準の群 (第 " + number(phase.baselineFirst + 1) + " 群から第 "
                     + number(phase.baselineLast + 1) + " 群) がシートにありません";
        else
            limits = limitsFromRows(kind, n, analysis, phase.baselineFirst, phase.baselineLast,
                                    outcome.rowsUsed);
        break;
    case LimitSource::Standard: limits = limitsFromStandard(kind, n, phase); break;
    case LimitSource::Given: limits = limitsFromTexts(phase); break;
    }
    if (const auto *reason = std::get_if<std::string>(&limits))
        outcome.reason = *reason;
    else
        outcome.limits = std::get<ChartLimits>(limits);
    return outcome;
}

// Runs the tests over one phase's counted points of one chart.
void judgePhase(SheetAnalysis &analysis, std::size_t p, const stats::ControlLimits &limits,
                stats::SpecialCauseTests enabled, bool spread)
{
    std::vector<std::size_t> rows;
    std::vector<double> values;
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        const SheetPoint &point = analysis.points[r];
        if (point.phase != p || !(spread ? point.spreadCounted : point.counted))
            continue;
        rows.push_back(r);
        values.push_back(spread ? *point.spread : *point.location);
    }
    const stats::SpecialCauseFindings findings = stats::specialCauses(values, limits, enabled);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SheetPoint &point = analysis.points[rows[i]];
        (spread ? point.spreadTests : point.locationTests) = findings.trippedTests[i];
    }
}

void collectSignals(SheetAnalysis &analysis)
{
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        const SheetPoint &point = analysis.points[r];
        for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
            if (point.locationTests.contains(test))
                analysis.signals.push_back({false, r, test, *point.location});
        for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
            if (point.spreadTests.contains(test))
                analysis.signals.push_back({true, r, test, *point.spread});
    }
}

} // namespace

SheetAnalysis analyzeSheet(const Sheet &sheet)
{
    SheetAnalysis analysis;
    analysis.kind = chartKindFor(sheet.header.subgroupSize, sheet.header.standardDeviations);
    if (!analysis.kind) {
        analysis.reason = "群の大きさ n は 1 から 25 までです";
        return analysis;
    }
    if (const std::string problem = phasesProblem(sheet.phases); !problem.empty()) {
        analysis.reason = problem;
        analysis.kind.reset();
        return analysis;
    }
    const ChartKind kind = *analysis.kind;
    const std::vector<Phase> phases = effectivePhases(sheet);
    setPoints(sheet, kind, phases, analysis);
    stats::SpecialCauseTests spreadTests;
    if (sheet.tests.contains(1))
        spreadTests.add(1);
    for (std::size_t p = 0; p < phases.size(); ++p) {
        analysis.phases.push_back(phaseOutcome(sheet, kind, phases, p, analysis));
        const PhaseOutcome &outcome = analysis.phases.back();
        if (!outcome.limits)
            continue;
        judgePhase(analysis, p, outcome.limits->location, sheet.tests, false);
        judgePhase(analysis, p, outcome.limits->spread, spreadTests, true);
    }
    collectSignals(analysis);
    return analysis;
}

std::vector<double> countedValues(const Sheet &sheet, const SheetAnalysis &analysis,
                                  std::size_t first, std::size_t last)
{
    std::vector<double> values;
    const auto n = static_cast<std::size_t>(std::max(sheet.header.subgroupSize, 0));
    for (std::size_t r = first; r <= last && r < analysis.points.size(); ++r) {
        if (!analysis.points[r].counted)
            continue;
        for (std::size_t i = 0; i < n; ++i)
            values.push_back(readValue(sheet.rows[r].values[i]).value);
    }
    return values;
}

std::string rowProblemText(const RowProblem &problem, int subgroupSize)
{
    const std::string group = "第 " + number(problem.row + 1) + " 群";
    const std::string place = group + " " + number(problem.value + 1) + " 番目の値";
    switch (problem.kind) {
    case RowProblem::Kind::Missing: return place + "がありません";
    case RowProblem::Kind::NoNumber: return place + "に数値がありません";
    case RowProblem::Kind::OutOfRange:
        if (problem.value >= static_cast<std::size_t>(std::max(subgroupSize, 0)))
            return group + ": 値が大きすぎるため平均やばらつきを計算できません";
        return place + "が大きすぎます";
    case RowProblem::Kind::TooMany:
        return group + ": 値が " + number(problem.value) + " 個です ("
               + stats::integerToText(subgroupSize) + " 個まで)";
    }
    return {};
}

std::string sheetSignalText(const Sheet &sheet, ChartKind kind, const SheetSignal &signal)
{
    const std::string name = signal.spread ? spreadName(kind) : locationName(kind);
    std::string point = "第 " + number(signal.row + 1) + " 群";
    if (signal.row < sheet.rows.size() && !sheet.rows[signal.row].label.empty())
        point += " (" + sheet.rows[signal.row].label + ")";
    return name + " 管理図 " + point + " " + stats::formatResult(signal.value) + ": 判定 "
           + stats::integerToText(signal.test) + " " + stats::specialCauseName(signal.test);
}

} // namespace sheet
