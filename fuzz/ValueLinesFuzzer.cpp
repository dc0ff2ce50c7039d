// Value files with any mix of CR, LF and CR LF, in any encoding, through the
// steps the open command and `vorla --stats` read them with: decodeText, the
// line rule, itemsToAppend; and, for a quarter of the inputs, the whole of
// files::readValueFile on a file on disk.
//
// The first byte steers the run, the rest are the file's bytes:
//   bits 0-1  0: read the bytes from a file as well;
//   bit 2     the answer to the encoding question (UTF-8 or Shift JIS);
//   bits 3-7  the room left in the list (31: a whole list's 32,767), and a
//             small line-length limit (its value mod 8, plus 1).
//
// Checks, for every input:
//  - the lines hold no CR or LF, and put back with the line end that followed
//    each (CR LF, LF or CR; none only after the last) give the text again;
//  - they are the lines of a plain reference that walks the text one
//    character at a time;
//  - itemsToAppend keeps the reference's non-empty lines, never more than the
//    room, counts the rest as left out, and refuses the text at the first
//    line (by number, every line counted) longer than the limit;
//  - readValueFile refuses a file exactly when the bytes hold a NUL or cannot
//    be decoded, and otherwise gives the same items as the steps above; a
//    table (files::detectColumns) gives its preselected column's values with
//    their lines, or is refused at the first value holding a tab or line
//    break: no item read from a file holds CR, LF or tab.

#include "FuzzCheck.h"

#include "files/Columns.h"
#include "files/TextCodec.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "files/ValueLines.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {

constexpr std::size_t kListRoom = 32767;

// The text's lines, character by character.
std::vector<std::string> referenceLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false; // characters since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

std::size_t characters(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

void checkLineWalk(std::string_view text)
{
    std::string rebuilt;
    std::size_t position = 0;
    while (const auto line = files::nextValueLine(text, position)) {
        fuzz::check(line->find_first_of("\r\n") == std::string_view::npos,
                    "a CR or LF inside a line", *line);
        const std::size_t lineEnd = static_cast<std::size_t>(line->data() - text.data()) + line->size();
        fuzz::check(position >= lineEnd && position <= text.size(), "the position went astray", text);
        const std::string_view end = text.substr(lineEnd, position - lineEnd);
        fuzz::check(end == "\r\n" || end == "\r" || end == "\n" || (end.empty() && position == text.size()),
                    "a line ended by something other than CR LF, LF or CR", text);
        // CR then LF is one line end, never a CR line end followed by an empty line.
        fuzz::check(end != "\r" || position == text.size() || text[position] != '\n',
                    "CR LF split into two line ends", text);
        rebuilt.append(*line).append(end);
    }
    fuzz::check(rebuilt == text, "the lines and their ends are not the text", text);
}

void checkItems(const std::string &text, const std::vector<std::string> &lines, std::size_t room,
                std::size_t limit)
{
    files::ItemsToAppend expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (characters(lines[i]) > limit) {
            expected = files::ItemsToAppend{{}, 0, i + 1, {}};
            break;
        }
        if (lines[i].empty())
            continue;
        if (expected.items.size() < room) {
            expected.items.push_back(lines[i]);
            expected.lineNumbers.push_back(i + 1);
        } else
            ++expected.leftOut;
    }
    const files::ItemsToAppend read = files::itemsToAppend(text, room, limit);
    fuzz::check(read.items.size() <= room, "more items than the room", text);
    fuzz::check(read.tooLongLine == expected.tooLongLine, "a different too-long line", text);
    fuzz::check(read.items == expected.items, "different items", text);
    fuzz::check(read.leftOut == expected.leftOut, "a different count left out", text);
    fuzz::check(read.lineNumbers == expected.lineNumbers, "different line numbers", text);
}

// A file name of this process's own; in memory where the system offers a
// tmpfs, since a disk's truncate and close would take most of the run's time.
// Each run removes its file again (libFuzzer ends without exit handlers).
const std::string &scratchFile()
{
    static const std::string path = [] {
        const char *folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/vorla-fuzz-value-lines-" + std::to_string(getpid())
               + ".txt";
    }();
    return path;
}

