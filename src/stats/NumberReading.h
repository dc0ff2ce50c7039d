#pragma once

// The reading behind parseValueText, for the core's own use: besides the
// value it tells what the calculation needs to know about how the text
// spelled it. Windows and files use parseValueText from NumberText.h.

#include <string_view>

namespace stats {

struct ValueReading
{
    double value = 0.0; // exactly what parseValueText gives
    // The number was written in decimal (not "&H"/"&O") with at most 15
    // significant digits, counted from the first non-zero mantissa digit to
    // the last mantissa digit, trailing zeros included ("0.00120" has 3).
    // False for text without a number.
    bool fifteenDigitDecimal = false;
    // A digit of a number was read: the text spells a number, 0 included.
    bool holdsNumber = false;
    // Text other than blanks follows the number ("12.5mm"): the text is read
    // only in part. False for text without a number.
    bool textAfter = false;
    // Blanks stand between the number's characters ("25 01", "２５　０２"):
    // read as if they were not there (2501).
    bool blanksInside = false;
};

/// Reads a value text as parseValueText does.
ValueReading readValueText(std::string_view text);

/// Whether the text holds nothing but the blanks parseValueText passes over
/// (space, tab, line feed, U+3000); true for "". A NUL byte is no blank.
bool onlyBlanks(std::string_view text);

} // namespace stats
