#include "FullProject.h"

#include "gui/app/CTarvelinDoc.h"

#include <benchmark/benchmark.h>

#include <QUndoStack>

namespace tolvane {
namespace {

// One step edited in the largest section (the sequences of a full project) through the document: the change,
// the comparison of every part of the project with its committed state and the undo step that keeps the bytes
// that differ. Each edit is a step of its own.
void EditSequenceStepWithUndo(benchmark::State& state) {
    CTarvelinDoc document(nullptr);
    document.undoStack()->setUndoLimit(1000);
    document.changeAndRestart([](ProjectData& p) { testing_support::fillProject(p); });
    std::uint16_t tenths = 1;
    for (auto _ : state) {
        document.endEditBurst();
        tenths = static_cast<std::uint16_t>(tenths % 500 + 1);
        document.edit({0, {}}, {SectionId::Sequences, 41, 0}, [tenths](ProjectData& p) {
            SequenceStep step = p.sequences().record(41).step(3);
            step.setTenths(tenths);
            p.sequences().replaceStep(41, 3, step);
        });
    }
}
BENCHMARK(EditSequenceStepWithUndo);

// Undoing and redoing that step.
void UndoAndRedoSequenceStep(benchmark::State& state) {
    CTarvelinDoc document(nullptr);
    document.changeAndRestart([](ProjectData& p) { testing_support::fillProject(p); });
    document.edit({0, {}}, {SectionId::Sequences, 41, 0}, [](ProjectData& p) {
        SequenceStep step = p.sequences().record(41).step(3);
        step.setTenths(7);
        p.sequences().replaceStep(41, 3, step);
    });
    for (auto _ : state) {
        document.undo();
        document.redo();
    }
}
BENCHMARK(UndoAndRedoSequenceStep);

} // namespace
} // namespace tolvane
