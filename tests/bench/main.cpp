#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

// Prints the usual table and remembers each benchmark's time per iteration for the ratios.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.error_message.empty()) {
                // The adjusted time is in the benchmark's own unit; the ratios and budgets work in nanoseconds.
                nanoseconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
                for (const auto& [name, counter] : run.counters) {
                    counters[run.benchmark_name() + "/" + name] = counter.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
    std::map<std::string, double> counters;
};

struct Ratio {
    const char* what;
    const char* measured;
    const char* baseline;
    double target;
};

// Each figure is printed against a baseline measured in the same run, so the machine's speed cancels out.
const Ratio ratios[] = {
    {"pack the three card images / CRC pass", "PackThreeImages", "CrcOfThreePayloads", 1.5},
    {"check and unpack them / CRC pass", "UnpackThreeImages", "CrcOfThreePayloads", 1.5},
    {"project save + load in memory / memcpy of its bytes", "SaveAndLoadProject", "CopyProjectBytes", 10.0},
};

// Figures that must fit a share of a fixed time: printed as that share.
struct Budget {
    const char* what;
    const char* measured;
    double budgetNanoseconds;
    double target;
};

const Budget budgets[] = {
    {"validating a full project / one 16 ms frame", "ValidateFullProject", 16e6, 0.25},
    {"one sequence edit with its undo step / one 16 ms frame", "EditSequenceStepWithUndo", 16e6, 0.1},
    {"undo and redo of that edit / one 16 ms frame", "UndoAndRedoSequenceStep", 16e6, 0.1},
    {"day plan of a full project, 366 days / one 16 ms frame", "PlanFullProjectFor366Days", 16e6, 0.25},
    {"calendar marks of those days / one 16 ms frame", "MarkFullProjectFor366Days", 16e6, 0.25},
    {"weekly list of 128 rebuilt, one program shown / one 16 ms frame", "RebuildWeeklyListAndShowEntry", 16e6, 0.25},
    {"differences of two full projects / one 16 ms frame", "DiffTwoFullProjects", 16e6, 1.0},
    {"no differences, a full project / one 16 ms frame", "DiffFullProjectWithItself", 16e6, 0.25},
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nratios (target in brackets)\n");
    int missed = 0;
    for (const Ratio& r : ratios) {
        const auto m = reporter.nanoseconds.find(r.measured);
        const auto b = reporter.nanoseconds.find(r.baseline);
        if (m == reporter.nanoseconds.end() || b == reporter.nanoseconds.end() || b->second <= 0) {
            continue;
        }
        const double ratio = m->second / b->second;
        const bool met = ratio <= r.target;
        missed += met ? 0 : 1;
        std::printf("  %-52s %6.2f  (<= %.1f) %s\n", r.what, ratio, r.target, met ? "met" : "MISSED");
    }
    for (const Budget& b : budgets) {
        const auto m = reporter.nanoseconds.find(b.measured);
        if (m == reporter.nanoseconds.end()) {
            continue;
        }
        const double share = m->second / b.budgetNanoseconds;
        std::printf("  %-52s %6.3f  (<= %.2f) %s\n", b.what, share, b.target, share <= b.target ? "met" : "MISSED");
    }
    // Ratios that a benchmark measured itself (programs started as processes of their own).
    const Ratio counted[] = {
        {"editor start with a full project / bare window: time", "EditorStartAgainstBareWindow", "time_ratio", 1.2},
        {"editor start with a full project / bare window: memory", "EditorStartAgainstBareWindow", "memory_ratio", 1.2},
        {"write-card of a full project / cp + sync -f of its files", "WriteCardAgainstCopyAndSync", "time_ratio", 1.5},
    };
    for (const Ratio& r : counted) {
        const auto m = std::find_if(reporter.counters.begin(), reporter.counters.end(), [&r](const auto& entry) {
            return entry.first.rfind(r.measured, 0) == 0 && entry.first.size() > std::strlen(r.baseline) &&
                   entry.first.compare(entry.first.size() - std::strlen(r.baseline), std::string::npos, r.baseline) ==
                       0;
        });
        if (m == reporter.counters.end()) {
            continue;
        }
        std::printf("  %-52s %6.2f  (<= %.1f) %s\n", r.what, m->second, r.target,
                    m->second <= r.target ? "met" : "MISSED");
    }
    return 0;
}
