#include "stats/NumberReading.h"
#include "stats/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace stats {

namespace {

// ---- characters ------------------------------------------------------------

constexpr char kEnd = '\0';   // no character left
constexpr char kOther = '\1'; // a character no number uses: it ends any number

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What a three-byte UTF-8 character means to a number: the ASCII character
// it reads as, ' ' for the ideographic space, kOther for the rest.
//
// Full-width forms read as their ASCII forms anywhere. The minus signs and
// dashes an input method or a paste brings in read as '-' wherever they
// stand, which only matters where a sign may stand: anywhere else '-' ends
// the number like any other stranger ("3ー" is 3, "データ" is 0).
char meaningOf(char32_t c)
{
    if (c >= 0xFF10 && c <= 0xFF19)
        return static_cast<char>('0' + (c - 0xFF10)); // ０..９
    switch (c) {
    case 0x3000: // ideographic space
        return ' ';
    case 0xFF0B: // ＋
    case 0xFE62: // small plus sign
        return '+';
    case 0xFF0D: // －
    case 0x2212: // minus sign
    case 0x30FC: // ー, the long vowel mark an input method types for '-'
    case 0xFF70: // ｰ, its half-width form
    case 0x2010: // hyphen
    case 0x2011: // non-breaking hyphen
    case 0x2012: // figure dash
    case 0x2013: // en dash
    case 0x2014: // em dash
    case 0x2015: // horizontal bar
    case 0xFE63: // small hyphen-minus
        return '-';
    case 0xFF0E: // ．
    case 0x3002: // 。, typed for '.' with the input method on
    case 0xFF61: // ｡
        return '.';
    case 0x3001: // 、 ends the number as ',' does
    case 0xFF64: // ､
        return ',';
    case 0xFF25: // Ｅ
        return 'E';
    case 0xFF45: // ｅ
        return 'e';
    default:
        return kOther;
    }
}

bool isBlank(char meaning)
{
    return meaning == ' ' || meaning == '\t' || meaning == '\n';
}

// One character of a value text: what it means to a number and the bytes it
// takes. Bytes that are not a three-byte character each stand alone; none of
// them can be part of a number, so it does not matter how wide they are.
// (Small enough to travel in registers: this is on every item's path.)
struct TextChar
{
    std::size_t begin = 0;
    char meaning = kEnd;
    unsigned char width = 0;

    std::size_t end() const { return begin + width; }
};

TextChar wideCharAt(std::string_view s, std::size_t at)
{
    const auto b0 = static_cast<unsigned char>(s[at]);
    if (b0 >= 0xE0 && b0 <= 0xEF && at + 2 < s.size()) {
        const auto b1 = static_cast<unsigned char>(s[at + 1]);
        const auto b2 = static_cast<unsigned char>(s[at + 2]);
        if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80) {
            const char32_t c = (char32_t(b0 & 0x0F) << 12) | (char32_t(b1 & 0x3F) << 6) | (b2 & 0x3F);
            return TextChar{at, meaningOf(c), 3};
        }
    }
    return TextChar{at, kOther, 1};
}

inline TextChar charAt(std::string_view s, std::size_t at)
{
    if (at >= s.size())
        return TextChar{at, kEnd, 0};
    const auto b0 = static_cast<unsigned char>(s[at]);
    if (b0 < 0x80)
        return TextChar{at, static_cast<char>(b0), 1};
    return wideCharAt(s, at);
}

// Walks a value text character by character, passing over blanks: the text
// is read as if every blank had been removed first.
class Cursor
{
public:
    explicit Cursor(std::string_view text, std::size_t at = 0) : m_text(text), m_at(at) {}

    std::string_view text() const { return m_text; }
    std::size_t position() const { return m_at; }

    TextChar peek() const
    {
        TextChar c = charAt(m_text, m_at);
        while (isBlank(c.meaning))
            c = charAt(m_text, c.end());
        return c;
    }

    void pass(TextChar c) { m_at = c.end(); }
    void passBlanks() { m_at = peek().begin; }
    void passBytes(std::size_t count) { m_at += count; }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

// Whether only blanks follow `at`. The cursor's peek stops at a NUL byte as
// at any other character, so the position, not the meaning kEnd, tells.
bool onlyBlanksFrom(std::string_view text, std::size_t at)
{
    return Cursor(text, at).peek().begin >= text.size();
}

// ---- the number ------------------------------------------------------------

// The mantissa digits of a decimal number, as the reading needs to know them.
struct MantissaDigits
{
    std::size_t integerDigits = 0;
    std::size_t fractionDigits = 0;
    std::size_t leadingZeros = 0; // zeros before the first other digit
    bool nonZero = false;         // a digit other than 0 was read
    // The digits from the first non-zero one, as a whole number: exact up to
    // 19 digits (it wraps around beyond; only up to 15 are used).
    std::uint64_t value = 0;

