#pragma once

#include "stats/Chart.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

/// Control charts (管理図) and the normal curve, worked out so the chart
/// window only scales and paints. The map:
///
///   individualsChart(values)       X-Rs 管理図: the values, and their moving ranges
///   subgroupChart(values, n)       X̄-R 管理図: subgroup means, and subgroup ranges
///     -> ControlChart: two ControlSeries (location above, spread below), each
///        with its limits, labelled lines, numbered points marked with the
///        tests they trip, its signals and a drawing range; or NoControlChart
///        with the reason in Japanese.
///   specialCauses(values, limits, enabled)   the eight tests for special causes
///   specialCauseText(series, signal)         a line of the list 「異常の判定」
///   expectedOutside(mean, s, n, tolerance)   推定不良率 from the normal curve
///   normalCurveHeights(xs, mean, s, n, width) the curve over the histogram's bars
///
/// Every number handed out is finite: a chart whose figures would leave the
/// double range is refused with a reason instead.
namespace stats {

/// A set of the tests for special causes, numbered 1 to 8. Numbers outside
/// 1..8 are never held.
class SpecialCauseTests
{
public:
    static constexpr int kCount = 8;

    static SpecialCauseTests all();
    static SpecialCauseTests only(int test);

    bool contains(int test) const;
    void add(int test);
    bool empty() const { return m_bits == 0; }
    int size() const;
    /// The tests held, ascending: {1, 5} -> "1・5", the mark beside a point.
    std::string numbersText() const;

    bool operator==(const SpecialCauseTests &) const = default;

private:
    std::uint8_t m_bits = 0; // bit (test - 1)
};

/// The lines of one chart. A chart whose lower limit would fall below zero
/// on a range chart has none (the R chart for n <= 6, the Rs chart).
struct ControlLimits
{
    double center = 0.0;
    double upper = 0.0;
    std::optional<double> lower;
};

/// One signal: the test, the point's number as the chart shows it (value
/// number 1..n on the X chart, 2..n on the Rs chart, subgroup number on the
/// X̄ and R charts) and the point's value.
struct SpecialCause
{
    int test = 0;
    std::int64_t number = 0;
    double value = 0.0;

