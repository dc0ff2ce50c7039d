#include "stats/ChartContent.h"

#include <algorithm>

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

} // namespace

const ControlChart *ChartContent::controlChart() const
{
    return control ? std::get_if<ControlChart>(&*control) : nullptr;
}

const NoControlChart *ChartContent::refusal() const
{
    return control ? std::get_if<NoControlChart>(&*control) : nullptr;
}

ChartContent chartContent(const StatisticsFigures &figures, const ChartRequest &request)
{
    ChartContent content;
    content.request = request;
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
    return content;
}

} // namespace stats
