// A sheet of 2,000 subgroups of five (10,000 typical values): opening it
// (reading the file's bytes into a sheet and working out its charts, the
// eight tests and the capability) and the JSON `vorla --stats --json` prints
// of it, beside the main window's calculation of the same 10,000 values as a
// list. Targets: open in under 100 ms, --stats --json in under 200 ms.

#include "Figures.h"
#include "TypicalValues.h"

#include "cli/SheetOutput.h"
#include "sheet/Capability.h"
#include "sheet/SheetAnalysis.h"
#include "sheet/SheetFile.h"
#include "stats/Statistics.h"

#include <variant>

namespace {

constexpr std::size_t kRows = 2000;
constexpr int kSubgroup = 5;

const std::vector<std::string> &items()
{
    static const std::vector<std::string> values = bench::typicalValues(kRows * kSubgroup);
    return values;
}

// The file's bytes: the rows with labels, a note every tenth row, an
// excluded row every hundredth, a baseline and a revision.
const std::string &sheetBytes()
{
    static const std::string bytes = [] {
        sheet::Sheet s;
        s.header.subgroupSize = kSubgroup;
        s.header.upperLimit = "90";
        s.header.lowerLimit = "-20";
        for (std::size_t r = 0; r < kRows; ++r) {
            sheet::Row row;
            row.label = "12/" + std::to_string(1 + r / 24) + " " + std::to_string(r % 24) + ":00";
            row.values.assign(items().begin() + static_cast<std::ptrdiff_t>(r * kSubgroup),
                              items().begin() + static_cast<std::ptrdiff_t>((r + 1) * kSubgroup));
            if (r % 10 == 0)
                row.note = "原因: 刃具の摩耗 / 処置: 刃具交換";
            row.excluded = r % 100 == 99;
            row.exclusionReason = row.excluded ? "測定器の校正切れ" : "";
            s.rows.push_back(std::move(row));
        }
        sheet::Phase control;
        control.firstRow = 25;
        control.source = sheet::LimitSource::Baseline;
        control.baselineLast = 24;
        sheet::Phase revision;
        revision.firstRow = 1000;
        revision.source = sheet::LimitSource::Baseline;
        revision.baselineFirst = 1000;
        revision.baselineLast = 1024;
        s.phases = {sheet::Phase{}, control, revision};
        return sheet::writeSheet(s);
    }();
    return bytes;
}

void BM_CalculateStatisticsOfSameValues(benchmark::State &state)
{
    for (auto _ : state) {
        auto outcome = stats::calculateStatistics(items(), "3σ");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_CalculateStatisticsOfSameValues)->Unit(benchmark::kMillisecond);

void BM_OpenSheet(benchmark::State &state)
{
    for (auto _ : state) {
        auto read = sheet::readSheet(sheetBytes());
        const sheet::Sheet &s = std::get<sheet::Sheet>(read);
        auto analysis = sheet::analyzeSheet(s);
        auto capability = sheet::phaseCapability(s, analysis, *sheet::currentPhase(analysis));
        benchmark::DoNotOptimize(analysis);
        benchmark::DoNotOptimize(capability);
    }
}
BENCHMARK(BM_OpenSheet)->Unit(benchmark::kMillisecond);

void BM_StatsJsonOfSheet(benchmark::State &state)
{
    for (auto _ : state) {
        auto read = sheet::readSheet(sheetBytes());
        const sheet::Sheet &s = std::get<sheet::Sheet>(read);
        const auto analysis = sheet::analyzeSheet(s);
        auto text = sheet::jsonLine(cli::sheetJson(s, analysis, sheet::toleranceOf(s.header)));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_StatsJsonOfSheet)->Unit(benchmark::kMillisecond);

void BM_SaveSheet(benchmark::State &state)
{
    const sheet::Sheet s = std::get<sheet::Sheet>(sheet::readSheet(sheetBytes()));
    for (auto _ : state) {
        auto bytes = sheet::writeSheet(s);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_SaveSheet)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::Figure;
    return bench::runWithFigures(
        argc, argv,
        {{"open a sheet of 2,000 rows of 5", "BM_OpenSheet", "BM_CalculateStatisticsOfSameValues",
          Figure::Milliseconds, 100.0},
         {"--stats --json of it (in process)", "BM_StatsJsonOfSheet",
          "BM_CalculateStatisticsOfSameValues", Figure::Milliseconds, 200.0},
         {"save it", "BM_SaveSheet", "BM_CalculateStatisticsOfSameValues", Figure::Scale, 0.0}});
}
