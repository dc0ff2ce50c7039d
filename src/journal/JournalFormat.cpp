#include "journal/JournalFormat.h"

#include "files/TextReading.h"
#include "sheet/SheetFile.h"

#include <algorithm>
#include <array>
#include <optional>

namespace journal {

namespace {

constexpr std::size_t kRecordHead = 8;

void putU32(std::string &out, std::uint64_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putText(std::string &out, std::string_view text)
{
    putU32(out, text.size());
    out.append(text);
}

std::uint32_t u32At(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::string record(Kind kind, const std::string &fields)
{
    std::string payload(1, static_cast<char>(kind));
    payload += fields;
    std::string out;
    out.reserve(kRecordHead + payload.size());
    putU32(out, payload.size());
    putU32(out, crc32(payload));
    out += payload;
    return out;
}

std::string texts(const std::vector<std::string> &items)
{
    std::size_t size = 4;
    for (const std::string &item : items)
        size += 4 + item.size();
    std::string out;
    out.reserve(size);
    putU32(out, items.size());
    for (const std::string &item : items)
        putText(out, item);
    return out;
}

/// Reads a payload's fields in turn; any read past its end fails it.
class Fields
{
public:
    explicit Fields(std::string_view payload) : m_bytes(payload) {}

    std::optional<std::uint32_t> u32()
    {
        if (m_bytes.size() - m_at < 4)
            return std::nullopt;
        const std::uint32_t value = u32At(m_bytes, m_at);
        m_at += 4;
        return value;
    }
    std::optional<std::string> text()
    {
        const std::optional<std::uint32_t> size = u32();
        if (!size || m_bytes.size() - m_at < *size)
            return std::nullopt;
        std::string out(m_bytes.substr(m_at, *size));
        m_at += *size;
        return out;
    }
    /// n texts, refused when n is more than the room left.
    std::optional<std::vector<std::string>> texts(std::size_t room)
    {
        const std::optional<std::uint32_t> count = u32();
        if (!count || *count > room || *count > (m_bytes.size() - m_at) / 4)
            return std::nullopt;
        std::vector<std::string> out;
        out.reserve(*count);
        for (std::uint32_t i = 0; i < *count; ++i) {
            std::optional<std::string> item = text();
            if (!item)
                return std::nullopt;
            out.push_back(std::move(*item));
        }
        return out;
    }
    std::size_t left() const { return m_bytes.size() - m_at; }
    std::optional<std::uint8_t> byte()
    {
        if (m_at >= m_bytes.size())
            return std::nullopt;
        return static_cast<std::uint8_t>(m_bytes[m_at++]);
    }
    std::optional<sheet::Row> row()
    {
        sheet::Row out;
        std::optional<std::string> label = text();
        std::optional<std::vector<std::string>> values =
            label ? texts(static_cast<std::size_t>(sheet::kLargestSubgroup)) : std::nullopt;
        std::optional<std::string> note = values ? text() : std::nullopt;
        const std::optional<std::uint8_t> excluded = note ? byte() : std::nullopt;
        std::optional<std::string> reason = excluded ? text() : std::nullopt;
        if (!reason || *excluded > 1)
            return std::nullopt;
        out.label = std::move(*label);
        out.values = std::move(*values);
        out.note = std::move(*note);
        out.excluded = *excluded == 1;
        out.exclusionReason = std::move(*reason);
        return out;
    }
    bool done() const { return m_at == m_bytes.size(); }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

// Each change is read whole and checked before it touches the list, so a
// record that does not apply leaves the state as it was.
bool applyInsert(ListState &state, Fields &fields, std::size_t maxItems)
{
    const std::optional<std::uint32_t> row = fields.u32();
    if (!row || *row > state.items.size())
        return false;
    std::optional<std::vector<std::string>> items = fields.texts(maxItems - state.items.size());
    if (!items || !fields.done())
        return false;
    state.items.insert(state.items.begin() + *row, std::make_move_iterator(items->begin()),
                       std::make_move_iterator(items->end()));
    return true;
}

bool applyAppend(ListState &state, Fields &fields, std::size_t maxItems)
{
    std::optional<std::vector<std::string>> items = fields.texts(maxItems - state.items.size());
    if (!items || !fields.done())
        return false;
    state.items.insert(state.items.end(), std::make_move_iterator(items->begin()),
                       std::make_move_iterator(items->end()));
    return true;
}

bool applyRemove(ListState &state, Fields &fields)
{
    const std::optional<std::uint32_t> row = fields.u32();
    const std::optional<std::uint32_t> count = fields.u32();
    if (!row || !count || !fields.done() || *row > state.items.size()
        || *count > state.items.size() - *row)
        return false;
    const auto first = state.items.begin() + *row;
    state.items.erase(first, first + *count);
    return true;
}

bool applyReplace(ListState &state, Fields &fields)
{
    const std::optional<std::uint32_t> row = fields.u32();
    std::optional<std::string> item = fields.text();
    if (!row || !item || !fields.done() || *row >= state.items.size())
        return false;
    state.items[*row] = std::move(*item);
    return true;
}

bool applyState(ListState &state, Fields &fields)
{
    std::optional<std::string> source = fields.text();
    std::optional<std::string> title = fields.text();
    const std::optional<std::uint8_t> flags = fields.byte();
    if (!source || !title || !flags || (*flags & ~3u) != 0 || !fields.done())
        return false;
    state.sourceName = std::move(*source);
    state.title = std::move(*title);
    state.unsaved = (*flags & 1u) != 0;
    state.openAllowed = (*flags & 2u) != 0;
    return true;
}

void putRow(std::string &out, const sheet::Row &row)
{
    putText(out, row.label);
    out += texts(row.values);
    putText(out, row.note);
    out.push_back(row.excluded ? '\1' : '\0');
    putText(out, row.exclusionReason);
}

// A row as the sheet's file would take it, so a restored sheet saves to a
// file that opens again: at most n values, none holding a tab or a line
// break, every text UTF-8.
bool rowFits(const sheet::Sheet &sheet, const sheet::Row &row)
{
    if (row.values.size() > static_cast<std::size_t>(sheet.header.subgroupSize))
        return false;
    if (!files::isValidUtf8(row.label) || !files::isValidUtf8(row.note)
        || !files::isValidUtf8(row.exclusionReason))
        return false;
    return std::none_of(row.values.begin(), row.values.end(), [](const std::string &value) {
        return value.find_first_of("\t\r\n") != std::string::npos || !files::isValidUtf8(value);
    });
}

bool applySheetSettings(Replay &out, Fields &fields)
{
    const std::optional<std::string> json = fields.text();
    if (!json || !fields.done() || !out.state.items.empty())
        return false;
    sheet::SheetReadOutcome read = sheet::readSheet(*json);
    auto *settings = std::get_if<sheet::Sheet>(&read);
    if (!settings || !settings->rows.empty())
        return false;
    if (out.sheet) {
        settings->rows = std::move(out.sheet->rows);
        for (const sheet::Row &row : settings->rows)
            if (row.values.size() > static_cast<std::size_t>(settings->header.subgroupSize)) {
                out.sheet->rows = std::move(settings->rows); // untouched, as promised
                return false;
            }
    }
    out.sheet = std::move(*settings);
    return true;
}

bool applySheetRows(sheet::Sheet &sheet, Kind kind, Fields &fields)
{
    std::vector<sheet::Row> &rows = sheet.rows;
    if (kind == Kind::SheetRowsAppend) {
        const std::optional<std::uint32_t> count = fields.u32();
        if (!count || *count > fields.left() / 17) // 17: the bytes of an empty row
            return false;
        std::vector<sheet::Row> added;
        added.reserve(*count);
        for (std::uint32_t i = 0; i < *count; ++i) {
            std::optional<sheet::Row> row = fields.row();
            if (!row || !rowFits(sheet, *row))
                return false;
            added.push_back(std::move(*row));
        }
        if (!fields.done())
            return false;
        rows.insert(rows.end(), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
        return true;
    }
    const std::optional<std::uint32_t> at = fields.u32();
    if (!at || *at > rows.size())
        return false;
    if (kind == Kind::SheetRowsRemove) {
        const std::optional<std::uint32_t> count = fields.u32();
        if (!count || !fields.done() || *count > rows.size() - *at)
            return false;
        const auto first = rows.begin() + *at;
        rows.erase(first, first + *count);
        return true;
    }
    std::optional<sheet::Row> row = fields.row();
    if (!row || !fields.done() || !rowFits(sheet, *row))
        return false;
    if (kind == Kind::SheetRowInsert)
        rows.insert(rows.begin() + *at, std::move(*row));
    else if (*at == rows.size())
        rows.push_back(std::move(*row));
    else
        rows[*at] = std::move(*row);
    return true;
}

// A sheet journal's records; false, with the replay untouched, when one does
// not apply.
bool applySheet(Replay &out, Kind kind, Fields &fields)
{
    if (kind == Kind::Sheet) {
        if (!applySheetSettings(out, fields))
            return false;
    } else if (!out.sheet || !applySheetRows(*out.sheet, kind, fields)) {
        return false;
    }
    out.state.unsaved = true;
    return true;
}

// Applies one payload to the state; false, with the state untouched, when it
// does not apply.
bool apply(Replay &out, std::string_view payload, std::size_t maxItems)
{
    ListState &state = out.state;
    Fields fields(payload);
    const std::optional<std::uint8_t> kind = fields.byte();
    if (!kind || state.items.size() > maxItems)
        return false;
    const auto named = static_cast<Kind>(*kind);
    if (named >= Kind::Sheet && named <= Kind::SheetRowsAppend)
        return applySheet(out, named, fields);
    if (out.sheet && named != Kind::State)
        return false; // a sheet journal holds no list
    switch (named) {
    case Kind::Append:
        return applyAppend(state, fields, maxItems);
    case Kind::Insert:
        return applyInsert(state, fields, maxItems);
    case Kind::Remove:
        return applyRemove(state, fields);
    case Kind::Replace:
        return applyReplace(state, fields);
    case Kind::Clear:
        if (!fields.done())
            return false;
        state.items.clear();
        return true;
    case Kind::State:
        return applyState(state, fields);
    default:
        return false;
    }
}

// Whether the bytes could be the start of a header this program wrote.
bool headerPrefix(std::string_view bytes)
{
    const std::string full = header();
    return full.compare(0, bytes.size(), bytes.substr(0, full.size())) == 0;
}

} // namespace

std::uint32_t crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string header()
{
    std::string out(kMagic);
    out.push_back(static_cast<char>(kVersion & 0xFF));
    out.push_back(static_cast<char>(kVersion >> 8));
    out.append(2, '\0');
    return out;
}

std::string appendRecord(const std::vector<std::string> &items)
{
    return record(Kind::Append, texts(items));
}

std::string insertRecord(std::size_t row, const std::vector<std::string> &items)
{
    std::string fields;
    putU32(fields, row);
    return record(Kind::Insert, fields + texts(items));
}

std::string removeRecord(std::size_t row, std::size_t count)
{
    std::string fields;
    putU32(fields, row);
    putU32(fields, count);
    return record(Kind::Remove, fields);
}

std::string replaceRecord(std::size_t row, std::string_view item)
{
    std::string fields;
    putU32(fields, row);
    putText(fields, item);
    return record(Kind::Replace, fields);
}

std::string clearRecord()
{
    return record(Kind::Clear, {});
}

std::string stateRecord(const ListState &state)
{
    std::string fields;
    putText(fields, state.sourceName);
    putText(fields, state.title);
    fields.push_back(static_cast<char>((state.unsaved ? 1 : 0) | (state.openAllowed ? 2 : 0)));
    return record(Kind::State, fields);
}

std::string snapshotRecords(const ListState &state)
{
    return clearRecord() + appendRecord(state.items) + stateRecord(state);
}

std::string sheetSettingsRecord(const sheet::Sheet &sheet)
{
    sheet::Sheet settings;
    settings.header = sheet.header;
    settings.phases = sheet.phases;
    settings.tests = sheet.tests;
    std::string fields;
    putText(fields, sheet::writeSheet(settings));
    return record(Kind::Sheet, fields);
}

namespace {

std::string oneRowRecord(Kind kind, std::size_t row, const sheet::Row &content)
{
    std::string fields;
    putU32(fields, row);
    putRow(fields, content);
    return record(kind, fields);
}

} // namespace

std::string sheetRowRecord(std::size_t row, const sheet::Row &content)
{
    return oneRowRecord(Kind::SheetRow, row, content);
}

std::string sheetRowInsertRecord(std::size_t row, const sheet::Row &content)
{
    return oneRowRecord(Kind::SheetRowInsert, row, content);
}

std::string sheetRowsRemoveRecord(std::size_t row, std::size_t count)
{
    std::string fields;
    putU32(fields, row);
    putU32(fields, count);
    return record(Kind::SheetRowsRemove, fields);
}

std::string sheetRowsAppendRecord(const std::vector<sheet::Row> &rows)
{
    std::string fields;
    putU32(fields, rows.size());
    for (const sheet::Row &row : rows)
        putRow(fields, row);
    return record(Kind::SheetRowsAppend, fields);
}

std::string sheetSnapshotRecords(const sheet::Sheet &sheet, std::string_view path, bool unsaved)
{
    ListState state;
    state.sourceName = std::string(path);
    state.unsaved = unsaved;
    state.openAllowed = false;
    std::string out = sheetSettingsRecord(sheet);
    if (!sheet.rows.empty())
        out += sheetRowsAppendRecord(sheet.rows);
    return out + stateRecord(state);
}

namespace {

bool onlyZeros(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

} // namespace

Replay replay(std::string_view bytes, std::size_t maxItems)
{
    Replay out;
    if (bytes.size() < kHeaderSize) {
        // Cut while it was being created: nothing was recorded yet.
        out.tornTail = !bytes.empty();
        if (!headerPrefix(bytes))
            out.problem = Problem::NotAJournal;
        return out;
    }
    if (bytes.substr(0, kMagic.size()) != kMagic) {
        out.problem = Problem::NotAJournal;
        return out;
    }
    const auto version = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[8])
                                                    | (static_cast<unsigned char>(bytes[9]) << 8));
    if (version > kVersion) {
        out.problem = Problem::NewerVersion;
        return out;
    }
    std::size_t at = kHeaderSize;
    out.goodBytes = at;
    while (at < bytes.size()) {
        if (onlyZeros(bytes.substr(at)))
            return out; // the room set aside for records not yet written
        const std::size_t left = bytes.size() - at;
        const std::size_t size = left >= kRecordHead ? u32At(bytes, at) : 0;
        if (left < kRecordHead || (size <= kMaxPayload && left - kRecordHead < size)) {
            out.tornTail = true; // the write stopped inside this record
            return out;
        }
        const std::string_view payload = bytes.substr(at + kRecordHead, size);
        // Last, too, when only the zeros of the unwritten room follow it.
        const bool last = size <= left - kRecordHead
                          && onlyZeros(bytes.substr(at + kRecordHead + size));
        if (size > kMaxPayload || crc32(payload) != u32At(bytes, at + 4)
            || !apply(out, payload, maxItems)) {
            // A last record that does not check out was cut in a way that left
            // its length whole (a file grown before its bytes reached the disk).
            if (last && size <= kMaxPayload && crc32(payload) != u32At(bytes, at + 4)) {
                out.tornTail = true;
                return out;
            }
            out.problem = Problem::Damaged;
            out.problemOffset = at;
            return out;
        }
        ++out.records;
        at += kRecordHead + size;
        out.goodBytes = at;
    }
    return out;
}

} // namespace journal
