#pragma once

#include "section/SectionState.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvane {

// What changed between two byte strings, as the runs of bytes that differ with their bytes before and after, so
// that either string can be rebuilt from the other. Strings of one length give a run per stretch of differing
// bytes (stretches closer than MergeGap are joined); strings of different lengths give one run between their
// common start and common end.
class BytesDiff {
public:
    static constexpr std::size_t MergeGap = 16;

    struct Run {
        std::size_t offset = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };

    static BytesDiff between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

    bool empty() const { return runs_.empty(); }
    const std::vector<Run>& runs() const { return runs_; }
    // The bytes held by the runs (before and after), for sizing the history.
    std::size_t weight() const;

    // Rebuilds the string before the change from the one after it, and the other way round. A string that does
    // not hold the bytes the runs expect at their places throws std::invalid_argument.
    std::vector<std::uint8_t> backward(std::span<const std::uint8_t> after) const;
    std::vector<std::uint8_t> forward(std::span<const std::uint8_t> before) const;

private:
    std::vector<Run> runs_;
};

// The change of one part of a project: of its content and of its change marks.
struct StateDiff {
    BytesDiff content;
    BytesDiff marks;

    static StateDiff between(const SectionState& before, const SectionState& after) {
        return {BytesDiff::between(before.content, after.content), BytesDiff::between(before.marks, after.marks)};
    }
    bool empty() const { return content.empty() && marks.empty(); }
};

} // namespace tolvane
