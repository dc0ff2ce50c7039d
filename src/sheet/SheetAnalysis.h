#pragma once

// The charts of a sheet, worked out so a window or the command line only
// shows them. The path:
//
//   rows -> each row's point: the location (x, or the subgroup's mean x̄)
//           and the spread (Rs from the row before, R or s); a row whose n
//           values do not all read as numbers has no point and is listed
//           in `problems`, never read as 0.
//   phases -> each phase's limits: from its own rows (解析用), from a
//           baseline range, from standard values or as typed (管理用).
//   points of a phase -> the eight tests (stats::specialCauses) against that
//           phase's limits only, over its counted rows in order: a run never
//           crosses into the next phase, and an excluded row is skipped as if
//           it were not there (it still shows, hollow, at its place).

#include "sheet/Sheet.h"

#include "stats/ControlChart.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sheet {

/// A problem with one row's values: `value` is the value's place from 0
/// (Missing: not typed yet), or, for TooMany, how many values the row holds;
/// OutOfRange with `value` n: the values read, but their mean or spread
/// leaves the double range.
struct RowProblem
{
    enum class Kind { Missing, NoNumber, OutOfRange, TooMany };
    std::size_t row = 0;
    std::size_t value = 0;
    Kind kind = Kind::Missing;

    bool operator==(const RowProblem &) const = default;
};

/// One row on the chart.
struct SheetPoint
{
    std::optional<double> location; ///< x or x̄; none for an incomplete row
    /// Rs (from the row before, when both are complete), R or s.
    std::optional<double> spread;
    bool excluded = false;
    /// Takes part in its phase's limits and tests: complete and not excluded.
    bool counted = false;
    /// The spread takes part: for Rs both rows counted and in one phase.
    bool spreadCounted = false;
    std::size_t phase = 0;
    stats::SpecialCauseTests locationTests; ///< the tests the point trips
    stats::SpecialCauseTests spreadTests;
};

struct ChartLimits
{
    stats::ControlLimits location;
    stats::ControlLimits spread;
};

struct PhaseOutcome
{
    std::size_t firstRow = 0; ///< from 0
    std::size_t lastRow = 0;  ///< included; the phase may hold no row yet
    bool empty = true;        ///< the phase starts beyond the last row
    std::string title;        ///< "解析用", "管理用", "改訂 1", ...
    LimitSource source = LimitSource::OwnRows;
    std::optional<ChartLimits> limits;
    std::string reason;       ///< why there are no limits; empty when there are
    std::size_t rowsUsed = 0; ///< rows the limits came from (OwnRows, Baseline)
};

/// One signal on the chart: which chart, which row, which test.
struct SheetSignal
{
    bool spread = false; ///< on the Rs, R or s chart (test 1 only)
    std::size_t row = 0; ///< from 0; the group number is row + 1
    int test = 0;
    double value = 0.0;

    bool operator==(const SheetSignal &) const = default;
};

struct SheetAnalysis
{
    std::optional<ChartKind> kind; ///< none when n is outside 1..25
    std::string reason;            ///< why there is no chart at all
    std::vector<PhaseOutcome> phases;
    std::vector<SheetPoint> points; ///< one per row
    std::vector<SheetSignal> signals; ///< row order; location before spread; tests ascending
    std::vector<RowProblem> problems; ///< row order
};

/// The sheet's charts. Limits, with x̿ the mean of the subgroup means, R̄,
/// s̄ and R̄s the means of the counted spreads:
///   X-Rs  X: x̄ ± 2.660·R̄s         Rs: UCL 3.267·R̄s, no LCL
///   X̄-R  X̄: x̿ ± A2·R̄              R: UCL D4·R̄, LCL D3·R̄ (n >= 7)
///   X̄-s  X̄: x̿ ± A3·s̄              s: UCL B4·s̄, LCL B3·s̄ (n >= 6)
/// From standard values x̄₀ and σ₀:
///   X-Rs  X: x̄₀ ± 3σ₀               Rs: CL 1.128σ₀, UCL 3.686σ₀
///   X̄-R  X̄: x̄₀ ± 3σ₀/√n           R: CL d2σ₀, UCL D2σ₀, LCL D1σ₀ (n >= 7)
///   X̄-s  X̄: x̄₀ ± 3σ₀/√n           s: CL c4σ₀, UCL and LCL c4σ₀ ± 3σ₀√(1 - c4²)
/// A phase without limits (fewer than two counted subgroups, no spread,
/// typed limits that are not numbers or not in order) has a reason and
/// judges none of its points. An Rs at a phase's first row pairs with a row
/// of the phase before, so it is drawn but takes no part.
SheetAnalysis analyzeSheet(const Sheet &sheet);

/// The values of the counted rows of rows first..last (both included) in
/// row order, for the capability and the normality check.
std::vector<double> countedValues(const Sheet &sheet, const SheetAnalysis &analysis,
                                  std::size_t first, std::size_t last);

/// A problem as the sheet window and the command line state it:
///   "第 3 群 2 番目の値に数値がありません"   "第 4 群: 値が 3 個です (5 個必要)"
std::string rowProblemText(const RowProblem &problem, int subgroupSize);

/// A signal as the list 「異常の判定」 states it, with the row's label:
///   "X̄ 管理図 第 12 群 (12/03 10:00) 10.2: 判定 1 管理限界の外"
std::string sheetSignalText(const Sheet &sheet, ChartKind kind, const SheetSignal &signal);

} // namespace sheet
