#pragma once

// The texts the chart window shows and records beside its control charts,
// composed without Qt from what the core works out (stats/ControlChart.h),
// so the window only places them.

#include "stats/Chart.h"
#include "stats/ChartContent.h"
#include "stats/ControlChart.h"

#include <cstdint>
#include <string>
#include <vector>

namespace chart {

/// The chart's proper name, as 「グラフの種類」 lists it:
///   Run -> "推移"   IndividualsMovingRange -> "X-Rs 管理図"   MeansRanges -> "X̄-R 管理図"
std::string chartTypeName(stats::ChartType type);

/// The name a record gives the chart of a request: chartTypeName, and for the
/// X̄-R chart its subgroup size: "X̄-R 管理図 (群の大きさ 4)".
std::string recordChartName(const stats::ChartRequest &request);

/// What a screen reader says in place of a control chart: its name, the
/// number of points, the lines' labels and the points that trip a test:
///   "X 管理図、点 6 個。上方管理限界 16.256、中心線 12、下方管理限界 7.744。
///    異常の点 1 個: 5 番目 (判定 1)。"
std::string controlChartDescription(const stats::ControlSeries &series);

/// The lines of the list 「異常の判定」: each signal of the location chart,
/// then of the spread chart, or the one line kNoSignals.
std::vector<std::string> specialCauseLines(const stats::ControlChart &chart);
inline constexpr const char *kNoSignals = "異常の判定に当たる点はありません。";

/// 推定不良率 in one line: the total first, then each limit's share; with
/// one limit given, that limit's share alone (it is the total):
///   "計 2,700 ppm (0.27 %)・上 1,350 ppm (0.13 %)・下 1,350 ppm (0.13 %)"
///   "下 500,000 ppm (50.00 %)"
/// "—" when there is no total.
std::string expectedOutsideText(const stats::ExpectedOutside &expected);

/// One figure beside the charts: the box's object name, its caption and the
/// text it shows.
struct FigureText
{
    const char *name;
    std::string caption;
    std::string value;
};

/// The figures of the content in the order the window lists them, each value
/// written as the result boxes write numbers; with no content, the captions
/// over empty values. Cp, Cpk, 規格外の数 and 推定不良率 stay empty without a
/// tolerance.
///   122, 130, 138 at 3σ, limits 150 and 100: データ数 n "3", 平均 x̄ "130.",
///   Cp "1.04", Cpk "0.83", 規格外の数 "0 個 (0 %)"
std::vector<FigureText> figureTexts(const stats::ChartContent *content);

/// The note under the figures: what to do next, or why Cp or Cpk is "—".
std::string figureNote(const stats::ChartContent *content);

/// What a printed record says above its picture.
struct RecordFacts
{
    std::string sourceName; // the value file's name; empty for a list never saved
    std::string dateTime;   // when the record was made, as the window writes it
    std::int64_t count = 0; // values charted
    double k = 0.0;         // the σ multiple of the limits; 0 when unknown
    stats::Tolerance tolerance;
    std::string chartName; // 推移, X-Rs 管理図 or X̄-R 管理図 (with its subgroup size)
};

/// The record's heading lines, in order: the chart, the file (「未保存」
/// when never saved), the date and time, the number of values, the σ
/// multiple of the limits and the tolerance (「なし」 for a limit not given).
std::vector<std::string> recordLines(const RecordFacts &facts);

} // namespace chart
