// The chart window's core over figures a calculation really produces.
//
// The input chooses the item texts (read from the bytes as text, or raw
// doubles written out exactly and read back), how many items there are (the
// texts repeat up to any count from 1 to 32,767), the sigma choice and a
// tolerance (either limit present or not, any finite double, inverted or
// not). The calculation's figures then go through chartData,
// histogramClasses and processCapability, and the target checks what the
// window relies on: 5 to 30 classes with finite, joined boundaries, each
// value in the class [lower, upper) that counts it, counts adding up to n, a
// finite drawing range holding every point, line and class, texts that
// never say "inf" or "nan", and an outside count only for limits with room
// between them, equal to the values beyond them.

#include "FuzzCheck.h"

#include "files/ValueFile.h"
#include "stats/Chart.h"
#include "stats/ChartContent.h"
#include "stats/Statistics.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

std::string exactText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<double> limitFrom(FuzzedDataProvider &provider)
{
    if (!provider.ConsumeBool())
        return std::nullopt;
    double value = 0.0;
    if (provider.ConsumeBool()) {
        const auto bits = provider.ConsumeIntegral<std::uint64_t>();
        std::memcpy(&value, &bits, sizeof value);
    } else {
        value = static_cast<double>(provider.ConsumeIntegralInRange<int>(-1000, 1000)) / 4;
    }
    if (!std::isfinite(value))
        return std::nullopt; // a tolerance entry never reads as inf or nan
    return value;
}

std::string describe(const stats::StatisticsFigures &figures)
{
    std::string text;
    for (std::size_t i = 0; i < figures.values.size() && i < 8; ++i)
        text += exactText(figures.values[i]) + " ";
    return text + "(n " + std::to_string(figures.values.size()) + ")";
}

void checkHistogram(const stats::Histogram &h, const std::vector<double> &values,
                    const std::string &detail)
{
    fuzz::check(std::isfinite(h.unit) && h.unit > 0, "unit not positive and finite", detail);
    fuzz::check(std::isfinite(h.width) && h.width >= h.unit, "width below the unit", detail);
    fuzz::check(h.classes.size() >= 5 && h.classes.size() <= 30, "not 5 to 30 classes", detail);
    for (std::size_t i = 0; i < h.classes.size(); ++i) {
        const auto &c = h.classes[i];
        fuzz::check(std::isfinite(c.lower) && std::isfinite(c.upper), "a boundary not finite",
                    detail);
        fuzz::check(c.lower < c.upper, "an empty class", detail);
        fuzz::check(i == 0 || c.lower == h.classes[i - 1].upper, "classes not joined", detail);
    }
    std::vector<std::int64_t> found(h.classes.size(), 0);
    for (const double v : values) {
        std::size_t lo = 0;
        std::size_t hi = h.classes.size();
        while (lo < hi) { // the first class whose upper boundary lies above v
            const std::size_t mid = (lo + hi) / 2;
            if (v < h.classes[mid].upper)
                hi = mid;
            else
                lo = mid + 1;
        }
        fuzz::check(lo < h.classes.size() && h.classes[lo].lower <= v,
                    "a value lies in no class", exactText(v) + " in " + detail);
        ++found[lo];
    }
    std::int64_t total = 0;
    for (std::size_t i = 0; i < h.classes.size(); ++i) {
        fuzz::check(h.classes[i].count == found[i], "a class counts other values", detail);
        total += h.classes[i].count;
    }
    fuzz::check(total == static_cast<std::int64_t>(values.size()), "counts do not add up to n",
                detail);
}

// Limits with no room between them count nothing and give no index; sound
// ones count exactly the values strictly beyond them.
void checkOutsideCount(const stats::Capability &c, const std::vector<double> &values,
                       const stats::Tolerance &limits, const std::string &detail)
{
    const bool noRoom = limits.upper && limits.lower && !(*limits.upper > *limits.lower);
    fuzz::check(c.outsideCount.has_value() != noRoom,
                "outside count given for limits with no room, or missing for sound ones", detail);
    fuzz::check(!noRoom || (!c.cp && !c.cpk && !c.reason.empty()),
                "an index for limits with no room between them", detail);
    if (!c.outsideCount)
        return;
    const auto outside = std::count_if(values.begin(), values.end(), [&limits](double v) {
        return (limits.upper && v > *limits.upper) || (limits.lower && v < *limits.lower);
    });
    fuzz::check(*c.outsideCount == outside, "outside count differs from the values beyond",
                detail);
}

void checkCapability(const std::optional<stats::Capability> &c, const std::vector<double> &values,
                     const stats::Tolerance &limits, const std::string &detail)
{
    fuzz::check(c.has_value() == (limits.upper || limits.lower),
                "capability present without a limit, or missing with one", detail);
    if (!c)
        return;
    checkOutsideCount(*c, values, limits, detail);
    for (const std::string *text : {&c->sampleSigmaText, &c->cpText, &c->cpkText,
                                    &c->outsideCountText, &c->outsidePercentText, &c->reason})
        fuzz::check(!fuzz::mentionsInfOrNan(*text), "a capability text says inf/nan",
                    *text + " for " + detail);
    fuzz::check(!c->cp || std::isfinite(*c->cp), "Cp not finite", detail);
    fuzz::check(!c->cpk || std::isfinite(*c->cpk), "Cpk not finite", detail);
}

