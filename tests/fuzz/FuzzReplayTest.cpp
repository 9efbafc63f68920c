#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files of one folder in name order; hidden files (the placeholder that keeps an empty folder) are not inputs.
std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) {
        return files;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzReplay : public ::testing::TestWithParam<fuzz::Target> {};

// Every seed of a target and every input that once made it fail goes through its check again.
TEST_P(FuzzReplay, SeedsAndRegressionsPassTheirCheck) {
    const fuzz::Target& target = GetParam();
    const fs::path root(TOLVANE_FUZZ_DIR);
    const auto seeds = inputsIn(root / "corpus" / target.name);
    ASSERT_FALSE(seeds.empty()) << "no seed corpus for " << target.name;
    auto inputs = seeds;
    const auto regressions = inputsIn(root / "regressions" / target.name);
    inputs.insert(inputs.end(), regressions.begin(), regressions.end());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const auto data = readFile(input);
        EXPECT_EQ(target.check(data), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(fuzz::Targets),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace tolvane
