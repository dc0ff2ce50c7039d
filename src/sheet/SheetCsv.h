#pragma once

// CSV into a sheet and a sheet out as CSV. A spreadsheet's table whose rows
// are subgroups comes in as UTF-8 text (the window decodes Shift JIS or
// UTF-8 first); the user picks the label columns, the value columns and the
// note column, starting from proposeColumns' choice, and sees every empty
// cell and every cell without a number before anything is imported. No cell
// is ever skipped: a missing value stays missing in its place, so no later
// subgroup shifts.

#include "sheet/Sheet.h"
#include "sheet/SheetAnalysis.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

/// A table read from CSV text.
struct CsvTable
{
    char separator = ',';
    std::vector<std::vector<std::string>> rows; ///< records; each cell as its text reads
    std::vector<std::size_t> lines;             ///< each record's first line, from 1
};

/// Splits text into records: a UTF-8 byte-order mark at the start is
/// dropped; records end at CR LF, LF or CR outside quotes; a cell that
/// starts with '"' runs to the next lone '"' ("" is one '"') and may hold
/// the separator and line breaks; blanks around an unquoted cell are
/// dropped. Records with nothing but empty cells are passed over. The
/// separator is the first of tab, ';' and ',' that splits at least 80 % of
/// the records, two or more, into the same count (two or more) of cells;
/// ',' when none does.
///   "日付,外径\r\n2024/01/05,\"1,234.5\"\r\n" -> ',' : {"日付","外径"}, {"2024/01/05","1,234.5"}
CsvTable readCsvTable(std::string_view text);

/// The same with a separator the user chose.
CsvTable readCsvTable(std::string_view text, char separator);

/// What to import: every index a column from 0.
struct CsvColumns
{
    std::size_t headerRows = 0;              ///< records at the top left out
    std::vector<std::size_t> labelColumns;   ///< joined by one space into the label
    std::vector<std::size_t> valueColumns;   ///< in order: value 1, value 2, ... (n of them)
    std::optional<std::size_t> noteColumn;

    bool operator==(const CsvColumns &) const = default;
};

/// The most rows at the top taken as a header.
inline constexpr std::size_t kMaxCsvHeaderRows = 3;

/// The first choice the dialog shows:
///  - header rows: the records at the top in which no cell is wholly a
///    number (a date or a time is none; "1回目" is none), when there are
///    three at most; four or more such records are no header;
///  - a column whose cells below the header are mostly dates or times is a
///    label, never values; so is a column of text left of the first column
///    of values;
///  - a column whose cells are mostly numbers is values, unless it only
///    counts rows (1, 2, 3, ...: a row number, left out);
///  - the note column is the last column of text right of the values.
CsvColumns proposeColumns(const CsvTable &table);

/// A cell that gives no value.
struct CellProblem
{
    enum class Kind { Empty, NoNumber };
    std::size_t line = 0;   ///< the record's first line, from 1
    std::size_t column = 0; ///< from 1
    Kind kind = Kind::Empty;
    std::string text;       ///< the cell as it reads

    bool operator==(const CellProblem &) const = default;
};

struct CsvImport
{
    std::vector<Row> rows;              ///< one per record below the header
    std::vector<CellProblem> problems;  ///< line order, then column order
    std::vector<std::size_t> groupedColumns; ///< value columns whose ',' groups digits, from 0
    std::vector<std::string> notes;     ///< what the import says of them
    std::string error;                  ///< why nothing can be imported; else ""
};

/// The rows the chosen columns give. Values keep the cells' texts, with one
/// exception: in a value column where at least two cells spell a number
/// grouped by ',' ("1,234.5", isGroupedNumber) and no cell holds a ','
/// otherwise, the grouped cells lose their commas ("1,234.5" -> "1234.5"),
/// which the entry box's rule would read as 1, and `notes` says so. Empty
/// cells give "" and cells without a number keep their text; both are
/// listed in `problems`. An error, and no rows, without value columns,
/// with more than 25, or with a column the table does not have.
CsvImport importCsv(const CsvTable &table, const CsvColumns &columns);

/// "5 行目 3 列目: 空欄"   "7 行目 2 列目: 数値がありません (「欠測」)"
std::string cellProblemText(const CellProblem &problem);

/// The sheet as CSV (UTF-8, CR LF): a header line, then one line a row:
/// 群番号, ラベル, 値1 ... 値n as typed, 平均 (x for n = 1), 範囲, 標準偏差
/// or 移動範囲 (as the chart's spread), 注記, 除外 ("除外" or empty) and
/// 除外理由. Figures in 15 significant digits, empty for an incomplete row.
/// Cells with a ',', '"', a line break or blanks at an end are quoted.
std::string sheetCsv(const Sheet &sheet, const SheetAnalysis &analysis);

} // namespace sheet
