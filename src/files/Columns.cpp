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

} // namespace

std::vector<std::string_view> tableRows(std::string_view text)
{
    std::vector<std::string_view> rows;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > start)
            rows.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return rows;
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
            break;
        }
    }
    if (layout.columns == 0)
        return std::nullopt;

    const std::size_t columns = layout.columns;
    layout.rows = rows.size();
    layout.numbers.assign(columns, 0);
    layout.headerRows.assign(columns, 0);
    std::vector<bool> numberSeen(columns, false);
    std::vector<std::vector<double>> numbers(columns);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> fields = splitFields(rows[r], layout.separator);
        for (std::size_t c = 0; c < columns; ++c) {
            const bool number = c < fields.size() && stats::holdsNumber(fields[c]);
            if (number) {
                ++layout.numbers[c];
                numbers[c].push_back(stats::parseValueText(fields[c]));
            }
            if (!numberSeen[c] && !number)
                ++layout.headerRows[c];
            numberSeen[c] = numberSeen[c] || number;
        }
        if (layout.preview.size() < kPreviewRows)
            layout.preview.push_back(std::move(fields));
    }
    for (std::size_t c = 0; c < columns; ++c)
        if (!numberSeen[c] || layout.headerRows[c] > kMaxHeaderRows)
            layout.headerRows[c] = 0;
    if (std::none_of(numberSeen.begin(), numberSeen.end(), [](bool seen) { return seen; }))
        return std::nullopt;

    // A column with numbers first, then one of measurements before one that
    // counts rows, then the most numbers; among equals the leftmost.
    const auto rank = [&](std::size_t c) {
        return std::tuple(layout.numbers[c] > 0, !countsRows(numbers[c]), layout.numbers[c]);
    };
    for (std::size_t c = 1; c < columns; ++c)
        if (rank(c) > rank(layout.preselected))
            layout.preselected = c;
    for (std::size_t c = 0; c < columns; ++c)
        if (layout.numbers[c] == 0)
            layout.headerRows[c] = layout.headerRows[layout.preselected];
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
