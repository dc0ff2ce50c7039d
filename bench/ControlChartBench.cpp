// The control charts over a full list, each with its signals, beside the
// calculation of the main window's statistics on the same list. Target:
// any chart with its signals in under 5 ms.

#include "Figures.h"
#include "TypicalValues.h"

#include "stats/ControlChart.h"
#include "stats/Statistics.h"

#include <variant>

namespace {

const std::vector<std::string> &fullList()
{
    static const std::vector<std::string> items = bench::typicalValues(bench::kFullList);
    return items;
}

// The values as the calculation reads them, the charts' input.
const std::vector<double> &fullValues()
{
    static const std::vector<double> values =
        std::get<stats::StatisticsFigures>(stats::calculateFigures(fullList(), "3σ")).values;
    return values;
}

// A steady climb: test 3 signals at nearly every point, the most signals a
// list can give.
const std::vector<double> &climbingValues()
{
    static const std::vector<double> values = [] {
        std::vector<double> v(bench::kFullList);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = static_cast<double>(i);
        return v;
    }();
    return values;
}

void BM_CalculateStatistics(benchmark::State &state)
{
    const auto &items = fullList();
    for (auto _ : state) {
        auto outcome = stats::calculateStatistics(items, "3σ");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_CalculateStatistics)->Unit(benchmark::kMillisecond);

template <typename Chart>
void runChart(benchmark::State &state, const std::vector<double> &values, Chart chart)
{
    for (auto _ : state) {
        auto outcome = chart(values);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

void BM_IndividualsChart(benchmark::State &state)
{
    runChart(state, fullValues(), [](const auto &v) { return stats::individualsChart(v); });
}
BENCHMARK(BM_IndividualsChart)->Unit(benchmark::kMillisecond);

void BM_SubgroupChart(benchmark::State &state)
{
    runChart(state, fullValues(), [](const auto &v) { return stats::subgroupChart(v, 5); });
}
BENCHMARK(BM_SubgroupChart)->Unit(benchmark::kMillisecond);

void BM_IndividualsChartSignalEverywhere(benchmark::State &state)
{
    runChart(state, climbingValues(), [](const auto &v) { return stats::individualsChart(v); });
}
BENCHMARK(BM_IndividualsChartSignalEverywhere)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::Figure;
    return bench::runWithFigures(
        argc, argv,
        {{"X-Rs chart and signals, 32,767 values", "BM_IndividualsChart", "BM_CalculateStatistics",
          Figure::Milliseconds, 5.0},
         {"X-R chart (n 5) and signals, 32,767 values", "BM_SubgroupChart",
          "BM_CalculateStatistics", Figure::Milliseconds, 5.0},
         {"X-Rs chart, a signal at every point", "BM_IndividualsChartSignalEverywhere",
          "BM_CalculateStatistics", Figure::Milliseconds, 5.0}});
}
