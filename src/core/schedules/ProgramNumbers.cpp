#include "schedules/ProgramNumbers.h"

namespace tolvane {

ProgramNumberUses programNumberUses(std::span<const ScheduleProgram* const> programs) {
    ProgramNumberUses uses;
    for (const ScheduleProgram* program : programs) {
        if (program == nullptr || isTollingKind(program->kind())) {
            continue;
        }
        for (int i = 0; i < program->usedCount(); ++i) {
            const std::uint16_t number = program->entry(i).identifier();
            if (number >= 1 && number <= MaxProgramNumber) {
                uses[number].push_back({program->kind(), i});
            }
        }
    }
    return uses;
}

} // namespace tolvane
