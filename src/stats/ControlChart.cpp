#include "stats/ControlChart.h"

#include "stats/NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>

namespace stats {

namespace {

const char *const kTooLarge = "値が大きすぎるため管理図を描けません";
const char *const kNoSpread = "ばらつきがないため管理限界を引けません";

// The X-Rs chart's factors: E2 = 3 / d2 and D4 for moving ranges of two.
constexpr double kE2 = 2.660;
constexpr double kMovingRangeD4 = 3.267;

// JIS Z 9020-2 factors for subgroups of 2 to 10; D3 is 0 where no lower limit exists.
struct SubgroupFactors
{
    double a2, d3, d4;
};
constexpr std::array<SubgroupFactors, 9> kFactors = {{
    {1.880, 0.0, 3.267}, {1.023, 0.0, 2.574}, {0.729, 0.0, 2.282},
    {0.577, 0.0, 2.114}, {0.483, 0.0, 2.004}, {0.419, 0.076, 1.924},
    {0.373, 0.136, 1.864}, {0.337, 0.184, 1.816}, {0.308, 0.223, 1.777},
}};
constexpr int kSmallestSubgroup = 2;
constexpr int kLargestSubgroup = 10;
// d2, the mean range of n normal values in units of σ, for n = 2 to 10.
constexpr std::array<double, 9> kD2 = {1.128, 1.693, 2.059, 2.326, 2.534,
                                       2.704, 2.847, 2.970, 3.078};

bool allFinite(const std::vector<double> &values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Plain sum / n, as the calculation forms the mean box's mean; infinite
// when the sum leaves the double range.
double meanOf(std::span<const double> values)
{
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

// ---- the tests for special causes -------------------------------------------

// Where the zone edges lie; beyond means strictly past an edge.
struct Zones
{
    double center, upper, lower, above1, above2, below1, below2;
};

Zones zonesOf(const ControlLimits &limits)
{
    const double sigmaAbove = (limits.upper - limits.center) / 3;
    const double sigmaBelow = (limits.center - *limits.lower) / 3;
    return {limits.center,
            limits.upper,
            *limits.lower,
            limits.center + sigmaAbove,
            limits.center + 2 * sigmaAbove,
            limits.center - sigmaBelow,
            limits.center - 2 * sigmaBelow};
}

using Tripped = std::vector<SpecialCauseTests>;

// Marks, with `test`, every point that ends a run of at least `length`
// points in a row for which holds(i) is true.
template <typename Holds>
void markRuns(std::size_t count, std::size_t length, int test, Holds holds, Tripped &tripped)
{
    std::size_t run = 0;
    for (std::size_t i = 0; i < count; ++i) {
        // A product, not a branch: on measured values holds(i) is as good
        // as random, and a mispredicted branch per point costs the most here.
        run = (run + 1) * static_cast<std::size_t>(holds(i));
        if (run >= length)
            tripped[i].add(test);
    }
}

// Marks every point for which holds(i) is true and that, with the points
// before it, makes `needed` of the last `window` points (fewer at the start).
template <std::size_t window, std::size_t needed, typename Holds>
void markWindows(std::size_t count, int test, Holds holds, Tripped &tripped)
{
    std::array<bool, window> recent{}; // the last points' holds(i), at i % window
    std::size_t inWindow = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const bool now = holds(i);
        bool &slot = recent[i % window];
        inWindow = inWindow - (slot ? 1 : 0) + (now ? 1 : 0);
        slot = now;
        if (now && inWindow >= needed)
            tripped[i].add(test);
    }
}

// -1 for a fall from the point before, +1 for a rise, 0 for none or equal.
int stepAt(const std::vector<double> &v, std::size_t i)
{
    if (i == 0)
        return 0;
    return static_cast<int>(v[i] > v[i - 1]) - static_cast<int>(v[i] < v[i - 1]);
}

void markTrendTests(const std::vector<double> &v, SpecialCauseTests enabled, Tripped &tripped)
{
    const std::size_t n = v.size();
    if (enabled.contains(3)) {
        markRuns(n, 5, 3, [&](std::size_t i) { return stepAt(v, i) > 0; }, tripped);
        markRuns(n, 5, 3, [&](std::size_t i) { return stepAt(v, i) < 0; }, tripped);
    }
    if (enabled.contains(4)) {
        // Point i alternates when its step is the opposite of the one before:
        // twelve such points in a row hold thirteen alternating changes.
        const auto alternates = [&](std::size_t i) {
            return i >= 2 && stepAt(v, i) != 0 && stepAt(v, i) == -stepAt(v, i - 1);
        };
        markRuns(n, 12, 4, alternates, tripped);
    }
}

void markZoneTests(const std::vector<double> &v, const Zones &z, SpecialCauseTests enabled,
                   Tripped &tripped)
{
    const std::size_t n = v.size();
    const auto above = [&](double edge) {
        return [&v, edge](std::size_t i) { return v[i] > edge; };
    };
    const auto below = [&](double edge) {
        return [&v, edge](std::size_t i) { return v[i] < edge; };
    };
    if (enabled.contains(2)) {
        markRuns(n, 9, 2, above(z.center), tripped);
        markRuns(n, 9, 2, below(z.center), tripped);
    }
    if (enabled.contains(5)) {
        markWindows<3, 2>(n, 5, above(z.above2), tripped);
        markWindows<3, 2>(n, 5, below(z.below2), tripped);
    }
    if (enabled.contains(6)) {
        markWindows<5, 4>(n, 6, above(z.above1), tripped);
        markWindows<5, 4>(n, 6, below(z.below1), tripped);
    }
    const auto within1 = [&](std::size_t i) { return z.below1 <= v[i] && v[i] <= z.above1; };
    if (enabled.contains(7))
        markRuns(n, 15, 7, within1, tripped);
    if (enabled.contains(8))
        markRuns(n, 8, 8, [&](std::size_t i) { return !within1(i); }, tripped);
}

// ---- building a chart ---------------------------------------------------------

// The value range that holds every point and line. A formed chart's upper
// limit always lies above its centre line, so the range is never empty.
void setDrawingRange(ControlSeries &series)
{
    series.low = series.lines.back().value;
    series.high = series.lines.front().value; // the upper control limit
    for (const double v : series.values) {
        series.low = std::min(series.low, v);
        series.high = std::max(series.high, v);
    }
}

// The labelled lines; the centre line of the X and X̄ charts reads as the
// mean box does (cut to two decimals), the rest in the result pattern as the
// run chart's limits do.
std::vector<ControlLine> linesOf(const ControlLimits &limits, bool centerAsMeanBox)
{
    const std::string center = centerAsMeanBox ? numberToText(roundToTwoDecimals(limits.center))
                                               : formatResult(limits.center);
    std::vector<ControlLine> lines = {
        {ControlLineKind::UpperControlLimit, limits.upper, "上方管理限界 " + formatResult(limits.upper)},
        {ControlLineKind::CenterLine, limits.center, "中心線 " + center}};
    if (limits.lower)
        lines.push_back({ControlLineKind::LowerControlLimit, *limits.lower,
                         "下方管理限界 " + formatResult(*limits.lower)});
    return lines;
}

struct SeriesInput
{
    std::string name;
    bool subgroups = false;
    std::vector<double> values;
    std::int64_t firstNumber = 1;
    ControlLimits limits;
    bool centerAsMeanBox = false;
};

// The points move in rather than being copied: with 32,767 of them, fresh
// memory to write them into costs more than the tests themselves.
ControlSeries seriesOf(SeriesInput in, SpecialCauseTests enabled)
{
    ControlSeries series;
    series.name = std::move(in.name);
    series.subgroups = in.subgroups;
    series.limits = in.limits;
    series.lines = linesOf(in.limits, in.centerAsMeanBox);
    SpecialCauseFindings findings = specialCauses(in.values, in.limits, enabled, in.firstNumber);
    series.firstNumber = in.firstNumber;
    series.values = std::move(in.values);
    series.trippedTests = std::move(findings.trippedTests);
    series.causes = std::move(findings.causes);
    setDrawingRange(series);
    return series;
}

// The location chart's limits center ± halfWidth, or why there are none.
std::variant<ControlLimits, NoControlChart> locationLimits(double center, double halfWidth)
{
    const ControlLimits limits{center, center + halfWidth, center - halfWidth};
    if (!std::isfinite(limits.upper) || !std::isfinite(*limits.lower)
        || !std::isfinite(roundToTwoDecimals(center)))
        return NoControlChart{kTooLarge};
    if (!(*limits.lower < center && center < limits.upper))
        return NoControlChart{kNoSpread};
    return limits;
}

// Both charts from the location points, their centre and the spread points.
ControlChartOutcome chartOf(SeriesInput location, double halfWidth, SeriesInput spread,
                           SpecialCauseTests enabled)
{
    if (!allFinite(location.values) || !allFinite(spread.values)
        || !std::isfinite(location.limits.center) || !std::isfinite(spread.limits.center)
        || !std::isfinite(halfWidth) || !std::isfinite(spread.limits.upper))
        return NoControlChart{kTooLarge};
    if (!(spread.limits.center > 0.0))
        return NoControlChart{kNoSpread};
    const auto limits = locationLimits(location.limits.center, halfWidth);
    if (const auto *refused = std::get_if<NoControlChart>(&limits))
        return *refused;
    location.limits = std::get<ControlLimits>(limits);
    location.centerAsMeanBox = true;
    SpecialCauseTests spreadTests;
    if (enabled.contains(1))
        spreadTests.add(1);
    ControlChart chart;
    chart.location = seriesOf(std::move(location), enabled);
    chart.spread = seriesOf(std::move(spread), spreadTests);
    return chart;
}

// The means and ranges of the complete subgroups of n, in list order.
struct Subgroups
{
    std::vector<double> means;
    std::vector<double> ranges;
};

Subgroups subgroupsOf(const std::vector<double> &values, std::size_t n)
{
    Subgroups groups;
    groups.means.reserve(values.size() / n);
    groups.ranges.reserve(values.size() / n);
    for (std::size_t start = 0; start + n <= values.size(); start += n) {
        const auto group = std::span<const double>(values).subspan(start, n);
        const auto [smallest, largest] = std::minmax_element(group.begin(), group.end());
        groups.means.push_back(meanOf(group));
        groups.ranges.push_back(*largest - *smallest);
    }
    return groups;
}

std::vector<double> movingRanges(const std::vector<double> &values)
{
    std::vector<double> ranges;
    ranges.reserve(values.size() - 1);
    for (std::size_t i = 1; i < values.size(); ++i)
        ranges.push_back(std::abs(values[i] - values[i - 1]));
    return ranges;
}

// ---- the normal curve ---------------------------------------------------------

// Whole ppm, grouped, and percent to two decimals, a half upward.
ExpectedShare shareOf(double share)
{
    const auto ppm = static_cast<std::int64_t>(std::llround(share * 1e6));
    const auto hundredths = static_cast<std::int64_t>(std::floor((share + 0.00005) * 10000));
    std::string cents = integerToText(hundredths % 100);
    if (cents.size() < 2)
        cents = "0" + cents;
    return {share, groupedInteger(ppm) + " ppm",
            integerToText(hundredths / 100) + "." + cents + " %"};
}

// The normal share beyond `distance` from the mean, 1 - Φ(distance / s).
// erfc keeps its precision far into the tails, where 1 - Φ would cancel to
// 0; dividing by s first keeps an infinite distance from meeting an
// infinite divisor.
double tailBeyond(double distance, double s)
{
    return 0.5 * std::erfc(distance / s / std::numbers::sqrt2);
}

// Why no share can be formed, or empty.
std::string shareRefusal(double mean, double s, std::int64_t count, const Tolerance &limits)
{
    if (!limits.upper && !limits.lower)
        return "規格が入力されていません";
    if (count < 2)
        return "データが2個未満です";
    if (!std::isfinite(s) || !std::isfinite(mean))
        return "値が大きすぎます";
    if (!(s > 0.0))
        return "ばらつきがありません (s = 0)";
    if (limits.upper && limits.lower && !(*limits.upper > *limits.lower))
        return "規格上限が規格下限以下です";
    return {};
}

} // namespace

// ---- SpecialCauseTests ------------------------------------------------------------

SpecialCauseTests SpecialCauseTests::all()
{
    SpecialCauseTests tests;
    tests.m_bits = 0xFF;
    return tests;
}

SpecialCauseTests SpecialCauseTests::only(int test)
{
    SpecialCauseTests tests;
    tests.add(test);
    return tests;
}

bool SpecialCauseTests::contains(int test) const
{
    return test >= 1 && test <= kCount && (m_bits & (1U << (test - 1))) != 0;
}

void SpecialCauseTests::add(int test)
{
    if (test >= 1 && test <= kCount)
        m_bits = static_cast<std::uint8_t>(m_bits | (1U << (test - 1)));
}

int SpecialCauseTests::size() const
{
    return std::popcount(m_bits);
}

std::string SpecialCauseTests::numbersText() const
{
    std::string text;
    for (int test = 1; test <= kCount; ++test)
        if (contains(test))
            text += (text.empty() ? "" : "\xE3\x83\xBB") + integerToText(test); // "・"
    return text;
}

// ---- the public functions ----------------------------------------------------

SpecialCauseFindings specialCauses(const std::vector<double> &values, const ControlLimits &limits,
                                   SpecialCauseTests enabled, std::int64_t firstNumber)
{
    SpecialCauseFindings findings;
    Tripped &tripped = findings.trippedTests;
    tripped.assign(values.size(), SpecialCauseTests{});
    if (enabled.contains(1))
        markRuns(values.size(), 1, 1, [&](std::size_t i) {
            return values[i] > limits.upper || (limits.lower && values[i] < *limits.lower);
        }, tripped);
    if (limits.lower) {
        markTrendTests(values, enabled, tripped);
        markZoneTests(values, zonesOf(limits), enabled, tripped);
    }
    // Counted first: a list that signals at every point would otherwise
    // spend most of its time copying the growing list.
    std::size_t signals = 0;
    for (const SpecialCauseTests &tests : tripped)
        signals += static_cast<std::size_t>(tests.size());
    findings.causes.reserve(signals);
    for (std::size_t i = 0; i < values.size(); ++i)
        for (int test = 1; test <= SpecialCauseTests::kCount && !tripped[i].empty(); ++test)
            if (tripped[i].contains(test))
                findings.causes.push_back(
                    {test, firstNumber + static_cast<std::int64_t>(i), values[i]});
    return findings;
}

std::string specialCauseName(int test)
{
    static const char *const kNames[] = {
        "管理限界の外",
        "中心線の片側に 9 点連続",
        "6 点連続で増加または減少",
        "14 点が交互に増減",
        "3 点中 2 点が 2σ をこえる (片側)",
        "5 点中 4 点が 1σ をこえる (片側)",
        "15 点連続で ±1σ 以内",
        "8 点連続で ±1σ の外",
    };
    if (test < 1 || test > SpecialCauseTests::kCount)
        return {};
    return kNames[test - 1];
}

ControlChartOutcome individualsChart(const std::vector<double> &values, SpecialCauseTests enabled)
{
    if (values.size() < 2)
        return NoControlChart{"X-Rs 管理図には値が 2 個以上必要です"};
    if (!allFinite(values))
        return NoControlChart{kTooLarge};
    std::vector<double> ranges = movingRanges(values);
    const double meanRange = meanOf(ranges);
    SeriesInput location{"X", false, values, 1, {meanOf(values), 0.0, std::nullopt}};
    SeriesInput spread{"Rs", false, std::move(ranges), 2,
                       {meanRange, kMovingRangeD4 * meanRange, std::nullopt}};
    return chartOf(std::move(location), kE2 * meanRange, std::move(spread), enabled);
}

ControlChartOutcome subgroupChart(const std::vector<double> &values, int subgroupSize,
                                  SpecialCauseTests enabled)
{
    if (subgroupSize < kSmallestSubgroup || subgroupSize > kLargestSubgroup)
        return NoControlChart{"群の大きさは 2 から 10 までです"};
    const auto n = static_cast<std::size_t>(subgroupSize);
    if (values.size() / n < 2)
        return NoControlChart{"X\xCC\x84-R 管理図には 2 群 (値 " + integerToText(2 * subgroupSize)
                              + " 個) 以上必要です"};
    Subgroups groups = subgroupsOf(values, n);
    const SubgroupFactors f = kFactors[n - kSmallestSubgroup];
    const double meanRange = meanOf(groups.ranges);
    const std::optional<double> rangeLower =
        f.d3 > 0.0 ? std::optional<double>(f.d3 * meanRange) : std::nullopt;
    const double grandMean = meanOf(groups.means);
    SeriesInput location{"X\xCC\x84", true, std::move(groups.means), 1,
                         {grandMean, 0.0, std::nullopt}};
    SeriesInput spread{"R", true, std::move(groups.ranges), 1,
                       {meanRange, f.d4 * meanRange, rangeLower}};
    ControlChartOutcome outcome =
        chartOf(std::move(location), f.a2 * meanRange, std::move(spread), enabled);
    if (auto *chart = std::get_if<ControlChart>(&outcome)) {
        chart->subgroupSize = subgroupSize;
        chart->leftOut = static_cast<std::int64_t>(values.size() % n);
        if (chart->leftOut > 0)
            chart->leftOutNote = "群にそろわない最後の値 " + integerToText(chart->leftOut)
                                 + " 個は除きました";
    }
    return outcome;
}

double withinSigma(const ControlChart &chart)
{
    const std::int64_t n = chart.subgroupSize;
    const double d2 = n >= kSmallestSubgroup && n <= kLargestSubgroup
                          ? kD2[static_cast<std::size_t>(n - kSmallestSubgroup)]
                          : kD2[0];
    return chart.spread.limits.center / d2;
}

std::string specialCauseText(const ControlSeries &series, const SpecialCause &signal)
{
    const std::string number = integerToText(signal.number);
    const std::string point = series.subgroups ? "第 " + number + " 群" : number + " 番目";
    return series.name + " 管理図 " + point + " " + resultInSentence(signal.value) + ": 判定 "
           + integerToText(signal.test) + " " + specialCauseName(signal.test);
}

ExpectedOutside expectedOutside(double mean, double s, std::int64_t count, const Tolerance &limits)
{
    ExpectedOutside outside;
    outside.reason = shareRefusal(mean, s, count, limits);
    if (!outside.reason.empty())
        return outside;
    double total = 0.0;
    if (limits.upper) {
        outside.above = shareOf(tailBeyond(*limits.upper - mean, s));
        total += outside.above->share;
    }
    if (limits.lower) {
        outside.below = shareOf(tailBeyond(mean - *limits.lower, s));
        total += outside.below->share;
    }
    outside.total = shareOf(std::min(total, 1.0));
    return outside;
}

std::vector<double> normalCurveHeights(const std::vector<double> &xs, double mean, double s,
                                       std::int64_t count, double classWidth)
{
    std::vector<double> heights;
    const double scale = static_cast<double>(count) * (classWidth / s)
                         / std::sqrt(2 * std::numbers::pi);
    if (!(s > 0.0) || !std::isfinite(s) || !std::isfinite(scale))
        return heights;
    heights.reserve(xs.size());
    for (const double x : xs) {
        const double z = (x - mean) / s;
        heights.push_back(std::isfinite(z) ? scale * std::exp(-0.5 * z * z) : 0.0);
    }
    return heights;
}

} // namespace stats
