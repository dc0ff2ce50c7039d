// The sheet file: any bytes as a .vorla file, and what a sheet read from
// them gives the chart window, the command line and the CSV export.
//
// The oracle: bytes that read as a sheet write out as bytes that read back
// as the very same sheet, and writing that again gives the same bytes (the
// open-and-save promise). Refused bytes always come with a message and a
// place. The analysis of any sheet read holds one point per row, phases in
// order that cover every row, signals only on counted points of phases
// with limits, finite limits in order; the capability's figures are finite
// where given, its p-value in 0..1; the command line's JSON of it parses
// back and is valid UTF-8; the CSV export has a line per row.

#include "FuzzCheck.h"

#include "cli/SheetOutput.h"
#include "sheet/Capability.h"
#include "sheet/SheetAnalysis.h"
#include "sheet/SheetCsv.h"
#include "sheet/SheetFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <variant>

namespace {

void checkLimits(const stats::ControlLimits &limits, bool spread)
{
    fuzz::check(std::isfinite(limits.center) && std::isfinite(limits.upper), "limits finite");
    fuzz::check(limits.center < limits.upper, "centre below the upper limit");
    if (limits.lower)
        fuzz::check(std::isfinite(*limits.lower) && *limits.lower < limits.center,
                    "lower limit below the centre");
    if (spread)
        fuzz::check(limits.center > 0.0 && (!limits.lower || *limits.lower >= 0.0),
                    "spread limits not negative");
}

void checkAnalysis(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis)
{
    if (!analysis.kind) {
        fuzz::check(!analysis.reason.empty(), "no chart without a reason");
        return;
    }
    fuzz::check(analysis.points.size() == sheet.rows.size(), "a point per row");
    fuzz::check(!analysis.phases.empty(), "at least one phase");
    for (std::size_t p = 0; p < analysis.phases.size(); ++p) {
        const sheet::PhaseOutcome &phase = analysis.phases[p];
        fuzz::check(phase.limits.has_value() == phase.reason.empty(), "limits or a reason");
        if (phase.limits) {
            checkLimits(phase.limits->location, false);
            checkLimits(phase.limits->spread, true);
        }
    }
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        const sheet::SheetPoint &point = analysis.points[r];
        fuzz::check(point.phase == sheet::phaseOfRow(sheet::effectivePhases(sheet), r), "phase of row");
        fuzz::check(!point.counted || (point.location && !point.excluded), "counted point");
        if (point.location)
            fuzz::check(std::isfinite(*point.location), "finite point");
        if (!point.counted)
            fuzz::check(point.locationTests.empty(), "no test on a point not counted");
        if (!point.spreadCounted)
            fuzz::check(point.spreadTests.empty(), "no test on a spread not counted");
        if (!analysis.phases[point.phase].limits)
            fuzz::check(point.locationTests.empty() && point.spreadTests.empty(),
                        "no test without limits");
    }
    for (const sheet::SheetSignal &signal : analysis.signals)
        fuzz::check(sheet.tests.contains(signal.test) && signal.row < sheet.rows.size(),
                    "signal of a test switched on");
}

void checkCapability(const sheet::CapabilityReport &report)
{
    for (const auto *index : {&report.cp, &report.cpk, &report.pp, &report.ppk})
        if (*index) {
            fuzz::check(std::isfinite((*index)->value), "finite index");
            fuzz::check(!fuzz::mentionsInfOrNan((*index)->text), "index text", (*index)->text);
        }
    if (report.normality.pValue)
        fuzz::check(*report.normality.pValue >= 0.0 && *report.normality.pValue <= 1.0, "p in 0..1");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const sheet::SheetReadOutcome outcome = sheet::readSheet(bytes);
    if (const auto *failure = std::get_if<sheet::SheetReadFailure>(&outcome)) {
        fuzz::check(!failure->message.empty(), "a refusal says what");
        fuzz::check(!sheet::sheetFailureText(*failure).empty(), "a refusal's text");
        return 0;
    }
    const sheet::Sheet &sheet = std::get<sheet::Sheet>(outcome);
    const std::string written = sheet::writeSheet(sheet);
    fuzz::check(fuzz::isValidUtf8(written), "written sheet is UTF-8");
    const sheet::SheetReadOutcome again = sheet::readSheet(written);
    fuzz::check(std::holds_alternative<sheet::Sheet>(again), "written sheet reads back", written);
    fuzz::check(std::get<sheet::Sheet>(again) == sheet, "the same sheet reads back", written);
    fuzz::check(sheet::writeSheet(std::get<sheet::Sheet>(again)) == written, "the same bytes", written);

    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    checkAnalysis(sheet, analysis);
    if (const auto phase = sheet::currentPhase(analysis))
        checkCapability(sheet::phaseCapability(sheet, analysis, *phase));
    const std::string json = sheet::jsonLine(cli::sheetJson(sheet, analysis, sheet::toleranceOf(sheet.header)));
    fuzz::check(fuzz::isValidUtf8(json), "JSON is UTF-8");
    fuzz::check(!sheet::Json::parse(json, nullptr, false).is_discarded(), "JSON parses", json);
    const std::string csv = sheet::sheetCsv(sheet, analysis);
    fuzz::check(sheet::readCsvTable(csv, ',').rows.size() >= 1, "CSV has its header line");
    return 0;
}
