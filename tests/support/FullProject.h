#pragma once

#include "project/ProjectData.h"

#include <string>

namespace tolvane::testing_support {

// Fills every table of a project to its capacity with varied, valid content: 128 entries in each of the
// weekly, holiday-day, annual and one-time programs, 128 holidays, 42 sequences (the last one with all 155
// steps), 300 chime names. Used by round-trip tests and benchmarks.
inline void fillProject(ProjectData& p) {
    struct Dashes : TextSource {
        std::string text(int id) const override { return "Holiday " + std::to_string(id); }
    } texts;

    for (int i = 0; i < 128; ++i) {
        const int h = p.holidays().addHoliday(texts);
        (void)h;
    }
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        ScheduleProgram& program = p.program(kind);
        for (int i = 0; i < 128; ++i) {
            const int e = program.addItem();
            const auto v = static_cast<std::uint8_t>((i * 7 + kind) % 24);
            program.setTime(e, v, static_cast<std::uint8_t>(i % 60), static_cast<std::uint8_t>((i * 3) % 60));
            program.setPriority(e, static_cast<std::uint8_t>(i % 16));
            if (i % 3 == 1) {
                program.setAction(e, 2);
                program.setMelodyNumber(e, static_cast<std::uint16_t>(1 + i * 7));
                program.setRepetitions(e, static_cast<std::uint8_t>(1 + i % 9));
            } else if (i % 3 == 2) {
                program.setAction(e, 11);
                program.setSilenceDuration(e, static_cast<std::uint32_t>(i * 3600));
            } else {
                program.setRingingTime(e, static_cast<std::uint16_t>(60 + i));
                program.setBellDelay(e, 2, static_cast<std::uint16_t>(i * 10));
            }
            if (kind == HolidayDay) {
                program.setHolidayIndex(e, static_cast<std::uint8_t>(i));
            }
        }
    }
    SequenceTable& sequences = p.sequences();
    while (sequences.hasFreeRecord()) {
        const int s = sequences.createSequence();
        SequenceStep step;
        step.makeFresh();
        step.setKind(StepKind::Pause);
        step.setTenths(static_cast<std::uint16_t>(10 + s));
        sequences.insertStep(s, step, 0);
    }
    const int last = 41;
    while (sequences.hasFreeStep(last)) {
        SequenceStep step;
        step.makeFresh();
        step.setKind(StepKind::Pause);
        step.setTenths(static_cast<std::uint16_t>(1 + sequences.stepCount(last)));
        sequences.insertStep(last, step, 0);
    }
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        p.chimes().setName(i, "Melodia " + std::to_string(i + 1) + " Zażółć gęślą");
    }
    p.general().setLocationName("Parafia św. Jana");
    p.identity().setSerial("314159");
}

// One full project per test program, filled on first use (the benchmarks share it).
inline ProjectData& sharedFullProject() {
    static ProjectData project;
    static const bool filled = [] {
        fillProject(project);
        return true;
    }();
    (void)filled;
    return project;
}

} // namespace tolvane::testing_support
