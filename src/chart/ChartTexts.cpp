#include "chart/ChartTexts.h"

#include "stats/NumberText.h"

namespace chart {

namespace {

std::string pointName(const stats::ControlSeries &series, std::int64_t number)
{
    const std::string digits = stats::integerToText(number);
    return series.subgroups ? "第 " + digits + " 群" : digits + " 番目";
}

std::string linesText(const stats::ControlSeries &series)
{
    std::string text;
    for (const stats::ControlLine &line : series.lines)
        text += (text.empty() ? "" : "、") + line.label;
    return text + "。";
}

// The first ten marked points by name with their tests; a long series
// full of signals would otherwise read on for minutes.
std::string markedPointsText(const stats::ControlSeries &series)
{
    constexpr std::size_t kNamed = 10;
    std::string named;
    std::size_t marked = 0;
    for (std::size_t i = 0; i < series.trippedTests.size(); ++i) {
        if (series.trippedTests[i].empty())
            continue;
        if (++marked <= kNamed)
            named += (named.empty() ? "" : "、") +
                     pointName(series, series.firstNumber + static_cast<std::int64_t>(i)) +
                     " (判定 " + series.trippedTests[i].numbersText() + ")";
    }
    if (marked == 0)
        return "異常の点はありません。";
    const std::string more = marked > kNamed ? "、ほか " + stats::integerToText(
                                                   static_cast<std::int64_t>(marked - kNamed)) + " 個"
                                             : "";
    return "異常の点 " + stats::integerToText(static_cast<std::int64_t>(marked)) + " 個: " +
           named + more + "。";
}

std::string shareText(const char *side, const std::optional<stats::ExpectedShare> &share)
{
    return share ? std::string(side) + " " + share->ppmText + " (" + share->percentText + ")"
                 : std::string();
}

std::string limitText(const std::optional<double> &limit)
{
    return limit ? stats::numberToText(*limit) : std::string("なし");
}

} // namespace

std::string controlChartDescription(const stats::ControlSeries &series)
{
    return series.name + " 管理図、点 " +
           stats::integerToText(static_cast<std::int64_t>(series.values.size())) + " 個。" +
           linesText(series) + markedPointsText(series);
}

std::vector<std::string> specialCauseLines(const stats::ControlChart &chart)
{
    std::vector<std::string> lines;
    for (const stats::ControlSeries *series : {&chart.location, &chart.spread})
        for (const stats::SpecialCause &signal : series->signals)
            lines.push_back(stats::specialCauseText(*series, signal));
    if (lines.empty())
        lines.emplace_back(kNoSignals);
    return lines;
}

std::string expectedOutsideText(const stats::ExpectedOutside &expected)
{
    if (!expected.total)
        return "\xE2\x80\x94"; // "—"
    std::string text;
    for (const std::string &part : {shareText("上", expected.above), shareText("下", expected.below),
                                    shareText("計", expected.total)})
        if (!part.empty())
            text += (text.empty() ? "" : "・") + part;
    return text;
}

std::vector<std::string> recordLines(const RecordFacts &facts)
{
    return {
        "グラフ: " + facts.chartName,
        "ファイル: " + (facts.sourceName.empty() ? std::string("未保存") : facts.sourceName),
        "日時: " + facts.dateTime,
        "データ数: " + stats::integerToText(facts.count),
        "上限・下限: " + (facts.k > 0 ? "平均 ± " + stats::numberToText(facts.k) + "σ"
                                      : std::string("不明")),
        "規格上限: " + limitText(facts.tolerance.upper) +
            "　規格下限: " + limitText(facts.tolerance.lower),
    };
}

} // namespace chart
