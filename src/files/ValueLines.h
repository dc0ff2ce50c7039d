#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files {

/// Reads the line that starts at `position` by the value files' rule and moves
/// `position` past its line end; nullopt once the text is used up. A line ends
/// at CR LF, at LF alone or at CR alone, so files written on Windows, on Linux
/// (seq, Python, R) and on old Macs all read as one value to a line, and no
/// line ever holds a CR or an LF. LF then CR is two line ends. The last line
/// needs no line end, and text that ends with a line end has no further line
/// after it. The view points into `text`, so walking a large text costs no
/// copies.
std::optional<std::string_view> nextValueLine(std::string_view text, std::size_t &position);

/// Splits file text into lines by the value files' rule (see nextValueLine).
/// Empty lines are kept.
///   "1\r\n\r\n2"  -> {"1", "", "2"}
///   "a\nb\n"      -> {"a", "b"}
///   "a\rb\r\nc"   -> {"a", "b", "c"}
///   "a\n\rb"      -> {"a", "", "b"}
///   ""            -> {}
///   "\r\n"        -> {""}
std::vector<std::string> splitValueLines(std::string_view text);

/// Calls `visit(line, number)` for each line by the value files' rule (see
/// nextValueLine), numbered from 1 with empty lines counted, until `visit`
/// returns false.
template <typename Visit>
void forEachValueLine(std::string_view text, Visit visit)
{
    std::size_t position = 0;
    std::size_t number = 0;
    while (const auto line = nextValueLine(text, position))
        if (!visit(*line, ++number))
            return;
}

/// The pieces of text between any of the `separators`, empty ones passed
/// over. The views point into `text`.
///   ("a\r\n\nb", "\r\n") -> {"a", "b"}
std::vector<std::string_view> nonEmptyPieces(std::string_view text, std::string_view separators);

/// The numbers (from 1, empty lines counted) of the text's non-empty lines.
///   "a\r\n\r\nb\n" -> {1, 3}
std::vector<std::size_t> nonEmptyLineNumbers(std::string_view text);

} // namespace files

namespace files {

/// The values in text pasted into the entry box: every line and every
/// tab-separated cell that is not empty, in order (a column or a row copied
/// from a spreadsheet). Lines end at CR, LF or CR LF. No value keeps a CR,
/// LF or tab.
///   "1\r\n2\r\n3\r\n" -> {"1", "2", "3"}
///   "1\t\t2\n"        -> {"1", "2"}
///   " \n"             -> {" "}
std::vector<std::string> splitPastedValues(std::string_view text);

} // namespace files
