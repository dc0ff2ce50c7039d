#include "files/Columns.h"

#include "files/ValueLines.h"
#include "stats/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace files {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads a run of ASCII digits at `i`, at least `least` and at most `most`.
bool digitsAt(std::string_view text, std::size_t &i, std::size_t least, std::size_t most)
{
    std::size_t count = 0;
    while (i < text.size() && isDigit(text[i]) && count < most)
        ++i, ++count;
    return count >= least && (i == text.size() || !isDigit(text[i]));
}

bool literalAt(std::string_view text, std::size_t &i, std::string_view literal)
{
    if (text.substr(i, literal.size()) != literal)
        return false;
    i += literal.size();
    return true;
}

// h:mm, h:mm:ss (with a fraction), or h時m分 (s秒).
bool timeAt(std::string_view text, std::size_t &i)
{
    std::size_t at = i;
    if (!digitsAt(text, at, 1, 2))
        return false;
    if (literalAt(text, at, ":")) {
        if (!digitsAt(text, at, 2, 2))
            return false;
        std::size_t seconds = at;
        if (literalAt(text, seconds, ":") && digitsAt(text, seconds, 2, 2)) {
            at = seconds;
            std::size_t fraction = at;
            if (literalAt(text, fraction, ".") && digitsAt(text, fraction, 1, 9))
                at = fraction;
        }
        i = at;
        return true;
    }
    if (!literalAt(text, at, "時") || !digitsAt(text, at, 1, 2) || !literalAt(text, at, "分"))
        return false;
    std::size_t seconds = at;
    if (digitsAt(text, seconds, 1, 2) && literalAt(text, seconds, "秒"))
        at = seconds;
    i = at;
    return true;
}

// y/m/d, d.m.y, y-m-d with one separator throughout, or m/d; or y年m月d日, m月d日.
bool dateAt(std::string_view text, std::size_t &i)
{
    std::size_t at = i;
    if (!digitsAt(text, at, 1, 4))
        return false;
    const std::size_t first = at;
    if (first < text.size() && (text[first] == '/' || text[first] == '-' || text[first] == '.')) {
        const char separator = text[first];
        ++at;
        if (!digitsAt(text, at, 1, 4))
            return false;
        std::size_t third = at;
        if (third < text.size() && text[third] == separator) {
            ++third;
            if (!digitsAt(text, third, 1, 4))
                return false;
            at = third;
        } else if (separator != '/') {
            return false; // "12-5" and "25.01" are no dates
        }
        i = at;
        return true;
    }
    if (literalAt(text, at, "年") && !digitsAt(text, at, 1, 2))
        return false;
    if (!literalAt(text, at, "月") || !digitsAt(text, at, 1, 2) || !literalAt(text, at, "日"))
        return false;
    i = at;
    return true;
}

// Whether the column's numbers only count rows: at least two, whole, each one
// more than the one before.
bool countsRows(const std::vector<double> &numbers)
{
    if (numbers.size() < 2)
        return false;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] != std::floor(numbers[i]))
            return false;
        if (i > 0 && numbers[i] != numbers[i - 1] + 1)
            return false;
    }
    return true;
}

// The count of fields that at least 80 % of the rows, and at least two, share;
// 0 when no count of two or more does.
std::size_t commonFieldCount(const std::vector<std::string_view> &rows, char separator)
{
    std::map<std::size_t, std::size_t> rowsWithCount;
    for (const std::string_view row : rows)
        ++rowsWithCount[splitFields(row, separator).size()];
    for (const auto &[count, many] : rowsWithCount)
        if (count >= 2 && many >= 2 && many * 5 >= rows.size() * 4)
            return count;
    return 0;
}

// The first separator (tab, ';', ',') that splits the rows into a common
// count of fields; sets the layout's separator and columns. A comma that
// only groups digits separates nothing.
bool findSeparator(const std::vector<std::string_view> &rows, ColumnLayout &layout)
{
    for (const char separator : {'\t', ';', ','}) {
        if (separator == ','
            && std::all_of(rows.begin(), rows.end(), [](std::string_view row) {
                   return row.find(',') == std::string_view::npos
                          || isGroupedNumber(trimmed(row));
               }))
            continue;
        layout.columns = commonFieldCount(rows, separator);
        if (layout.columns != 0) {
            layout.separator = separator;
            return true;
        }
    }
    return false;
}

// Splits every row: fills the layout's rows, numbers, header rows and
// preview, and gives each column's numbers in row order.
std::vector<std::vector<double>> readColumnNumbers(const std::vector<std::string_view> &rows,
                                                   ColumnLayout &layout)
{
    const std::size_t columns = layout.columns;
    layout.rows = rows.size();
    layout.numbers.assign(columns, 0);
    layout.headerRows.assign(columns, 0);
    std::vector<std::size_t> dates(columns, 0);
    std::vector<std::vector<double>> numbers(columns);
    for (const std::string_view row : rows) {
        std::vector<std::string> fields = splitFields(row, layout.separator);
        for (std::size_t c = 0; c < columns; ++c) {
            const bool number = c < fields.size() && stats::holdsNumber(fields[c]);
            if (number) {
                numbers[c].push_back(stats::parseValueText(fields[c]));
                dates[c] += isDateOrTime(fields[c]) ? 1 : 0;
            }
            else if (layout.numbers[c] == 0)
                ++layout.headerRows[c]; // no number seen in this column yet
            layout.numbers[c] += number ? 1 : 0;
        }
        if (layout.preview.size() < kPreviewRows)
            layout.preview.push_back(std::move(fields));
    }
    layout.dateColumns.assign(columns, false);
    for (std::size_t c = 0; c < columns; ++c) {
        if (layout.numbers[c] == 0 || layout.headerRows[c] > kMaxHeaderRows)
            layout.headerRows[c] = 0;
        layout.dateColumns[c] = dates[c] * 2 > layout.numbers[c];
    }
    return numbers;
}

