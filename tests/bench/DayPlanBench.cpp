#include "FullProject.h"
#include "report/DayPlan.h"

#include <benchmark/benchmark.h>

namespace tolvane {
namespace {

// The plan of a project whose every table is full, for a leap year: every day's list, as the command line
// prints it.
void PlanFullProjectFor366Days(benchmark::State& state) {
    const ProjectData& project = testing_support::sharedFullProject();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dayplan::plan(project, {2028, 1, 1}, 366));
    }
}
BENCHMARK(PlanFullProjectFor366Days);

// Only the marks of those days, as a calendar draws them.
void MarkFullProjectFor366Days(benchmark::State& state) {
    const ProjectData& project = testing_support::sharedFullProject();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dayplan::marks(project, {2028, 1, 1}, 366));
    }
}
BENCHMARK(MarkFullProjectFor366Days);

} // namespace
} // namespace tolvane
