// Value-text parsing over arbitrary bytes.
//
// Any input: no crash, never NaN. Text Qt could hand over (valid UTF-8) is
// also read by a slow reference that follows the reading rule step by step
// (drop blanks, map full-width forms, take the longest number prefix, let
// strtod round it) and must give the same double, sign of zero included.
// The minus signs and dashes an input method brings in are kept apart from
// '-' here and only read as a sign where a sign may stand, just as the rule
// says; the code under test may map them anywhere, which must come to the
// same.
// Blanks are dropped wherever they stand, so inserting one at a character
// boundary must not change the value either; that drives the fast path and
// the careful path against each other.

#include "FuzzCheck.h"

#include "stats/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Stand-ins in the normalized text. The last two are bytes no ASCII character
// can bring in, since every non-ASCII character is replaced.
constexpr char kOther = '\x01';                     // ends a number like any other stranger
constexpr char kSignMinus = static_cast<char>(0x80); // '-' where a sign may stand, else a stranger
constexpr char kSignPlus = static_cast<char>(0x81);  // '+' likewise

// Normalized text: blanks gone, full-width digits, signs, point and
// exponent letters turned to ASCII, the input method's point and comma too;
// the other minus signs and dashes become kSignMinus, the small plus
// kSignPlus, and any other non-ASCII character kOther.
std::string referenceNormalize(std::string_view s)
{
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            if (b != ' ' && b != '\t' && b != '\n')
                out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        char32_t cp = b & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += length;
        if (cp == 0x3000)
            continue;
        if (cp >= 0xFF10 && cp <= 0xFF19)
            out.push_back(static_cast<char>('0' + (cp - 0xFF10)));
        else if (cp == 0xFF0B)
            out.push_back('+');
        else if (cp == 0xFF0D)
            out.push_back('-');
        else if (cp == 0xFF0E || cp == 0x3002 || cp == 0xFF61)
            out.push_back('.');
        else if (cp == 0x3001 || cp == 0xFF64)
            out.push_back(',');
        else if (cp == 0x2212 || cp == 0x30FC || cp == 0xFF70 || (cp >= 0x2010 && cp <= 0x2015)
                 || cp == 0xFE63)
            out.push_back(kSignMinus);
        else if (cp == 0xFE62)
            out.push_back(kSignPlus);
        else if (cp == 0xFF25)
            out.push_back('E');
        else if (cp == 0xFF45)
            out.push_back('e');
        else
            out.push_back(kOther);
    }
    return out;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// The sign standing at s[i], if any: '+', '-' or 0.
char signAt(const std::string &s, std::size_t i)
{
    if (i >= s.size())
        return 0;
    if (s[i] == '+' || s[i] == kSignPlus)
        return '+';
    if (s[i] == '-' || s[i] == kSignMinus)
        return '-';
    return 0;
}

double referenceParse(std::string_view text)
{
    const std::string s = referenceNormalize(text);
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int radix = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double value = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            const char c = s[i];
            int d = 0;
            if (digit(c))
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            if (d >= radix)
                break;
            value = value * radix + d;
        }
        return value;
    }
    // The number as strtod takes it, each sign written as ASCII.
    std::string number;
    std::size_t i = 0;
    if (const char sign = signAt(s, i)) {
        number.push_back(sign);
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && digit(s[i]))
        number.push_back(s[i++]), ++digits;
    if (i < s.size() && s[i] == '.') {
        number.push_back(s[i++]);
        while (i < s.size() && digit(s[i]))
            number.push_back(s[i++]), ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::string exponent(1, s[i]);
        std::size_t j = i + 1;
        if (const char sign = signAt(s, j)) {
            exponent.push_back(sign);
            ++j;
        }
        if (j < s.size() && digit(s[j])) {
            while (j < s.size() && digit(s[j]))
                exponent.push_back(s[j++]);
            number += exponent;
        }
    }
    errno = 0;
    return std::strtod(number.c_str(), nullptr); // C locale: '.' is the point
}

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string describe(std::string_view text, double got, double expected)
{
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "\" got %.17g, expected %.17g", got, expected);
    return std::string(text) + numbers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = stats::parseValueText(text);
    fuzz::check(!std::isnan(value), "parseValueText gave NaN", text);
    if (!fuzz::isValidUtf8(text))
        return 0;

    const double expected = referenceParse(text);
    if (!sameDouble(value, expected))
        fuzz::fail("parseValueText differs from the reading rule", describe(text, value, expected));

    // A blank of each kind at one character boundary picked from the input.
    std::size_t at = size == 0 ? 0 : data[0] % (size + 1);
    while (at < size && (data[at] & 0xC0) == 0x80)
        ++at; // never inside a multi-byte character
    for (const char *blank : {" ", "\t", "\n", "\xE3\x80\x80"}) {
        std::string spaced(text);
        spaced.insert(at, blank);
        const double again = stats::parseValueText(spaced);
        if (!sameDouble(again, value))
            fuzz::fail("a blank changed the value", describe(spaced, again, value));
    }
    return 0;
}