// The chart window's content with the items that hold no number left out:
// every item is charted or left out, never both; what is charted lies in a
// finite range; the texts never say inf or nan.
void checkContent(const stats::StatisticsFigures &figures, const std::vector<std::string> &items,
                  const stats::ChartRequest &request, const std::string &detail)
{
    const std::vector<std::size_t> withoutNumber = stats::looseReadings(items).withoutNumber;
    const stats::ChartContent content = stats::chartContent(figures, request, withoutNumber);
    fuzz::check(content.withoutNumber == withoutNumber, "items left out differ", detail);
    fuzz::check(content.withoutNumber.empty() == content.withoutNumberNote.empty(),
                "a note without items left out, or none with them", detail);
    const bool charted = !content.chartedItems.empty();
    fuzz::check(!charted || content.chartedItems.size() + withoutNumber.size() == items.size(),
                "an item neither charted nor left out", detail);
    fuzz::check(content.data.points.size() == content.chartedItems.size(), "a point per item",
                detail);
    for (const std::size_t item : content.chartedItems)
        fuzz::check(!std::binary_search(withoutNumber.begin(), withoutNumber.end(), item),
                    "an item without a number charted", detail);
    for (const auto &p : content.data.points)
        fuzz::check(std::isfinite(p.value) && content.data.low <= p.value &&
                        p.value <= content.data.high,
                    "a charted point outside the range", detail);
    fuzz::check(content.control.has_value() == (request.type != stats::ChartType::Run),
                "a control chart for the run chart, or none asked for", detail);
    for (const std::string *text : {&content.texts.mean, &content.texts.upperLimit,
                                    &content.texts.lowerLimit, &content.withoutNumberNote})
        fuzz::check(!fuzz::mentionsInfOrNan(*text), "a content text says inf/nan", *text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    static const char *const kChoices[] = {"3σ", "2σ", "1σ", ""};
    const std::string choice = kChoices[provider.ConsumeIntegralInRange<unsigned>(0, 3)];
    stats::Tolerance limits;
    limits.upper = limitFrom(provider);
    limits.lower = limitFrom(provider);
    // Most runs take the items as given; some repeat them up to a count.
    const bool repeated = provider.ConsumeIntegralInRange<unsigned>(0, 7) == 0;
    // Spread evenly over the powers of two, so long lists come up without
    // every run paying for one.
    const auto scale = provider.ConsumeIntegralInRange<unsigned>(0, 15);
    const std::size_t count = std::min<std::size_t>(
        files::kMaxListItems,
        provider.ConsumeIntegralInRange<std::size_t>(std::size_t{1} << scale,
                                                     std::size_t{2} << scale));
    const bool rawDoubles = provider.ConsumeBool();
    const auto type = static_cast<stats::ChartType>(provider.ConsumeIntegralInRange<int>(0, 2));
    const int subgroupSize = provider.ConsumeIntegralInRange<int>(2, 10);

    std::vector<std::string> given;
    while (provider.remaining_bytes() > 0 && given.size() < files::kMaxListItems) {
        if (rawDoubles) {
            double value = 0.0;
            const auto bits = provider.ConsumeIntegral<std::uint64_t>();
            std::memcpy(&value, &bits, sizeof value);
            given.push_back(std::isfinite(value) ? exactText(value) : std::string("0"));
        } else {
            given.push_back(provider.ConsumeRandomLengthString(32));
        }
    }
    if (given.empty())
        return 0;
    std::vector<std::string> items = given;
    if (repeated) {
        items.clear();
        items.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            items.push_back(given[i % given.size()]);
    }

    const stats::FiguresOutcome outcome = stats::calculateFigures(items, choice);
    if (!std::holds_alternative<stats::StatisticsFigures>(outcome))
        return 0;
    const auto &figures = std::get<stats::StatisticsFigures>(outcome);
    const std::string detail = describe(figures);

    checkHistogram(stats::histogramClasses(figures.values), figures.values, detail);
    checkCapability(stats::processCapability(figures, limits), figures.values, limits, detail);

    const stats::ChartData chart = stats::chartData(figures, limits);
    checkHistogram(chart.histogram, figures.values, detail);
    checkCapability(chart.capability, figures.values, limits, detail);
    fuzz::check(std::isfinite(chart.low) && std::isfinite(chart.high) && chart.low < chart.high,
                "drawing range not finite or empty", detail);
    fuzz::check(chart.points.size() == figures.values.size(), "a point per value", detail);
    for (const auto &p : chart.points)
        fuzz::check(chart.low <= p.value && p.value <= chart.high, "a point outside the range",
                    detail);
    for (const auto &line : chart.lines) {
        fuzz::check(chart.low <= line.value && line.value <= chart.high,
                    "a line outside the range", detail);
        fuzz::check(!fuzz::mentionsInfOrNan(line.label), "a line label says inf/nan", line.label);
    }
    fuzz::check(chart.low <= chart.histogram.classes.front().lower
                    && chart.histogram.classes.back().upper <= chart.high,
                "a class outside the range", detail);
    for (const std::string &text :
         {stats::runChartDescription(chart), stats::histogramDescription(chart)})
        fuzz::check(!fuzz::mentionsInfOrNan(text), "a description says inf/nan", text);
    checkContent(figures, items, {type, subgroupSize, limits, stats::SpecialCauseTests::all()},
                 detail);
    return 0;
}
