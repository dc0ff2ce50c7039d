#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace stats {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes that may change the reading once the text is normalized: blanks are
// dropped and non-ASCII bytes may be full-width forms of digits and signs.
bool needsNormalizing(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || static_cast<unsigned char>(c) >= 0x80;
}

// Where the number prefix of a text ends, and where its parts lie.
struct NumberPrefix
{
    std::size_t length = 0;        // 0: no number
    std::size_t mantissaEnd = 0;   // end of digits[.digits]
    std::size_t exponentStart = 0; // first byte after E/e, when length > mantissaEnd
    bool needsNormalizing = false; // the fast reading cannot decide
};

// Finds the longest [+-]digits[.digits][(E|e)[+-]digits] prefix. With
// watchBlanks set, a blank or non-ASCII byte met where the number could go on
// gives up (needsNormalizing), since after normalizing it might continue it.
NumberPrefix scanNumber(std::string_view s, bool watchBlanks)
{
    NumberPrefix prefix;
    const std::size_t n = s.size();
    auto blocks = [&](std::size_t at) { return watchBlanks && at < n && needsNormalizing(s[at]); };

    std::size_t i = 0;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t digitsStart = i;
    while (i < n && isDigit(s[i]))
        ++i;
    std::size_t digitCount = i - digitsStart;
    if (i < n && s[i] == '.') {
        ++i;
        const std::size_t fractionStart = i;
        while (i < n && isDigit(s[i]))
            ++i;
        digitCount += i - fractionStart;
    }
    if (blocks(i)) {
        prefix.needsNormalizing = true;
        return prefix;
    }
    if (digitCount == 0)
        return prefix;
    prefix.mantissaEnd = i;
    prefix.length = i;

    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (blocks(j)) {
            prefix.needsNormalizing = true;
            return prefix;
        }
        if (j < n && isDigit(s[j])) {
            prefix.exponentStart = i + 1;
            while (j < n && isDigit(s[j]))
                ++j;
            if (blocks(j)) {
                prefix.needsNormalizing = true;
                return prefix;
            }
            prefix.length = j;
        }
    }
    return prefix;
}

