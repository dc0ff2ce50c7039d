#pragma once

// Every benchmark figure stands beside a baseline measured in the same run,
// so a busy machine slows both and the comparison still holds. The reporter
// keeps each benchmark's time (the median when repeated) and its counters;
// after the run one summary line per figure says the measured value, the
// baseline, and whether the target is met.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct Figure
{
    enum Kind {
        Ratio,        // measured time / baseline time at most limit
        Milliseconds, // measured time under limit ms; baseline shown for scale
        ExtraMiB,     // counter "maxrss_MiB": measured minus baseline at most limit
        Scale,        // measured time / baseline time, shown for scale, no target
    };
    std::string title;
    std::string measured; // benchmark names as registered
    std::string baseline;
    Kind kind = Ratio;
    double limit = 0;
};

class FigureReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string name = run.run_name.function_name;
            if (!median && m_fromMedian.count(name) != 0)
                continue;
            m_fromMedian[name] = median;
            m_seconds[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto &[counter, value] : run.counters)
                m_counters[name][counter] = value.value;
        }
    }

    /// Prints the summary; returns how many figures missed their target.
    int summarize(const std::vector<Figure> &figures) const
    {
        int missed = 0;
        std::printf("\nFigures (each beside its baseline from this run):\n");
        for (const Figure &f : figures) {
            if (m_seconds.count(f.measured) == 0 || m_seconds.count(f.baseline) == 0) {
                std::printf("  %-46s not run\n", f.title.c_str());
                continue;
            }
            const double measured = m_seconds.at(f.measured);
            const double baseline = m_seconds.at(f.baseline);
            bool met = false;
            char line[256];
            switch (f.kind) {
            case Figure::Ratio:
                met = measured <= f.limit * baseline;
                std::snprintf(line, sizeof line, "%.3f ms vs %.3f ms = %.2f x (target <= %.2f x)",
                              measured * 1e3, baseline * 1e3, measured / baseline, f.limit);
                break;
            case Figure::Milliseconds:
                met = measured * 1e3 < f.limit;
                std::snprintf(line, sizeof line, "%.3f ms (target < %.0f ms; baseline %.3f ms)",
                              measured * 1e3, f.limit, baseline * 1e3);
                break;
            case Figure::Scale:
                met = true;
                std::snprintf(line, sizeof line, "%.3f ms vs %.3f ms = %.2f x (for scale)",
                              measured * 1e3, baseline * 1e3, measured / baseline);
                break;
            case Figure::ExtraMiB: {
                const double m = counter(f.measured, "maxrss_MiB");
                const double b = counter(f.baseline, "maxrss_MiB");
                met = m - b <= f.limit;
                std::snprintf(line, sizeof line, "%.1f MiB vs %.1f MiB = +%.1f MiB (target <= +%.0f MiB)",
                              m, b, m - b, f.limit);
                break;
            }
            }
            missed += met ? 0 : 1;
            const char *verdict = f.kind == Figure::Scale ? "" : met ? "met" : "MISSED";
            std::printf("  %-46s %s  %s\n", f.title.c_str(), line, verdict);
        }
        std::fflush(stdout);
        return missed;
    }

private:
    double counter(const std::string &run, const std::string &name) const
    {
        const auto found = m_counters.find(run);
        if (found == m_counters.end() || found->second.count(name) == 0)
            return 0;
        return found->second.at(name);
    }

    std::map<std::string, double> m_seconds;
    std::map<std::string, bool> m_fromMedian;
    std::map<std::string, std::map<std::string, double>> m_counters;
};

/// Runs the registered benchmarks with the figure summary after them.
/// The exit status is 0 either way: the benchmarks inform, they do not gate.
inline int runWithFigures(int argc, char **argv, const std::vector<Figure> &figures)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.summarize(figures);
    return 0;
}

} // namespace bench
