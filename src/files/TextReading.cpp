#include "files/TextReading.h"

#include "files/ValueLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace files {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Shift JIS is converted a piece at a time, so that bytes which are no
// Shift JIS are given up on early and no second copy of a whole file is held.
constexpr std::size_t kShiftJisPiece = 256 * 1024;

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Where the run of ASCII bytes from `i` ends, eight bytes at a time: most
// value files are all digits.
std::size_t asciiRunEnd(std::string_view bytes, std::size_t i)
{
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0)
            break;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

// The length of the strict UTF-8 sequence that starts with the non-ASCII
// byte at `i`; 0 when none does.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i)
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : low;   // overlong below
        high = b == 0xED ? 0x9F : high; // surrogates above
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : low;   // overlong below
        high = b == 0xF4 ? 0x8F : high; // beyond U+10FFFF above
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
            return 0;
    return length;
}

// The code point that starts at `i` of valid UTF-8; moves `i` past it.
char32_t nextCodePoint(std::string_view text, std::size_t &i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = b & (0xFF >> (length + 1));
    for (int k = 1; k < length && i + k < text.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    return c;
}

bool isHalfWidthKatakana(char32_t c)
{
    return c >= 0xFF61 && c <= 0xFF9F;
}

bool isMeasurementSign(char32_t c)
{
    switch (c) {
    case 0x00B0: // °
    case 0x00B1: // ±
    case 0x00B2: // ²
    case 0x00B3: // ³
    case 0x00B5: // µ
    case 0x00B7: // ·
    case 0x00D7: // ×
    case 0x00F7: // ÷
    case 0x03A9: // Ω (Shift JIS has only the Greek letter)
    case 0x03BC: // μ (likewise)
    case 0x03C3: // σ
    case 0x2030: // ‰
    case 0x2032: // ′
    case 0x2033: // ″
    case 0x2103: // ℃
    case 0x2109: // ℉
    case 0x2126: // Ω
    case 0x212B: // Å
    case 0x2212: // −
        return true;
    default:
        // Squared unit signs: katakana units (㍉ ㌔ ...) and Latin ones
        // (㎜ ㎏ ...), but not the era names ㍻-㍿ between them.
        return (c >= 0x3300 && c <= 0x3357) || (c >= 0x3371 && c <= 0x337A)
               || (c >= 0x3380 && c <= 0x33DF);
    }
}

bool isJapanese(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF)     // CJK punctuation, hiragana, katakana
           || (c >= 0x3400 && c <= 0x4DBF)  // CJK extension A
           || (c >= 0x4E00 && c <= 0x9FFF)  // CJK ideographs
           || (c >= 0xF900 && c <= 0xFAFF)  // CJK compatibility ideographs
           || (c >= 0xFF01 && c <= 0xFF60)  // full-width forms
           || (c >= 0xFFE0 && c <= 0xFFE6)  // full-width signs
           || isHalfWidthKatakana(c)
           || (c >= 0x2010 && c <= 0x2015)  // dashes
           || (c >= 0x2018 && c <= 0x201D)  // quotation marks
           || c == 0x2025 || c == 0x2026    // ‥ …
           || c == 0x203B;                  // ※
}

bool isPlausibleCharacter(char32_t c)
{
    return c < 0x80 || isJapanese(c) || isMeasurementSign(c);
}

bool isFullWidth(char32_t c)
{
    return c >= 0x80 && !isHalfWidthKatakana(c);
}

bool isAsciiDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

// Where the Shift JIS piece that starts at `start` ends: after the last line
// end within kShiftJisPiece bytes, or after the first one beyond when a line
// is longer; at the end of the bytes when no line end follows.
std::size_t shiftJisPieceEnd(std::string_view bytes, std::size_t start)
{
    const std::size_t end = std::min(bytes.size(), start + kShiftJisPiece);
    if (end == bytes.size())
        return end;
    const std::size_t lineEnd = bytes.find_last_of("\r\n", end - 1);
    if (lineEnd != std::string_view::npos && lineEnd >= start)
        return lineEnd + 1;
    const std::size_t next = bytes.find_first_of("\r\n", end);
    return next == std::string_view::npos ? bytes.size() : next + 1;
}

// The bytes read as Shift JIS; nullopt when they are none or, with
// `stopWhenImplausible`, at the first piece that is no plausible reading.
// A piece ends after a CR or LF, which always stands between characters and,
// being ASCII, ends any pattern isPlausibleReading looks for, so judging piece
// by piece gives the verdict on the whole.
std::optional<std::string> shiftJisReading(std::string_view bytes,
                                           const ShiftJisToUtf8 &fromShiftJis,
                                           bool stopWhenImplausible)
{
    std::string text;
    // Two-byte characters become three bytes of UTF-8, half-width katakana
    // three from one; kanji text needs half as much again.
    text.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = shiftJisPieceEnd(bytes, start);
        const std::optional<std::string> piece = fromShiftJis(bytes.substr(start, end - start));
        if (!piece || (stopWhenImplausible && !isPlausibleReading(*piece)))
            return std::nullopt;
        text += *piece;
        start = end;
    }
    return text;
}

