#pragma once

// The text that `vorla --stats` prints: the eleven result texts of each file,
// exactly as the result boxes show them, as a tab-separated table or as JSON.
// Everything here takes and gives UTF-8.

#include "stats/Statistics.h"

#include <string>
#include <string_view>

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

/// One JSON object for a file: its name under "file", then the eleven texts
/// under the field names of stats::StatisticsTexts, each a JSON string (the
/// box texts are not all JSON numbers: "1,000." or "-.8541").
std::string jsonObject(std::string_view file, const stats::StatisticsTexts &texts);

/// A JSON string literal for valid UTF-8 text: quotes, backslashes and the
/// control characters below U+0020 are escaped; everything else, non-ASCII
/// included, passes as its UTF-8 bytes.
///   a"b -> "a\"b"     tab -> "\t"     U+0001 -> "\u0001"
std::string jsonString(std::string_view text);

} // namespace cli
