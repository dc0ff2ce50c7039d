// The batch forms as a script runs them: whole processes of the built vorla,
// timed from spawn to exit, on a file of a full list (32,767 typical values).
// `vorla --chart` of the file into a PNG, a PDF and as control charts, beside
// `vorla --stats` of the same file, the floor of reading and calculating it.
// The children run with no display; --chart picks the offscreen platform.
// The record of a sheet of 60 rows with notes in two phases, to PDF.
// `vorla --stats --json` of a sheet of 2,000 subgroups of five stands beside
// the same floor.

#include "Figures.h"
#include "TypicalValues.h"

#include "sheet/SheetFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

/// The folder of the value file and the pictures, made once.
const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    static const bool written = [] {
        std::ofstream file((dir.path() + QStringLiteral("/values.txt")).toStdString());
        bench::forEachTypicalValue(bench::kFullList,
                                   [&](const std::string &item) { file << item << "\r\n"; });
        // 60 subgroups of 5: the record of a sheet's worth of rows.
        std::ofstream groups((dir.path() + QStringLiteral("/groups.txt")).toStdString());
        bench::forEachTypicalValue(300, [&](const std::string &item) { groups << item << "\r\n"; });
                sheet::Sheet s;
        const std::vector<std::string> items = bench::typicalValues(10000);
        for (std::size_t r = 0; r < 2000; ++r)
            s.rows.push_back({"lot " + std::to_string(r),
                              {items.begin() + static_cast<std::ptrdiff_t>(r * 5),
                               items.begin() + static_cast<std::ptrdiff_t>(r * 5 + 5)},
                              "", false, ""});
        s.header.upperLimit = "90";
        s.header.lowerLimit = "-20";
        std::ofstream sheetFile((dir.path() + QStringLiteral("/sheet.vorla")).toStdString(),
                                std::ios::binary);
        sheetFile << sheet::writeSheet(s);
        // 60 rows of five with notes, one excluded, in two phases: the
        // second holds limits fixed from the first 25 rows.
        sheet::Sheet sixty;
        for (std::size_t r = 0; r < 60; ++r)
            sixty.rows.push_back({"12/" + std::to_string(1 + r / 4) + " " + std::to_string(8 + r % 4) + ":00",
                                  {items.begin() + static_cast<std::ptrdiff_t>(r * 5),
                                   items.begin() + static_cast<std::ptrdiff_t>(r * 5 + 5)},
                                  r % 6 == 2 ? "砥石交換・再測定" : "", r == 17, r == 17 ? "校正切れ" : ""});
        sixty.header = s.header;
        sheet::Phase control;
        control.firstRow = 30;
        control.source = sheet::LimitSource::Baseline;
        control.baselineLast = 24;
        sixty.phases = {sheet::Phase{}, control};
        std::ofstream sixtyFile((dir.path() + QStringLiteral("/sixty.vorla")).toStdString(),
                                std::ios::binary);
        sixtyFile << sheet::writeSheet(sixty);
        return bool(file) && bool(groups) && bool(sheetFile) && bool(sixtyFile);
    }();
    (void)written;
    return dir;
}

// The environment without a display, so that nothing can reach a screen.
std::vector<char *> environmentWithoutDisplay()
{
    std::vector<char *> kept;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("DISPLAY=") && !text.starts_with("WAYLAND_DISPLAY=")
            && !text.starts_with("QT_QPA_PLATFORM="))
            kept.push_back(*entry);
    }
    kept.push_back(nullptr);
    return kept;
}

// Runs vorla with `args` (file names relative to the folder) to its end; false
// when it could not start or did not end with status 0.
bool runVorla(std::vector<std::string> args)
{
    const std::string base = folder().path().toStdString() + "/";
    std::vector<char *> argv = {const_cast<char *>(VORLA_BINARY)};
    for (std::string &arg : args) {
        if (arg.find('.') != std::string::npos)
            arg = base + arg;
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> env = environmentWithoutDisplay();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, VORLA_BINARY, &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    while (spawned == 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void runEach(benchmark::State &state, const std::vector<std::string> &args)
{
    folder();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ran = runVorla(args);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!ran)
            state.SkipWithError("vorla did not succeed");
    }
}

void BM_StatsOfFullList(benchmark::State &state)
{
    runEach(state, {"--stats", "values.txt"});
}
BENCHMARK(BM_StatsOfFullList)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ChartPngOfFullList(benchmark::State &state)
{
    runEach(state, {"--chart", "values.txt", "-o", "run.png"});
}
BENCHMARK(BM_ChartPngOfFullList)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ChartPdfOfFullList(benchmark::State &state)
{
    runEach(state, {"--chart", "values.txt", "-o", "run.pdf", "--upper", "90", "--lower", "-20"});
}
BENCHMARK(BM_ChartPdfOfFullList)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_RecordOfSixtySubgroups(benchmark::State &state)
{
    runEach(state, {"--chart", "groups.txt", "-o", "groups.pdf", "--type", "xbar-r", "--upper", "90",
                    "--lower", "-20"});
}
BENCHMARK(BM_RecordOfSixtySubgroups)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_RecordOfSixtyRowSheet(benchmark::State &state)
{
    runEach(state, {"--chart", "sixty.vorla", "-o", "sixty.pdf"});
}
BENCHMARK(BM_RecordOfSixtyRowSheet)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ControlChartPngOfFullList(benchmark::State &state)
{
    runEach(state, {"--chart", "values.txt", "-o", "xrs.png", "--type", "xrs"});
}
BENCHMARK(BM_ControlChartPngOfFullList)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_StatsJsonOfSheet(benchmark::State &state)
{
    runEach(state, {"--stats", "--json", "sheet.vorla"});
}
BENCHMARK(BM_StatsJsonOfSheet)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    using bench::Figure;
    return bench::runWithFigures(
        argc, argv,
        {{"vorla --chart, 32,767 values, PNG", "BM_ChartPngOfFullList", "BM_StatsOfFullList",
          Figure::Milliseconds, 1000.0},
         {"vorla --chart, 32,767 values, PDF record", "BM_ChartPdfOfFullList",
          "BM_StatsOfFullList", Figure::Milliseconds, 1500.0},
         {"vorla --chart, 60 subgroups of 5, PDF record", "BM_RecordOfSixtySubgroups",
          "BM_StatsOfFullList", Figure::Milliseconds, 1000.0},
         {"vorla --chart, sheet of 60 rows in two phases, PDF record", "BM_RecordOfSixtyRowSheet",
          "BM_StatsOfFullList", Figure::Milliseconds, 1000.0},
         {"vorla --chart --type xrs, 32,767 values", "BM_ControlChartPngOfFullList",
          "BM_StatsOfFullList", Figure::Milliseconds, 1000.0},
         {"vorla --stats --json, sheet of 2,000 rows of 5", "BM_StatsJsonOfSheet",
          "BM_StatsOfFullList", Figure::Milliseconds, 200.0}});
}
