#include "FullProject.h"
#include "TextNumbers.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The file offsets where a section ends: after the header, then after each terminator.
std::set<std::size_t> sectionBoundaries(const Bytes& file) {
    std::set<std::size_t> ends{4};
    ByteReader reader(file);
    std::uint32_t value = 0;
    EXPECT_TRUE(reader.readU32LE(value));
    std::size_t offset = 4;
    while (offset < file.size()) {
        const std::uint32_t length = bytes::getU32LE(file, offset + 4);
        offset += 4 + 4 + length + 4;
        ends.insert(offset);
    }
    return ends;
}

// A saved full project cut at every length. Each cut is copied into a buffer of exactly that size, so a read
// past its end is caught by the sanitizer build. A cut is accepted exactly when it falls on a section boundary,
// and then the sections before the cut are read and those after it keep their defaults.
TEST(ProjectFileCuts, EveryCutIsRefusedUnlessItEndsASection) {
    ProjectData full;
    testing_support::fillProject(full);
    const Bytes file = projectfile::store(full);
    // What a file of the header alone reads as: every section at the defaults that loading starts from.
    ProjectData headerOnly;
    ASSERT_EQ(projectfile::load(headerOnly, Bytes(file.begin(), file.begin() + 4)), 0);
    const Bytes defaults = projectfile::store(headerOnly);
    ASSERT_EQ(file.size(), defaults.size());
    const std::set<std::size_t> boundaries = sectionBoundaries(file);
    ASSERT_EQ(boundaries.size(), 19u); // the header and 18 sections
    ASSERT_EQ(*boundaries.rbegin(), file.size());

    // Every load starts by resetting the whole project, which an unoptimised build does slowly: there the cuts
    // inside a body are taken at a stride, while every byte of the framing (tags, lengths, terminators and the
    // bytes next to them) is still cut. Optimised builds, the sanitizer build among them, cut at every offset.
#ifdef __OPTIMIZE__
    constexpr std::size_t BodyStride = 1;
#else
    constexpr std::size_t BodyStride = 61;
#endif
    const auto nearFraming = [&](std::size_t cut) {
        const auto next = boundaries.lower_bound(cut);
        const std::size_t after = next == boundaries.end() ? SIZE_MAX : *next - cut;
        const std::size_t before = next == boundaries.begin() ? SIZE_MAX : cut - *std::prev(next);
        return after <= 16 || before <= 16;
    };

    ProjectData project;
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        if (cut % BodyStride != 0 && !nearFraming(cut)) {
            continue;
        }
        const Bytes part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
        const int result = projectfile::load(project, part);
        const int expected = cut < 4 ? text::NotAProject : boundaries.count(cut) != 0 ? 0 : text::ProjectDamaged;
        if (result != expected) {
            ADD_FAILURE() << "cut at " << cut << " gave " << result << ", expected " << expected;
            return; // one report is enough; the next cuts would repeat it
        }
    }

    for (const std::size_t cut : boundaries) {
        SCOPED_TRACE(cut);
        const Bytes part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
        auto opened = projectfile::open(part);
        if (cut == 4) {
            EXPECT_EQ(opened.errorText, text::NotAProject); // no section: no project
            continue;
        }
        ASSERT_NE(opened.project, nullptr);
        const Bytes stored = projectfile::store(*opened.project);
        ASSERT_EQ(stored.size(), file.size());
        EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(cut), file.begin()));
        EXPECT_TRUE(std::equal(stored.begin() + static_cast<std::ptrdiff_t>(cut), stored.end(),
                               defaults.begin() + static_cast<std::ptrdiff_t>(cut)));
    }
}

} // namespace
} // namespace tolvane
