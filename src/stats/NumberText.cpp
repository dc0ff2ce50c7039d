#include "stats/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace stats {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The 15 significant digits of a finite value and its decimal exponent.
struct Digits15
{
    bool negative = false;
    std::array<char, 15> digits{};
    int exponent = 0;
};

Digits15 toDigits15(double value)
{
    // "-d.ddddddddddddddde-308" fits easily.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const char *p = buffer.data();
    Digits15 d;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    std::size_t k = 0;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (isDigit(*p) && k < d.digits.size())
            d.digits[k++] = *p;
    }
    // p at 'e'
    ++p;
    bool negativeExponent = *p == '-';
    ++p;
    int exponent = 0;
    for (; p < result.ptr; ++p)
        exponent = exponent * 10 + (*p - '0');
    d.exponent = negativeExponent ? -exponent : exponent;
    return d;
}

} // namespace

std::string numberToText(double value)
{
    if (!std::isfinite(value))
        return std::string(); // never written: callers refuse such values first
    if (value == 0.0)
        return "0";
    const Digits15 d = toDigits15(value);
    std::size_t count = d.digits.size();
    while (count > 1 && d.digits[count - 1] == '0')
        --count;
    const std::string_view digits(d.digits.data(), count);
    const int e = d.exponent;

    std::string out;
    if (d.negative)
        out.push_back('-');
    if (e < -4 || e >= 15) {
        out.push_back(digits[0]);
        if (count > 1) {
            out.push_back('.');
            out.append(digits.substr(1));
        }
        out.push_back('E');
        out.push_back(e < 0 ? '-' : '+');
        const int magnitude = e < 0 ? -e : e;
        if (magnitude < 10)
            out.push_back('0');
        out.append(integerToText(magnitude));
        return out;
    }
    if (e >= 0) {
        const auto integerDigits = static_cast<std::size_t>(e) + 1;
        if (count <= integerDigits) {
            out.append(digits);
            out.append(integerDigits - count, '0');
        } else {
            out.append(digits.substr(0, integerDigits));
            out.push_back('.');
            out.append(digits.substr(integerDigits));
        }
    } else {
        out.append("0.");
        out.append(static_cast<std::size_t>(-e - 1), '0');
        out.append(digits);
    }
    return out;
}

std::string integerToText(std::int64_t value)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string groupedInteger(std::int64_t value)
{
    const std::string digits = integerToText(value);
    const std::size_t first = value < 0 ? 1 : 0; // past the sign
    std::string out = digits.substr(0, first);
    for (std::size_t i = first; i < digits.size(); ++i) {
        if (i > first && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string formatResult(double value)
{
    if (!std::isfinite(value))
        return std::string(); // never written: callers refuse such values first
    const Digits15 d = toDigits15(value);

    // The magnitude as a whole number of ten-thousandths: the digits down to
    // the 10^-4 place, then rounded on the next digit.
    const int kept = d.exponent + 5; // digits standing at 10^-4 or above
    std::string units;
    bool roundUp = false;
    if (kept >= static_cast<int>(d.digits.size())) {
        units.assign(d.digits.data(), d.digits.size());
        units.append(static_cast<std::size_t>(kept) - d.digits.size(), '0');
    } else if (kept >= 0) {
        units.assign(d.digits.data(), static_cast<std::size_t>(kept));
        roundUp = d.digits[static_cast<std::size_t>(kept)] >= '5';
    }
    if (roundUp) {
        std::size_t i = units.size();
        while (i > 0 && units[i - 1] == '9')
            units[--i] = '0';
        if (i == 0)
            units.insert(units.begin(), '1');
        else
            ++units[i - 1];
    }

    const std::size_t firstNonZero = units.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return "."; // zero, whatever its sign
    units.erase(0, firstNonZero);
    if (units.size() < 4)
        units.insert(0, 4 - units.size(), '0');

    const std::string_view integerPart(units.data(), units.size() - 4);
    std::string_view fraction(units.data() + integerPart.size(), 4);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);

    std::string out;
    out.reserve(integerPart.size() + integerPart.size() / 3 + 7);
    if (d.negative)
        out.push_back('-');
    for (std::size_t i = 0; i < integerPart.size(); ++i) {
        if (i > 0 && (integerPart.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(integerPart[i]);
    }
    out.push_back('.');
    out.append(fraction);
    return out;
}

double roundToTwoDecimals(double value)
{
    auto roundMagnitude = [](double x) { return std::trunc((x + 0.005) * 100.0) / 100.0; };
    if (value < 0.0)
        return -roundMagnitude(-value);
    return roundMagnitude(value);
}

double wholePercent(std::int64_t count, std::int64_t n)
{
    return std::floor((static_cast<double>(count) / static_cast<double>(n) + 0.005) * 100.0);
}

} // namespace stats