    bool operator==(const SpecialCause &) const = default;
};

struct SpecialCauseFindings
{
    std::vector<SpecialCause> causes;           // point order; one point's tests ascending
    std::vector<SpecialCauseTests> trippedTests; // per point, for marking
};

/// The tests for special causes over a chart's points, in order. The zones
/// come from the chart's own limits: σ̂ = (upper - center) / 3 above the
/// centre line and (center - lower) / 3 below it. "Beyond" is strict: a point
/// exactly at 2σ̂ is not beyond 2σ̂, one on a control limit is not beyond it,
/// and one on the centre line lies on neither side (it breaks a run of test 2).
///   1  one point beyond a control limit
///   2  nine points in a row on one side of the centre line
///   3  six points in a row steadily increasing, or decreasing: five rises
///      (falls) in a row; equal neighbours break the run
///   4  fourteen points in a row alternating up and down: thirteen changes,
///      each the opposite of the one before; equal neighbours break it
///   5  two of three points in a row beyond 2σ̂ on one side
///   6  four of five points in a row beyond 1σ̂ on one side
///   7  fifteen points in a row within 1σ̂ of the centre line (either side)
///   8  eight points in a row beyond 1σ̂, on either side
/// A signal marks the point that completes its pattern, and every further
/// point that completes it again: a run of eleven points above the centre
/// line signals test 2 at its 9th, 10th and 11th point. Tests 5 and 6 mark a
/// point only when it is itself beyond the zone; at the start of the series
/// the window holds the points so far (two first points beyond 2σ̂ signal at
/// the second). Without a lower limit only test 1 runs, against the upper
/// limit. Tests not in `enabled` never signal. Point i (0-based) is numbered
/// firstNumber + i.
SpecialCauseFindings specialCauses(const std::vector<double> &values, const ControlLimits &limits,
                                   SpecialCauseTests enabled, std::int64_t firstNumber = 1);

/// What test 1..8 looks for, as the list 「異常の判定」 names it:
///   specialCauseName(1) -> "管理限界の外"
std::string specialCauseName(int test);

enum class ControlLineKind { UpperControlLimit, CenterLine, LowerControlLimit };

/// A horizontal line of a control chart, drawn at the unrounded value.
struct ControlLine
{
    ControlLineKind kind = ControlLineKind::CenterLine;
    double value = 0.0;
    std::string label; // "上方管理限界 16.256", "中心線 12", "下方管理限界 7.744"
};

/// One of the two charts of a control chart. Point i (0-based) is
/// values[i], numbered firstNumber + i as the chart shows it (see
/// SpecialCause), and marked with trippedTests[i].
struct ControlSeries
{
    std::string name;      // "X", "Rs", "X̄" or "R"; the title is name + " 管理図"
    bool subgroups = false; // points are subgroups (第 3 群), not values (3 番目)
    ControlLimits limits;
    std::vector<ControlLine> lines; // upper, centre, then the lower line when there is one
    std::int64_t firstNumber = 1;
    std::vector<double> values;
    std::vector<SpecialCauseTests> trippedTests;
    std::vector<SpecialCause> causes; // the signals, point order
    double low = 0.0;  // the value range holding every point and line;
    double high = 0.0; // low < high
};

struct ControlChart
{
    ControlSeries location; // X or X̄: all eight tests
    ControlSeries spread;   // Rs or R: test 1 only
    std::int64_t subgroupSize = 1;
    std::int64_t leftOut = 0; // values of an incomplete last subgroup, not charted
    std::string leftOutNote;  // says so; empty when none was left out
};

struct NoControlChart
{
    std::string reason; // e.g. "X-Rs 管理図には値が 2 個以上必要です"
};

using ControlChartOutcome = std::variant<ControlChart, NoControlChart>;

/// The X-Rs chart of the values in list order, at least two of them.
///   X:  centre x̄ (mean of the values), limits x̄ ± 2.660·R̄s
///   Rs: Rs_i = |x_i - x_(i-1)| numbered from 2, centre R̄s, upper 3.267·R̄s
///   10, 12, 11, 13, 12, 14 -> x̄ 12, R̄s 1.6, X limits 16.256 and 7.744,
///   Rs upper 5.2272.
/// Refused: fewer than two values, no spread (R̄s = 0, or limits that fall on
/// the centre line), a value not finite or figures beyond the double range.
ControlChartOutcome individualsChart(const std::vector<double> &values,
                                     SpecialCauseTests enabled = SpecialCauseTests::all());

/// The X̄-R chart: consecutive values in list order form subgroups of n (2 to
/// 10); an incomplete last subgroup is left out and counted in leftOut.
///   X̄: centre x̿ (mean of the subgroup means), limits x̿ ± A2·R̄
///   R:  centre R̄ (mean of the ranges), upper D4·R̄, lower D3·R̄ for n >= 7
/// with the constants of JIS Z 9020-2. n = 3 over 10 12 11 | 13 12 14 |
/// 11 11 14 | 99 -> x̿ 12, R̄ 7/3, X̄ limits 14.387 and 9.613, R upper 6.006,
/// one value left out. Refused as individualsChart, and for fewer than two
/// complete subgroups or n outside 2..10.
ControlChartOutcome subgroupChart(const std::vector<double> &values, int subgroupSize = 5,
                                  SpecialCauseTests enabled = SpecialCauseTests::all());

/// σ within the subgroups, from the spread chart's centre line: R̄ / d2 for
/// the X̄-R chart (d2 of its subgroup size, JIS Z 9020-2) and R̄s / 1.128 for
/// the X-Rs chart.
///   10, 12, 11, 13, 12, 14 (R̄s 1.6) -> 1.4184...
double withinSigma(const ControlChart &chart);

/// A line of the list 「異常の判定」 for a signal of the series, its value as
/// a sentence writes it (resultInSentence: 30 reads "30", not "30."):
///   "X 管理図 5 番目 16.3: 判定 1 管理限界の外"
///   "X 管理図 19 番目 30: 判定 1 管理限界の外"
///   "X̄ 管理図 第 3 群 12.35: 判定 2 中心線の片側に 9 点連続"
std::string specialCauseText(const ControlSeries &series, const SpecialCause &signal);

/// An expected share outside a limit: 0..1, with its texts. ppm is rounded
/// to a whole number and grouped; percent to two decimals, a half upward as
/// the main window's whole percent is: floor((share + 0.00005) · 10000) / 100.
///   0.00135 -> "1,350 ppm", "0.14 %"    0.5 -> "500,000 ppm", "50.00 %"
struct ExpectedShare
{
    double share = 0.0;
    std::string ppmText;
    std::string percentText;
};

/// 推定不良率: the share of a normal distribution with mean x̄ and standard
/// deviation s (the sample one, as the capability uses) beyond the tolerance:
/// above = 1 - Φ((U - x̄)/s), below = Φ((L - x̄)/s), total their sum (at
/// most 1), each present when its limit is given.
///   x̄ 0, s 1, limits 3 and -3 -> 1,350 ppm above, 1,350 below, 2,700 in all.
/// No share, and a reason, for fewer than two values, s = 0 or not finite,
/// no limit, or an upper limit not above the lower one.
struct ExpectedOutside
{
    std::optional<ExpectedShare> above;
    std::optional<ExpectedShare> below;
    std::optional<ExpectedShare> total;
    std::string reason; // empty when total is given
};

ExpectedOutside expectedOutside(double mean, double s, std::int64_t count,
                                const Tolerance &limits);

/// The normal curve scaled to a histogram of `count` values in classes of
/// `classWidth`: count · classWidth · pdf(x) at each x, so its area matches
/// the bars'. Empty when s is not positive and finite or the scale leaves the
/// double range.
///   mean 0, s 1, count 100, width 1: x = 0 -> 39.894...
std::vector<double> normalCurveHeights(const std::vector<double> &xs, double mean, double s,
                                       std::int64_t count, double classWidth);

} // namespace stats
