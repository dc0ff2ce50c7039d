#pragma once

// What `vorla --stats` prints of a sheet and of a capability: the limits of
// each phase, the signals, the rows that give no point, and the capability
// with its intervals, the normality check and the expected share outside.
// Qt-free; the JSON goes through nlohmann (sheet::Json).

#include "sheet/Capability.h"
#include "sheet/JsonText.h"
#include "sheet/Sheet.h"
#include "sheet/SheetAnalysis.h"

#include <string>

namespace cli {

/// The capability as a JSON object:
///   {"count", "mean", "withinSigma": {"value", "basis", "degreesOfFreedom"} | null,
///    "overallSigma", "cp", "cpk", "pp", "ppk": each {"value", "text", "band",
///    "side", "lower", "upper"} or null, "normality": {"statistic",
///    "adjusted", "pValue", "rejected", "warning", "reason"},
///    "expectedOutside": {"above", "below", "total": {"share", "ppm",
///    "percent"} or null, "reason"}, "reason"}
sheet::Json capabilityJson(const sheet::CapabilityReport &report);

/// A sheet's results as a JSON object: "chart" (xrs, xbar-r, xbar-s),
/// "subgroupSize", "rows", "tests", "phases" (each with its "title",
/// "firstGroup" and "lastGroup", the limits' "source", "rowsUsed",
/// "location" and "spread" with "name", "center", "upper", "lower", or a
/// "reason"), "signals" (each "chart", "group", "label", "test", "value",
/// "phase", "text"), "problems" (each "group", "text"), and "capability"
/// of the last phase with a counted row ("phase" its number from 1), for
/// `tolerance`.
sheet::Json sheetJson(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis,
                      const stats::Tolerance &tolerance);

/// The table's further cells when a tolerance is given: a tab first, then
/// Cp, Cpk, Pp, Ppk (as shown, "—" when not formed) and the expected share
/// outside in ppm ("—" without one). capabilityHeaderCells() names them.
std::string capabilityCells(const sheet::CapabilityReport &report);
std::string capabilityHeaderCells();

} // namespace cli
