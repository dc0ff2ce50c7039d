#include "sheet/SheetCsv.h"

#include "files/Columns.h"
#include "stats/NumberReading.h"
#include "stats/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace sheet {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string number(std::size_t value)
{
    return stats::integerToText(static_cast<std::int64_t>(value));
}

// Splits the records; an unquoted cell loses its blanks at both ends.
CsvTable splitRecords(std::string_view text, char separator)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    CsvTable table;
    table.separator = separator;
    std::vector<std::string> record;
    std::string cell;
    bool quoted = false, inQuotes = false, started = false;
    std::size_t line = 1, recordLine = 1;
    const auto endCell = [&] {
        if (!quoted) {
            while (!cell.empty() && isBlank(cell.back()) && cell.back() != separator)
                cell.pop_back();
        }
        record.push_back(std::move(cell));
        cell.clear();
        quoted = false;
        started = false;
    };
    const auto endRecord = [&] {
        endCell();
        const bool empty = std::all_of(record.begin(), record.end(),
                                       [](const std::string &c) { return c.empty(); });
        if (!empty) {
            table.rows.push_back(std::move(record));
            table.lines.push_back(recordLine);
        }
        record.clear();
        recordLine = line;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                line += (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ? 1 : 0;
                cell += c;
            }
        } else if (c == separator) {
            endCell();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            endRecord();
        } else if (!started && isBlank(c)) {
            // blanks before a cell
        } else if (!started && c == '"') {
            started = quoted = inQuotes = true;
        } else {
            started = true;
            cell += c;
        }
    }
    if (started || !cell.empty() || !record.empty())
        endRecord();
    return table;
}

char detectSeparator(std::string_view text)
{
    for (const char separator : {'\t', ';', ','}) {
        const CsvTable table = splitRecords(text, separator);
        std::map<std::size_t, std::size_t> withCount;
        for (const auto &row : table.rows)
            ++withCount[row.size()];
        for (const auto &[count, many] : withCount)
            if (count >= 2 && many >= 2 && many * 5 >= table.rows.size() * 4)
                return separator;
    }
    return ',';
}

std::string cellAt(const CsvTable &table, std::size_t row, std::size_t column)
{
    const auto &cells = table.rows[row];
    return column < cells.size() ? cells[column] : std::string();
}

std::size_t columnCount(const CsvTable &table)
{
    std::size_t columns = 0;
    for (const auto &row : table.rows)
        columns = std::max(columns, row.size());
    return columns;
}

// A cell that is wholly a number, by the entry box's rule or with digit groups.
bool wholeNumber(const std::string &cell)
{
    return !files::isDateOrTime(cell)
           && (stats::readingOf(cell) == stats::ReadingExtent::Whole || files::isGroupedNumber(cell));
}

bool numberCell(const std::string &cell)
{
    return !files::isDateOrTime(cell) && stats::holdsNumber(cell);
}

struct ColumnCounts
{
    std::size_t filled = 0, numbers = 0, dates = 0;
    bool countsRows = true; // 1, 2, 3, ... in every filled cell
};

ColumnCounts countColumn(const CsvTable &table, std::size_t column, std::size_t header)
{
    ColumnCounts counts;
    double expected = 0;
    for (std::size_t r = header; r < table.rows.size(); ++r) {
        const std::string cell = cellAt(table, r, column);
        if (cell.empty())
            continue;
        ++counts.filled;
        counts.dates += files::isDateOrTime(cell) ? 1 : 0;
        const bool isNumber = numberCell(cell);
        counts.numbers += isNumber ? 1 : 0;
        const double value = isNumber ? stats::parseValueText(cell) : -1;
        counts.countsRows = counts.countsRows && isNumber
                            && (counts.numbers == 1 ? value == std::floor(value) : value == expected);
        expected = value + 1;
    }
    counts.countsRows = counts.countsRows && counts.numbers >= 2;
    return counts;
}

// The value columns' commas: where at least two cells spell grouped numbers
// and no other cell holds a comma, the commas group digits.
bool groupsDigits(const CsvTable &table, std::size_t column, std::size_t header)
{
    std::size_t grouped = 0;
    for (std::size_t r = header; r < table.rows.size(); ++r) {
        const std::string cell = cellAt(table, r, column);
        if (cell.find(',') == std::string::npos)
            continue;
        if (!files::isGroupedNumber(cell))
            return false;
        ++grouped;
    }
    return grouped >= 2;
}

std::string withoutCommas(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return text;
}

std::string columnName(const CsvTable &table, std::size_t column, std::size_t header)
{
    std::string name = "列 " + number(column + 1);
    if (header > 0) {
        const std::string title = cellAt(table, header - 1, column);
        if (!title.empty())
            name += " (" + title + ")";
    }
    return name;
}

std::string csvCell(const std::string &text)
{
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos
                       || (!text.empty() && (isBlank(text.front()) || isBlank(text.back())));
    if (!quote)
        return text;
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + '"';
}

} // namespace

CsvTable readCsvTable(std::string_view text)
{
    return splitRecords(text, detectSeparator(text));
}

CsvTable readCsvTable(std::string_view text, char separator)
{
    return splitRecords(text, separator);
}

