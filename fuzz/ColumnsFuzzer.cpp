// Tables in value files and pastes over arbitrary text: files::detectColumns,
// files::columnValues and files::pastedValues.
//
// Checks, for every input:
//  - a table has at least two columns, at least two rows, a preselected
//    column among them, and per-column counts of its own size; text without
//    a tab, ';' or ',' is never a table;
//  - every column's values number no more than the rows, none is empty, none
//    holds CR or LF, and without a '"' in the text none holds the separator;
//  - the preselected column holds a number unless no column does (then the
//    text would be no table);
//  - text of one column is never asked about, and a paste of it gives exactly
//    what splitPastedValues gives;
//  - a cancelled question enters nothing, whatever the table.

#include "FuzzCheck.h"

#include "files/Columns.h"
#include "files/ValueLines.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void checkValues(const std::string &text, const files::ColumnLayout &layout, std::size_t column)
{
    const std::vector<std::string> values = files::columnValues(text, layout, column);
    fuzz::check(values.size() <= layout.rows, "more values than rows", text);
    const bool quoted = text.find('"') != std::string::npos;
    for (const std::string &value : values) {
        fuzz::check(!value.empty(), "an empty value", text);
        fuzz::check(value.find_first_of("\r\n") == std::string::npos, "a line break in a value",
                    value);
        fuzz::check(quoted || value.find(layout.separator) == std::string::npos,
                    "a separator in an unquoted value", value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const auto layout = files::detectColumns(text);
    bool asked = false;
    const auto pasted = files::pastedValues(text, [&](const files::ColumnLayout &) {
        asked = true;
        return std::optional<std::size_t>();
    });
    fuzz::check(asked == layout.has_value(), "asked about text that is no table, or not asked",
                text);
    if (!layout) {
        fuzz::check(pasted.has_value() && *pasted == files::splitPastedValues(text),
                    "a paste of one column split otherwise", text);
        return 0;
    }
    fuzz::check(!pasted.has_value(), "a cancelled question entered values", text);
    fuzz::check(text.find_first_of("\t;,") != std::string::npos, "a table without a separator",
                text);
    fuzz::check(layout->columns >= 2, "a table of one column", text);
    fuzz::check(layout->rows >= 2 && layout->rows == files::tableRows(text).size(),
                "a table's rows miscounted", text);
    fuzz::check(layout->preselected < layout->columns, "preselected beyond the table", text);
    fuzz::check(layout->numbers.size() == layout->columns
                    && layout->headerRows.size() == layout->columns,
                "per-column counts of another size", text);
    fuzz::check(layout->preview.size() <= files::kPreviewRows
                    && layout->preview.size() == std::min(layout->rows, files::kPreviewRows),
                "a preview of the wrong size", text);
    // A column of dates or times is never preselected: where every column
    // with numbers holds dates, one without numbers is.
    bool valuesElsewhere = false;
    bool otherThanDates = false;
    for (std::size_t c = 0; c < layout->columns; ++c) {
        valuesElsewhere = valuesElsewhere || (layout->numbers[c] > 0 && !layout->dateColumns[c]);
        otherThanDates = otherThanDates || !layout->dateColumns[c];
    }
    fuzz::check(!layout->dateColumns[layout->preselected] || !otherThanDates,
                "preselected a column of dates", text);
    fuzz::check(layout->numbers[layout->preselected] > 0 || !valuesElsewhere,
                "preselected a column without numbers", text);
    for (std::size_t c = 0; c < layout->columns; ++c) {
        fuzz::check(layout->headerRows[c] <= files::kMaxHeaderRows, "a header too long", text);
        fuzz::check(layout->numbers[c] <= layout->rows, "more numbers than rows", text);
    }
    // Every column of a narrow table, and the preselected one of any.
    for (std::size_t c = 0; c < std::min<std::size_t>(layout->columns, 4); ++c)
        checkValues(text, *layout, c);
    checkValues(text, *layout, layout->preselected);
    return 0;
}
