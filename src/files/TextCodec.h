#pragma once

// Shift JIS bytes to UTF-8 and text back to Shift JIS, through Qt's (ICU)
// converter, or on Windows through the system's code page 932 (Qt for
// Windows has no ICU; TextCodecWindows.cpp). Both give the same bytes, but
// for U+F86F, a second private-use form of № that only ICU writes (87 82).
// Which encoding a file is read in is decided in TextReading.h.

#include "files/TextReading.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace files {

/// Shift JIS bytes (Windows form, windows-31j: 0x5C is the backslash) as
/// UTF-8; nullopt when they are no Shift JIS, this Qt build has no
/// converter, or they end inside a two-byte character. Bytes 00-7F read as
/// themselves, as in ASCII.
std::optional<std::string> shiftJisToUtf8(std::string_view bytes);

/// Reads file bytes as text by files::readAsText with Qt's Shift JIS
/// converter; without a converter in this Qt build, bytes that need it are
/// refused as NoShiftJis.
std::variant<DecodedText, DecodeProblem> decodeText(std::string bytes,
                                                    const ChooseReading &choose = {});

/// Writes text as Windows Shift JIS. Returns nullopt when a character has no
/// Shift JIS form; no character is ever replaced by '?'.
std::optional<QByteArray> encodeShiftJis(const QString &text);

/// Whether Shift JIS can be converted at all (Qt needs ICU for it; Windows
/// has code page 932).
bool shiftJisAvailable();

} // namespace files
