#include "stats/Chart.h"

#include "stats/NumberReading.h"
#include "stats/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

namespace stats {

namespace {

const char *const kDash = "\xE2\x80\x94"; // "—"

// 10^-307 is the smallest power of ten above the subnormal doubles.
constexpr int kFinestDecimals = 307;
// Beyond this magnitude the top class could not end below the double range;
// a calculation never gets near it (its mean must stay below about 1.8e306).
constexpr double kLargestClassed = 1e307;
// The histogram's class count stays within these, whatever sqrt(n) says.
constexpr double kFewestClasses = 5;
constexpr double kMostClasses = 30;

// Decimal places of a value written with 12 significant digits, trailing
// zeros dropped: 12.25 -> 2, 1300 -> -2, 0.1 + 0.2 -> 1, 0 -> 0. Digits
// past the 12th are binary noise rather than a finer unit.
int decimalPlaces(double value)
{
    if (value == 0.0)
        return 0;
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 11);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    std::size_t lastDigit = e - 1; // "d.ddddddddddd" before the 'e'
    while (text[lastDigit] == '0')
        --lastDigit;
    const int fraction = text[lastDigit] == '.' ? 0 : static_cast<int>(lastDigit - text.find('.'));
    int exponent = 0;
    std::string_view digits = text.substr(e + 1);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    return fraction - exponent;
}

// The unit 10^-decimals, read from its decimal form so that 0.1, 0.01, ...
// 1e-307 and 1e295 are the doubles closest to them.
double powerOfTen(int decimals)
{
    const std::string text = "1e" + std::to_string(-decimals);
    double unit = 1.0;
    std::from_chars(text.data(), text.data() + text.size(), unit);
    return unit;
}

// Two decimals always written: 1.04 -> "1.04", 1 -> "1.00", -0 -> "0.00".
std::string twoDecimals(double value)
{
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 2);
    std::string text(buffer.data(), result.ptr);
    if (text == "-0.00")
        text = "0.00";
    return text;
}

// An index ready to show, or nullopt when it left the double range.
std::optional<double> shownIndex(double index)
{
    if (!std::isfinite(index))
        return std::nullopt;
    const double rounded = roundToTwoDecimals(index);
    if (!std::isfinite(rounded))
        return std::nullopt;
    return rounded;
}

// Why two limits leave no room between them; nullptr when they do, or when
// only one is given. Such limits are a slip in typing them, so no value is
// counted against them.
const char *toleranceFault(const Tolerance &limits)
{
    if (!limits.upper || !limits.lower || *limits.upper > *limits.lower)
        return nullptr;
    return *limits.upper == *limits.lower ? "規格上限と規格下限が同じです" : "規格上限が規格下限以下です";
}

bool outsideTolerance(double value, const Tolerance &limits)
{
    return (limits.upper && value > *limits.upper) || (limits.lower && value < *limits.lower);
}

} // namespace

ToleranceReading readToleranceLimit(std::string_view text)
{
    if (onlyBlanks(text))
        return {ToleranceEntry::Empty, 0.0};
    if (!holdsNumber(text))
        return {ToleranceEntry::NotNumber, 0.0};
    const double value = parseValueText(text);
    if (!std::isfinite(value))
        return {ToleranceEntry::NotNumber, 0.0};
    return {ToleranceEntry::Number, value};
}

double measurementUnit(const std::vector<double> &values)
{
    double largest = 0.0;
    for (const double v : values)
        largest = std::max(largest, std::abs(v));
    if (largest == 0.0 || !std::isfinite(largest))
        return 1.0;
    // No finer than the 12th significant digit of the largest value, so the
    // span counted in units stays well inside a double's exact integers, and
    // no finer than the smallest power of ten a double holds at full
    // precision, so tiny (subnormal) values still get a unit above zero.
    const int finest = std::min(kFinestDecimals,
                                11 - static_cast<int>(std::floor(std::log10(largest))));
    int decimals = 0;
    for (const double v : values)
        decimals = std::max(decimals, decimalPlaces(v));
    return powerOfTen(std::min(decimals, finest));
}

