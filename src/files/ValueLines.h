#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace files {

/// Splits file text into lines by the value files' rule: a line ends at CR or
/// at CR LF; an LF that does not follow a CR belongs to the line. The last
/// line needs no line end, and text that ends with a line end has no further
/// line after it. Empty lines are kept.
///   "1\r\n\r\n2"  -> {"1", "", "2"}
///   "a\nb\r\n"    -> {"a\nb"}
///   ""            -> {}
///   "\r\n"        -> {""}
std::vector<std::string> splitValueLines(std::string_view text);

} // namespace files
