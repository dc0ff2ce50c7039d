// The value-file reader over arbitrary bytes: decodeText, then the line rule.
//
// Checks, for every input:
//  - a text that is accepted holds no U+FFFD unless the input spelled one
//    (EF BF BD): nothing is ever garbled silently; without a byte-order mark
//    and valid as UTF-8, it is either the bytes themselves or their Shift JIS
//    reading, never anything else;
//  - files::isValidUtf8 agrees with the fuzz targets' own UTF-8 check;
//  - a question comes only for bytes valid in both encodings, and the answer
//    is obeyed: choosing UTF-8 gives the bytes themselves;
//  - the lines split by splitValueLines hold no CR or LF and, put back together
//    with the line ends that separated them, give the whole text again, so
//    no character and no line is lost or invented;
//  - the non-empty lines of an accepted text that Shift JIS can write, saved
//    as the save command saves them, read back as the same items with every
//    question answered by its default: a saved list always comes back.

#include "FuzzCheck.h"

#include "files/TextCodec.h"
#include "files/ValueFile.h"
#include "files/ValueLines.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

void checkLines(const std::string &text)
{
    const std::vector<std::string> lines = files::splitValueLines(text);
    fuzz::check(text.empty() == lines.empty(), "lines of a text", text);
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        fuzz::check(line.find_first_of("\r\n") == std::string::npos, "a CR or LF inside a line",
                    line);
        fuzz::check(text.compare(at, line.size(), line) == 0, "a line is not the text", line);
        at += line.size();
        if (at == text.size()) {
            fuzz::check(i + 1 == lines.size(), "a line after the end", text);
            break;
        }
        fuzz::check(text[at] == '\r' || text[at] == '\n', "a line ends without CR or LF", text);
        ++at;
        if (text[at - 1] == '\r' && at < text.size() && text[at] == '\n')
            ++at;
    }
    fuzz::check(at == text.size(), "text left over after the last line", text);
}

void checkSavedListComesBack(const std::string &text)
{
    std::vector<std::string> items, saved;
    std::size_t position = 0;
    while (const auto line = files::nextValueLine(text, position)) {
        if (line->empty())
            continue;
        // QString::fromUtf8 would drop a U+FEFF that starts the line.
        QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless
                                                         | QStringDecoder::Flag::ConvertInitialBom);
        const auto bytes = files::encodeShiftJis(
            toUtf16.decode(QByteArrayView(line->data(), qsizetype(line->size()))));
        if (!bytes)
            return; // a list that cannot be saved
        items.emplace_back(*line);
        saved.push_back(bytes->toStdString());
    }
    const std::string file = files::composeValueFile(saved);
    const auto reread = files::decodeText(file);
    fuzz::check(std::holds_alternative<files::DecodedText>(reread), "a saved list refused", file);
    const auto read = files::itemsToAppend(std::get<files::DecodedText>(reread).text, items.size(),
                                           std::string::npos);
    fuzz::check(read.tooLongLine == 0 && read.items == items, "a saved list came back changed",
                file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    bool asked = false;
    const auto decoded = files::decodeText(bytes, [&](const files::AmbiguousReading &) {
        asked = true;
        return std::optional(files::TextEncoding::Utf8);
    });
    const bool utf8 = files::isValidUtf8(bytes);
    fuzz::check(utf8 == fuzz::isValidUtf8(bytes), "two UTF-8 checks disagree", bytes);
    fuzz::check(!asked || utf8, "a question about bytes that are no UTF-8", bytes);
    if (!std::holds_alternative<files::DecodedText>(decoded))
        return 0;
    const files::DecodedText &text = std::get<files::DecodedText>(decoded);
    if (asked)
        fuzz::check(text.encoding == files::TextEncoding::Utf8 && text.text == bytes,
                    "the answer UTF-8 not obeyed", bytes);
    const bool inputSpellsReplacement = bytes.find("\xEF\xBF\xBD") != std::string::npos;
    fuzz::check(inputSpellsReplacement || text.text.find("\xEF\xBF\xBD") == std::string::npos,
                "U+FFFD in accepted text", bytes);
    if (text.encoding == files::TextEncoding::Utf8 && !bytes.starts_with("\xEF\xBB\xBF"))
        fuzz::check(text.text == bytes, "UTF-8 text is not the bytes", bytes);
    checkLines(text.text);
    checkSavedListComesBack(text.text);
    return 0;
}
