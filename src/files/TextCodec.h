#pragma once

// Text file bytes to UTF-8 and back: the Shift JIS converter is Qt's (ICU), the
// choice between readings is files::judgeReadings.

#include "files/TextReading.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace files {

/// Asked when bytes read as both UTF-8 and Shift JIS and the rule cannot
/// tell which; shows the first line that differs. Returns the encoding to
/// read in, or nullopt to read nothing at all.
using ChooseReading = std::function<std::optional<TextEncoding>(const AmbiguousReading &)>;

/// Text read from bytes, as UTF-8.
struct DecodedText
{
    std::string text;
    TextEncoding encoding = TextEncoding::ShiftJis;
};

enum class DecodeProblem {
    NotText,    ///< valid neither as UTF-8 nor as Shift JIS
    NoShiftJis, ///< this Qt build has no Shift JIS converter
    Cancelled,  ///< the question was answered with "read nothing"
};

/// Reads file bytes as text:
///   - bytes that start with the UTF-8 byte-order mark are UTF-8 (the mark is
///     dropped), or refused when the rest is not valid UTF-8;
///   - ASCII bytes are the same text in both encodings;
///   - bytes valid in only one of UTF-8 and Shift JIS (Windows form,
///     windows-31j: 0x5C is the backslash) are read in that one;
///   - bytes valid in both are read by judgeReadings; where it cannot tell,
///     `choose` is asked, and without it Shift JIS is taken;
///   - bytes valid in neither are refused, so no garbled character ever
///     reaches the caller.
/// The Shift JIS reading is only made when UTF-8 does not settle the matter.
/// Bytes that are read as UTF-8 become the text without a copy.
std::variant<DecodedText, DecodeProblem> decodeText(std::string bytes,
                                                    const ChooseReading &choose = {});

/// Writes text as Windows Shift JIS. Returns nullopt when a character has no
/// Shift JIS form; no character is ever replaced by '?'.
std::optional<QByteArray> encodeShiftJis(const QString &text);

/// Whether this Qt build can convert Shift JIS at all (it needs ICU).
bool shiftJisAvailable();

} // namespace files
