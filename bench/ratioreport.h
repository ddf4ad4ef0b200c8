#pragma once
// Prints, after the usual table, how many times slower each listed benchmark ran than
// its anchor (a memcpy of the same size, a plain decode of the same file) in the same
// run: the wall times of other programs sharing the machine move both sides alike, so
// the ratio is the figure to compare. With --benchmark_repetitions the medians are used.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// A benchmark's name without its time-type suffix ("BM_BuildCard/satin").
inline std::string RatioKey(const benchmark::BenchmarkReporter::Run &run)
{
    std::string key = run.run_name.function_name;
    if (!run.run_name.args.empty())
        key += "/" + run.run_name.args;
    return key;
}

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    // Each pair: (benchmark, its anchor), both named as RatioKey gives them.
    explicit TRatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
        : m_pairs(std::move(pairs))
    {
    }

    void ReportRuns(const std::vector<Run> &reports) override
    {
        for (const Run &run : reports) {
            if (run.error_occurred || run.iterations <= 0)
                continue;
            const double seconds
                = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string key = RatioKey(run);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[key] = seconds;
            else if (run.run_type == Run::RT_Iteration)
                m_single[key] = seconds;
        }
        ConsoleReporter::ReportRuns(reports);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const auto &[name, anchor] : m_pairs) {
            const double a = timeOf(name), b = timeOf(anchor);
            if (a <= 0 || b <= 0)
                continue;
            if (!header) {
                GetOutputStream() << "\nRatios to the anchors (wall time, same run):\n";
                header = true;
            }
            char line[256];
            std::snprintf(line, sizeof line, "  %-46s %7.2f x %s\n", name.c_str(), a / b, anchor.c_str());
            GetOutputStream() << line;
        }
    }

private:
    // An anchor "A+B" is the sum of the two times.
    double timeOf(const std::string &key) const
    {
        if (const auto plus = key.find('+'); plus != std::string::npos) {
            const double a = timeOf(key.substr(0, plus)), b = timeOf(key.substr(plus + 1));
            return a > 0 && b > 0 ? a + b : 0.0;
        }
        auto it = m_median.find(key);
        if (it != m_median.end())
            return it->second;
        it = m_single.find(key);
        return it != m_single.end() ? it->second : 0.0;
    }

    std::vector<std::pair<std::string, std::string>> m_pairs;
    std::map<std::string, double> m_median;
    std::map<std::string, double> m_single; // the last repetition, when there is no median
};

// Runs the selected benchmarks with the ratio lines after the table. Unless the command
// line says otherwise, the repetitions of all benchmarks are run interleaved in random
// order, so that a benchmark and its anchor meet the same load of the machine.
inline int RunWithRatios(int argc, char **argv, std::vector<std::pair<std::string, std::string>> pairs)
{
    std::vector<char *> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool given = false;
    for (int i = 1; i < argc; ++i)
        given = given || std::string(argv[i]).rfind("--benchmark_enable_random_interleaving", 0) == 0;
    if (!given)
        args.push_back(interleave.data());
    argc = int(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