// A table file without a question reads its preselected column, unless a
// value of that column holds a tab or line break: then it is refused at that
// value's line, so no item read from a file holds one.
void checkTableRead(const std::string &bytes, const files::DecodedText &text,
                    const files::ColumnLayout &layout, std::size_t room,
                    const std::variant<files::ValueFileItems, files::ReadFailure> &read)
{
    std::vector<std::size_t> rows;
    std::vector<std::string> values =
        files::columnValues(text.text, layout, layout.preselected, &rows);
    const std::vector<std::string> lines = files::splitValueLines(text.text);
    std::vector<std::size_t> rowLines; // the non-empty lines' numbers, from 1
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty())
            rowLines.push_back(i + 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].find_first_of("\t\r\n") == std::string::npos)
            continue;
        const auto *failure = std::get_if<files::ReadFailure>(&read);
        fuzz::check(failure != nullptr && failure->problem == files::ReadProblem::BreakInValue
                        && failure->line == rowLines.at(rows[i]),
                    "a value with a tab or line break not refused at its line", bytes);
        return;
    }
    fuzz::check(std::holds_alternative<files::ValueFileItems>(read), "a readable table refused",
                bytes);
    const auto &items = std::get<files::ValueFileItems>(read);
    const std::size_t kept = std::min(room, values.size());
    std::vector<std::size_t> keptLines;
    for (std::size_t i = 0; i < kept; ++i)
        keptLines.push_back(rowLines.at(rows[i]));
    values.resize(kept);
    fuzz::check(items.items == values && items.leftOut == rows.size() - kept
                    && items.column == layout.preselected + 1 && items.columns == layout.columns
                    && items.lineNumbers == keptLines,
                "the table gives other items than its preselected column", bytes);
    for (const std::string &item : items.items)
        fuzz::check(item.find_first_of("\t\r\n") == std::string::npos,
                    "an item read from a file holds a tab or line break", item);
}

void checkFileRead(const std::string &bytes, std::size_t room, files::TextEncoding answer,
                   const std::variant<files::DecodedText, files::DecodeProblem> &decoded)
{
    FILE *file = std::fopen(scratchFile().c_str(), "wb");
    fuzz::check(file != nullptr, "cannot write the scratch file");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    fuzz::check(std::fclose(file) == 0 && written, "cannot write the scratch file");

    const auto read = files::readValueFile(QString::fromStdString(scratchFile()), room,
                                           [answer](const files::AmbiguousReading &) {
                                               return std::optional(answer);
                                           });
    std::remove(scratchFile().c_str());
    if (bytes.find('\0') != std::string::npos) {
        fuzz::check(std::holds_alternative<files::ReadFailure>(read)
                        && std::get<files::ReadFailure>(read).problem == files::ReadProblem::Binary,
                    "a file with NUL not refused as binary", bytes);
        return;
    }
    if (!std::holds_alternative<files::DecodedText>(decoded)) {
        fuzz::check(std::holds_alternative<files::ReadFailure>(read),
                    "an undecodable file was read", bytes);
        return;
    }
    const auto &text = std::get<files::DecodedText>(decoded);
    const files::ItemsToAppend expected = files::itemsToAppend(text.text, room);
    if (expected.tooLongLine != 0) {
        fuzz::check(std::holds_alternative<files::ReadFailure>(read)
                        && std::get<files::ReadFailure>(read).line == expected.tooLongLine,
                    "a too-long line not refused at its number", bytes);
        return;
    }
    const std::optional<files::ColumnLayout> layout = files::detectColumns(text.text);
    if (layout) {
        checkTableRead(bytes, text, *layout, room, read);
        return;
    }
    fuzz::check(std::holds_alternative<files::ValueFileItems>(read), "a readable file refused",
                bytes);
    const auto &items = std::get<files::ValueFileItems>(read);
    fuzz::check(items.items == expected.items && items.leftOut == expected.leftOut
                    && items.lineNumbers == expected.lineNumbers
                    && items.encoding == text.encoding && items.column == 0,
                "the file gives other items than its text", bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t steer = data[0];
    const std::string bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    const bool fromFile = (steer & 3) == 0;
    const auto answer = (steer & 4) != 0 ? files::TextEncoding::Utf8 : files::TextEncoding::ShiftJis;
    const std::size_t roomSteer = steer >> 3;
    const std::size_t room = roomSteer == 31 ? kListRoom : roomSteer;
    const std::size_t smallLimit = roomSteer % 8 + 1;

    const auto decoded = files::decodeText(bytes, [answer](const files::AmbiguousReading &) {
        return std::optional(answer);
    });
    // The line rule holds for any bytes, decoded or not: CR and LF are single
    // bytes in both encodings.
    checkLineWalk(bytes);
    if (const auto *text = std::get_if<files::DecodedText>(&decoded)) {
        fuzz::check(fuzz::isValidUtf8(text->text), "decoded text is no UTF-8", bytes);
        checkLineWalk(text->text);
        const std::vector<std::string> lines = files::splitValueLines(text->text);
        fuzz::check(lines == referenceLines(text->text), "lines differ from the reference",
                    text->text);
        checkItems(text->text, lines, room, files::kMaxLineLength);
        checkItems(text->text, lines, room, smallLimit);
    }
    if (fromFile)
        checkFileRead(bytes, room, answer, decoded);
    return 0;
}
