#pragma once

// What the chart window's record says, composed without Qt: its title, the
// header a binder sheet has, the figures, the numbered signals, the notes and
// every row of data. The chart window's list fills it from the core's content
// (listRecord); a sheet with subgroups, labels, notes and phases fills the
// same fields. ChartRecord.h lays it out on pages.

#include "stats/ChartContent.h"

#include <cstddef>
#include <string>
#include <vector>

namespace chart {

/// A caption and its text: a header field or a figure.
struct RecordField
{
    std::string caption;
    std::string value;

    bool operator==(const RecordField &) const = default;
};

/// One row of the record's table of data.
struct RecordRow
{
    std::string number;              // 群 of a subgroup, or the item's place in the list
    std::string point;               // its point on the charts; empty when left out
    std::string label;               // the sheet's label (date, lot); empty for the list
    std::vector<std::string> values; // x1..xn as written
    std::string mean;                // x̄ of a subgroup; empty for single values
    std::string spread;              // R, s or Rs; empty where there is none
    std::string note;                // 注記
    std::string exclusion;           // 除外 and why; empty when charted

    bool operator==(const RecordRow &) const = default;
};

/// A phase of a sheet: its name, from the row it starts at (0-based).
struct RecordPhase
{
    std::string name;
    std::size_t firstRow = 0;
};

/// The heads of the table's columns; an empty head drops its column.
struct RecordColumns
{
    std::string number = "番号";
    std::string point = "点";
    std::string label;
    std::vector<std::string> values{"x"};
    std::string mean;
    std::string spread;
    std::string note;
    std::string exclusion = "除外";
};

struct RecordInput
{
    std::string title;               // the chart's proper name: X-Rs 管理図, X̄-R 管理図, 推移
    std::vector<RecordField> header; // 品名 … 担当者, 規格, n, 期間
    std::string source;              // the file, and whether it changed since
    std::string printedAt;           // when the record was made
    std::vector<RecordField> figures;
    std::vector<std::string> notes;   // sentences under the figures
    std::vector<std::string> signalLines; // numbered, in the order the charts mark them
    RecordColumns columns;
    std::vector<RecordRow> rows;
    std::vector<RecordPhase> phases;
};

/// What the record says of the list it was made from.
struct RecordSource
{
    std::string fileName;        // the value file; empty for a list never saved
    bool unsavedChanges = false; // the list changed since it was opened or saved
    std::string dateTime;        // when the record was made, as it is written
};

/// The record's line on its source:
///   "ファイル: a.txt"   "ファイル: a.txt（未保存の変更あり）"   "ファイル: 未保存"
std::string sourceLine(const RecordSource &source);

/// The tests used and the tests switched off: {"判定に使った規則", "1・2・5"},
/// {"使わなかった規則", "3・4"} ("なし" when every test was used).
std::vector<RecordField> testFields(const stats::SpecialCauseTests &tests);

/// The marks beside the points of a series: the numbers of its signal lines,
/// "3" or "3–4", empty for a point without a signal. The series' lines are
/// numbered from firstLine.
std::vector<std::string> signalMarks(const stats::ControlSeries &series, std::size_t firstLine);

/// The record of the chart window's list: the header's sheet fields stay
/// blank to be written in by hand, each item is a row (each subgroup on the
/// X̄-R chart), and items without a number are rows marked 「数値でない」.
RecordInput listRecord(const stats::ChartContent *content, const RecordSource &source);

} // namespace chart
