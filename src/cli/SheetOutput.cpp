#include "cli/SheetOutput.h"

#include <cstdint>

namespace cli {

namespace {

using sheet::Json;

Json optionalNumber(const std::optional<double> &value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json indexJson(const std::optional<sheet::CapabilityIndex> &index)
{
    if (!index)
        return nullptr;
    Json json = {{"value", index->value}, {"text", index->text}, {"band", index->band},
                 {"side", index->side}};
    json["lower"] = index->interval ? Json(index->interval->lower) : Json(nullptr);
    json["upper"] = index->interval ? Json(index->interval->upper) : Json(nullptr);
    return json;
}

Json shareJson(const std::optional<stats::ExpectedShare> &share)
{
    if (!share)
        return nullptr;
    return {{"share", share->share}, {"ppm", share->ppmText}, {"percent", share->percentText}};
}

Json limitsJson(const std::string &name, const stats::ControlLimits &limits)
{
    return {{"name", name},
            {"center", limits.center},
            {"upper", limits.upper},
            {"lower", optionalNumber(limits.lower)}};
}

std::string sourceName(sheet::LimitSource source)
{
    switch (source) {
    case sheet::LimitSource::OwnRows: return "rows";
    case sheet::LimitSource::Baseline: return "baseline";
    case sheet::LimitSource::Standard: return "standard";
    case sheet::LimitSource::Given: return "given";
    }
    return {};
}

std::string chartName(sheet::ChartKind kind)
{
    switch (kind) {
    case sheet::ChartKind::IndividualsMovingRange: return "xrs";
    case sheet::ChartKind::MeansRanges: return "xbar-r";
    case sheet::ChartKind::MeansStdDevs: return "xbar-s";
    }
    return {};
}

Json phasesJson(const sheet::SheetAnalysis &analysis)
{
    Json phases = Json::array();
    for (const sheet::PhaseOutcome &phase : analysis.phases) {
        Json json = {{"title", phase.title},
                     {"firstGroup", phase.firstRow + 1},
                     {"lastGroup", phase.empty ? Json(nullptr) : Json(phase.lastRow + 1)},
                     {"source", sourceName(phase.source)},
                     {"rowsUsed", phase.rowsUsed}};
        if (phase.limits) {
            json["location"] = limitsJson(sheet::locationName(*analysis.kind), phase.limits->location);
            json["spread"] = limitsJson(sheet::spreadName(*analysis.kind), phase.limits->spread);
            json["reason"] = nullptr;
        } else {
            json["location"] = nullptr;
            json["spread"] = nullptr;
            json["reason"] = phase.reason;
        }
        phases.push_back(std::move(json));
    }
    return phases;
}

Json signalsJson(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis)
{
    Json signals = Json::array();
    const sheet::ChartKind kind = *analysis.kind;
    for (const sheet::SheetSignal &signal : analysis.signals)
        signals.push_back({{"chart", signal.spread ? sheet::spreadName(kind) : sheet::locationName(kind)},
                           {"group", signal.row + 1},
                           {"label", sheet.rows[signal.row].label},
                           {"test", signal.test},
                           {"value", signal.value},
                           {"phase", analysis.points[signal.row].phase + 1},
                           {"text", sheet::sheetSignalText(sheet, kind, signal)}});
    return signals;
}

} // namespace

Json capabilityJson(const sheet::CapabilityReport &report)
{
    Json within = nullptr;
    if (report.within)
        within = {{"value", report.within->sigma},
                  {"basis", report.within->basis},
                  {"degreesOfFreedom", report.within->degreesOfFreedom}};
    const sheet::Normality &n = report.normality;
    return {{"count", report.count},
            {"mean", report.count > 0 ? Json(report.mean) : Json(nullptr)},
            {"withinSigma", within},
            {"overallSigma", report.count > 1 ? Json(report.overallSigma) : Json(nullptr)},
            {"cp", indexJson(report.cp)},
            {"cpk", indexJson(report.cpk)},
            {"pp", indexJson(report.pp)},
            {"ppk", indexJson(report.ppk)},
            {"normality", {{"statistic", optionalNumber(n.statistic)},
                           {"adjusted", optionalNumber(n.adjusted)},
                           {"pValue", optionalNumber(n.pValue)},
                           {"rejected", n.rejected},
                           {"warning", n.warning},
                           {"reason", n.reason}}},
            {"expectedOutside", {{"above", shareJson(report.outside.above)},
                                 {"below", shareJson(report.outside.below)},
                                 {"total", shareJson(report.outside.total)},
                                 {"reason", report.outside.reason}}},
            {"reason", report.reason}};
}

Json sheetJson(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis,
               const stats::Tolerance &tolerance)
{
    if (!analysis.kind)
        return {{"reason", analysis.reason}};
    Json tests = Json::array();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        if (sheet.tests.contains(test))
            tests.push_back(test);
    Json problems = Json::array();
    for (const sheet::RowProblem &problem : analysis.problems)
        problems.push_back({{"group", problem.row + 1},
                            {"text", sheet::rowProblemText(problem, sheet.header.subgroupSize)}});
    Json json = {{"chart", chartName(*analysis.kind)},
                 {"subgroupSize", sheet.header.subgroupSize},
                 {"rows", sheet.rows.size()},
                 {"tests", std::move(tests)},
                 {"phases", phasesJson(analysis)},
                 {"signals", signalsJson(sheet, analysis)},
                 {"problems", std::move(problems)}};
    const std::optional<std::size_t> phase = sheet::currentPhase(analysis);
    if (!phase) {
        json["capability"] = nullptr;
        return json;
    }
    Json capability = capabilityJson(sheet::phaseCapability(sheet, analysis, *phase, tolerance));
    capability["phase"] = *phase + 1;
    json["capability"] = std::move(capability);
    return json;
}

std::string capabilityHeaderCells()
{
    return "\tCp\tCpk\tPp\tPpk\t推定不良率";
}

std::string capabilityCells(const sheet::CapabilityReport &report)
{
    const auto text = [](const std::optional<sheet::CapabilityIndex> &index) {
        return index ? index->text : std::string("—");
    };
    return "\t" + text(report.cp) + "\t" + text(report.cpk) + "\t" + text(report.pp) + "\t"
           + text(report.ppk) + "\t"
           + (report.outside.total ? report.outside.total->ppmText : std::string("—"));
}

} // namespace cli
