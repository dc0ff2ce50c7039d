// The calculation against the least any calculation must do: read each
// item once with std::from_chars.

#include "Figures.h"
#include "TypicalValues.h"

#include "stats/Statistics.h"

#include <charconv>

namespace {

const std::vector<std::string> &fullList()
{
    static const std::vector<std::string> items = bench::typicalValues(bench::kFullList);
    return items;
}

void BM_FromCharsBaseline(benchmark::State &state)
{
    const auto &items = fullList();
    for (auto _ : state) {
        double sum = 0;
        for (const std::string &item : items) {
            double value = 0;
            std::from_chars(item.data(), item.data() + item.size(), value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
}
BENCHMARK(BM_FromCharsBaseline)->Unit(benchmark::kMillisecond);

void BM_CalculateStatistics(benchmark::State &state)
{
    const auto &items = fullList();
    for (auto _ : state) {
        auto outcome = stats::calculateStatistics(items, "3σ");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
}
BENCHMARK(BM_CalculateStatistics)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWithFigures(
        argc, argv,
        {{"calculateStatistics, 32,767 items", "BM_CalculateStatistics", "BM_FromCharsBaseline",
          bench::Figure::Ratio, 2.0}});
}
