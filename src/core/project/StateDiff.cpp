#include "project/StateDiff.h"

#include <algorithm>
#include <stdexcept>

namespace tolvane {

BytesDiff BytesDiff::between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
    BytesDiff diff;
    const auto copy = [](std::span<const std::uint8_t> s, std::size_t from, std::size_t to) {
        return std::vector<std::uint8_t>(s.begin() + static_cast<std::ptrdiff_t>(from),
                                         s.begin() + static_cast<std::ptrdiff_t>(to));
    };
    if (before.size() != after.size()) {
        const std::size_t shorter = std::min(before.size(), after.size());
        std::size_t head = 0;
        while (head < shorter && before[head] == after[head]) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
            ++tail;
        }
        diff.runs_.push_back({head, copy(before, head, before.size() - tail), copy(after, head, after.size() - tail)});
        return diff;
    }
    const std::size_t size = before.size();
    std::size_t at = 0;
    while (at < size) {
        const auto mismatch = std::mismatch(before.begin() + static_cast<std::ptrdiff_t>(at), before.end(),
                                            after.begin() + static_cast<std::ptrdiff_t>(at));
        if (mismatch.first == before.end()) {
            break;
        }
        const std::size_t start = static_cast<std::size_t>(mismatch.first - before.begin());
        // The run goes on while the next differing byte is closer than the gap.
        std::size_t end = start + 1;
        std::size_t same = 0;
        for (std::size_t i = end; i < size && same < MergeGap; ++i) {
            if (before[i] != after[i]) {
                end = i + 1;
                same = 0;
            } else {
                ++same;
            }
        }
        diff.runs_.push_back({start, copy(before, start, end), copy(after, start, end)});
        at = end;
    }
    return diff;
}

std::size_t BytesDiff::weight() const {
    std::size_t total = 0;
    for (const Run& run : runs_) {
        total += run.before.size() + run.after.size();
    }
    return total;
}

namespace {

// Replaces, run by run, the `from` bytes at each run's place by its `to` bytes. Runs are in ascending order; their
// places are counted in the string being rebuilt, which only one run (of strings of different lengths) resizes.
template <typename From, typename To>
std::vector<std::uint8_t> replaceRuns(const std::vector<BytesDiff::Run>& runs, std::span<const std::uint8_t> source,
                                      From from, To to) {
    std::vector<std::uint8_t> out(source.begin(), source.end());
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const std::vector<std::uint8_t>& expected = from(*run);
        const std::vector<std::uint8_t>& replacement = to(*run);
        if (run->offset > out.size() || out.size() - run->offset < expected.size() ||
            !std::equal(expected.begin(), expected.end(), out.begin() + static_cast<std::ptrdiff_t>(run->offset))) {
            throw std::invalid_argument("bytes do not match the change");
        }
        const auto at = out.begin() + static_cast<std::ptrdiff_t>(run->offset);
        out.erase(at, at + static_cast<std::ptrdiff_t>(expected.size()));
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(run->offset), replacement.begin(), replacement.end());
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> BytesDiff::backward(std::span<const std::uint8_t> after) const {
    return replaceRuns(
        runs_, after, [](const Run& r) -> const auto& { return r.after; },
        [](const Run& r) -> const auto& { return r.before; });
}

std::vector<std::uint8_t> BytesDiff::forward(std::span<const std::uint8_t> before) const {
    return replaceRuns(
        runs_, before, [](const Run& r) -> const auto& { return r.before; },
        [](const Run& r) -> const auto& { return r.after; });
}

} // namespace tolvane
