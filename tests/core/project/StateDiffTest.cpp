#include "project/StateDiff.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tolvane {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

struct DiffCase {
    const char* name;
    std::string before;
    std::string after;
    std::size_t runs;
};

class BytesDiffCases : public ::testing::TestWithParam<DiffCase> {};

// Either side is rebuilt from the other, and only the differing stretches are kept.
TEST_P(BytesDiffCases, RebuildsBothSidesFromTheRuns) {
    const DiffCase& c = GetParam();
    const BytesDiff diff = BytesDiff::between(bytes(c.before), bytes(c.after));
    EXPECT_EQ(diff.runs().size(), c.runs);
    EXPECT_EQ(diff.backward(bytes(c.after)), bytes(c.before));
    EXPECT_EQ(diff.forward(bytes(c.before)), bytes(c.after));
    EXPECT_LE(diff.weight(), c.before.size() + c.after.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BytesDiffCases,
    ::testing::Values(DiffCase{"same", "abcdef", "abcdef", 0}, DiffCase{"bothEmpty", "", "", 0},
                      DiffCase{"oneByte", "abcdef", "abXdef", 1},
                      DiffCase{"farApart", "a" + std::string(40, '.') + "b", "A" + std::string(40, '.') + "B", 2},
                      DiffCase{"closeTogether", "a" + std::string(5, '.') + "b", "A" + std::string(5, '.') + "B", 1},
                      DiffCase{"longer", "Angel", "Angelus", 1}, DiffCase{"shorter", "Angelus", "Ang", 1},
                      DiffCase{"fromEmpty", "", "Gloria", 1}, DiffCase{"insideRepeats", "aaaa", "aaaaaa", 1}),
    [](const ::testing::TestParamInfo<DiffCase>& param) { return std::string(param.param.name); });

TEST(BytesDiff, BytesThatDoNotHoldTheChangeAreRefused) {
    const BytesDiff diff = BytesDiff::between(bytes("abcdef"), bytes("abXdef"));
    EXPECT_THROW(diff.backward(bytes("abYdef")), std::invalid_argument);
    EXPECT_THROW(diff.forward(bytes("ab")), std::invalid_argument);
}

} // namespace
} // namespace tolvane
