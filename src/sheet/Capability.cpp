#include "sheet/Capability.h"

#include "stats/NumberText.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace sheet {

namespace {

constexpr double kLevel = 0.95;
constexpr std::size_t kSmallestNormalityCount = 8;

// The figure in hundredths, truncated downwards, after taking it to ten
// decimals: 0.57 is stored as 0.56999999999999995, and must still show as 0.57.
std::int64_t hundredthsOf(double value)
{
    constexpr double kTenDecimals = 1e10;
    if (std::abs(value) >= 9e8)
        return static_cast<std::int64_t>(std::floor(value * 100));
    const auto scaled = static_cast<std::int64_t>(std::llround(value * kTenDecimals));
    constexpr std::int64_t kPerHundredth = 100'000'000;
    std::int64_t hundredths = scaled / kPerHundredth;
    if (scaled % kPerHundredth != 0 && scaled < 0)
        --hundredths; // towards minus infinity, never up
    return hundredths;
}

double normalCdf(double z)
{
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

double zQuantile(double p)
{
    return boost::math::quantile(boost::math::normal_distribution<double>(), p);
}

double meanOf(const std::vector<double> &values)
{
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

double sampleSigmaOf(const std::vector<double> &values, double mean)
{
    double squares = 0.0;
    for (const double v : values)
        squares += (v - mean) * (v - mean);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

// The p-value of A*² (D'Agostino and Stephens, Goodness-of-Fit Techniques,
// table 4.9: the case of mean and variance both estimated).
double andersonDarlingP(double a)
{
    double p = 0.0;
    if (a >= 0.6)
        p = std::exp(1.2937 - 5.709 * a + 0.0186 * a * a);
    else if (a >= 0.34)
        p = std::exp(0.9177 - 4.279 * a - 1.38 * a * a);
    else if (a >= 0.2)
        p = 1 - std::exp(-8.318 + 42.796 * a - 59.938 * a * a);
    else
        p = 1 - std::exp(-13.436 + 101.14 * a - 223.73 * a * a);
    return std::clamp(p, 0.0, 1.0);
}

CapabilityIndex indexOf(std::string name, std::string side, double value,
                        std::optional<Interval> interval)
{
    CapabilityIndex index;
    index.band = bandText(name, value);
    index.name = std::move(name);
    index.side = std::move(side);
    index.value = value;
    index.text = indexText(value);
    index.interval = interval;
    index.intervalText = interval ? indexText(interval->lower) + " – " + indexText(interval->upper)
                                  : "—";
    return index;
}

// Cp and Cpk (or Pp and Ppk) for one σ.
void setIndices(CapabilityReport &report, const stats::Tolerance &tolerance, double sigma,
                double freedom, bool within)
{
    if (!(sigma > 0.0) || !std::isfinite(sigma))
        return;
    const double count = static_cast<double>(report.count);
    const std::string potential = within ? "Cp" : "Pp";
    const std::string actual = within ? "Cpk" : "Ppk";
    std::optional<CapabilityIndex> spreadIndex, centredIndex;
    if (tolerance.upper && tolerance.lower) {
        const double cp = (*tolerance.upper - *tolerance.lower) / (6 * sigma);
        const double cpk = std::min(*tolerance.upper - report.mean, report.mean - *tolerance.lower)
                           / (3 * sigma);
        spreadIndex = indexOf(potential, "", cp, cpInterval(cp, freedom));
        centredIndex = indexOf(actual, "", cpk, cpkInterval(cpk, count, freedom));
    } else {
        const bool upper = tolerance.upper.has_value();
        const double cpk = upper ? (*tolerance.upper - report.mean) / (3 * sigma)
                                 : (report.mean - *tolerance.lower) / (3 * sigma);
        centredIndex = indexOf(actual, upper ? "上限" : "下限", cpk, cpkInterval(cpk, count, freedom));
    }
    if (spreadIndex && !std::isfinite(spreadIndex->value))
        spreadIndex.reset();
    if (centredIndex && !std::isfinite(centredIndex->value))
        centredIndex.reset();
    (within ? report.cp : report.pp) = spreadIndex;
    (within ? report.cpk : report.ppk) = centredIndex;
}

} // namespace

std::string indexText(double value)
{
    if (!std::isfinite(value))
        return "—";
    const std::int64_t hundredths = hundredthsOf(value);
    const std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::string cents = stats::integerToText(magnitude % 100);
    if (cents.size() < 2)
        cents = "0" + cents;
    return (hundredths < 0 ? "-" : "") + stats::integerToText(magnitude / 100) + "." + cents;
}

std::string bandText(const std::string &name, double value)
{
    const std::int64_t hundredths = hundredthsOf(value);
    if (hundredths < 100)
        return name + " < 1.00";
    if (hundredths < 133)
        return "1.00 ≤ " + name + " < 1.33";
    if (hundredths < 167)
        return "1.33 ≤ " + name + " < 1.67";
    return name + " ≥ 1.67";
}

std::optional<Interval> cpInterval(double cp, double degreesOfFreedom)
{
    if (!(degreesOfFreedom >= 1.0) || !std::isfinite(cp) || !std::isfinite(degreesOfFreedom))
        return std::nullopt;
    const boost::math::chi_squared_distribution<double> chi(degreesOfFreedom);
    const double tail = (1 - kLevel) / 2;
    return Interval{cp * std::sqrt(boost::math::quantile(chi, tail) / degreesOfFreedom),
                    cp * std::sqrt(boost::math::quantile(chi, 1 - tail) / degreesOfFreedom)};
}

std::optional<Interval> cpkInterval(double cpk, double count, double degreesOfFreedom)
{
    if (!(count >= 2.0) || !(degreesOfFreedom >= 1.0) || !std::isfinite(cpk)
        || !std::isfinite(count) || !std::isfinite(degreesOfFreedom))
        return std::nullopt;
    const double z = zQuantile(1 - (1 - kLevel) / 2);
    const double half = z * std::sqrt(1 / (9 * count) + cpk * cpk / (2 * degreesOfFreedom));
    if (!std::isfinite(half))
        return std::nullopt;
    return Interval{cpk - half, cpk + half};
}

Normality andersonDarling(const std::vector<double> &input)
{
    Normality normality;
    if (input.size() < kSmallestNormalityCount) {
        normality.reason = "正規性の検定にはデータが 8 個以上必要です";
        return normality;
    }
    std::vector<double> values = input;
    std::sort(values.begin(), values.end());
    const double mean = meanOf(values);
    const double s = sampleSigmaOf(values, mean);
    if (!(s > 0.0) || !std::isfinite(s)) {
        normality.reason = "ばらつきがないため正規性を検定できません";
        return normality;
    }
    const std::size_t count = values.size();
    const double n = static_cast<double>(count);
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double low = std::max(normalCdf((values[i] - mean) / s), DBL_MIN);
        const double high = std::max(1 - normalCdf((values[count - 1 - i] - mean) / s), DBL_MIN);
        sum += (2 * static_cast<double>(i) + 1) * (std::log(low) + std::log(high));
    }
    const double a2 = -n - sum / n;
    const double adjusted = a2 * (1 + 0.75 / n + 2.25 / (n * n));
    normality.statistic = a2;
    normality.adjusted = adjusted;
    normality.pValue = andersonDarlingP(adjusted);
    normality.rejected = *normality.pValue < 0.05;
    if (normality.rejected)
        normality.warning = "正規分布とはいえません (Anderson-Darling p < 0.05)。工程能力指数は参考値です";
    return normality;
}

std::vector<ProbabilityPoint> probabilityPlot(std::vector<double> values)
{
    std::vector<ProbabilityPoint> points;
    if (values.size() < 2)
        return points;
    std::sort(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    points.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double position = (static_cast<double>(i + 1) - 0.3) / (n + 0.4);
        points.push_back({values[i], position, zQuantile(position)});
    }
    return points;
}

CapabilityReport capabilityOf(const std::vector<double> &values,
                              const std::optional<WithinSigma> &within,
                              const stats::Tolerance &tolerance)
{
    CapabilityReport report;
    report.count = values.size();
    if (!values.empty())
        report.mean = meanOf(values);
    if (values.size() >= 2)
        report.overallSigma = sampleSigmaOf(values, report.mean);
    report.within = within;
    report.normality = andersonDarling(values);
    report.outside = stats::expectedOutside(report.mean, report.overallSigma,
                                            static_cast<std::int64_t>(values.size()), tolerance);
    if (!tolerance.upper && !tolerance.lower)
        report.reason = "規格が入力されていません";
    else if (tolerance.upper && tolerance.lower && !(*tolerance.upper > *tolerance.lower))
        report.reason = "規格上限が規格下限以下です";
    else if (values.size() < 2)
        report.reason = "データが2個未満です";
    else if (!std::isfinite(report.mean) || !std::isfinite(report.overallSigma))
        report.reason = "値が大きすぎます";
    else if (!(report.overallSigma > 0.0))
        report.reason = "ばらつきがありません (s = 0)";
    if (!report.reason.empty())
        return report;
    if (within)
        setIndices(report, tolerance, within->sigma, within->degreesOfFreedom, true);
    setIndices(report, tolerance, report.overallSigma, static_cast<double>(values.size() - 1),
               false);
    return report;
}

std::optional<WithinSigma> withinSigmaOf(const Sheet &sheet, const SheetAnalysis &analysis,
                                         std::size_t phase)
{
    if (!analysis.kind)
        return std::nullopt;
    double sum = 0.0;
    std::size_t spreads = 0, rows = 0;
    for (const SheetPoint &point : analysis.points) {
        if (point.phase != phase)
            continue;
        rows += point.counted ? 1 : 0;
        if (point.spreadCounted) {
            sum += *point.spread;
            ++spreads;
        }
    }
    if (spreads == 0)
        return std::nullopt;
    const double mean = sum / static_cast<double>(spreads);
    const int n = sheet.header.subgroupSize;
    switch (*analysis.kind) {
    case ChartKind::IndividualsMovingRange:
        return WithinSigma{mean / 1.128, static_cast<double>(rows) - 1, "R̄s/1.128"};
    case ChartKind::MeansRanges:
        return WithinSigma{mean / factorsFor(n)->d2, static_cast<double>(rows * (n - 1)), "R̄/d₂"};
    case ChartKind::MeansStdDevs:
        return WithinSigma{mean / factorsFor(n)->c4, static_cast<double>(rows * (n - 1)), "s̄/c₄"};
    }
    return std::nullopt;
}

std::vector<std::string> capabilityLines(const CapabilityReport &report)
{
    if (!report.reason.empty())
        return {"工程能力: " + report.reason};
    std::vector<std::string> lines;
    for (const auto *index : {&report.cp, &report.cpk, &report.pp, &report.ppk}) {
        if (!*index)
            continue;
        const CapabilityIndex &i = **index;
        lines.push_back(i.name + (i.side.empty() ? "" : " " + i.side) + " " + i.text
                        + " (95 % 信頼区間 " + i.intervalText + ") " + i.band);
    }
    if (!report.normality.warning.empty())
        lines.push_back(report.normality.warning);
    std::string sigmas = "σ 群内 ";
    sigmas += report.within ? "(" + report.within->basis + ") " + stats::formatResult(report.within->sigma)
                            : std::string("—");
    lines.push_back(sigmas + "、全体 s " + stats::formatResult(report.overallSigma) + "、データ "
                    + stats::groupedInteger(static_cast<std::int64_t>(report.count)) + " 個");
    const Normality &n = report.normality;
    if (n.statistic && n.pValue)
        lines.push_back("正規性 (Anderson-Darling): A² " + stats::formatResult(*n.statistic) + "、p "
                        + stats::formatResult(*n.pValue));
    else
        lines.push_back("正規性: " + n.reason);
    if (report.outside.total)
        lines.push_back("推定不良率 " + report.outside.total->ppmText + " ("
                        + report.outside.total->percentText + ")");
    return lines;
}

std::optional<WithinSigma> individualsWithinSigma(const std::vector<double> &values)
{
    if (values.size() < 2)
        return std::nullopt;
    double sum = 0.0;
    for (std::size_t i = 1; i < values.size(); ++i)
        sum += std::abs(values[i] - values[i - 1]);
    const double count = static_cast<double>(values.size());
    return WithinSigma{sum / (count - 1) / 1.128, count - 1, "R̄s/1.128"};
}

CapabilityReport phaseCapability(const Sheet &sheet, const SheetAnalysis &analysis,
                                 std::size_t phase, const stats::Tolerance &tolerance)
{
    std::vector<double> values;
    if (phase < analysis.phases.size() && !analysis.phases[phase].empty)
        values = countedValues(sheet, analysis, analysis.phases[phase].firstRow,
                               analysis.phases[phase].lastRow);
    return capabilityOf(values, withinSigmaOf(sheet, analysis, phase), tolerance);
}

CapabilityReport phaseCapability(const Sheet &sheet, const SheetAnalysis &analysis,
                                 std::size_t phase)
{
    return phaseCapability(sheet, analysis, phase, toleranceOf(sheet.header));
}

std::optional<std::size_t> currentPhase(const SheetAnalysis &analysis)
{
    std::optional<std::size_t> current;
    for (const SheetPoint &point : analysis.points)
        if (point.counted)
            current = point.phase;
    return current;
}

} // namespace sheet
