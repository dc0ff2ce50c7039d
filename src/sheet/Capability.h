#pragma once

// Process capability from a sheet's values: Cp and Cpk from the
// within-subgroup σ, Pp and Ppk from the overall s, each with a 95 %
// confidence interval, the band it falls in, and the normality check
// (Anderson-Darling) that says whether the normal model behind them holds.
// The distributions come from Boost.Math.

#include "sheet/SheetAnalysis.h"
#include "stats/Chart.h"
#include "stats/ControlChart.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sheet {

/// A capability figure as it is shown: truncated (never rounded up) to two
/// decimals, so no figure crosses 1.00, 1.33 or 1.67 by rounding. The value
/// is first taken to 12 significant digits, so that a figure computed as
/// 1.3299999999999999 for an exact 1.33 still shows as 1.33.
///   0.9954 -> "0.99"   1.3299 -> "1.32"   1.67 -> "1.67"   -0.123 -> "-0.13"   2 -> "2.00"
std::string indexText(double value);

/// The band a figure falls in, by its value as indexText reads it:
///   ("Cpk", 1.4) -> "1.33 ≤ Cpk < 1.67"   ("Cp", 0.9954) -> "Cp < 1.00"
///   ("Ppk", 1.67) -> "Ppk ≥ 1.67"          ("Cpk", 1.0) -> "1.00 ≤ Cpk < 1.33"
std::string bandText(const std::string &name, double value);

struct Interval
{
    double lower = 0.0, upper = 0.0;
};

/// 95 % interval of Cp or Pp on ν degrees of freedom (chi-square):
///   [Cp·√(χ²(0.025; ν)/ν), Cp·√(χ²(0.975; ν)/ν)]
///   Cp 1.33, ν 24 -> about [0.956, 1.703] (χ² 12.401 and 39.364)
/// nullopt when ν < 1 or the index is not finite.
std::optional<Interval> cpInterval(double cp, double degreesOfFreedom);

/// 95 % interval of Cpk or Ppk by Bissell's approximation, over N values
/// and ν degrees of freedom of the σ used:
///   Cpk ± 1.95996·√(1/(9N) + Cpk²/(2ν))
/// nullopt when N < 2, ν < 1 or the index is not finite.
std::optional<Interval> cpkInterval(double cpk, double count, double degreesOfFreedom);

struct CapabilityIndex
{
    std::string name;      ///< "Cp", "Cpk", "Pp", "Ppk"
    std::string side;      ///< "" for both limits; "上限" or "下限" for a one-sided Cpk/Ppk
    double value = 0.0;    ///< unrounded
    std::string text;      ///< indexText(value)
    std::string band;      ///< bandText(name, value)
    std::optional<Interval> interval;
    std::string intervalText; ///< "0.95 – 1.70", each end truncated as text is; "—" without
};

/// The Anderson-Darling check against the normal distribution with the
/// values' own mean and s: A² = -N - (1/N)·Σ(2i-1)[ln Φ(zᵢ) + ln(1 - Φ(z₍N+1-i₎))],
/// A*² = A²·(1 + 0.75/N + 2.25/N²), and the p-value from A*² by the
/// approximation of D'Agostino and Stephens. Formed for 8 values or more.
struct Normality
{
    std::optional<double> statistic; ///< A²
    std::optional<double> adjusted;  ///< A*²
    std::optional<double> pValue;
    bool rejected = false;           ///< p < 0.05
    std::string warning; ///< said beside the indices when rejected; else ""
    std::string reason;  ///< why there is no check; else ""
};
Normality andersonDarling(const std::vector<double> &values);

/// One point of the normal probability plot: a value, its plotting position
/// (i - 0.3) / (N + 0.4) (median ranks, i from 1 in ascending order) and
/// that position's normal quantile, the plot's vertical coordinate.
struct ProbabilityPoint
{
    double value = 0.0, position = 0.0, quantile = 0.0;
};
/// Ascending by value; empty for fewer than two values.
std::vector<ProbabilityPoint> probabilityPlot(std::vector<double> values);

/// The σ within subgroups and what it came from.
struct WithinSigma
{
    double sigma = 0.0;
    double degreesOfFreedom = 0.0; ///< k(n - 1) for subgroups, N - 1 for individuals
    std::string basis;             ///< "R̄/d₂", "s̄/c₄" or "R̄s/1.128"
};

struct CapabilityReport
{
    std::size_t count = 0; ///< values used
    double mean = 0.0;
    std::optional<WithinSigma> within;
    double overallSigma = 0.0; ///< s, denominator N - 1
    std::optional<CapabilityIndex> cp, cpk, pp, ppk;
    Normality normality;
    stats::ExpectedOutside outside; ///< from the mean and the overall s
    std::string reason; ///< why no index is given; empty when one is
};

/// The capability of `values` (the counted rows' values in row order) for
/// the tolerance. Cp = (U - L)/6σ, Cpk = min(U - x̄, x̄ - L)/3σ with σ the
/// within σ; Pp and Ppk likewise with the overall s. With one limit only
/// there is no Cp or Pp, and Cpk and Ppk are that side's index. No index,
/// and a reason, without a limit, with U <= L, for fewer than two values or
/// no spread.
CapabilityReport capabilityOf(const std::vector<double> &values,
                              const std::optional<WithinSigma> &within,
                              const stats::Tolerance &tolerance);

/// The capability as the sheet window lists it, a line each:
///   "Cp 1.33 (95 % 信頼区間 0.92 – 1.74) 1.33 ≤ Cp < 1.67"
///   "Cpk 上限 1.33 (95 % 信頼区間 0.80 – 1.86) 1.33 ≤ Cpk < 1.67"  (one-sided)
///   "σ 群内 (R̄/d₂) .5、全体 s .8165、データ 4 個"
///   "正規性 (Anderson-Darling): A² .2597、p .6446"
///   "推定不良率 14,306 ppm (1.43 %)"
/// with the normality warning right after the indices when it is rejected,
/// and the reason alone when no index is formed.
std::vector<std::string> capabilityLines(const CapabilityReport &report);

/// The σ within the subgroups of a phase's counted rows: R̄/d₂ (X̄-R),
/// s̄/c₄ (X̄-s) or R̄s/1.128 (X-Rs); nullopt without a counted spread.
std::optional<WithinSigma> withinSigmaOf(const Sheet &sheet, const SheetAnalysis &analysis,
                                         std::size_t phase);

/// The σ within of values taken one at a time in their order, as the X-Rs
/// chart takes them: R̄s/1.128 on N - 1 degrees of freedom; nullopt for
/// fewer than two values.
///   10, 12, 11, 13, 12, 14 -> R̄s 1.6, σ 1.6/1.128 = 1.41844
std::optional<WithinSigma> individualsWithinSigma(const std::vector<double> &values);

/// The capability of a phase's counted rows for the sheet's tolerance.
CapabilityReport phaseCapability(const Sheet &sheet, const SheetAnalysis &analysis,
                                 std::size_t phase);
/// The same for a tolerance given instead of the sheet's.
CapabilityReport phaseCapability(const Sheet &sheet, const SheetAnalysis &analysis,
                                 std::size_t phase, const stats::Tolerance &tolerance);

/// The phase the capability speaks of: the last one with a counted row;
/// nullopt when no row is counted.
std::optional<std::size_t> currentPhase(const SheetAnalysis &analysis);

} // namespace sheet
