// The value-file reader over arbitrary bytes: decodeText, then the line rule.
//
// Checks, for every input:
//  - a text that is accepted holds no U+FFFD unless the input spelled one
//    (EF BF BD): nothing is ever garbled silently;
//  - the lines split by splitValueLines hold no CR and, put back together
//    with the line ends that separated them, give the whole text again, so
//    no character and no line is lost or invented;
//  - text that Vorla can write (encodeShiftJis succeeds) is accepted when
//    read back, and reads back unchanged whenever it is read as Shift JIS.

#include "FuzzCheck.h"

#include "files/TextCodec.h"
#include "files/ValueLines.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
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
        fuzz::check(line.find('\r') == std::string::npos, "a CR inside a line", line);
        fuzz::check(text.compare(at, line.size(), line) == 0, "a line is not the text", line);
        at += line.size();
        if (at == text.size()) {
            fuzz::check(i + 1 == lines.size(), "a line after the end", text);
            break;
        }
        fuzz::check(text[at] == '\r', "a line ends without CR", text);
        ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
    }
    fuzz::check(at == text.size(), "text left over after the last line", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto decoded = files::decodeText(bytes);
    if (!decoded)
        return 0;
    const bool inputSpellsReplacement = bytes.contains("\xEF\xBF\xBD");
    fuzz::check(inputSpellsReplacement || !decoded->text.contains(QChar(0xFFFD)),
                "U+FFFD in accepted text", bytes.toStdString());
    checkLines(decoded->text.toStdString());

    const auto written = files::encodeShiftJis(decoded->text);
    if (!written)
        return 0;
    const auto reread = files::decodeText(*written);
    fuzz::check(reread.has_value(), "written Shift JIS refused on reading", written->toStdString());
    if (reread->encoding == files::TextEncoding::ShiftJis)
        fuzz::check(reread->text == decoded->text, "Shift JIS round trip changed the text",
                    written->toStdString());
    return 0;
}