CsvColumns proposeColumns(const CsvTable &table)
{
    CsvColumns choice;
    const std::size_t columns = columnCount(table);
    std::size_t header = 0;
    while (header < table.rows.size()
           && std::none_of(table.rows[header].begin(), table.rows[header].end(), wholeNumber))
        ++header;
    // More rows of text than a header has, or a table without a number:
    // nothing is left out.
    if (header > kMaxCsvHeaderRows || header == table.rows.size())
        header = 0;
    choice.headerRows = header;
    enum class Role { Label, Values, Text, Ignored };
    std::vector<Role> roles(columns, Role::Ignored);
    for (std::size_t c = 0; c < columns; ++c) {
        const ColumnCounts counts = countColumn(table, c, header);
        if (counts.filled == 0)
            roles[c] = Role::Ignored;
        else if (counts.dates * 2 > counts.filled)
            roles[c] = Role::Label;
        else if (counts.numbers * 2 > counts.filled)
            roles[c] = counts.countsRows ? Role::Ignored : Role::Values;
        else
            roles[c] = Role::Text;
    }
    const auto firstValue = std::find(roles.begin(), roles.end(), Role::Values);
    const auto lastValue = std::find(roles.rbegin(), roles.rend(), Role::Values);
    const std::size_t first = static_cast<std::size_t>(firstValue - roles.begin());
    const std::size_t last = lastValue == roles.rend() ? columns
                                                       : columns - 1 - static_cast<std::size_t>(lastValue - roles.rbegin());
    for (std::size_t c = 0; c < columns; ++c) {
        if (roles[c] == Role::Values && choice.valueColumns.size() < static_cast<std::size_t>(kLargestSubgroup))
            choice.valueColumns.push_back(c);
        else if (roles[c] == Role::Label || (roles[c] == Role::Text && c < first))
            choice.labelColumns.push_back(c);
        else if (roles[c] == Role::Text && last < columns && c > last)
            choice.noteColumn = c;
    }
    return choice;
}

CsvImport importCsv(const CsvTable &table, const CsvColumns &columns)
{
    CsvImport result;
    const std::size_t width = columnCount(table);
    if (columns.valueColumns.empty())
        result.error = "値の列が選ばれていません";
    else if (columns.valueColumns.size() > static_cast<std::size_t>(kLargestSubgroup))
        result.error = "値の列は 25 列までです (" + number(columns.valueColumns.size()) + " 列が選ばれています)";
    std::vector<std::size_t> all = columns.valueColumns;
    all.insert(all.end(), columns.labelColumns.begin(), columns.labelColumns.end());
    if (columns.noteColumn)
        all.push_back(*columns.noteColumn);
    for (const std::size_t c : all)
        if (result.error.empty() && c >= width)
            result.error = "列 " + number(c + 1) + " は表にありません (" + number(width) + " 列の表です)";
    if (!result.error.empty())
        return result;
    std::vector<bool> grouped;
    for (const std::size_t c : columns.valueColumns) {
        grouped.push_back(groupsDigits(table, c, columns.headerRows));
        if (grouped.back()) {
            result.groupedColumns.push_back(c);
            result.notes.push_back(columnName(table, c, columns.headerRows)
                                   + " の「,」は桁区切りとして読みました (「1,234.5」は 1234.5)");
        }
    }
    for (std::size_t r = columns.headerRows; r < table.rows.size(); ++r) {
        Row row;
        for (const std::size_t c : columns.labelColumns) {
            const std::string text = cellAt(table, r, c);
            if (!text.empty())
                row.label += (row.label.empty() ? "" : " ") + text;
        }
        for (std::size_t v = 0; v < columns.valueColumns.size(); ++v) {
            const std::size_t c = columns.valueColumns[v];
            std::string text = cellAt(table, r, c);
            if (grouped[v] && files::isGroupedNumber(text))
                text = withoutCommas(text);
            // A value holds no line break, as the entry box never gives one;
            // it is judged as it will stand in the sheet.
            std::replace_if(text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n' || ch == '\t'; }, ' ');
            const ValueState state = readValue(text).state;
            if (state == ValueState::Empty)
                result.problems.push_back({table.lines[r], c + 1, CellProblem::Kind::Empty, text});
            else if (state != ValueState::Number)
                result.problems.push_back({table.lines[r], c + 1, CellProblem::Kind::NoNumber, text});
            row.values.push_back(std::move(text));
        }
        if (columns.noteColumn)
            row.note = cellAt(table, r, *columns.noteColumn);
        // Nor does a label.
        std::replace_if(row.label.begin(), row.label.end(), [](char ch) { return ch == '\r' || ch == '\n' || ch == '\t'; }, ' ');
        result.rows.push_back(std::move(row));
    }
    return result;
}

std::string cellProblemText(const CellProblem &problem)
{
    const std::string place = number(problem.line) + " 行目 " + number(problem.column) + " 列目: ";
    if (problem.kind == CellProblem::Kind::Empty)
        return place + "空欄";
    return place + "数値がありません (「" + problem.text + "」)";
}

std::string sheetCsv(const Sheet &sheet, const SheetAnalysis &analysis)
{
    const int n = std::max(sheet.header.subgroupSize, 0);
    std::string out = "群番号,ラベル";
    for (int i = 1; i <= n; ++i)
        out += ",値" + stats::integerToText(i);
    std::string spread = "範囲";
    if (analysis.kind == ChartKind::MeansStdDevs)
        spread = "標準偏差";
    else if (analysis.kind == ChartKind::IndividualsMovingRange)
        spread = "移動範囲";
    out += ",平均," + spread + ",注記,除外,除外理由\r\n";
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const Row &row = sheet.rows[r];
        out += number(r + 1) + "," + csvCell(row.label);
        for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
            out += "," + csvCell(i < row.values.size() ? row.values[i] : std::string());
        const SheetPoint *point = r < analysis.points.size() ? &analysis.points[r] : nullptr;
        out += ",";
        if (point && point->location)
            out += stats::numberToText(*point->location);
        out += ",";
        if (point && point->spread)
            out += stats::numberToText(*point->spread);
        out += "," + csvCell(row.note) + "," + (row.excluded ? "除外" : "") + ","
               + csvCell(row.exclusionReason) + "\r\n";
    }
    return out;
}

} // namespace sheet
