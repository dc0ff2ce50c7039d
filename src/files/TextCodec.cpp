#include "files/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace files {

namespace {

constexpr const char *kShiftJisName = "windows-31j";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Converted a piece at a time, so that bytes which are no Shift JIS are given
// up on early and no UTF-16 copy of a whole file is ever held.
constexpr std::size_t kShiftJisPiece = 256 * 1024;

bool isAscii(std::string_view bytes)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0)
            return false;
    }
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ICU's windows-31j swaps three control codes the IBM way (byte 1A is U+001C,
// 1C is U+007F, 7F is U+001A); Windows maps bytes 00-7F to themselves, and so
// does this program, so that ASCII reads the same in every encoding. In UTF-8
// these three are single bytes and never part of another character.
void undoControlSwap(char *begin, char *end)
{
    for (char *c = begin; c != end; ++c) {
        if (*c == '\x1C')
            *c = '\x1A';
        else if (*c == '\x7F')
            *c = '\x1C';
        else if (*c == '\x1A')
            *c = '\x7F';
    }
}

// The text to give the encoder so that those three come out as themselves.
QString withControlSwap(const QString &text)
{
    const auto swappable = [](QChar c) {
        return c == QChar(0x1A) || c == QChar(0x1C) || c == QChar(0x7F);
    };
    if (std::none_of(text.begin(), text.end(), swappable))
        return text;
    QString swapped = text;
    for (QChar &c : swapped) {
        if (c == QChar(0x1A))
            c = QChar(0x1C);
        else if (c == QChar(0x1C))
            c = QChar(0x7F);
        else if (c == QChar(0x7F))
            c = QChar(0x1A);
    }
    return swapped;
}

bool isShiftJisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The converter drops a lead byte left without its second byte at the very
// end instead of reporting it, so the last line's byte structure is walked
// here. Earlier lines cannot end inside a character: CR and LF are never the
// second byte of one.
bool endsInsideShiftJisCharacter(std::string_view bytes)
{
    const std::size_t lastLineEnd = bytes.find_last_of("\r\n");
    std::size_t i = lastLineEnd == std::string_view::npos ? 0 : lastLineEnd + 1;
    while (i < bytes.size())
        i += isShiftJisLead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > bytes.size();
}

/// The bytes read as Shift JIS.
struct ShiftJisReading
{
    enum Outcome { Invalid, Implausible, Read } outcome = Invalid;
    std::string text; ///< in UTF-8; whole only when Read
};

// Reads the bytes as Shift JIS into UTF-8. With `stopWhenImplausible`, gives
// up at the first piece that is no plausible reading (and the rest is not
// read). Pieces end after a CR or LF, which always stands between characters
// and, being ASCII, ends any pattern isPlausibleReading looks for, so judging
// piece by piece gives the verdict on the whole.
ShiftJisReading readShiftJis(std::string_view bytes, bool stopWhenImplausible)
{
    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    std::string text;
    // Two-byte characters become three bytes of UTF-8, half-width katakana
    // three from one; kanji text needs half as much again.
    text.reserve(bytes.size() + bytes.size() / 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = std::min(bytes.size(), start + kShiftJisPiece);
        if (end < bytes.size()) {
            const std::size_t lineEnd = bytes.find_last_of("\r\n", end - 1);
            if (lineEnd != std::string_view::npos && lineEnd >= start)
                end = lineEnd + 1;
            else if (const std::size_t next = bytes.find_first_of("\r\n", end);
                     next != std::string_view::npos)
                end = next + 1;
            else
                end = bytes.size();
        }
        const QString piece =
            decoder.decode(QByteArrayView(bytes.data() + start, static_cast<qsizetype>(end - start)));
        if (decoder.hasError())
            return {};
        // Straight into the text: a UTF-16 unit takes at most three bytes.
        const std::size_t used = text.size();
        text.resize(used + 3 * static_cast<std::size_t>(piece.size()));
        char *written = encoder.appendToBuffer(text.data() + used, piece);
        undoControlSwap(text.data() + used, written);
        text.resize(static_cast<std::size_t>(written - text.data()));
        if (stopWhenImplausible && !isPlausibleReading(std::string_view(text).substr(used)))
            return {ShiftJisReading::Implausible, {}};
        start = end;
    }
    if (endsInsideShiftJisCharacter(bytes))
        return {};
    return {ShiftJisReading::Read, std::move(text)};
}

} // namespace

bool shiftJisAvailable()
{
    return QStringDecoder(kShiftJisName).isValid();
}

std::variant<DecodedText, DecodeProblem> decodeText(std::string bytes, const ChooseReading &choose)
{
    // Text that is read as UTF-8 is the bytes themselves: they are moved, not
    // copied, into the result.
    if (std::string_view(bytes).starts_with(kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        if (!isValidUtf8(bytes))
            return DecodeProblem::NotText;
        return DecodedText{std::move(bytes), TextEncoding::Utf8};
    }
    if (isAscii(bytes))
        return DecodedText{std::move(bytes), TextEncoding::ShiftJis};

    const bool utf8 = isValidUtf8(bytes);
    if (!shiftJisAvailable())
        return utf8 ? std::variant<DecodedText, DecodeProblem>(
                          DecodedText{std::move(bytes), TextEncoding::Utf8})
                    : DecodeProblem::NoShiftJis;
    if (!utf8) {
        ShiftJisReading shiftJis = readShiftJis(bytes, false);
        if (shiftJis.outcome != ShiftJisReading::Read)
            return DecodeProblem::NotText;
        return DecodedText{std::move(shiftJis.text), TextEncoding::ShiftJis};
    }

    // Valid UTF-8. Where a plausible UTF-8 reading wins over any implausible
    // Shift JIS one, the Shift JIS reading stops at its first implausible
    // piece: a UTF-8 file is then never converted whole a second time.
    const bool savedShape = hasSavedFileShape(bytes);
    const bool utf8Plausible = isPlausibleReading(bytes);
    ShiftJisReading shiftJis = readShiftJis(bytes, utf8Plausible && !savedShape);
    if (shiftJis.outcome != ShiftJisReading::Read)
        return DecodedText{std::move(bytes), TextEncoding::Utf8};

    TextEncoding encoding = TextEncoding::ShiftJis;
    switch (judgeReadings(utf8Plausible, isPlausibleReading(shiftJis.text), savedShape)) {
    case ReadingVerdict::Utf8:
        encoding = TextEncoding::Utf8;
        break;
    case ReadingVerdict::ShiftJis:
        break;
    case ReadingVerdict::Ask:
        if (choose) {
            const std::optional<AmbiguousReading> line = firstDifferingLine(bytes, shiftJis.text);
            const std::optional<TextEncoding> chosen = choose(line.value_or(AmbiguousReading{}));
            if (!chosen)
                return DecodeProblem::Cancelled;
            encoding = *chosen;
        }
        break;
    }
    if (encoding == TextEncoding::Utf8)
        return DecodedText{std::move(bytes), TextEncoding::Utf8};
    return DecodedText{std::move(shiftJis.text), TextEncoding::ShiftJis};
}

std::optional<QByteArray> encodeShiftJis(const QString &text)
{
    // A leading U+FEFF is a character of the item here, not a mark to drop.
    QStringEncoder encoder(kShiftJisName,
                           QStringEncoder::Flag::Stateless | QStringEncoder::Flag::ConvertInitialBom);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(withControlSwap(text));
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace files
