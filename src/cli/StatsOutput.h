#pragma once

// The text that `vorla --stats` prints: the eleven result texts of each file,
// exactly as the result boxes show them, as a tab-separated table or as JSON.
// The JSON also gives the unrounded figures as numbers and, when asked, the
// control charts. Everything here takes and gives UTF-8.

#include "sheet/JsonText.h"
#include "stats/ControlChart.h"
#include "stats/Statistics.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

/// The table's header line, with its line end: the file, then the eleven
/// results in the order of the window's boxes from top to bottom.
std::string tableHeader();

/// One line of the table: the file's name and its eleven texts, separated by
/// tabs, ending in LF.
std::string tableRow(std::string_view file, const stats::StatisticsTexts &texts);

/// A text made fit for one cell of the table. A tab (which a file name or an
/// item may hold), CR or LF (which a file name may hold; an item never does)
/// becomes one space each, so that every file stays on one line of exactly twelve cells. All
/// other text passes unchanged.
///   "1\t2" -> "1 2"      "a\nb" -> "a b"      "表" -> "表"
std::string tableCell(std::string_view text);

// Each JSON text below is built as a nlohmann value (sheet::Json) and
// written by sheet::jsonLine; the *Json functions give the value itself.

/// The file's name and its eleven texts (see jsonObject).
sheet::Json textsJson(std::string_view file, const stats::StatisticsTexts &texts);
/// The figures (see jsonFigures).
sheet::Json figuresJson(const stats::StatisticsFigures &figures);
/// A control chart (see jsonControlChart).
sheet::Json controlChartJson(std::string_view type, const stats::ControlChart &chart);

/// Further members of a file's JSON object: each name, and its value as JSON text.
using JsonMembers = std::vector<std::pair<std::string, std::string>>;

/// One JSON object for a file: its name under "file", then the eleven texts
/// under the field names of stats::StatisticsTexts, each a JSON string (the
/// box texts are not all JSON numbers: "1,000." or "-.8541"), then `more`.
std::string jsonObject(std::string_view file, const stats::StatisticsTexts &texts,
                       const JsonMembers &more = {});

/// A double as a JSON number, in the shortest text that reads back as the
/// same double (std::to_chars); "null" for infinity and NaN, which JSON lacks.
///   2.5 -> "2.5"   0.1 + 0.2 -> "0.30000000000000004"   1e300 -> "1e+300"
std::string jsonNumber(double value);

/// The figures behind the boxes as a JSON object of numbers, under the texts'
/// names, unrounded: count, mean, standardDeviation, sigmaMultiple,
/// upperLimit, lowerLimit, aboveCount, abovePercent and belowCount,
/// belowPercent (a share of the count times 100, not rounded to a whole
/// percent), maximum and minimum (of the values as the calculation read them).
std::string jsonFigures(const stats::StatisticsFigures &figures);

/// A control chart as a JSON object: "type" (the --type name), "subgroupSize",
/// "leftOut", then "location" and "spread", each with the chart's "name",
/// "center", "upper" and "lower" (null when the chart has none) and its
/// "signals": [{"test": 1, "number": 5, "value": 16.3}, ...] in point order.
std::string jsonControlChart(std::string_view type, const stats::ControlChart &chart);

/// A JSON string literal for valid UTF-8 text: quotes, backslashes and the
/// control characters below U+0020 are escaped; everything else, non-ASCII
/// included, passes as its UTF-8 bytes.
///   a"b -> "a\"b"     tab -> "\t"     U+0001 -> "\u0001"
std::string jsonString(std::string_view text);

} // namespace cli
