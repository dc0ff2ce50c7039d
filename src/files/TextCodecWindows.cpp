#include "files/TextCodec.h"

#include "files/ShiftJisBytes.h"

// Windows has no ICU in this program's Qt; Shift JIS goes through the code
// page 932 conversions of Windows itself, strictly: an invalid byte or a
// character without a Shift JIS form fails the whole text, never turning into
// '?' or into a look-alike.

#include <windows.h>

#include <algorithm>
#include <climits>

namespace files {

namespace {

constexpr UINT kShiftJisCodePage = 932;

// Code page 932 gives four bytes that are no Shift JIS a meaning of their own
// (0x80 as U+0080; 0xA0, 0xFD, 0xFE, 0xFF as private-use U+F8F0-U+F8F3).
// Files holding them cannot be read anywhere else, so they are refused both
// ways, as on every other system.
bool isWindowsOnlyCharacter(wchar_t c)
{
    return c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3);
}

// The end of a piece of at most `limit` bytes from `from` that cuts no
// two-byte character in half.
std::size_t pieceEnd(std::string_view bytes, std::size_t from, std::size_t limit)
{
    const std::size_t last = std::min(bytes.size(), from + limit);
    std::size_t i = from;
    while (i < last) {
        const std::size_t width = isShiftJisLead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + width > last)
            break;
        i += width;
    }
    // A lead byte alone at the very end belongs to the last piece, which
    // then fails as it should.
    return i == from ? last : i;
}

// One piece of Shift JIS as UTF-16, appended; false when it is no Shift JIS.
bool appendDecoded(std::string_view piece, std::wstring &out)
{
    const int inLength = static_cast<int>(piece.size());
    const int needed = MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, piece.data(),
                                           inLength, nullptr, 0);
    if (needed <= 0)
        return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(needed));
    const int written = MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, piece.data(),
                                            inLength, out.data() + start, needed);
    if (written != needed)
        return false;
    return std::none_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
                        isWindowsOnlyCharacter);
}

} // namespace

bool shiftJisAvailable()
{
    return IsValidCodePage(kShiftJisCodePage) != 0;
}

std::optional<std::string> shiftJisToUtf8(std::string_view bytes)
{
    if (endsInsideShiftJisCharacter(bytes))
        return std::nullopt;
    // The conversion counts in int; large texts go in pieces.
    constexpr std::size_t kPiece = 1 << 20;
    std::wstring wide;
    wide.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = pieceEnd(bytes, at, kPiece);
        if (!appendDecoded(bytes.substr(at, end - at), wide))
            return std::nullopt;
        at = end;
    }
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return QString::fromWCharArray(wide.data(), static_cast<qsizetype>(wide.size())).toStdString();
}

std::variant<DecodedText, DecodeProblem> decodeText(std::string bytes, const ChooseReading &choose)
{
    if (!shiftJisAvailable())
        return readAsText(std::move(bytes), {}, choose);
    return readAsText(std::move(bytes), shiftJisToUtf8, choose);
}

std::optional<QByteArray> encodeShiftJis(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    if (text.size() > INT_MAX / 2
        || std::any_of(text.begin(), text.end(),
                       [](QChar c) { return isWindowsOnlyCharacter(wchar_t(c.unicode())); }))
        return std::nullopt;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int inLength = static_cast<int>(text.size());
    // No best fit: U+2212 does not become a full-width hyphen-minus, nor ¥ a
    // backslash. A character without a form sets usedDefault.
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, inLength,
                                           nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return std::nullopt;
    QByteArray bytes(needed, Qt::Uninitialized);
    usedDefault = FALSE;
    const int written = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, inLength,
                                            bytes.data(), needed, nullptr, &usedDefault);
    if (written != needed || usedDefault)
        return std::nullopt;
    return bytes;
}

} // namespace files