// from_chars reports overflow and underflow alike; tell them apart by the
// decimal exponent of the first non-zero digit. Digit strings of any length
// are fine: the exponent is summed with saturation.
double outOfRangeValue(std::string_view number, const NumberPrefix &prefix, bool negative)
{
    constexpr long long cap = 1'000'000'000'000'000LL;
    // Decimal exponent of the leading non-zero mantissa digit.
    long long leading = 0;
    bool found = false;
    bool afterPoint = false;
    long long fractionPosition = 0;
    for (std::size_t i = 0; i < prefix.mantissaEnd; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (afterPoint)
            ++fractionPosition;
        if (!found) {
            if (c != '0') {
                found = true;
                leading = afterPoint ? -fractionPosition : 0;
            }
        } else if (!afterPoint && leading < cap) {
            ++leading;
        }
    }
    const double zero = negative ? -0.0 : 0.0;
    if (!found)
        return zero;

    long long exponent = 0;
    if (prefix.length > prefix.mantissaEnd) {
        std::size_t i = prefix.exponentStart;
        bool negativeExponent = false;
        if (number[i] == '+' || number[i] == '-')
            negativeExponent = number[i++] == '-';
        for (; i < prefix.length; ++i) {
            if (exponent < cap)
                exponent = exponent * 10 + (number[i] - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (leading + exponent >= 0)
        return negative ? -HUGE_VAL : HUGE_VAL;
    return zero;
}

double readDecimal(std::string_view text, const NumberPrefix &prefix)
{
    std::string_view number = text.substr(0, prefix.length);
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    NumberPrefix unsignedPrefix = prefix;
    const std::size_t signLength = prefix.length - number.size();
    unsignedPrefix.length -= signLength;
    unsignedPrefix.mantissaEnd -= signLength;
    if (unsignedPrefix.exponentStart > 0)
        unsignedPrefix.exponentStart -= signLength;

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRangeValue(number, unsignedPrefix, negative);
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

// "&H" and "&O" whole numbers; the text starts with '&'.
double readRadixNumber(std::string_view s)
{
    if (s.size() < 2)
        return 0.0;
    int radix = 0;
    if (s[1] == 'H' || s[1] == 'h')
        radix = 16;
    else if (s[1] == 'O' || s[1] == 'o')
        radix = 8;
    else
        return 0.0;
    double value = 0.0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const char c = s[i];
        int digit = 0;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

// Drops the blanks and turns the full-width forms into ASCII. Other non-ASCII
// bytes are kept; they end any number.
std::string normalize(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if (c == 0xE3 && i + 2 < n && static_cast<unsigned char>(text[i + 1]) == 0x80
            && static_cast<unsigned char>(text[i + 2]) == 0x80) {
            i += 2; // U+3000 ideographic space
            continue;
        }
        if (c == 0xEF && i + 2 < n) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            char ascii = 0;
            if (b1 == 0xBC && b2 >= 0x90 && b2 <= 0x99)
                ascii = static_cast<char>('0' + (b2 - 0x90)); // U+FF10..FF19
            else if (b1 == 0xBC && b2 == 0x8B)
                ascii = '+'; // U+FF0B
            else if (b1 == 0xBC && b2 == 0x8D)
                ascii = '-'; // U+FF0D
            else if (b1 == 0xBC && b2 == 0x8E)
                ascii = '.'; // U+FF0E
            else if (b1 == 0xBC && b2 == 0xA5)
                ascii = 'E'; // U+FF25
            else if (b1 == 0xBD && b2 == 0x85)
                ascii = 'e'; // U+FF45
            if (ascii != 0) {
                out.push_back(ascii);
                i += 2;
                continue;
            }
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
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

namespace {

// The common case: plain ASCII that std::from_chars reads exactly as the
// value-text grammar does. from_chars takes no '+' and would take "inf" and
// "nan", so it is only tried on text starting with a digit, '.', or '-' and a
// digit or '.'. Its answer stands unless the byte where it stopped (or the
// exponent sign after an unread 'e') is one that normalizing might drop or
// turn into a digit. Returns false when the careful reading is needed.
bool readPlainNumber(std::string_view text, double &value)
{
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char first = text.front();
    if (first == '-') {
        if (text.size() < 2 || !(isDigit(text[1]) || text[1] == '.'))
            return false;
    } else if (!isDigit(first) && first != '.') {
        return false;
    }
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc())
        return false;
    const char *p = result.ptr;
    if (p == end)
        return true;
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        return p == end || !needsNormalizing(*p);
    }
    return !needsNormalizing(*p);
}

} // namespace

double parseValueText(std::string_view text)
{
    if (text.empty())
        return 0.0;
    double value = 0.0;
    if (readPlainNumber(text, value))
        return value;
    if (text.front() != '&') {
        const NumberPrefix prefix = scanNumber(text, true);
        if (!prefix.needsNormalizing)
            return prefix.length == 0 ? 0.0 : readDecimal(text, prefix);
    }
    const std::string normal = normalize(text);
    if (!normal.empty() && normal.front() == '&')
        return readRadixNumber(normal);
    const NumberPrefix prefix = scanNumber(normal, false);
    return prefix.length == 0 ? 0.0 : readDecimal(normal, prefix);
}

bool holdsNumber(std::string_view text)
{
    const std::string normal = normalize(text);
    if (!normal.empty() && normal.front() == '&') {
        if (normal.size() < 3)
            return false;
        const char radix = normal[1];
        const char digit = normal[2];
        if (radix == 'H' || radix == 'h')
            return isDigit(digit) || (digit >= 'a' && digit <= 'f') || (digit >= 'A' && digit <= 'F');
        if (radix == 'O' || radix == 'o')
            return digit >= '0' && digit <= '7';
        return false;
    }
    return scanNumber(normal, false).length > 0;
}

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

double cutToTwoDecimals(double value)
{
    auto cut = [](double x) { return std::trunc((x + 0.005) * 100.0) / 100.0; };
    if (value < 0.0)
        return -cut(-value);
    return cut(value);
}

double wholePercent(std::int64_t count, std::int64_t n)
{
    return std::floor((static_cast<double>(count) / static_cast<double>(n) + 0.005) * 100.0);
}

} // namespace stats
