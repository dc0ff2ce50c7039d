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

// Scientific form: "1.2345E+15", "1E-05", at least two exponent digits.
void appendScientific(std::string &out, std::string_view digits, int exponent)
{
    out.push_back(digits[0]);
    if (digits.size() > 1) {
        out.push_back('.');
        out.append(digits.substr(1));
    }
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out.push_back('0');
    out.append(integerToText(magnitude));
}

// Plain form for an exponent from -4 to 14: "1250", "12.5", "0.00125".
void appendPlain(std::string &out, std::string_view digits, int exponent)
{
    if (exponent < 0) {
        out.append("0.");
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits);
        return;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out.append(digits);
        out.append(integerDigits - digits.size(), '0');
    } else {
        out.append(digits.substr(0, integerDigits));
        out.push_back('.');
        out.append(digits.substr(integerDigits));
    }
}

// Digits in groups of three parted by ',': "1234567" -> "1,234,567".
void appendGroupedDigits(std::string &out, std::string_view digits)
{
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
}

// Adds one to a whole number written in decimal digits: "1299" -> "1300",
// "99" -> "100".
void addOne(std::string &digits)
{
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
        digits[--i] = '0';
    if (i == 0)
        digits.insert(digits.begin(), '1');
    else
        ++digits[i - 1];
}

// The magnitude as a whole number of ten-thousandths, in decimal digits
// (leading zeros possible, "" when it lies below 10^-5): the digits down to
// the 10^-4 place, rounded on the next digit, a half going up.
std::string tenThousandths(const Digits15 &d)
{
    const int kept = d.exponent + 5; // digits standing at 10^-4 or above
    std::string units;
    if (kept >= static_cast<int>(d.digits.size())) {
        units.assign(d.digits.data(), d.digits.size());
        units.append(static_cast<std::size_t>(kept) - d.digits.size(), '0');
    } else if (kept >= 0) {
        units.assign(d.digits.data(), static_cast<std::size_t>(kept));
        if (d.digits[static_cast<std::size_t>(kept)] >= '5')
            addOne(units);
    }
    return units;
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
    if (e < -4 || e >= 15)
        appendScientific(out, digits, e);
    else
        appendPlain(out, digits, e);
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
    appendGroupedDigits(out, std::string_view(digits).substr(first));
    return out;
}

std::string formatResult(double value)
{
    if (!std::isfinite(value))
        return std::string(); // never written: callers refuse such values first
    const Digits15 d = toDigits15(value);
    std::string units = tenThousandths(d);
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
    appendGroupedDigits(out, integerPart);
    out.push_back('.');
    out.append(fraction);
    return out;
}

std::string resultInSentence(double value)
{
    std::string text = formatResult(value);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text.empty() || text == "-" ? "0" : text;
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
