#pragma once

// Which reading of a file's bytes to believe, when they read as text both as
// UTF-8 and as Shift JIS. The two readings come in as UTF-8 strings; no Qt.
//
// A Shift JIS file of half-width katakana only ("ﾏｲﾅｽ" is CF B2 C5 BD) is often
// valid UTF-8 too ("ϲŽ"), and UTF-8 text sometimes passes as Shift JIS
// ("温度" is E6 B8 A9 E5 BA A6, which Shift JIS reads "貂ｩ蠎ｦ"). Neither
// encoding may simply win: the reading that looks like a Japanese value list
// is taken, and when both or neither do, the user is asked.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace files {

/// How the bytes of a text file were read.
enum class TextEncoding { Utf8, ShiftJis };

/// Strict UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above
/// U+10FFFF, no sequence cut short at the end.
///   "表" (E8 A1 A8) -> true;  C0 AF -> false;  ED A0 80 -> false;  E8 A1 -> false
bool isValidUtf8(std::string_view bytes);

/// Whether a reading (UTF-8) looks like the text of a Japanese value list.
/// Every character must be one of:
///   - ASCII;
///   - hiragana, katakana, CJK ideographs, CJK punctuation (U+3000-303F),
///     full-width forms (U+FF01-FF60, U+FFE0-FFE6), half-width katakana;
///   - the Japanese punctuation that Unicode keeps elsewhere (― ‐ ‘ ’ “ ” … ‥ ※);
///   - a sign of measurement: ° ± ² ³ µ · × ÷ σ μ Ω Ω ℃ ℉ Å ‰ ′ ″ − and the
///     squared unit signs (㍉ ㌔ ㎜ ㎏ ...; not the era names ㍻ ㍼ ...).
/// Latin-1 and other Latin letters, Greek and Cyrillic letters, box drawing,
/// control and private-use characters are not: they are what one encoding
/// makes of the other. Two patterns of half-width katakana are not either,
/// being what Shift JIS makes of UTF-8:
///   - a single half-width katakana next to a full-width character
///     ("貂ｩ蠎ｦ": each kanji of "温度" split into a kanji and a stray kana);
///   - half-width katakana right before an ASCII digit ("ﾂｱ0.1" from "±0.1";
///     katakana units follow a number, they do not lead it).
///   "12.5°C" -> true;  "ﾏｲﾅｽ" -> true;  "ϲŽ" -> false;  "ﾂｱ0.1" -> false
bool isPlausibleReading(std::string_view text);

/// Whether the bytes have exactly the shape the save command writes: each
/// line a non-empty text ended by CR LF, then one empty line (CR LF). An
/// empty list gives just CR LF. A lone CR or LF is no part of that shape: the
/// save command's items never hold one.
///   "1\r\n2\r\n\r\n" -> true;  "\r\n" -> true;  "1\r\n" -> false;  "1\r\n\r\n\r\n" -> false
///   "1\n2\r\n\r\n" -> false
bool hasSavedFileShape(std::string_view bytes);

/// What to make of bytes that read as both encodings, differently.
enum class ReadingVerdict { Utf8, ShiftJis, Ask };

/// The rule over the two readings of the same bytes, given whether each is
/// plausible (isPlausibleReading) and whether the bytes have the saved shape:
///   - only the UTF-8 reading plausible: UTF-8, unless the bytes have the
///     saved shape (this program writes Shift JIS only, so then it asks);
///   - only the Shift JIS reading plausible: Shift JIS;
///   - both or neither: Ask. Two plausible readings are never chosen between
///     silently.
/// So a file the save command wrote is read as Shift JIS or asked about, and
/// read as Shift JIS whenever the question is answered with its default.
ReadingVerdict judgeReadings(bool utf8Plausible, bool shiftJisPlausible, bool savedFileShape);

/// The line the question shows: the first line (by the value files' line rule)
/// where the two readings differ.
struct AmbiguousReading
{
    std::size_t lineNumber = 0; ///< 1-based, counting every line (empty ones too)
    std::string asUtf8;         ///< that line read as UTF-8
    std::string asShiftJis;     ///< that line read as Shift JIS, in UTF-8
};

/// The first line where two readings of the same bytes differ; nullopt when
/// they are the same text. Both readings have their line ends at the same
/// places, since CR and LF are never part of a character in either encoding.
std::optional<AmbiguousReading> firstDifferingLine(std::string_view asUtf8,
                                                   std::string_view asShiftJis);

} // namespace files
