#pragma once

// Which encoding a file's bytes are read in: UTF-8 validity, the plausibility
// of each reading, the saved file's shape, the verdict and the line the
// question shows are all decided here. Converting Shift JIS is not: that is
// Qt's (TextCodec.h), handed in as a function, so this stays free of Qt.
//
// A Shift JIS file of half-width katakana only ("ﾏｲﾅｽ" is CF B2 C5 BD) is often
// valid UTF-8 too ("ϲŽ"), and UTF-8 text sometimes passes as Shift JIS
// ("温度" is E6 B8 A9 E5 BA A6, which Shift JIS reads "貂ｩ蠎ｦ"). Neither
// encoding may simply win: the reading that looks like a Japanese value list
// is taken, and when both or neither do, the user is asked.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace files {

/// How the bytes of a text file were read.
enum class TextEncoding { Utf8, ShiftJis };

/// Whether every byte is ASCII (below 0x80): such bytes are the same text
/// in both encodings.
bool isAscii(std::string_view bytes);

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

/// Asked when bytes read as both UTF-8 and Shift JIS and the rule cannot
/// tell which; shows the first line that differs. Returns the encoding to
/// read in, or nullopt to read nothing at all.
using ChooseReading = std::function<std::optional<TextEncoding>(const AmbiguousReading &)>;

/// Shift JIS bytes as UTF-8, or nullopt when they are no Shift JIS. Given
/// pieces that end after a line end, or the text's last piece.
using ShiftJisToUtf8 = std::function<std::optional<std::string>(std::string_view)>;

/// Text read from bytes, as UTF-8.
struct DecodedText
{
    std::string text;
    TextEncoding encoding = TextEncoding::ShiftJis;
};

enum class DecodeProblem {
    NotText,    ///< valid neither as UTF-8 nor as Shift JIS
    NoShiftJis, ///< no Shift JIS converter was given
    Cancelled,  ///< the question was answered with "read nothing"
};

/// Reads file bytes as text:
///   - bytes that start with the UTF-8 byte-order mark are UTF-8 (the mark is
///     dropped), or refused when the rest is not valid UTF-8;
///   - ASCII bytes are the same text in both encodings;
///   - bytes valid in only one of UTF-8 and Shift JIS are read in that one;
///   - bytes valid in both are read by judgeReadings; where it cannot tell,
///     `choose` is asked, and without it Shift JIS is taken;
///   - bytes valid in neither are refused, so no garbled character ever
///     reaches the caller.
/// `fromShiftJis` converts; without it only UTF-8 and ASCII are read. The
/// Shift JIS reading is made only when UTF-8 does not settle the matter, a
/// piece at a time, and given up at its first implausible piece where that
/// already decides for UTF-8. Bytes read as UTF-8 become the text without a
/// copy.
std::variant<DecodedText, DecodeProblem> readAsText(std::string bytes,
                                                    const ShiftJisToUtf8 &fromShiftJis,
                                                    const ChooseReading &choose = {});

} // namespace files
