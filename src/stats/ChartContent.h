#pragma once

#include "stats/Chart.h"
#include "stats/ChartType.h"
#include "stats/ControlChart.h"
#include "stats/Statistics.h"

#include <cstdint>
#include <optional>
#include <vector>

/// Everything the chart window shows (and its picture and record print),
/// worked out in one call from the figures of a calculation and the window's
/// choices. The result owns all of it, so the window, its views and the
/// record each keep (or share) the value and never point into one another.
namespace stats {

/// What the user chose beside the figures.
struct ChartRequest
{
    ChartType type = ChartType::Run;
    int subgroupSize = 5; // of the X̄-R chart; used only for it, 2..10
    Tolerance tolerance;
    SpecialCauseTests tests = SpecialCauseTests::all();
};

struct ChartContent
{
    ChartRequest request;
    /// The items of the list that hold no number, by index, ascending: they
    /// are never drawn and take no part in any limit or figure here (the main
    /// window's boxes still read them as 0).
    std::vector<std::size_t> withoutNumber;
    /// Says which were left out (notNumberNote); empty when none was.
    std::string withoutNumberNote;
    /// The item index of each value charted, in order.
    std::vector<std::size_t> chartedItems;
    StatisticsTexts texts; // the main window's result boxes, as of the figures
    double mean = 0.0;     // unrounded
    double k = 0.0;        // the σ multiple of the limits; 0 for an unknown choice
    std::int64_t count = 0;
    SampleSigma sampleSigma; // s, which the capability and the normal curve use
    ChartData data;          // run chart, histogram, their lines and the capability
    /// The control chart of the request, or why none could be formed;
    /// std::nullopt for the run chart.
    std::optional<ControlChartOutcome> control;
    /// 推定不良率 for the tolerance; no total (and a reason) without one.
    ExpectedOutside expected;
    /// The tolerance lines of `data.lines`, which the location chart draws
    /// over its control lines.
    std::vector<ChartLine> toleranceLines;

    /// The control chart formed, or nullptr (run chart, or refused).
    const ControlChart *controlChart() const;
    /// Why the control chart asked for was refused; nullptr when it was not.
    const NoControlChart *refusal() const;
};

/// The content of the figures under the request. The control chart and the
/// expected share come from the same values and s as the run chart and the
/// capability, so every number on the window agrees with the others.
/// Items listed in `withoutNumber` (indices into figures.values; others are
/// ignored) are left out first, and the mean, σ, the limits and their counts
/// are worked out again over the values that remain, with the same k. With no
/// value left, nothing is drawn and a control chart is refused.
ChartContent chartContent(const StatisticsFigures &figures, const ChartRequest &request,
                          const std::vector<std::size_t> &withoutNumber = {});

/// The sentence that says which items were left out of the charts, naming
/// the first `named` of them by their place in the list (from 1):
///   {7, 14} -> "数値でない 2 項目（8 番目, 15 番目）はグラフから除きました"
///   {0, 1, 2}, named 2 -> "数値でない 3 項目（1 番目, 2 番目 ほか 1 項目）はグラフから除きました"
/// Empty for none.
std::string notNumberNote(const std::vector<std::size_t> &withoutNumber,
                          std::size_t named = static_cast<std::size_t>(-1));

} // namespace stats
