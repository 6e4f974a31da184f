#pragma once

// Shared by the benchmark programs: the console table as usual, and at the end a short summary
// of median wall times per call and their ratios that scripts/bench gathers.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace benchsummary {

// Whether a run ended without a time: Google Benchmark 1.8 and later say so by how it was
// skipped, earlier versions with a flag.
template <typename Run> bool endedWithoutTime(const Run &run)
{
    if constexpr (requires { run.error_occurred; })
        return run.error_occurred;
    else
        return run.skipped != decltype(run.skipped){};
}

// Keeps each benchmark's median real time per call, in nanoseconds.
class MedianCollector : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run &run : reports) {
            if (endedWithoutTime(run)) {
                m_failed = true;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single)
                m_medians[keyOf(run)] = run.GetAdjustedRealTime() /
                                        benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
    }

    // "BM_open/500" for a benchmark with an argument, its name alone otherwise.
    static std::string keyOf(const Run &run)
    {
        const std::string &args = run.run_name.args;
        return run.run_name.function_name + (args.empty() ? "" : "/" + args);
    }

    std::optional<double> nanoseconds(const std::string &name) const
    {
        const auto found = m_medians.find(name);
        if (found == m_medians.end())
            return std::nullopt;
        return found->second;
    }
    bool failed() const { return m_failed; }

private:
    std::map<std::string, double> m_medians;
    bool m_failed = false;
};

inline std::string duration(std::optional<double> ns)
{
    if (!ns)
        return "not run";
    char text[32];
    if (*ns >= 1e6)
        std::snprintf(text, sizeof text, "%.2f ms", *ns / 1e6);
    else if (*ns >= 1e3)
        std::snprintf(text, sizeof text, "%.1f us", *ns / 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f ns", *ns);
    return text;
}

inline void printFigure(const std::string &label, std::optional<double> ns)
{
    std::printf("  %-44s %12s\n", label.c_str(), duration(ns).c_str());
}

// A figure with the most it may be, e.g. "(target <= 100.0 ns)".
inline void printFigure(const std::string &label, std::optional<double> ns, double targetNs)
{
    std::printf("  %-44s %12s   (target <= %s)\n", label.c_str(), duration(ns).c_str(),
                duration(targetNs).c_str());
}

inline void printRatio(const std::string &label, std::optional<double> ns,
                       std::optional<double> baselineNs, std::optional<double> target = {})
{
    if (!ns || !baselineNs || *baselineNs <= 0)
        std::printf("  %-44s %12s", label.c_str(), "n/a");
    else
        std::printf("  %-44s %12.2f", label.c_str(), *ns / *baselineNs);
    if (target)
        std::printf("   (target <= %.2f)", *target);
    std::printf("\n");
}

// Runs the registered benchmarks with the collector as the console reporter. False when a flag
// was not understood or a benchmark failed.
inline bool run(int &argc, char **argv, MedianCollector &collector)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    std::fflush(stdout);
    return !collector.failed();
}

} // namespace benchsummary
