#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Conversions between value texts and doubles. None of them reads the locale:
/// the decimal point is always '.', the group separator always ','.
namespace stats {

/// Reads the number at the start of a value text; text without one gives 0.
///
/// Blanks (space, tab, line feed, and the ideographic space U+3000) are removed
/// wherever they stand, so "1 2 5" reads as 125 and "- 4" as -4. Of what
/// remains, the longest prefix of the form [+-]digits[.digits][(E|e)[+-]digits]
/// is read; a number may start or end with '.' (".5", "5."), an exponent with
/// no digits is left unread ("2e" -> 2), and ',' ends the number ("1,250" -> 1).
/// Full-width digits, signs, '．' and 'Ｅ'/'ｅ' count as their ASCII forms.
/// Forms a Japanese input method types, or a paste brings in, count too:
/// U+2212 (minus sign), 'ー' (U+30FC), 'ｰ' (U+FF70), the hyphens and dashes
/// U+2010 to U+2015 and U+FE63 read as '-', and U+FE62 as '+', where a sign
/// may stand (before the number or before the exponent's digits); anywhere
/// else they end the number. '。' and '｡' are the decimal point; '、' and '､'
/// end the number as ',' does.
///   parseValueText("ー３。５") -> -3.5   parseValueText("1Eー5") -> 1e-5
///   parseValueText("3ー") -> 3          parseValueText("データ") -> 0
/// "&H" and "&O" (either case) read hexadecimal and octal digits as a
/// non-negative whole number ("&HFF" -> 255). Nothing else is accepted: no
/// "inf", "nan" or "0x".
///   parseValueText("12abc") -> 12     parseValueText("abc") -> 0
///   parseValueText("1.5e3") -> 1500   parseValueText(".")   -> 0
/// The result is the double nearest to the decimal number read, a tie going
/// to the even one. A number beyond the double range gives +/-infinity
/// (callers refuse it); one too small to represent gives 0 of its sign.
double parseValueText(std::string_view text);

/// Whether parseValueText finds a number in the text at all, so that a 0 it
/// returns can be told apart from text without one.
///   holdsNumber("0") -> true    holdsNumber("-.0") -> true   holdsNumber("１２") -> true
///   holdsNumber("abc") -> false holdsNumber(".") -> false    holdsNumber("") -> false
///   holdsNumber("&HFF") -> true holdsNumber("&H") -> false   holdsNumber("&O9") -> false
bool holdsNumber(std::string_view text);

/// How much of a value text parseValueText reads.
enum class ReadingExtent {
    Whole,    // a number and, besides it, blanks at most
    Partial,  // a number, then other text the reading left unread
    NoNumber, // no number at all: the text reads as 0
};

/// How much of the text parseValueText reads, by the very same reading.
/// Blanks are passed over wherever they stand and the full-width and input
/// method forms count as what they stand for, so only other characters left
/// after the number make a reading partial.
///   readingOf("12.5") -> Whole      readingOf(" 1 2.5 ") -> Whole
///   readingOf("１２．５") -> Whole  readingOf("&HFF") -> Whole   readingOf("5.") -> Whole
///   readingOf("12.5mm") -> Partial  readingOf("1,234.5") -> Partial  readingOf("1e") -> Partial
///   readingOf("測定値") -> NoNumber readingOf("±0.1") -> NoNumber readingOf("") -> NoNumber
ReadingExtent readingOf(std::string_view text);

/// Writes a double with 15 significant digits, no grouping, no trailing zeros.
///
/// The value is first rounded to 15 significant digits (the decimal nearest
/// to the exact binary value, a tie going to the even digit). Decimal exponents
/// from -4 up to 14 are then written plainly (0.0001 -> "0.0001"), others in
/// scientific form with a capital E and at least two exponent digits.
/// A value that rounds to zero, -0.0 included, is "0".
///   numberToText(2.5) -> "2.5"      numberToText(1.0 / 3) -> "0.333333333333333"
///   numberToText(0.00001) -> "1E-05"  numberToText(1e15) -> "1E+15"
/// The value must be finite.
std::string numberToText(double value);

/// Decimal digits of an integer, '-' before a negative one: 0 -> "0".
std::string integerToText(std::int64_t value);

/// An integer as messages show counts, line numbers and limits: digits in
/// groups of three parted by ',', '-' before a negative one.
///   groupedInteger(32767) -> "32,767"   groupedInteger(999) -> "999"
///   groupedInteger(-1234567) -> "-1,234,567"
std::string groupedInteger(std::int64_t value);

/// The result pattern "###,###.####".
///
/// The value's 15-significant-digit decimal form is rounded to four decimals,
/// a half going away from zero. The integer part is grouped by threes and
/// left out when it is 0; the '.' is always written; trailing fraction zeros
/// are dropped. A negative value that rounds to zero is a lone "." too.
///   formatResult(1234.56789) -> "1,234.5679"   formatResult(0.25) -> ".25"
///   formatResult(5) -> "5."   formatResult(0) -> "."   formatResult(1.00005) -> "1.0001"
/// The value must be finite.
std::string formatResult(double value);

/// A result as a sentence writes it: formatResult without a bare trailing
/// point, which reads as a full stop there.
///   11 -> "11"   1234.5 -> "1,234.5"   0.25 -> ".25"   0 -> "0"
std::string resultInSentence(double value);

/// Rounds a mean to two decimals, a half going away from zero:
/// trunc((x + 0.005) * 100) / 100 for x >= 0, in double arithmetic, so
/// 2.675 -> 2.68 and 0.005 -> 0.01, but 1.005 -> 1 (1.005 is stored just
/// below the half). A negative value is rounded by its magnitude and keeps
/// its sign: -2.675 -> -2.68, -1.234 -> -1.23; -0.0 -> 0.
double roundToTwoDecimals(double value);

/// The share of count in n as a whole percent: floor((count / n + 0.005) * 100).
///   1 of 3 -> 33, 2 of 3 -> 67, 1 of 8 -> 13, 1 of 40 -> 3. n must be positive.
double wholePercent(std::int64_t count, std::int64_t n);

} // namespace stats
