#pragma once

// Tables in value files and pastes. A file saved from a spreadsheet as CSV,
// or cells copied from one, holds a row a line and several fields a row,
// often with row numbers beside the measurements. Such text is read one
// column at a time; text of one column is left to the line rule of value
// files (itemsToAppend) and the paste rule (splitPastedValues) exactly as
// before.
//
// Rows are the text's lines, ended by CR, LF or CR LF as a value file's lines
// are; empty lines are passed over.
//
// When text is a table: the separators are tried in the order tab, ';', ','
// (the least likely to stand inside a value first). The first one that
// splits at least two rows, and at least 80 % of the rows, into the same
// count of fields, two or more, makes the text a table with that many
// columns, provided some field holds a number (a table without a number is
// no list of measurements). Otherwise the text has one column.
//   "No,外径\r\n1,25.01\r\n2,25.00\r\n" -> 2 columns by ','
//   "1\t2\n3\t4\n5\n6\t7\n8\t9\n"       -> 2 columns by tab (4 of 5 rows)
//   "1\t2\n3\n"                          -> one column (1 of 2 rows)
//   "1\t2\t3"                            -> one column: a lone row is no
//                                           table (a pasted row of cells
//                                           still enters each cell)
//   "1;2,5\r\n3;4,5\r\n"                 -> 2 columns by ';' ("2,5" and
//                                           "4,5" keep their commas)
//
// The comma is also the digit group separator: the number rule reads
// "1,234.5" as 1, and that stays. A file of grouped numbers, one to a line,
// would otherwise look like columns "1" and "234.5". So the comma separates
// nothing when every row that holds a comma spells one grouped number:
// an optional sign, 1 to 3 digits, one or more groups of ',' and exactly 3
// digits, and maybe '.' and digits; such text reads exactly as before.
//   "1,234.5\r\n12,345\r\n"          -> one column (read as 1 and 12, as ever)
//   "1,25.01\r\n2,25.00\r\n"         -> 2 columns
//   "No,値\r\n1,250\r\n2,300\r\n"    -> 2 columns: a header is no number
// This is the least surprising of the choices: a question must come only for
// text that is plainly a table, and a list of grouped numbers is not; what
// is given up is a header-less table whose every row is a row number beside
// a three-digit whole number, which reads as it always did.
//
// Fields follow simple CSV: spaces and tabs around a field are dropped; a
// field that starts with '"' is quoted, runs to the next lone '"' ('""' is
// one '"' of its text) and may hold the separator; text after the closing
// quote joins the field; a quote that never closes runs to the row's end.
//   "1,\"2,5\",x" by ',' -> {"1", "2,5", "x"}
//
// The column with the most fields holding a number (stats::holdsNumber, so
// full-width digits count) is preselected, except that a column which only
// counts rows (at least two numbers, all whole, each one more than the one
// before) gives way to any other column with a number; among equals the
// leftmost wins. So in "No,外径" the measurement is preselected, not the row
// number, even when a measurement is missing ("欠測") and the row numbers
// are more.
//
// A column's header: the rows at the top, up to kMaxHeaderRows, before the
// first row with a number in that column, are left out; a column without any
// number (a verdict, a note) has the preselected column's header.
//
// A column of dates or times (isDateOrTime: more than half of its fields with
// a number are dates or times) is never preselected: its "2024/01/05" would
// read as 2024. Any other column goes before it, one without numbers too. Anywhere
// else a row's field is kept whatever it holds, as the list keeps any text;
// a row too short to have the column, and an empty field, give nothing.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files {

/// How many rows the question about columns shows.
inline constexpr std::size_t kPreviewRows = 5;
/// The most rows at the top a column leaves out as its header.
inline constexpr std::size_t kMaxHeaderRows = 3;

/// What makes text a table.
struct ColumnLayout
{
    char separator = ',';
    std::size_t columns = 0;     ///< the common count of fields, 2 or more
    std::size_t rows = 0;        ///< non-empty rows in the text
    std::size_t preselected = 0; ///< the column with the most numbers, from 0
    /// Per column: how many rows hold a number in it.
    std::vector<std::size_t> numbers;
    /// Per column: how many rows at the top it leaves out as its header.
    std::vector<std::size_t> headerRows;
    /// Per column: whether it holds dates or times rather than measurements.
    std::vector<bool> dateColumns;
    /// The first rows (up to kPreviewRows), split; a ragged row keeps its own
    /// count of fields.
    std::vector<std::vector<std::string>> preview;
};

/// Asked when text is a table: the column to read (from 0), or nullopt to
/// read nothing at all.
using ChooseColumn = std::function<std::optional<std::size_t>(const ColumnLayout &)>;

/// The non-empty lines of text, ended by CR, LF or CR LF. The views point
/// into `text`.
///   "a\r\n\nb\rc" -> {"a", "b", "c"}
std::vector<std::string_view> tableRows(std::string_view text);

/// One row's fields by the simple CSV rule above.
///   ("1, 2 ,", ',')        -> {"1", "2", ""}
///   ("\"a\"\"b\";c", ';')  -> {"a\"b", "c"}
///   ("", ',')              -> {""}
std::vector<std::string> splitFields(std::string_view row, char separator);

/// Whether a row spells one number with ',' grouping digits by threes.
///   "1,234.5" -> true;  "-12,345" -> true;  "1,25.01" -> false;  "1234,567" -> false
bool isGroupedNumber(std::string_view row);

/// Whether a field spells a date, a time or both, as a spreadsheet writes
/// them: "2024/01/05", "2024-01-05", "05.01.2024", "1/5", "2024年1月5日",
/// "1月5日", "08:00", "8:00:15", "8時30分", and a date then a time after a
/// blank or 'T' ("2024/01/05 08:00", "12/07 8:00"). Digits are ASCII, 1 to 4
/// of them in a date's part, 1 or 2 in a time's hours, 2 in its minutes
/// and seconds. Nothing else: "25.01", "1.5e3", "12-5" and "1/2/3/4" are no dates.
bool isDateOrTime(std::string_view field);

/// The table the text is, or nullopt for text of one column.
std::optional<ColumnLayout> detectColumns(std::string_view text);

/// The values of one column (from 0) in row order: its header rows left
/// out, rows without the column and empty fields passed over. Never more
/// values than rows; no value holds CR or LF.
/// With `rows`, each value's row (from 0, among the non-empty lines) is
/// appended there.
std::vector<std::string> columnValues(std::string_view text, const ColumnLayout &layout,
                                      std::size_t column, std::vector<std::size_t> *rows = nullptr);

/// The values a paste enters: for text of one column exactly those of
/// splitPastedValues; for a table, those of the column `choose` picks
/// (without `choose`, the preselected one). nullopt when `choose` answers
/// nullopt: the paste enters nothing.
///   ("1\r\n2", {})                        -> {"1", "2"}
///   ("No\t値\r\n1\t5.5\r\n2\t6.5", {}) -> {"5.5", "6.5"}
std::optional<std::vector<std::string>> pastedValues(std::string_view text,
                                                     const ChooseColumn &choose);

} // namespace files
