#include "stats/Axis.h"

#include "stats/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace stats {

ValueScale::ValueScale(double dataLow, double dataHigh)
{
    // In halves, so that a range from near the lowest double to near the
    // highest (a tolerance far out) still scales to finite pixels.
    const double room = (dataHigh / 2 - dataLow / 2) * 0.08;
    low = std::max(dataLow - room, -std::numeric_limits<double>::max());
    high = std::min(dataHigh + room, std::numeric_limits<double>::max());
}

double ValueScale::fraction(double value) const
{
    return (value / 2 - low / 2) / (high / 2 - low / 2);
}

std::vector<double> axisTicks(double low, double high, int wanted, double smallestStep)
{
    std::vector<double> ticks;
    // Halves first: the span of a range reaching both ends of the double
    // range would itself leave it.
    const double halfSpan = high / 2 - low / 2;
    if (!(halfSpan > 0) || !std::isfinite(halfSpan) || wanted < 1)
        return ticks;
    const double rough = std::max(halfSpan / wanted * 2, std::numeric_limits<double>::min());
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (rough <= factor * power) {
            step = factor * power;
            break;
        }
    }
    step = std::max(step, smallestStep);
    for (double k = std::ceil(low / step); k * step <= high && ticks.size() < 50; k += 1)
        ticks.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
    return ticks;
}

std::vector<double> numberTicks(double first, double last)
{
    return axisTicks(first, last, 8, 1.0);
}

std::string tickText(double value)
{
    // A tick a rounding step away from a round number is written as that
    // number; a tiny or huge tick keeps its own digits, which the rounding
    // would lose or carry past the double range.
    const double snapped = std::round(value * 1e9) / 1e9;
    const bool ownDigits = std::abs(value) < 1e-3 || !std::isfinite(snapped);
    return numberToText(ownDigits ? value : snapped);
}

CountAxis countAxis(double most)
{
    most = std::isfinite(most) ? std::max(most, 1.0) : 1.0;
    CountAxis axis{axisTicks(0, most, 4, 1.0), most};
    const std::vector<double> &ticks = axis.ticks;
    if (ticks.size() >= 2) {
        const double step = ticks[1] - ticks[0];
        axis.ceiling = std::max(most + 0.5 * step, ticks.back() + step * 0.25);
    }
    return axis;
}

std::size_t labelStride(const std::vector<double> &centres, const std::vector<double> &widths,
                        double gap)
{
    const std::size_t n = std::min(centres.size(), widths.size());
    for (std::size_t stride = 1; stride < n; ++stride) {
        bool clear = true;
        for (std::size_t i = stride; i < n && clear; i += stride) {
            const double rightOfLast = centres[i - stride] + widths[i - stride] / 2;
            const double leftOfThis = centres[i] - widths[i] / 2;
            clear = leftOfThis - rightOfLast >= gap;
        }
        if (clear)
            return stride;
    }
    return std::max<std::size_t>(n, 1);
}

std::vector<double> spreadApart(std::vector<double> centres, double gap, double first, double last)
{
    std::vector<std::size_t> order(centres.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](auto a, auto b) { return centres[a] < centres[b]; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        double &c = centres[order[k]];
        c = std::max(c, first);
        if (k > 0)
            c = std::max(c, centres[order[k - 1]] + gap);
    }
    for (std::size_t k = order.size(); k-- > 0;) {
        double &c = centres[order[k]];
        c = std::min(c, last);
        if (k + 1 < order.size())
            c = std::min(c, centres[order[k + 1]] - gap);
    }
    return centres;
}

} // namespace stats
