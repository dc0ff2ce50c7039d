#include "stats/ChartContent.h"

#include "stats/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace stats {

namespace {

std::optional<ControlChartOutcome> formControlChart(const std::vector<double> &values,
                                                    const ChartRequest &request)
{
    switch (request.type) {
    case ChartType::Run:
        break;
    case ChartType::IndividualsMovingRange:
        return individualsChart(values, request.tests);
    case ChartType::MeansRanges:
        return subgroupChart(values, request.subgroupSize, request.tests);
    }
    return std::nullopt;
}

std::vector<ChartLine> toleranceLinesOf(const std::vector<ChartLine> &lines)
{
    std::vector<ChartLine> tolerance;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(tolerance), [](const auto &line) {
        return line.kind == LineKind::UpperTolerance || line.kind == LineKind::LowerTolerance;
    });
    return tolerance;
}

/// The figures of the values that remain, worked out as the calculation
/// works them out, with the same k; none when nothing remains or a figure
/// would leave the double range.
std::optional<StatisticsFigures> keptFigures(const StatisticsFigures &figures,
                                             std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    StatisticsFigures kept;
    double sum = 0.0;
    for (const double value : values)
        sum += value;
    const double count = static_cast<double>(values.size());
    kept.mean = sum / count;
    kept.sigma = std::sqrt(sumOfSquaredDeviations(values, kept.mean) * (1.0 / count));
    kept.k = figures.k;
    kept.upperLimit = kept.mean + kept.k * kept.sigma;
    kept.lowerLimit = kept.mean - kept.k * kept.sigma;
    if (!std::isfinite(kept.mean) || !std::isfinite(kept.upperLimit) ||
        !std::isfinite(kept.lowerLimit))
        return std::nullopt;
    for (const double value : values) {
        kept.aboveCount += value > kept.upperLimit ? 1 : 0;
        kept.belowCount += value < kept.lowerLimit ? 1 : 0;
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    kept.maximum = numberToText(*high);
    kept.minimum = numberToText(*low);
    kept.values = std::move(values);
    return kept;
}

/// Everything shown, from the figures of the values charted.
void fillContent(ChartContent &content, const StatisticsFigures &figures)
{
    const ChartRequest &request = content.request;
    content.texts = statisticsTexts(figures);
    content.mean = figures.mean;
    content.k = figures.k;
    content.count = static_cast<std::int64_t>(figures.values.size());
    content.sampleSigma = sampleSigma(figures);
    content.data = chartData(figures, request.tolerance);
    content.control = formControlChart(figures.values, request);
    if (content.data.capability)
        content.expected = expectedOutside(figures.mean, content.data.capability->sampleSigma,
                                           content.count, request.tolerance);
    content.toleranceLines = toleranceLinesOf(content.data.lines);
}

} // namespace

std::string notNumberNote(const std::vector<std::size_t> &withoutNumber, std::size_t named)
{
    if (withoutNumber.empty())
        return {};
    std::string places;
    const std::size_t shown = std::min(named, withoutNumber.size());
    for (std::size_t i = 0; i < shown; ++i)
        places += (i == 0 ? "" : ", ") +
                  integerToText(static_cast<std::int64_t>(withoutNumber[i]) + 1) + " 番目";
    if (shown < withoutNumber.size())
        places += " ほか " +
                  integerToText(static_cast<std::int64_t>(withoutNumber.size() - shown)) + " 項目";
    return "数値でない " + integerToText(static_cast<std::int64_t>(withoutNumber.size())) +
           " 項目（" + places + "）はグラフから除きました";
}

const ControlChart *ChartContent::controlChart() const
{
    return control ? std::get_if<ControlChart>(&*control) : nullptr;
}

const NoControlChart *ChartContent::refusal() const
{
    return control ? std::get_if<NoControlChart>(&*control) : nullptr;
}

ChartContent chartContent(const StatisticsFigures &figures, const ChartRequest &request,
                          const std::vector<std::size_t> &withoutNumber)
{
    ChartContent content;
    content.request = request;
    for (const std::size_t item : withoutNumber)
        if (item < figures.values.size() &&
            (content.withoutNumber.empty() || item > content.withoutNumber.back()))
            content.withoutNumber.push_back(item);
    if (content.withoutNumber.empty()) {
        content.chartedItems.resize(figures.values.size());
        std::iota(content.chartedItems.begin(), content.chartedItems.end(), std::size_t{0});
        fillContent(content, figures);
        return content;
    }
    content.withoutNumberNote = notNumberNote(content.withoutNumber);
    std::vector<double> values;
    auto next = content.withoutNumber.begin();
    for (std::size_t i = 0; i < figures.values.size(); ++i) {
        if (next != content.withoutNumber.end() && *next == i) {
            ++next;
            continue;
        }
        values.push_back(figures.values[i]);
        content.chartedItems.push_back(i);
    }
    if (const std::optional<StatisticsFigures> kept = keptFigures(figures, std::move(values))) {
        fillContent(content, *kept);
    } else {
        content.chartedItems.clear();
        if (request.type != ChartType::Run)
            content.control = NoControlChart{"数値の項目がないため管理図を描けません"};
    }
    return content;
}

} // namespace stats
