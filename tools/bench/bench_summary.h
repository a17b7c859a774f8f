// Shared by the benchmark programs: run every benchmark with repetitions, then print one line
// per comparison, "<what>: <frames per second> fps, ratio <x.xx> to <baseline>" (or, for work
// done inside a frame, "<what>: <milliseconds> ms, ratio <x.xx> to <baseline>"), from the
// medians of the same run. The ratio is the measured figure over the baseline's.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct Comparison {
    std::string what;      // benchmark measured
    std::string baseline;  // benchmark it is compared with
    bool milliseconds = false;  // a cost inside the frame, given in milliseconds a call
};

class MedianCollector : public benchmark::ConsoleReporter {
public:
    MedianCollector() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medianSeconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medianSeconds;  // per benchmark: median time of one frame
};

// Runs the benchmarks (five repetitions unless the command line says otherwise) and prints
// the comparisons. Each benchmark measures one frame, or one call, per iteration.
inline int RunAndSummarise(int argc, char** argv, const std::vector<Comparison>& comparisons) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::string plain = "--benchmark_color=false";
    args.push_back(repetitions.data());
    args.push_back(plain.data());
    args.push_back(aggregates.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    std::fflush(stdout);
    for (const Comparison& c : comparisons) {
        const auto what = collector.medianSeconds.find(c.what);
        const auto base = collector.medianSeconds.find(c.baseline);
        if (what == collector.medianSeconds.end() || base == collector.medianSeconds.end()) {
            continue;
        }
        if (c.milliseconds) {
            std::printf("%s: %.3f ms, ratio %.2f to %s\n", c.what.c_str(), 1000.0 * what->second,
                        what->second / base->second, c.baseline.c_str());
        } else {
            std::printf("%s: %.0f fps, ratio %.2f to %s\n", c.what.c_str(), 1.0 / what->second,
                        base->second / what->second, c.baseline.c_str());
        }
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
