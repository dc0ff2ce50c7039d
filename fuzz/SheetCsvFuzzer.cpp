// CSV into a sheet: any text as a table, the first choice of columns and
// the import. Checks what the import dialog relies on: every record's line
// number rises, the chosen columns exist, the import gives a row per record
// below the header with exactly one value per value column (nothing
// skipped, nothing shifted), a problem for exactly the cells that give no
// number, and rows that the sheet file can hold (no line break in a value
// or label) and that write and read back.

#include "FuzzCheck.h"

#include "sheet/SheetAnalysis.h"
#include "sheet/SheetCsv.h"
#include "sheet/SheetFile.h"

#include <cstdint>
#include <string>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (!fuzz::isValidUtf8(text))
        return 0; // the window decodes first: only UTF-8 comes this far
    const sheet::CsvTable table = sheet::readCsvTable(text);
    fuzz::check(table.rows.size() == table.lines.size(), "a line per record");
    for (std::size_t r = 1; r < table.lines.size(); ++r)
        fuzz::check(table.lines[r] > table.lines[r - 1], "lines rise");
    const sheet::CsvColumns columns = sheet::proposeColumns(table);
    fuzz::check(columns.headerRows <= sheet::kMaxCsvHeaderRows, "header rows at most three");
    const sheet::CsvImport import = sheet::importCsv(table, columns);
    if (!import.error.empty()) {
        fuzz::check(import.rows.empty(), "nothing imported on an error");
        return 0;
    }
    fuzz::check(import.rows.size() == table.rows.size() - columns.headerRows, "a row per record");
    std::size_t missing = 0;
    for (const sheet::Row &row : import.rows) {
        fuzz::check(row.values.size() == columns.valueColumns.size(), "a value per column");
        fuzz::check(row.label.find_first_of("\t\r\n") == std::string::npos, "one-line label", row.label);
        for (const std::string &value : row.values) {
            fuzz::check(value.find_first_of("\t\r\n") == std::string::npos, "one-line value", value);
            missing += sheet::readValue(value).state == sheet::ValueState::Number ? 0 : 1;
        }
    }
    fuzz::check(missing == import.problems.size(), "a problem for each cell without a number");

    sheet::Sheet sheet;
    sheet.header.subgroupSize = static_cast<int>(columns.valueColumns.size());
    sheet.rows = import.rows;
    const std::string written = sheet::writeSheet(sheet);
    const sheet::SheetReadOutcome back = sheet::readSheet(written);
    fuzz::check(std::holds_alternative<sheet::Sheet>(back), "imported rows save", written);
    fuzz::check(std::get<sheet::Sheet>(back) == sheet, "imported rows read back", written);
    return 0;
}
