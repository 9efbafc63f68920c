// The libFuzzer entry of one target, chosen by name when the executable is built (TOLVANE_FUZZ_TARGET).
#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

namespace {

tolvane::fuzz::Check targetCheck() {
    for (const tolvane::fuzz::Target& target : tolvane::fuzz::Targets) {
        if (target.name == TOLVANE_FUZZ_TARGET) {
            return target.check;
        }
    }
    std::fprintf(stderr, "no fuzz target named %s\n", TOLVANE_FUZZ_TARGET);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tolvane::fuzz::Check check = targetCheck();
    const std::string problem = check(std::span<const std::uint8_t>(data, size));
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", TOLVANE_FUZZ_TARGET, problem.c_str());
        std::abort(); // libFuzzer keeps the input as a crash file
    }
    return 0;
}
