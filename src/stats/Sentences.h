#pragma once

// Sentences that the window and the command line both say, so that the two
// never drift apart.

#include <cstddef>
#include <string>
#include <string_view>

namespace stats::sentences {

/// A value, sum or limit beyond the double range.
std::string tooLargeToCalculate();
/// Items read as 0 for want of a number (no closing 。, so a list of lines
/// can follow).
std::string withoutNumber(std::size_t count);
/// Items read up to the text after their number.
std::string partlyRead(std::size_t count);
/// Items read as if the blanks between their digits were not there.
std::string blanksInside(std::size_t count);
/// A file that could not be written.
std::string couldNotSave(std::string_view name);

} // namespace stats::sentences
