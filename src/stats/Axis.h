#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// The arithmetic of a chart's axes, apart from any drawing: the shown range
/// of values, round tick positions, the tick texts, the count axis of a
/// histogram and which tick labels fit side by side. The painters only turn
/// the fractions these give into pixels.
namespace stats {

/// The value range shown: the data's range with room of 4 % of it on each side.
///   [0, 10] -> [-0.4, 10.4]   [5, 5] is no range: the caller widens it first
/// Worked in halves, so a range from near the lowest double to near the
/// highest still gives finite bounds (clamped to the double range).
struct ValueScale
{
    double low = 0;
    double high = 1;

    /// For the range [dataLow, dataHigh], which must not be empty.
    ValueScale(double dataLow, double dataHigh);
    /// Where a value lies in the shown range: 0 at low, 1 at high.
    double fraction(double value) const;
};

/// Round steps of 1, 2 or 5 times a power of ten, about `wanted` of them
/// between low and high (both ends included when they fall on a step), none
/// closer than smallestStep, at most 50. A tick within half a step of 0 is
/// exactly 0 (never -0). Empty for an empty, inverted or infinite range.
///   (0, 10, 5) -> 0 2 4 6 8 10    (1, 35, 8, 1) -> 5 10 ... 35
std::vector<double> axisTicks(double low, double high, int wanted, double smallestStep = 0.0);

/// The ticks of a numbered axis (item or subgroup numbers first..last),
/// whole numbers only: about eight of them.
std::vector<double> numberTicks(double first, double last);

/// A tick's text, as the result boxes write numbers (stats::numberToText). A
/// tick a rounding step from a round number is written as that number
/// (0.30000000000000004 -> "0.3"); below 0.001 in magnitude a tick keeps its
/// own digits, which the rounding would lose.
std::string tickText(double value);

/// The count axis of a histogram: its ticks from 0, and the count at the
/// plot's top, which leaves room above the tallest bar or curve.
struct CountAxis
{
    std::vector<double> ticks;
    double ceiling = 1;
};

/// For a tallest height `most` (the higher of the largest class count and
/// the normal curve's peak; at least 1 is used): the ceiling stands half a
/// tick step above it and at least a quarter step above the last tick.
///   most 10 -> ticks 0 5 10 (step 5), ceiling 12.5
CountAxis countAxis(double most);

/// Every how many tick labels one is written so that none overlaps its
/// neighbour: the smallest stride k >= 1 for which labels 0, k, 2k, ... stand
/// at least `gap` apart, given each label's centre and width (same units,
/// centres ascending). 1 for fewer than two labels.
///   centres 0 10 20 30, widths 8, gap 4 -> 2 (8 + 4 > 10, but 8 + 4 <= 20)
std::size_t labelStride(const std::vector<double> &centres, const std::vector<double> &widths,
                        double gap);

/// Moves label centres apart until they stand at least `gap` from each
/// other, kept within [first, last] where there is room; labels keep their
/// order. Centres already far enough apart do not move; a crowded label
/// moves away from the lower one before it, unless that would leave `last`.
///   {10, 11, 50}, gap 4, [0, 100] -> {10, 14, 50}
///   {98, 99}, gap 4, [0, 100]     -> {96, 100}
std::vector<double> spreadApart(std::vector<double> centres, double gap, double first,
                                double last);

} // namespace stats