    std::size_t count() const { return integerDigits + fractionDigits; }

    // From the first non-zero digit to the last ("0.0120": 3).
    std::size_t significant() const { return nonZero ? count() - leadingZeros : 0; }

    // Decimal exponent of the first non-zero digit, as if no exponent were
    // written: "120" -> 2, "0.05" -> -2.
    long long leadingExponent() const
    {
        return static_cast<long long>(integerDigits) - static_cast<long long>(leadingZeros) - 1;
    }

    void take(char d, bool inFraction)
    {
        ++(inFraction ? fractionDigits : integerDigits);
        if (!nonZero && d == '0') {
            ++leadingZeros;
            return;
        }
        nonZero = true;
        value = value * 10 + static_cast<unsigned>(d - '0');
    }
};

// A decimal number found at the start of a value text: where it lies, and
// what the reading needs to know about its digits.
struct DecimalNumber
{
    bool negative = false;
    // The bytes from the first mantissa character to the end of the number.
    // plain: they spell it in ASCII as they stand (no blank among them, no
    // full-width form), the usual case.
    std::size_t begin = 0;
    std::size_t end = 0;
    bool plain = true;
    bool blanksInside = false; // a blank was passed over between two of its characters
    MantissaDigits mantissa;
    // The written exponent, held at kExponentCap so that a thousand exponent
    // digits cannot overflow it.
    long long exponent = 0;
    static constexpr long long kExponentCap = 1'000'000'000'000'000LL;

    // Takes the character as part of the number.
    void extendTo(TextChar c)
    {
        if (c.begin != end)
            blanksInside = true;
        if (c.begin != end || c.width != 1)
            plain = false;
        end = c.end();
    }
};

// The sign and mantissa, [+-]digits[.digits], read through the cursor, which
// is left after them. Returns the character that ended the mantissa.
TextChar scanMantissa(Cursor &at, DecimalNumber &number)
{
    TextChar c = at.peek();
    if (c.meaning == '+' || c.meaning == '-') {
        number.negative = c.meaning == '-';
        at.pass(c);
    }
    at.passBlanks();
    number.begin = number.end = at.position();
    const std::string_view text = at.text();
    bool inFraction = false;
    for (;;) {
        // ASCII digits straight ahead are taken as one run, without the
        // cursor's character decoding: most numbers are typed so.
        std::size_t i = at.position();
        for (; i < text.size() && isDigit(text[i]); ++i)
            number.mantissa.take(text[i], inFraction);
        at.passBytes(i - at.position());
        number.end = i;

        c = at.peek();
        if (isDigit(c.meaning)) // after a blank, or full-width
            number.mantissa.take(c.meaning, inFraction);
        else if (c.meaning == '.' && !inFraction)
            inFraction = true;
        else
            return c;
        number.extendTo(c);
        at.pass(c);
    }
}

// The exponent after its letter: [+-]digits. Without a digit it is no part
// of the number ("2e", "2e+", "2ex5"), and the number ends before the letter.
void scanExponent(Cursor at, TextChar letter, DecimalNumber &number)
{
    at.pass(letter);
    const TextChar sign = at.peek();
    const bool signWritten = sign.meaning == '+' || sign.meaning == '-';
    if (signWritten)
        at.pass(sign);
    TextChar c = at.peek();
    if (!isDigit(c.meaning))
        return;
    number.extendTo(letter);
    if (signWritten)
        number.extendTo(sign);
    long long exponent = 0;
    for (; isDigit(c.meaning); c = at.peek()) {
        if (exponent < DecimalNumber::kExponentCap)
            exponent = exponent * 10 + (c.meaning - '0');
        number.extendTo(c);
        at.pass(c);
    }
    number.exponent = sign.meaning == '-' ? -exponent : exponent;
}

// The one place the number's grammar is written down: the longest prefix of
// the form [+-]digits[.digits][(E|e)[+-]digits] with at least one mantissa
// digit, read through the cursor (so blanks anywhere are passed over and
// full-width and input-method forms count as ASCII). No mantissa digit: no
// number.
DecimalNumber scanDecimal(Cursor at)
{
    DecimalNumber number;
    const TextChar after = scanMantissa(at, number);
    if (number.mantissa.count() > 0 && (after.meaning == 'E' || after.meaning == 'e'))
        scanExponent(at, after, number);
    return number;
}

// The number as std::from_chars takes it: ASCII, no sign, no blanks. A plain
// number is its own bytes; any other is spelled out into the buffer.
std::string_view spelling(std::string_view text, const DecimalNumber &number, std::string &buffer)
{
    if (number.plain)
        return text.substr(number.begin, number.end - number.begin);
    Cursor at(text.substr(0, number.end), number.begin);
    for (TextChar c = at.peek(); c.meaning != kEnd; c = at.peek()) {
        buffer.push_back(c.meaning);
        at.pass(c);
    }
    return buffer;
}

// The nearest double to the number. Most typed numbers have few digits and
// a small decimal exponent: then the digits as a whole number and the power
// of ten are both exact doubles, and one multiplication or division rounds
// once to the nearest double. Everything else goes to std::from_chars.
double valueOf(std::string_view text, const DecimalNumber &number)
{
    static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr long long kLargestExactPower = 22;
    const long long scale = number.exponent - static_cast<long long>(number.mantissa.fractionDigits);
    double value = 0.0;
    if (number.mantissa.significant() <= 15 && scale >= -kLargestExactPower && scale <= kLargestExactPower) {
        const auto digits = static_cast<double>(number.mantissa.value); // below 10^15: exact
        value = scale < 0 ? digits / kExactPowers[-scale] : digits * kExactPowers[scale];
        return number.negative ? -value : value;
    }
    std::string buffer;
    const std::string_view s = spelling(text, number, buffer);
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars says the same for overflow and underflow. A number whose
        // first digit stands at 10^0 or above cannot have underflowed.
        if (number.mantissa.nonZero && number.mantissa.leadingExponent() + number.exponent >= 0)
            value = HUGE_VAL;
        else
            value = 0.0;
    }
    return number.negative ? -value : value;
}

