// numberToText and formatResult over arbitrary doubles.
//
// An input of exactly eight bytes is the double's own bit pattern; any other
// input is read as a value text first, so decimal seeds reach the
// neighbourhood of round numbers and halves. For every finite value:
//  - neither text ever holds "inf" or "nan";
//  - numberToText has the plain or scientific shape and reads back as the
//    value rounded to 15 significant digits;
//  - formatResult has the shape of the pattern "###,###.####" and, without
//    its commas, lies within half a ten-thousandth of that rounded value.

#include "FuzzCheck.h"

#include "stats/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

namespace {

const std::regex kPlainShape(R"(^-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?$)");
const std::regex kScientificShape(R"(^-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3}$)");
const std::regex kResultShape(R"(^-?([0-9]{1,3}(,[0-9]{3})*)?\.([0-9]{0,3}[1-9])?$)");

// The value at 15 significant digits, by way of the C library.
double roundedTo15Digits(double x)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    return std::strtod(buffer, nullptr);
}

std::string describe(double x, const std::string &text)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g -> ", x);
    return buffer + text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    double x = 0;
    if (size == sizeof x)
        std::memcpy(&x, data, sizeof x);
    else
        x = stats::parseValueText(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!std::isfinite(x))
        return 0; // both conversions take finite values only; callers refuse the rest

    const std::string plain = stats::numberToText(x);
    fuzz::check(!fuzz::mentionsInfOrNan(plain), "numberToText wrote inf or nan", describe(x, plain));
    fuzz::check(std::regex_match(plain, kPlainShape) || std::regex_match(plain, kScientificShape),
                "numberToText shape", describe(x, plain));
    const double back = stats::parseValueText(plain);
    const double expected = roundedTo15Digits(x);
    if (!(back == expected))
        fuzz::fail("numberToText does not read back at 15 digits", describe(x, plain));

    const std::string result = stats::formatResult(x);
    fuzz::check(!fuzz::mentionsInfOrNan(result), "formatResult wrote inf or nan", describe(x, result));
    fuzz::check(std::regex_match(result, kResultShape), "formatResult shape", describe(x, result));
    std::string bare;
    for (const char c : result)
        if (c != ',')
            bare.push_back(c);
    const double shown = stats::parseValueText(bare);
    // Next to the largest double the 15-digit form lies beyond the range and
    // reads back as infinity, shown or not.
    const double tolerance = 0.00005 * (1 + 1e-9) + std::abs(expected) * 4e-15;
    if (!(shown == expected || std::abs(shown - expected) <= tolerance))
        fuzz::fail("formatResult strays from the value", describe(x, result));
    return 0;
}
