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
    std::vector<std::vector<double>> numbers(columns);
    for (const std::string_view row : rows) {
        std::vector<std::string> fields = splitFields(row, layout.separator);
        for (std::size_t c = 0; c < columns; ++c) {
            const bool number = c < fields.size() && stats::holdsNumber(fields[c]);
            if (number)
                numbers[c].push_back(stats::parseValueText(fields[c]));
            else if (layout.numbers[c] == 0)
                ++layout.headerRows[c]; // no number seen in this column yet
            layout.numbers[c] += number ? 1 : 0;
        }
        if (layout.preview.size() < kPreviewRows)
            layout.preview.push_back(std::move(fields));
    }
    for (std::size_t c = 0; c < columns; ++c)
        if (layout.numbers[c] == 0 || layout.headerRows[c] > kMaxHeaderRows)
            layout.headerRows[c] = 0;
    return numbers;
}

// A column with numbers first, then one of measurements before one that
// counts rows, then the most numbers; among equals the leftmost. A column
// without numbers takes the preselected column's header.
void preselectColumn(ColumnLayout &layout, const std::vector<std::vector<double>> &numbers)
{
    const auto rank = [&](std::size_t c) {
        return std::tuple(layout.numbers[c] > 0, !countsRows(numbers[c]), layout.numbers[c]);
    };
    for (std::size_t c = 1; c < layout.columns; ++c)
        if (rank(c) > rank(layout.preselected))
            layout.preselected = c;
    for (std::size_t c = 0; c < layout.columns; ++c)
        if (layout.numbers[c] == 0)
            layout.headerRows[c] = layout.headerRows[layout.preselected];
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
