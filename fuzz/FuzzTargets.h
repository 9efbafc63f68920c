#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvane::fuzz {

// One reader of outside data, driven with arbitrary bytes. Each check feeds the bytes to its reader and then
// tests what must hold for any input (a file that was accepted stores and reads back the same way, what the
// reader produced stays within its limits, validation of the content does not fail). It returns an empty
// string when everything held and otherwise says what did not.
//
// The same functions run under libFuzzer (fuzz/entry, clang with sanitizers) and in the ordinary test suite,
// which replays every file of the seed corpus and every input that once failed.
using Check = std::string (*)(std::span<const std::uint8_t> data);

struct Target {
    std::string_view name; // also the name of its folders under fuzz/corpus and fuzz/regressions
    Check check;
};

std::string projectFile(std::span<const std::uint8_t> data);
std::string programsFile(std::span<const std::uint8_t> data);
std::string configFile(std::span<const std::uint8_t> data);
std::string sequencesFile(std::span<const std::uint8_t> data);
std::string chimesFile(std::span<const std::uint8_t> data);
std::string holidayFile(std::span<const std::uint8_t> data);
std::string textFormat(std::span<const std::uint8_t> data);
std::string languageCatalog(std::span<const std::uint8_t> data);

inline constexpr Target Targets[] = {
    {"project_file", projectFile},     {"programs_file", programsFile},       {"config_file", configFile},
    {"sequences_file", sequencesFile}, {"chimes_file", chimesFile},           {"holiday_file", holidayFile},
    {"text_format", textFormat},       {"language_catalog", languageCatalog},
};

} // namespace tolvane::fuzz
