// The control charts and the expected share outside a tolerance.
//
// The input chooses the values (raw doubles, or small steps so that runs,
// ties and alternations come up), how often they repeat (up to 32,767), the
// chart (X-Rs, or X̄-R with a subgroup size from 1 to 11), the tests switched
// on, and a mean, s and tolerance for the share. The target checks what the
// chart window relies on: finite limits in order, points numbered in range,
// a mark for every signal and a signal for every mark, test 1 at exactly the
// points strictly beyond the limits, no signal from a disabled test, test 1
// only on the range chart, and the location chart's signals against a
// point-by-point recount of all eight tests written from their definitions.
// The shares lie in 0..1 and add up; no text says inf or nan.

#include "FuzzCheck.h"

#include "stats/ControlChart.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr std::size_t kMostValues = 32767;
constexpr std::size_t kMostRecounted = 3000; // the recount looks back up to 15 points at each

double valueFrom(FuzzedDataProvider &provider, bool raw)
{
    if (!raw)
        return static_cast<double>(provider.ConsumeIntegralInRange<int>(-8, 8)) / 2;
    double value = 0.0;
    const auto bits = provider.ConsumeIntegral<std::uint64_t>();
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<double> valuesFrom(FuzzedDataProvider &provider)
{
    const bool raw = provider.ConsumeIntegralInRange<unsigned>(0, 3) == 0;
    const bool repeated = provider.ConsumeIntegralInRange<unsigned>(0, 7) == 0;
    // Spread evenly over the powers of two, so long lists come up without
    // every run paying for one.
    const auto scale = provider.ConsumeIntegralInRange<unsigned>(0, 14);
    const std::size_t count = std::min<std::size_t>(
        kMostValues, provider.ConsumeIntegralInRange<std::size_t>(std::size_t{1} << scale,
                                                                   std::size_t{2} << scale));
    std::vector<double> given;
    while (provider.remaining_bytes() > 0 && given.size() < kMostValues)
        given.push_back(valueFrom(provider, raw));
    if (!repeated || given.empty())
        return given;
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = given[i % given.size()];
    return values;
}

// ---- the recount ----------------------------------------------------------------

// Whether the `length` points ending at i all satisfy `holds`.
template <typename Holds>
bool allOf(std::size_t i, std::size_t length, Holds holds)
{
    if (i + 1 < length)
        return false;
    for (std::size_t k = i + 1 - length; k <= i; ++k)
        if (!holds(k))
            return false;
    return true;
}

// Whether point i holds and, with the points before it, makes `needed` of
// the last `window`.
template <typename Holds>
bool windowOf(std::size_t i, std::size_t window, std::size_t needed, Holds holds)
{
    std::size_t count = 0;
    for (std::size_t k = i + 1 >= window ? i + 1 - window : 0; k <= i; ++k)
        count += holds(k) ? 1 : 0;
    return holds(i) && count >= needed;
}

stats::SpecialCauseTests recount(const std::vector<double> &v, const stats::ControlLimits &l,
                                 std::size_t i)
{
    const double c = l.center;
    const double up = (l.upper - c) / 3;
    const double down = (c - *l.lower) / 3;
    const auto step = [&](std::size_t k) {
        return k == 0 ? 0 : (v[k] > v[k - 1]) - (v[k] < v[k - 1]);
    };
    const auto within = [&](std::size_t k) { return c - down <= v[k] && v[k] <= c + up; };
    stats::SpecialCauseTests found;
    if (v[i] > l.upper || v[i] < *l.lower)
        found.add(1);
    if (allOf(i, 9, [&](std::size_t k) { return v[k] > c; })
        || allOf(i, 9, [&](std::size_t k) { return v[k] < c; }))
        found.add(2);
    if (allOf(i, 5, [&](std::size_t k) { return step(k) > 0; })
        || allOf(i, 5, [&](std::size_t k) { return step(k) < 0; }))
        found.add(3);
    if (allOf(i, 13, [&](std::size_t k) { return k >= 1 && step(k) != 0; })
        && allOf(i, 12, [&](std::size_t k) { return step(k) == -step(k - 1); }))
        found.add(4);
    if (windowOf(i, 3, 2, [&](std::size_t k) { return v[k] > c + 2 * up; })
        || windowOf(i, 3, 2, [&](std::size_t k) { return v[k] < c - 2 * down; }))
        found.add(5);
    if (windowOf(i, 5, 4, [&](std::size_t k) { return v[k] > c + up; })
        || windowOf(i, 5, 4, [&](std::size_t k) { return v[k] < c - down; }))
        found.add(6);
    if (allOf(i, 15, within))
        found.add(7);
    if (allOf(i, 8, [&](std::size_t k) { return !within(k); }))
        found.add(8);
    return found;
}

// ---- the checks -------------------------------------------------------------------

void checkLimits(const stats::ControlSeries &s, const std::string &detail)
{
    const auto &l = s.limits;
    fuzz::check(std::isfinite(l.center) && std::isfinite(l.upper) && l.center <= l.upper,
                "centre or upper limit not finite, or out of order", detail);
    fuzz::check(!l.lower || (std::isfinite(*l.lower) && *l.lower <= l.center),
                "lower limit not finite, or above the centre", detail);
    fuzz::check(std::isfinite(s.low) && std::isfinite(s.high) && s.low < s.high,
                "drawing range not finite or empty", detail);
    for (const auto &line : s.lines) {
        fuzz::check(s.low <= line.value && line.value <= s.high, "a line outside the range", detail);
        fuzz::check(!fuzz::mentionsInfOrNan(line.label), "a label says inf/nan", line.label);
    }
    for (const double v : s.values)
        fuzz::check(s.low <= v && v <= s.high, "a point outside the range", detail);
}

void checkSignals(const stats::ControlSeries &s, stats::SpecialCauseTests enabled,
                  const std::string &detail)
{
    fuzz::check(s.trippedTests.size() == s.values.size(), "a mark per point", detail);
    std::size_t marks = 0;
    for (std::size_t i = 0; i < s.values.size(); ++i) {
        const double v = s.values[i];
        const bool beyond = v > s.limits.upper || (s.limits.lower && v < *s.limits.lower);
        fuzz::check(s.trippedTests[i].contains(1) == (beyond && enabled.contains(1)),
                    "test 1 not at exactly the points beyond the limits", detail);
        for (int t = 1; t <= stats::SpecialCauseTests::kCount; ++t)
            fuzz::check(enabled.contains(t) || !s.trippedTests[i].contains(t),
                        "a disabled test marks a point", detail);
        marks += static_cast<std::size_t>(s.trippedTests[i].size());
    }
    fuzz::check(marks == s.causes.size(), "marks and signals differ in number", detail);
    std::int64_t previous = s.firstNumber - 1;
    for (const auto &signal : s.causes) {
        const std::int64_t index = signal.number - s.firstNumber;
        fuzz::check(index >= 0 && index < static_cast<std::int64_t>(s.values.size()),
                    "a signal's point out of range", detail);
        fuzz::check(signal.number >= previous, "signals not in point order", detail);
        previous = signal.number;
        const auto at = static_cast<std::size_t>(index);
        fuzz::check(s.trippedTests[at].contains(signal.test) && signal.value == s.values[at],
                    "a signal without its mark or value", detail);
        fuzz::check(!fuzz::mentionsInfOrNan(stats::specialCauseText(s, signal)),
                    "a signal's text says inf/nan", detail);
    }
}

void checkChart(const stats::ControlChart &chart, stats::SpecialCauseTests enabled,
                const std::string &detail)
{
    for (const auto *s : {&chart.location, &chart.spread})
        checkLimits(*s, detail);
    fuzz::check(chart.location.limits.lower.has_value(), "no lower limit on the location chart",
                detail);
    checkSignals(chart.location, enabled, detail);
    stats::SpecialCauseTests rangeTests;
    if (enabled.contains(1))
        rangeTests.add(1);
    checkSignals(chart.spread, rangeTests, detail);
    const auto &location = chart.location;
    if (location.values.size() > kMostRecounted)
        return;
    for (std::size_t i = 0; i < location.values.size(); ++i) {
        stats::SpecialCauseTests expected;
        const stats::SpecialCauseTests all = recount(location.values, location.limits, i);
        for (int t = 1; t <= stats::SpecialCauseTests::kCount; ++t)
            if (all.contains(t) && enabled.contains(t))
                expected.add(t);
        fuzz::check(location.trippedTests[i] == expected, "marks differ from the recount",
                    detail + " at point " + std::to_string(i + 1) + ": "
                        + location.trippedTests[i].numbersText() + " vs " + expected.numbersText());
    }
}

void checkShares(FuzzedDataProvider &provider)
{
    const double mean = valueFrom(provider, provider.ConsumeBool());
    const double s = valueFrom(provider, provider.ConsumeBool());
    const auto count = provider.ConsumeIntegralInRange<std::int64_t>(0, 40);
    stats::Tolerance limits;
    if (provider.ConsumeBool())
        limits.upper = valueFrom(provider, provider.ConsumeBool());
    if (provider.ConsumeBool())
        limits.lower = valueFrom(provider, provider.ConsumeBool());
    if ((limits.upper && !std::isfinite(*limits.upper)) || (limits.lower && !std::isfinite(*limits.lower))
        || !std::isfinite(mean))
        return; // a tolerance entry or a calculated mean is never inf or nan
    const auto outside = stats::expectedOutside(mean, s, count, limits);
    fuzz::check(outside.total.has_value() == outside.reason.empty(), "a share and a reason", "");
    for (const auto *share : {&outside.above, &outside.below, &outside.total}) {
        if (!*share)
            continue;
        fuzz::check((*share)->share >= 0.0 && (*share)->share <= 1.0, "a share outside 0..1", "");
        fuzz::check(!fuzz::mentionsInfOrNan((*share)->ppmText + (*share)->percentText),
                    "a share's text says inf/nan", (*share)->ppmText);
    }
    for (const double h : stats::normalCurveHeights({mean, mean + s, limits.upper.value_or(0.0)},
                                                     mean, s, count, 0.5))
        fuzz::check(std::isfinite(h) && h >= 0.0, "a curve height not finite", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const bool subgroups = provider.ConsumeBool();
    const int subgroupSize = provider.ConsumeIntegralInRange<int>(1, 11);
    stats::SpecialCauseTests enabled;
    const auto bits = provider.ConsumeIntegral<std::uint8_t>();
    for (int t = 1; t <= stats::SpecialCauseTests::kCount; ++t)
        if ((bits >> (t - 1)) & 1)
            enabled.add(t);
    checkShares(provider);
    const std::vector<double> values = valuesFrom(provider);
    const auto outcome = subgroups ? stats::subgroupChart(values, subgroupSize, enabled)
                                   : stats::individualsChart(values, enabled);
    const std::string detail = std::to_string(values.size()) + " values, subgroups "
                               + (subgroups ? std::to_string(subgroupSize) : std::string("no"));
    if (const auto *refused = std::get_if<stats::NoControlChart>(&outcome)) {
        fuzz::check(!refused->reason.empty(), "a refusal without a reason", detail);
        return 0;
    }
    checkChart(std::get<stats::ControlChart>(outcome), enabled, detail);
    return 0;
}
