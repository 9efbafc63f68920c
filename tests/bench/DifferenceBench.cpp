#include "FullProject.h"
#include "report/ProjectDifference.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace tolvane {
namespace {

// "T<number>": texts of the length a catalog gives, without reading one.
class NumberTexts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

// A second full project in which every record of every table differs from the shared one: each program an hour
// later, each holiday a day longer, each sequence's first step longer, every chime renamed, every bell and the
// settings changed. The comparison then describes and compares everything.
ProjectData& everythingChanged() {
    static ProjectData project;
    static const bool filled = [] {
        testing_support::fillProject(project);
        for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
            ScheduleProgram& program = project.program(kind);
            for (int i = 0; i < program.usedCount(); ++i) {
                const ProgramEntry& e = program.entry(i);
                program.setTime(i, static_cast<std::uint8_t>((e.hour() + 1) % 24), e.minute(), e.second());
            }
        }
        for (int i = 0; i < HolidayTable::Count; ++i) {
            if (!project.holidays().isFree(i)) {
                project.holidays().setDays(i, static_cast<std::uint8_t>(project.holidays().record(i).days() % 9 + 1));
            }
        }
        SequenceTable& sequences = project.sequences();
        for (int i = 0; i < SequenceTable::Count; ++i) {
            if (sequences.isUsed(i) && sequences.stepCount(i) > 0) {
                SequenceStep step = sequences.record(i).step(0);
                step.setTenths(static_cast<std::uint16_t>(step.tenths() + 5));
                sequences.replaceStep(i, 0, step);
            }
        }
        for (int i = 0; i < ChimeNameTable::Count; ++i) {
            project.chimes().setName(i, "Chime " + std::to_string(i + 1));
        }
        for (int b = 0; b < BellTable::Count; ++b) {
            project.bells().setRunUpSeconds(b, 3 + b);
        }
        project.general().setDisplayContrast(40);
        project.striking().setQuarterStriking(!project.striking().record().quarterStrikingOn());
        return true;
    }();
    (void)filled;
    return project;
}

// Two full projects compared field by field, every area different, as the card page's list and tolvane-cli diff
// do it. The counter frame_share is the time of one comparison as a share of a 16 ms frame.
void DiffTwoFullProjects(benchmark::State& state) {
    const ProjectData& before = testing_support::sharedFullProject();
    const ProjectData& after = everythingChanged();
    const NumberTexts texts;
    std::size_t rows = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const std::vector<Difference> differences = ProjectDifference::between(before, after, texts);
        rows = differences.size();
        benchmark::DoNotOptimize(differences.data());
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["frame_share"] = spent.count() / static_cast<double>(state.iterations()) / 0.016;
}
BENCHMARK(DiffTwoFullProjects)->Unit(benchmark::kMillisecond);

// The same full project against itself: what the card page pays when nothing differs.
void DiffFullProjectWithItself(benchmark::State& state) {
    const ProjectData& project = testing_support::sharedFullProject();
    const NumberTexts texts;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProjectDifference::between(project, project, texts));
    }
}
BENCHMARK(DiffFullProjectWithItself)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tolvane