// Bytes valid as UTF-8 and maybe as Shift JIS too: the rule of judgeReadings,
// and the question where it cannot tell. Where a plausible UTF-8 reading wins
// over any implausible Shift JIS one, the Shift JIS reading stops at its
// first implausible piece: a UTF-8 file is never converted whole a second time.
std::variant<DecodedText, DecodeProblem> judgeBothReadings(std::string bytes,
                                                           const ShiftJisToUtf8 &fromShiftJis,
                                                           const ChooseReading &choose)
{
    const bool savedShape = hasSavedFileShape(bytes);
    const bool utf8Plausible = isPlausibleReading(bytes);
    std::optional<std::string> shiftJis =
        shiftJisReading(bytes, fromShiftJis, utf8Plausible && !savedShape);
    if (!shiftJis)
        return DecodedText{std::move(bytes), TextEncoding::Utf8};
    TextEncoding encoding = TextEncoding::ShiftJis;
    switch (judgeReadings(utf8Plausible, isPlausibleReading(*shiftJis), savedShape)) {
    case ReadingVerdict::Utf8:
        encoding = TextEncoding::Utf8;
        break;
    case ReadingVerdict::ShiftJis:
        break;
    case ReadingVerdict::Ask:
        if (choose) {
            const std::optional<TextEncoding> chosen =
                choose(firstDifferingLine(bytes, *shiftJis).value_or(AmbiguousReading{}));
            if (!chosen)
                return DecodeProblem::Cancelled;
            encoding = *chosen;
        }
        break;
    }
    if (encoding == TextEncoding::Utf8)
        return DecodedText{std::move(bytes), TextEncoding::Utf8};
    return DecodedText{std::move(*shiftJis), TextEncoding::ShiftJis};
}

} // namespace

bool isAscii(std::string_view bytes)
{
    return asciiRunEnd(bytes, 0) == bytes.size();
}

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while ((i = asciiRunEnd(bytes, i)) < bytes.size()) {
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool isPlausibleReading(std::string_view text)
{
    // Walks the characters once, keeping the run of half-width katakana that
    // ends at the current character and what stood before that run.
    std::size_t runLength = 0;
    bool fullWidthBeforeRun = false;
    char32_t previous = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = nextCodePoint(text, i);
        if (c >= 0x80 && !isPlausibleCharacter(c))
            return false;
        if (isHalfWidthKatakana(c)) {
            if (runLength == 0)
                fullWidthBeforeRun = isFullWidth(previous);
            ++runLength;
        } else if (runLength > 0) {
            if (runLength == 1 && (fullWidthBeforeRun || isFullWidth(c)))
                return false;
            if (isAsciiDigit(c))
                return false;
            runLength = 0;
        }
        previous = c;
    }
    return !(runLength == 1 && fullWidthBeforeRun);
}

bool hasSavedFileShape(std::string_view bytes)
{
    constexpr std::string_view kLineEnd = "\r\n";
    if (!bytes.ends_with(kLineEnd))
        return false;
    std::string_view body = bytes.substr(0, bytes.size() - kLineEnd.size());
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find_first_of("\r\n", start);
        if (end == std::string_view::npos || end == start || body[end] != '\r'
            || end + 1 >= body.size() || body[end + 1] != '\n')
            return false; // a last line without CR LF, an empty line, a lone CR or LF
        start = end + kLineEnd.size();
    }
    return true;
}

ReadingVerdict judgeReadings(bool utf8Plausible, bool shiftJisPlausible, bool savedFileShape)
{
    if (utf8Plausible && !shiftJisPlausible)
        return savedFileShape ? ReadingVerdict::Ask : ReadingVerdict::Utf8;
    if (shiftJisPlausible && !utf8Plausible)
        return ReadingVerdict::ShiftJis;
    return ReadingVerdict::Ask;
}

std::optional<AmbiguousReading> firstDifferingLine(std::string_view asUtf8,
                                                   std::string_view asShiftJis)
{
    std::size_t utf8At = 0, shiftJisAt = 0;
    std::size_t lineNumber = 0;
    for (;;) {
        const auto utf8Line = nextValueLine(asUtf8, utf8At);
        const auto shiftJisLine = nextValueLine(asShiftJis, shiftJisAt);
        if (!utf8Line && !shiftJisLine)
            return std::nullopt;
        ++lineNumber;
        if (utf8Line != shiftJisLine)
            return AmbiguousReading{lineNumber, std::string(utf8Line.value_or("")),
                                    std::string(shiftJisLine.value_or(""))};
    }
}

std::variant<DecodedText, DecodeProblem> readAsText(std::string bytes,
                                                    const ShiftJisToUtf8 &fromShiftJis,
                                                    const ChooseReading &choose)
{
    if (std::string_view(bytes).starts_with(kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        if (!isValidUtf8(bytes))
            return DecodeProblem::NotText;
        return DecodedText{std::move(bytes), TextEncoding::Utf8};
    }
    if (isAscii(bytes))
        return DecodedText{std::move(bytes), TextEncoding::ShiftJis};
    if (isValidUtf8(bytes)) {
        if (!fromShiftJis)
            return DecodedText{std::move(bytes), TextEncoding::Utf8};
        return judgeBothReadings(std::move(bytes), fromShiftJis, choose);
    }
    if (!fromShiftJis)
        return DecodeProblem::NoShiftJis;
    std::optional<std::string> shiftJis = shiftJisReading(bytes, fromShiftJis, false);
    if (!shiftJis)
        return DecodeProblem::NotText;
    return DecodedText{std::move(*shiftJis), TextEncoding::ShiftJis};
}

} // namespace files
