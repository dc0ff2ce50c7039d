#pragma once

#include "stats/Statistics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What the chart window draws, worked out from the figures of the last
/// calculation: the run chart's points, the histogram's classes, the
/// horizontal lines and the process capability. The window only scales and
/// paints these.
namespace stats {

/// The tolerance the user typed (規格上限, 規格下限); either limit may be missing.
struct Tolerance
{
    std::optional<double> upper;
    std::optional<double> lower;

    bool operator==(const Tolerance &) const = default;
};

/// How a tolerance entry reads.
enum class ToleranceEntry {
    Empty,    // nothing but blanks: the limit is not given
    Number,   // a number, read with parseValueText
    NotNumber // text in which parseValueText finds no number, or one beyond the double range
};

struct ToleranceReading
{
    ToleranceEntry entry = ToleranceEntry::Empty;
    double value = 0.0; // for ToleranceEntry::Number
};

/// Reads a tolerance entry. Unlike an item of the value list, text
/// without a number is not taken as 0: the user meant a limit and gets told.
///   "150" -> Number 150   "  " -> Empty   "abc" -> NotNumber   "12mm" -> Number 12
ToleranceReading readToleranceLimit(std::string_view text);

enum class LineKind { Mean, UpperLimit, LowerLimit, UpperTolerance, LowerTolerance };

/// A horizontal line on the run chart (and a vertical one on the histogram).
struct ChartLine
{
    LineKind kind = LineKind::Mean;
    double value = 0.0; // where it is drawn: the unrounded figure
    std::string label;  // e.g. "上限 5.8541": the text the result box shows
};

/// One value of the run chart, in list order.
struct RunPoint
{
    double value = 0.0;
    bool beyondLimit = false; // strictly above the upper or below the lower limit
};

/// One class of the histogram: [lower, upper).
struct HistogramClass
{
    double lower = 0.0;
    double upper = 0.0;
    std::int64_t count = 0;
};

struct Histogram
{
    double unit = 1.0;  // the measurement unit found in the values
    double width = 1.0; // class width, a whole multiple of the unit
    std::vector<HistogramClass> classes;
};

/// The measurement unit of the values: the power of ten of their last
/// decimal digit, at most 1 unless the largest magnitude reaches 10^12 (then
/// the 12th significant digit of it). Each value is taken to 12 significant digits
/// (0.1 + 0.2 counts as 0.3), and no digit below the 12th significant digit
/// of the largest magnitude counts, so values typed with up to 12 digits give
/// the unit they were written in. The unit is never finer than 10^-307, the
/// smallest power of ten above the subnormal doubles.
///   {12.5, 13, 12.25} -> 0.01   {120, 130} -> 1   {0.5} -> 0.1   {} -> 1
///   {1234567890123} -> 10   {1e-320, 2e-320} -> 1e-307
double measurementUnit(const std::vector<double> &values);

/// The histogram's classes, by the rule of quality-control practice:
///  - about sqrt(n) classes: round(sqrt(n)), at least 5 and at most 30;
///  - the class width is (max - min) / that number, rounded to a whole
///    multiple of the measurement unit (at least one unit);
///  - the first boundary lies half a unit below the smallest value, so every
///    boundary falls halfway between two measurable values and no value
///    sits on one;
///  - as many classes as reach past the largest value; when that makes more
///    than 30, the width grows until 30 suffice; when fewer than 5, empty
///    classes are added on both sides.
/// Every value falls in exactly one class, lower <= value < upper, so the
/// counts add up to n. A value whose digits lie below the unit may reach the
/// top boundary by rounding; the classes then grow as above until it fits.
/// No classes for an empty list, or for a value that is not finite or whose
/// magnitude exceeds 1e307 (a calculation never produces one).
///   {1,2,3,4,5,6,7,8,9,10} (unit 1): 5 classes of width 2 from 0.5 to 10.5
Histogram histogramClasses(const std::vector<double> &values);

/// The process capability for a tolerance, with s the sample standard
/// deviation (denominator n - 1) around the calculation's mean x̄:
///   Cp  = (upper - lower) / 6s
///   Cpk = min(upper - x̄, x̄ - lower) / 3s
/// With one limit only there is no Cp, and Cpk is that side's index,
/// (upper - x̄) / 3s or (x̄ - lower) / 3s. Rounded to two decimals as the
/// mean is (roundToTwoDecimals), always shown with both decimals:
///   x̄ 130, s 8, limits 150 and 100 -> Cp "1.04", Cpk "0.83".
/// An index that cannot be formed is "—" and `reason` says why: an upper
/// limit below the lower one or equal to it (said before any other reason),
/// fewer than two values, no spread (s = 0), or a result beyond the double
/// range. Limits that leave no room between them count no value as outside:
/// the count and its percent are "—" as well.
struct Capability
{
    double sampleSigma = 0.0;    // s; 0 when n < 2
    std::string sampleSigmaText; // result pattern, "—" when n < 2
    std::optional<double> cp;    // rounded to two decimals
    std::optional<double> cpk;
    std::string cpText;  // "1.04" or "—"
    std::string cpkText; // "0.83" or "—"
    std::string reason;  // why an index is "—"; empty when both are shown
    // Values strictly above upper or below lower; none when upper <= lower.
    std::optional<std::int64_t> outsideCount;
    std::string outsideCountText;   // "—" when not counted
    std::string outsidePercentText; // whole percent, as the result boxes round; "—" when not counted
};

/// s, the sample standard deviation (denominator n - 1) around the
/// calculation's mean, in the result pattern: 122, 130, 138 -> 8, "8.".
/// 0 and "—" for fewer than two values or a spread beyond the double range.
struct SampleSigma
{
    double value = 0.0;
    std::string text;
};

SampleSigma sampleSigma(const StatisticsFigures &figures);

/// Capability of the figures' values for the limits; std::nullopt when
/// neither limit is given.
std::optional<Capability> processCapability(const StatisticsFigures &figures,
                                            const Tolerance &limits);

/// Everything the chart window draws.
struct ChartData
{
    std::vector<RunPoint> points; // list order
    std::vector<ChartLine> lines; // mean, upper and lower limit, then the tolerance limits given
    Histogram histogram;
    double low = 0.0;  // the value range that holds every point, line and class
    double high = 0.0; // boundary; low < high
    std::optional<Capability> capability;
};

/// The chart data of a calculation's figures and the tolerance.
/// The mean line is labelled with the mean box's text and drawn at the
/// unrounded mean; the limit lines likewise at the unrounded limits that the
/// counts were made against, with the limit boxes' texts.
ChartData chartData(const StatisticsFigures &figures, const Tolerance &limits);

/// What a screen reader says for each picture in place of it. The run chart:
/// the number of values, the lines' labels, and the values beyond the upper
/// or lower limit by item number (the first ten, then how many more); for
/// 10, 10, 10, 10, 50 with 1σ:
///   "値 5 個を一覧の順に結んだ線。平均 18、上限 34.、下限 2.。
///    上限・下限をこえた点 1 個 (5 番目)。"
/// The histogram: classes, width, unit, range, the counts from the lowest
/// class up, and the values outside the tolerance when one is given:
///   "5 級、幅 2 (測定単位 1)、0.5 から 10.5 まで。度数は小さい級から 2、2、2、2、2。"
std::string runChartDescription(const ChartData &data);
std::string histogramDescription(const ChartData &data);

} // namespace stats
