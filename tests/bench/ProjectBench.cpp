#include "FullProject.h"
#include "project/ProjectFile.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace tolvane {
namespace {

ProjectData& filledProject() {
    return testing_support::sharedFullProject();
}

// The baseline: copying the bytes of a saved project once.
void CopyProjectBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = projectfile::store(filledProject());
    std::vector<std::uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyProjectBytes);

// Saving a full project to memory and reading it back into a project, as Save and Open do without the disk.
void SaveAndLoadProject(benchmark::State& state) {
    ProjectData& project = filledProject();
    ProjectData loaded;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = projectfile::store(project);
        benchmark::DoNotOptimize(projectfile::load(loaded, bytes));
    }
}
BENCHMARK(SaveAndLoadProject);

// The whole project check of a project whose every table is full, as the report page runs it.
void ValidateFullProject(benchmark::State& state) {
    ProjectData& project = filledProject();
    for (auto _ : state) {
        benchmark::DoNotOptimize(project.validate());
    }
}
BENCHMARK(ValidateFullProject);

} // namespace
} // namespace tolvane