namespace {

// How the classes lie, counted in measurement units: the class width, how
// many classes, and how many of them are empty ones below the smallest value.
struct ClassLayout
{
    double widthUnits = 1;
    double classes = 0;
    double before = 0;
};

// About sqrt(n) classes over the span, within 5 to 30 (see histogramClasses).
ClassLayout layoutClasses(double span, std::size_t n)
{
    const double wanted =
        std::clamp<double>(std::round(std::sqrt(static_cast<double>(n))), kFewestClasses, kMostClasses);
    ClassLayout layout;
    layout.widthUnits = std::max(1.0, std::round(span / wanted));
    // A class must reach half a unit past the largest value: span + 1 units in all.
    layout.classes = std::floor(span / layout.widthUnits) + 1;
    if (layout.classes > kMostClasses) {
        layout.widthUnits = std::ceil((span + 1) / kMostClasses);
        layout.classes = std::floor(span / layout.widthUnits) + 1;
    }
    if (layout.classes < kFewestClasses) {
        layout.before = std::floor((kFewestClasses - layout.classes) / 2);
        layout.classes = kFewestClasses;
    }
    return layout;
}

// Sets the class boundaries from `start` on, then counts each value into the
// class [lower, upper) that holds it.
void fillClasses(Histogram &histogram, std::size_t count, double start,
                 const std::vector<double> &values)
{
    histogram.classes.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        histogram.classes[i].lower = start + static_cast<double>(i) * histogram.width;
        histogram.classes[i].upper = start + static_cast<double>(i + 1) * histogram.width;
    }
    for (const double v : values) {
        // The division finds the class; the comparisons settle it against
        // the very boundaries the chart shows.
        double guess = std::floor((v - start) / histogram.width);
        guess = std::clamp(guess, 0.0, static_cast<double>(count - 1));
        auto i = static_cast<std::size_t>(guess);
        while (i > 0 && v < histogram.classes[i].lower)
            --i;
        while (i + 1 < count && v >= histogram.classes[i].upper)
            ++i;
        ++histogram.classes[i].count;
    }
}

} // namespace

Histogram histogramClasses(const std::vector<double> &values)
{
    Histogram histogram;
    const bool classable = std::all_of(values.begin(), values.end(),
                                       [](double v) { return std::abs(v) <= kLargestClassed; });
    if (values.empty() || !classable)
        return histogram;

    const auto [minIt, maxIt] = std::minmax_element(values.begin(), values.end());
    const double smallest = *minIt;
    const double largest = *maxIt;
    const double unit = measurementUnit(values);
    // Everything is counted in units first, so the width is a whole number of
    // them. The unit is at least a 10^-12 share of the largest magnitude, so
    // the span stays below about 2 * 10^12 units.
    const double span = std::round((largest - smallest) / unit);
    ClassLayout layout = layoutClasses(span, values.size());
    const double start = smallest - unit / 2 - layout.before * (layout.widthUnits * unit);
    // A value that is not a whole number of units (its digits lie below the
    // unit) may reach the top boundary by rounding: one class more, or wider
    // classes when 30 are drawn already.
    while (!(start + layout.classes * (layout.widthUnits * unit) > largest)) {
        if (layout.classes < kMostClasses)
            layout.classes += 1;
        else
            layout.widthUnits += 1;
    }
    histogram.unit = unit;
    histogram.width = layout.widthUnits * unit;
    fillClasses(histogram, static_cast<std::size_t>(layout.classes), start, values);
    return histogram;
}

namespace {

// Counts the values strictly above upper or below lower; a value on a limit
// lies within it.
void countOutside(Capability &c, const std::vector<double> &values, const Tolerance &limits)
{
    const auto n = static_cast<std::int64_t>(values.size());
    const auto outside = static_cast<std::int64_t>(std::count_if(
        values.begin(), values.end(), [&limits](double v) { return outsideTolerance(v, limits); }));
    c.outsideCount = outside;
    c.outsideCountText = integerToText(outside);
    c.outsidePercentText = n > 0 ? numberToText(wholePercent(outside, n)) : kDash;
}

void setSampleSigma(Capability &c, const StatisticsFigures &figures)
{
    const SampleSigma s = sampleSigma(figures);
    c.sampleSigma = s.value;
    c.sampleSigmaText = s.text;
}

// Cp and Cpk for sound limits and a finite, positive s, or why not.
void setIndices(Capability &c, double mean, const Tolerance &limits)
{
    const double s = c.sampleSigma;
    if (limits.upper && limits.lower) {
        c.cp = shownIndex((*limits.upper - *limits.lower) / (6.0 * s));
        c.cpk = shownIndex(std::min(*limits.upper - mean, mean - *limits.lower) / (3.0 * s));
    } else if (limits.upper) {
        c.cpk = shownIndex((*limits.upper - mean) / (3.0 * s));
    } else {
        c.cpk = shownIndex((mean - *limits.lower) / (3.0 * s));
    }
    if (!c.cpk || (limits.upper && limits.lower && !c.cp))
        c.reason = "値が大きすぎます";
    else if (!c.cp)
        c.reason = "規格が片側のみのため Cp はありません";
}

// The mean line, the limit lines and the tolerance lines given.
std::vector<ChartLine> chartLines(const StatisticsFigures &figures, const Tolerance &limits)
{
    const StatisticsTexts texts = statisticsTexts(figures);
    std::vector<ChartLine> lines = {
        {LineKind::Mean, figures.mean, "平均 " + texts.mean},
        {LineKind::UpperLimit, figures.upperLimit, "上限 " + texts.upperLimit},
        {LineKind::LowerLimit, figures.lowerLimit, "下限 " + texts.lowerLimit},
    };
    if (limits.upper)
        lines.push_back({LineKind::UpperTolerance, *limits.upper, "規格上限 " + numberToText(*limits.upper)});
    if (limits.lower)
        lines.push_back({LineKind::LowerTolerance, *limits.lower, "規格下限 " + numberToText(*limits.lower)});
    return lines;
}

// The range that holds the mean and every point, line and class; never empty.
void setDrawingRange(ChartData &data, double mean)
{
    double low = mean;
    double high = mean;
    for (const RunPoint &point : data.points) {
        low = std::min(low, point.value);
        high = std::max(high, point.value);
    }
    for (const ChartLine &line : data.lines) {
        low = std::min(low, line.value);
        high = std::max(high, line.value);
    }
    if (!data.histogram.classes.empty()) {
        low = std::min(low, data.histogram.classes.front().lower);
        high = std::max(high, data.histogram.classes.back().upper);
    }
    if (!(low < high)) {
        // Half a unit either side would vanish next to a huge value.
        const double room = std::max(0.5, std::abs(low) / 1024);
        low = std::max(low - room, -std::numeric_limits<double>::max());
        high = std::min(high + room, std::numeric_limits<double>::max());
    }
    data.low = low;
    data.high = high;
}

} // namespace

