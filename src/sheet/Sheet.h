#pragma once

// The control-chart sheet (管理図シート): what a quality engineer keeps for
// weeks about one characteristic. Its header names the part and holds the
// tolerance; each row is one subgroup with its label (date and time, or a
// lot), its n values exactly as typed, a note of cause and action and,
// when the row is excluded, the reason. The phases say which limits judge
// which rows: an analysis phase computes its limits from its own rows, a
// control phase holds limits fixed from a baseline range of rows, from
// standard values (x̄₀, σ₀) or as typed (CL, UCL, LCL per chart).
//
// Everything here is plain data over UTF-8 std::string; analyzeSheet
// (SheetAnalysis.h) works out the charts, the sheet file (SheetFile.h)
// stores it.

#include "stats/ControlChart.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

/// The subgroup sizes a sheet takes: 1 (X-Rs) up to 25 (X̄-s).
inline constexpr int kSmallestSubgroup = 1;
inline constexpr int kLargestSubgroup = 25;
/// The largest n for which X̄-R may be chosen; above it the chart is X̄-s.
inline constexpr int kLargestRangeSubgroup = 10;

enum class ChartKind {
    IndividualsMovingRange, ///< n = 1: X-Rs
    MeansRanges,            ///< n 2..10: X̄-R
    MeansStdDevs,           ///< n 2..25: X̄-s
};

struct Header
{
    std::string productName;    ///< 品名
    std::string partNumber;     ///< 品番
    std::string characteristic; ///< 特性
    std::string unit;           ///< 単位
    std::string gauge;          ///< 測定器
    std::string process;        ///< 工程・機械
    std::string operatorName;   ///< 担当者
    std::string upperLimit;     ///< 規格 上限, as typed; blanks: none
    std::string lowerLimit;     ///< 規格 下限, as typed; blanks: none
    std::string specCenter;     ///< 規格中心, as typed; blanks: none
    int subgroupSize = 5;       ///< n
    bool standardDeviations = false; ///< X̄-s rather than X̄-R for n 2..10

    bool operator==(const Header &) const = default;
};

struct Row
{
    std::string label;               ///< 日付・時刻 or a lot, free text
    std::vector<std::string> values; ///< as typed, at most n of them counted
    std::string note;                ///< 注記 (原因・処置)
    bool excluded = false;           ///< 除外: drawn, but no part of limits and tests
    std::string exclusionReason;

    bool operator==(const Row &) const = default;
};

/// Where a phase's limits come from.
enum class LimitSource {
    OwnRows,  ///< 解析用: every row of the phase not excluded
    Baseline, ///< 管理用: fixed from rows baselineFirst..baselineLast
    Standard, ///< 管理用: fixed from standard values x̄₀ and σ₀
    Given,    ///< 管理用: CL, UCL and LCL typed per chart
};

/// A chart's lines as typed; an empty lower is no lower limit.
struct LimitTexts
{
    std::string center, upper, lower;

    bool operator==(const LimitTexts &) const = default;
};

/// A phase runs from its first row to the row before the next phase's first.
struct Phase
{
    std::size_t firstRow = 0; ///< from 0
    LimitSource source = LimitSource::OwnRows;
    std::size_t baselineFirst = 0; ///< Baseline: rows from 0, both included
    std::size_t baselineLast = 0;
    std::string standardMean;  ///< Standard: x̄₀ as typed
    std::string standardSigma; ///< Standard: σ₀ as typed
    LimitTexts location;       ///< Given: the X or X̄ chart's lines
    LimitTexts spread;         ///< Given: the Rs, R or s chart's lines
    std::string note;          ///< why the phase starts (改訂の理由)

    bool operator==(const Phase &) const = default;
};

struct Sheet
{
    Header header;
    std::vector<Row> rows;
    /// Ordered by firstRow, strictly rising, the first at row 0. An empty
    /// list means one analysis phase over every row.
    std::vector<Phase> phases;
    stats::SpecialCauseTests tests = stats::SpecialCauseTests::all();

    bool operator==(const Sheet &) const = default;
};

/// The chart a subgroup size gives: 1 -> X-Rs; 2..10 -> X̄-R, or X̄-s when
/// asked for; 11..25 -> X̄-s. nullopt for any other n.
std::optional<ChartKind> chartKindFor(int subgroupSize, bool standardDeviations);

/// The two charts' names: X-Rs -> {"X", "Rs"}, X̄-R -> {"X̄", "R"}, X̄-s -> {"X̄", "s"}.
std::string locationName(ChartKind kind);
std::string spreadName(ChartKind kind);
/// "X-Rs 管理図", "X̄-R 管理図", "X̄-s 管理図"
std::string chartTitle(ChartKind kind);

/// The factors of JIS Z 9020-2 for a subgroup of n (2 to 25), as its table
/// prints them. D3 and B3 are 0 where the chart has no lower limit.
struct Factors
{
    double a2, d2, d3, d4; ///< X̄-R
    double a3, c4, b3, b4; ///< X̄-s
    double d1, bigD2;      ///< the R chart from a standard σ₀: D1·σ₀, D2·σ₀
};
/// nullopt outside 2..25. X̄-R factors are only tabled up to n = 10; for
/// larger n a2, d3, d4, d1 and bigD2 are 0 (X̄-R is not offered there).
std::optional<Factors> factorsFor(int subgroupSize);

/// How one typed value reads, by the entry box's rules (stats::parseValueText
/// and its input-method forms). Unlike the main window's list, text that
/// holds no number is never counted as 0: it is marked.
enum class ValueState {
    Number,     ///< a number was read (text after it is ignored, "12.5mm" -> 12.5)
    Empty,      ///< blanks only: not yet typed
    NoNumber,   ///< text without a number ("欠測", "-", "±0.1")
    OutOfRange, ///< a number beyond the double range
};

struct ValueCheck
{
    ValueState state = ValueState::Empty;
    double value = 0.0; ///< for Number
};

///   "10.02" -> Number 10.02   "１０。０２" -> Number 10.02   "  " -> Empty
///   "欠測" -> NoNumber   "1e999" -> OutOfRange
ValueCheck readValue(std::string_view text);

/// A tolerance or limit text as the chart window's boxes read it: blanks
/// give none, a number its value; text without a number is an error.
struct LimitReading
{
    std::optional<double> value;
    bool error = false;
};
LimitReading readLimit(std::string_view text);

/// The sheet's tolerance (規格 上限・下限), each read as readLimit does;
/// a limit whose text holds no number counts as not given.
stats::Tolerance toleranceOf(const Header &header);

/// The phases the analysis uses: the sheet's own, or one analysis phase
/// over every row when it has none.
std::vector<Phase> effectivePhases(const Sheet &sheet);

/// The index of the phase that holds row `row` (phases as effectivePhases).
std::size_t phaseOfRow(const std::vector<Phase> &phases, std::size_t row);

/// What a phase is called: "解析用" for OwnRows, "管理用" for the first
/// control phase and "改訂 k" (k from 1) for each control phase after one.
std::string phaseTitle(const std::vector<Phase> &phases, std::size_t index);

} // namespace sheet

namespace sheet {

/// What is wrong with the sheet's phases, or "" when nothing is: the first
/// phase must start at row 0, each later one after the one before, and a
/// baseline range must not end before it starts.
///   starts 0, 26, 80 -> ""      starts 0, 26, 26 -> "期 3 の開始 (第 27 群) が期 2 の開始の後にありません"
std::string phasesProblem(const std::vector<Phase> &phases);

} // namespace sheet
