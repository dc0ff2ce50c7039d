#include "chart/ChartTexts.h"

#include "chart/ChartNames.h"
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
    const std::string more =
        marked > kNamed
            ? "、ほか " + stats::integerToText(static_cast<std::int64_t>(marked - kNamed)) + " 個"
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

std::string chartTypeName(stats::ChartType type)
{
    switch (type) {
    case stats::ChartType::Run: break;
    case stats::ChartType::IndividualsMovingRange: return "X-Rs 管理図";
    case stats::ChartType::MeansRanges: return "X̄-R 管理図";
    }
    return "推移";
}

std::string recordChartName(const stats::ChartRequest &request)
{
    if (request.type != stats::ChartType::MeansRanges)
        return chartTypeName(request.type);
    return chartTypeName(request.type) + " (群の大きさ " +
           stats::integerToText(request.subgroupSize) + ")";
}

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
        for (const stats::SpecialCause &signal : series->causes)
            lines.push_back(stats::specialCauseText(*series, signal));
    if (lines.empty())
        lines.emplace_back(kNoSignals);
    return lines;
}

std::string expectedOutsideText(const stats::ExpectedOutside &expected)
{
    if (!expected.total)
        return "\xE2\x80\x94"; // "—"
    // The total leads, so a narrow box still shows it; with one limit given
    // the total is that limit's share and is not said twice.
    if (!expected.above || !expected.below)
        return expected.above ? shareText("上", expected.above) : shareText("下", expected.below);
    return shareText("計", expected.total) + "・" + shareText("上", expected.above) + "・" +
           shareText("下", expected.below);
}

std::vector<FigureText> figureTexts(const stats::ChartContent *content)
{
    namespace n = chart::names;
    std::vector<FigureText> figures{
        {n::kCountFigure, "データ数 n", {}},
        {n::kMeanFigure, "平均 x̄", {}},
        {n::kSigmaFigure, "標準偏差 σ (分母 n)", {}},
        {n::kSampleSigmaFigure, "標準偏差 s (分母 n−1)", {}},
        {n::kUpperLimitFigure, "上限", {}},
        {n::kLowerLimitFigure, "下限", {}},
        {n::kBeyondFigure, "上限・下限をこえた数", {}},
        {n::kClassesFigure, "級の数・幅 (測定単位)", {}},
        {n::kCpFigure, "Cp", {}},
        {n::kCpkFigure, "Cpk", {}},
        {n::kOutsideFigure, "規格外の数", {}},
        {n::kExpectedFigure, "推定不良率", {}},
    };
    if (!content)
        return figures;
    const stats::StatisticsTexts &texts = content->texts;
    const stats::Histogram &histogram = content->data.histogram;
    figures[0].value = texts.count;
    // Four decimals, like σ beside it: the main window's box rounds to two.
    figures[1].value = stats::formatResult(content->mean);
    figures[2].value = texts.standardDeviation;
    figures[3].value = content->sampleSigma.text;
    figures[4].value = texts.upperLimit;
    figures[5].value = texts.lowerLimit;
    figures[6].value = "上 " + texts.aboveCount + " 個 (" + texts.abovePercent + " %)・下 " +
                       texts.belowCount + " 個 (" + texts.belowPercent + " %)";
    figures[7].value =
        stats::integerToText(static_cast<std::int64_t>(histogram.classes.size())) + " 級・幅 " +
        stats::numberToText(histogram.width) + " (" + stats::numberToText(histogram.unit) + ")";
    if (const std::optional<stats::Capability> &capability = content->data.capability) {
        figures[8].value = capability->cpText;
        figures[9].value = capability->cpkText;
        // Limits with no room between them count nothing: "—" alone.
        figures[10].value = capability->outsideCount
                                ? capability->outsideCountText + " 個 (" +
                                      capability->outsidePercentText + " %)"
                                : capability->outsideCountText;
        figures[11].value = expectedOutsideText(content->expected);
    }
    return figures;
}

std::string figureNote(const stats::ChartContent *content)
{
    if (!content)
        return "演算開始を押すと、そのときの一覧をグラフにします。";
    if (!content->data.capability)
        return "規格上限・規格下限を入れて Enter を押すと、Cp と Cpk を示します。";
    return content->data.capability->reason;
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
