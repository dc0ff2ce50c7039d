#include "files/TextCodec.h"

#include "files/ShiftJisBytes.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace files {

namespace {

constexpr const char *kShiftJisName = "windows-31j";

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

} // namespace

bool shiftJisAvailable()
{
    return QStringDecoder(kShiftJisName).isValid();
}

std::optional<std::string> shiftJisToUtf8(std::string_view bytes)
{
    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError() || endsInsideShiftJisCharacter(bytes))
        return std::nullopt;
    // Straight into the result: a UTF-16 unit takes at most three bytes.
    std::string utf8(3 * static_cast<std::size_t>(text.size()), '\0');
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    char *const end = encoder.appendToBuffer(utf8.data(), text);
    undoControlSwap(utf8.data(), end);
    utf8.resize(static_cast<std::size_t>(end - utf8.data()));
    return utf8;
}

std::variant<DecodedText, DecodeProblem> decodeText(std::string bytes, const ChooseReading &choose)
{
    if (!shiftJisAvailable())
        return readAsText(std::move(bytes), {}, choose);
    return readAsText(std::move(bytes), shiftJisToUtf8, choose);
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
