#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace files {

/// How the bytes of a text file were read.
enum class TextEncoding { Utf8, ShiftJis };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::ShiftJis;
};

/// Reads file bytes as text. UTF-8 comes first: bytes that start with the
/// UTF-8 byte-order mark (which is dropped), or that are valid UTF-8 and hold
/// some non-ASCII byte, are UTF-8. Shift JIS Japanese text is almost never
/// valid UTF-8, while UTF-8 Japanese text often passes as Shift JIS, so the
/// order matters. Everything else is read as Shift JIS in its Windows form
/// (windows-31j: 0x5C is the backslash). Bytes valid in neither give nullopt,
/// so no garbled character ever reaches the caller.
std::optional<DecodedText> decodeText(const QByteArray &bytes);

/// Writes text as Windows Shift JIS. Returns nullopt when a character has no
/// Shift JIS form; no character is ever replaced by '?'.
std::optional<QByteArray> encodeShiftJis(const QString &text);

/// Whether this Qt build can convert Shift JIS at all (it needs ICU).
bool shiftJisAvailable();

} // namespace files