// Any column before one of dates or times; then a column with numbers, then
// one of measurements before one that counts rows, then the most numbers;
// among equals the leftmost. A column without numbers takes the preselected
// column's header (that of the first column with numbers when the
// preselected one has none).
void preselectColumn(ColumnLayout &layout, const std::vector<std::vector<double>> &numbers)
{
    const auto rank = [&](std::size_t c) {
        return std::tuple(!layout.dateColumns[c], layout.numbers[c] > 0, !countsRows(numbers[c]),
                          layout.numbers[c]);
    };
    for (std::size_t c = 1; c < layout.columns; ++c)
        if (rank(c) > rank(layout.preselected))
            layout.preselected = c;
    // The header comes from the preselected column, or, when that one holds
    // no number (beside dates only), from the first column that does.
    std::size_t source = layout.preselected;
    for (std::size_t c = 0; c < layout.columns && layout.numbers[source] == 0; ++c)
        source = c;
    const std::size_t header = layout.headerRows[source];
    for (std::size_t c = 0; c < layout.columns; ++c)
        if (layout.numbers[c] == 0)
            layout.headerRows[c] = header;
}

} // namespace

std::vector<std::string_view> tableRows(std::string_view text)
{
    return nonEmptyPieces(text, "\r\n");
}

std::vector<std::string> splitFields(std::string_view row, char separator)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        while (i < row.size() && isBlank(row[i]) && row[i] != separator)
            ++i;
        std::string field;
        if (i < row.size() && row[i] == '"') {
            ++i;
            while (i < row.size()) {
                if (row[i] != '"') {
                    field += row[i++];
                } else if (i + 1 < row.size() && row[i + 1] == '"') {
                    field += '"';
                    i += 2;
                } else {
                    ++i; // the closing quote
                    break;
                }
            }
        }
        const std::size_t end = std::min(row.find(separator, i), row.size());
        field.append(row.substr(i, end - i));
        while (!field.empty() && isBlank(field.back()) && field.back() != separator)
            field.pop_back();
        fields.push_back(std::move(field));
        if (end == row.size())
            return fields;
        i = end + 1;
    }
}

bool isGroupedNumber(std::string_view row)
{
    std::size_t i = 0;
    if (i < row.size() && (row[i] == '+' || row[i] == '-'))
        ++i;
    std::size_t lead = 0;
    while (i < row.size() && isDigit(row[i]))
        ++i, ++lead;
    if (lead < 1 || lead > 3)
        return false;
    std::size_t groups = 0;
    while (i + 4 <= row.size() && row[i] == ',' && isDigit(row[i + 1]) && isDigit(row[i + 2])
           && isDigit(row[i + 3])) {
        i += 4;
        ++groups;
    }
    if (groups == 0 || (i < row.size() && isDigit(row[i])))
        return false;
    if (i < row.size() && row[i] == '.') {
        ++i;
        while (i < row.size() && isDigit(row[i]))
            ++i;
    }
    return i == row.size();
}

bool isDateOrTime(std::string_view field)
{
    field = trimmed(field);
    std::size_t i = 0;
    if (timeAt(field, i))
        return i == field.size();
    i = 0;
    if (!dateAt(field, i))
        return false;
    if (i == field.size())
        return true;
    if (field[i] != ' ' && field[i] != 'T')
        return false;
    while (i < field.size() && (field[i] == ' ' || field[i] == 'T'))
        ++i;
    return timeAt(field, i) && i == field.size();
}

std::optional<ColumnLayout> detectColumns(std::string_view text)
{
    const std::vector<std::string_view> rows = tableRows(text);
    if (rows.size() < 2)
        return std::nullopt;
    ColumnLayout layout;
    if (!findSeparator(rows, layout))
        return std::nullopt;
    const std::vector<std::vector<double>> numbers = readColumnNumbers(rows, layout);
    if (std::all_of(layout.numbers.begin(), layout.numbers.end(),
                    [](std::size_t count) { return count == 0; }))
        return std::nullopt; // a table without a number is no list of measurements
    preselectColumn(layout, numbers);
    return layout;
}

std::vector<std::string> columnValues(std::string_view text, const ColumnLayout &layout,
                                      std::size_t column, std::vector<std::size_t> *rows)
{
    std::vector<std::string> values;
    const std::vector<std::string_view> tableRowTexts = tableRows(text);
    const std::size_t header = column < layout.headerRows.size() ? layout.headerRows[column] : 0;
    for (std::size_t r = header; r < tableRowTexts.size(); ++r) {
        std::vector<std::string> fields = splitFields(tableRowTexts[r], layout.separator);
        if (column < fields.size() && !fields[column].empty()) {
            values.push_back(std::move(fields[column]));
            if (rows)
                rows->push_back(r);
        }
    }
    return values;
}

std::optional<std::vector<std::string>> pastedValues(std::string_view text,
                                                     const ChooseColumn &choose)
{
    const std::optional<ColumnLayout> layout = detectColumns(text);
    if (!layout)
        return splitPastedValues(text);
    const std::optional<std::size_t> column = choose ? choose(*layout) : layout->preselected;
    if (!column || *column >= layout->columns)
        return std::nullopt;
    return columnValues(text, *layout, *column);
}

} // namespace files