// s around the calculation's own mean, in the same two passes as σ.
SampleSigma sampleSigma(const StatisticsFigures &figures)
{
    const auto n = static_cast<std::int64_t>(figures.values.size());
    if (n < 2)
        return {0.0, kDash};
    const double squares = sumOfSquaredDeviations(figures.values, figures.mean);
    const double s = std::sqrt(squares / static_cast<double>(n - 1));
    return std::isfinite(s) ? SampleSigma{s, formatResult(s)} : SampleSigma{s, kDash};
}

std::optional<Capability> processCapability(const StatisticsFigures &figures,
                                            const Tolerance &limits)
{
    if (!limits.upper && !limits.lower)
        return std::nullopt;
    Capability c;
    setSampleSigma(c, figures);
    const char *const limitsFault = toleranceFault(limits);
    if (limitsFault) {
        c.outsideCountText = kDash;
        c.outsidePercentText = kDash;
        c.reason = limitsFault;
    } else {
        countOutside(c, figures.values, limits);
        if (figures.values.size() < 2)
            c.reason = "データが2個未満です";
        else if (!std::isfinite(c.sampleSigma))
            c.reason = "値が大きすぎます";
        else if (!(c.sampleSigma > 0.0))
            c.reason = "ばらつきがありません (s = 0)";
        else
            setIndices(c, figures.mean, limits);
    }
    c.cpText = c.cp ? twoDecimals(*c.cp) : kDash;
    c.cpkText = c.cpk ? twoDecimals(*c.cpk) : kDash;
    return c;
}

ChartData chartData(const StatisticsFigures &figures, const Tolerance &limits)
{
    ChartData data;
    data.points.reserve(figures.values.size());
    for (const double v : figures.values)
        data.points.push_back({v, v > figures.upperLimit || v < figures.lowerLimit});
    data.lines = chartLines(figures, limits);
    data.histogram = histogramClasses(figures.values);
    data.capability = processCapability(figures, limits);
    setDrawingRange(data, figures.mean);
    return data;
}

std::string runChartDescription(const ChartData &data)
{
    constexpr std::size_t kNamed = 10; // signals named by their item number
    std::string text = "値 " + integerToText(static_cast<std::int64_t>(data.points.size()))
                       + " 個を一覧の順に結んだ線。";
    for (std::size_t i = 0; i < data.lines.size(); ++i)
        text += (i == 0 ? "" : "、") + data.lines[i].label;
    if (!data.lines.empty())
        text += "。";
    std::string named;
    std::int64_t signals = 0;
    for (std::size_t i = 0; i < data.points.size(); ++i) {
        if (!data.points[i].beyondLimit)
            continue;
        if (static_cast<std::size_t>(signals) < kNamed)
            named += (signals == 0 ? "" : "・") + integerToText(static_cast<std::int64_t>(i + 1));
        ++signals;
    }
    if (signals == 0)
        return text + "上限・下限をこえた点はありません。";
    text += "上限・下限をこえた点 " + integerToText(signals) + " 個 (" + named + " 番目";
    if (signals > static_cast<std::int64_t>(kNamed))
        text += "、ほか " + integerToText(signals - static_cast<std::int64_t>(kNamed)) + " 個";
    return text + ")。";
}

std::string histogramDescription(const ChartData &data)
{
    const Histogram &h = data.histogram;
    if (h.classes.empty())
        return "級がありません。";
    std::string text = integerToText(static_cast<std::int64_t>(h.classes.size())) + " 級、幅 "
                       + numberToText(h.width) + " (測定単位 " + numberToText(h.unit) + ")、"
                       + numberToText(h.classes.front().lower) + " から "
                       + numberToText(h.classes.back().upper) + " まで。度数は小さい級から ";
    for (std::size_t i = 0; i < h.classes.size(); ++i)
        text += (i == 0 ? "" : "、") + integerToText(h.classes[i].count);
    text += "。";
    if (data.capability && data.capability->outsideCount)
        text += "規格外の値 " + data.capability->outsideCountText + " 個 ("
                + data.capability->outsidePercentText + " %)。";
    return text;
}

} // namespace stats
