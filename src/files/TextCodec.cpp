#include "files/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace files {

namespace {

constexpr const char *kShiftJisName = "windows-31j";

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes); // the conversion runs only here
    Q_UNUSED(text);
    return !decoder.hasError();
}

bool hasNonAscii(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// The converter drops a lead byte left without its second byte at the very
// end instead of reporting it, so the byte structure is walked here.
bool endsInsideShiftJisCharacter(const QByteArray &bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        i += lead ? 2 : 1;
    }
    return i > bytes.size();
}

} // namespace

bool shiftJisAvailable()
{
    return QStringDecoder(kShiftJisName).isValid();
}

std::optional<DecodedText> decodeText(const QByteArray &bytes)
{
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(kUtf8Bom)) {
        const QByteArray body = bytes.mid(kUtf8Bom.size());
        if (!isValidUtf8(body))
            return std::nullopt;
        return DecodedText{QString::fromUtf8(body), TextEncoding::Utf8};
    }
    if (hasNonAscii(bytes) && isValidUtf8(bytes))
        return DecodedText{QString::fromUtf8(bytes), TextEncoding::Utf8};

    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || endsInsideShiftJisCharacter(bytes))
        return std::nullopt;
    return DecodedText{std::move(text), TextEncoding::ShiftJis};
}

std::optional<QByteArray> encodeShiftJis(const QString &text)
{
    QStringEncoder encoder(kShiftJisName, QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace files