// "&H" and "&O" whole numbers, read through the cursor standing after '&'.
// The value grows by whole-number steps in double arithmetic, so a long
// enough digit string ends at infinity. `end` is set after the last digit.
double radixValue(Cursor at, bool &digitRead, std::size_t &end)
{
    const TextChar letter = at.peek();
    int radix = 0;
    if (letter.meaning == 'H' || letter.meaning == 'h')
        radix = 16;
    else if (letter.meaning == 'O' || letter.meaning == 'o')
        radix = 8;
    else
        return 0.0;
    at.pass(letter);
    double value = 0.0;
    for (TextChar c = at.peek();; c = at.peek()) {
        int digit = 0;
        if (isDigit(c.meaning))
            digit = c.meaning - '0';
        else if (c.meaning >= 'a' && c.meaning <= 'f')
            digit = c.meaning - 'a' + 10;
        else if (c.meaning >= 'A' && c.meaning <= 'F')
            digit = c.meaning - 'A' + 10;
        else
            break;
        if (digit >= radix)
            break;
        value = value * radix + digit;
        digitRead = true;
        at.pass(c);
        end = at.position();
    }
    return value;
}

// A value text's reading and where its number ends: the byte after the
// number's last character (0 when there is no number).
struct ScannedText
{
    ValueReading reading;
    std::size_t end = 0;
};

ScannedText scanValueText(std::string_view text)
{
    Cursor at(text);
    const TextChar first = at.peek();
    if (first.meaning == '&') {
        at.pass(first);
        bool digitRead = false;
        std::size_t end = 0;
        const double value = radixValue(at, digitRead, end);
        return {ValueReading{value, false, digitRead}, end};
    }
    const DecimalNumber number = scanDecimal(at);
    if (number.mantissa.count() == 0)
        return {};
    ValueReading reading{valueOf(text, number), number.mantissa.significant() <= 15, true};
    reading.blanksInside = number.blanksInside;
    return {reading, number.end};
}

} // namespace

ValueReading readValueText(std::string_view text)
{
    ScannedText scanned = scanValueText(text);
    scanned.reading.textAfter = scanned.reading.holdsNumber && !onlyBlanksFrom(text, scanned.end);
    return scanned.reading;
}

ReadingExtent readingOf(std::string_view text)
{
    const ScannedText scanned = scanValueText(text);
    if (!scanned.reading.holdsNumber)
        return ReadingExtent::NoNumber;
    // The reading passes over blanks wherever they stand, so blanks after the
    // number are no text left over; any other character is, a NUL byte too.
    return onlyBlanksFrom(text, scanned.end) ? ReadingExtent::Whole : ReadingExtent::Partial;
}

bool onlyBlanks(std::string_view text)
{
    return onlyBlanksFrom(text, 0);
}

double parseValueText(std::string_view text)
{
    return scanValueText(text).reading.value;
}

bool holdsNumber(std::string_view text)
{
    return readValueText(text).holdsNumber;
}

} // namespace stats
