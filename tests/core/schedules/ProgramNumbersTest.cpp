#include "schedules/ProgramNumbers.h"
#include "schedules/HammerChoice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tolvane {
namespace {

// A program of `kind` whose used entries carry the given numbers.
ScheduleProgram programWith(int kind, std::initializer_list<std::uint16_t> numbers) {
    ScheduleProgram p(kind);
    p.setReferences(nullptr, nullptr, [] { return std::uint16_t{1}; });
    int i = 0;
    for (std::uint16_t number : numbers) {
        if (!isTollingKind(kind)) {
            EXPECT_EQ(p.addEntry(), i);
        }
        p.setIdentifier(i++, number);
    }
    return p;
}

TEST(ProgramNumbers, EveryHolderOfANumberIsListedInProgramOrder) {
    const ScheduleProgram weekly = programWith(Weekly, {7, 3, 7});
    const ScheduleProgram holidayDay = programWith(HolidayDay, {512});
    const ScheduleProgram annual = programWith(Annual, {7});
    const ScheduleProgram oneTime = programWith(OneTime, {1});
    const ScheduleProgram* programs[] = {&weekly, &holidayDay, &annual, &oneTime};

    const ProgramNumberUses uses = programNumberUses(programs);
    EXPECT_EQ(uses[7], (std::vector<ProgramNumberUser>{{Weekly, 0}, {Weekly, 2}, {Annual, 0}}));
    EXPECT_EQ(uses[3], (std::vector<ProgramNumberUser>{{Weekly, 1}}));
    EXPECT_EQ(uses[512], (std::vector<ProgramNumberUser>{{HolidayDay, 0}}));
    EXPECT_EQ(uses[1], (std::vector<ProgramNumberUser>{{OneTime, 0}}));
    int used = 0;
    for (const auto& holders : uses) {
        used += holders.empty() ? 0 : 1;
    }
    EXPECT_EQ(used, 4);
}

TEST(ProgramNumbers, FreeSlotsTollingProgramsAndNumbersOutOfRangeDoNotCount) {
    ScheduleProgram weekly = programWith(Weekly, {0, 513, 0xFFFF, 20});
    weekly.setIdentifier(10, 30); // a free slot keeps a number of a deleted entry
    const ScheduleProgram funeral = programWith(Funeral, {40, 41});
    const ScheduleProgram* programs[] = {&weekly, &funeral};

    const ProgramNumberUses uses = programNumberUses(programs);
    EXPECT_TRUE(uses[0].empty());
    EXPECT_TRUE(uses[30].empty());
    EXPECT_TRUE(uses[40].empty());
    EXPECT_TRUE(uses[41].empty());
    EXPECT_EQ(uses[20], (std::vector<ProgramNumberUser>{{Weekly, 3}}));
}

TEST(HammerChoice, ABitBecomesAnIndexOnlyWhenItIsOneOfTheFiveHammers) {
    const struct {
        std::uint8_t bits;
        std::uint8_t index;
    } cases[] = {
        {0x01, 0},        {0x02, 1},        {0x04, 2}, {0x08, 3}, {0x10, 4}, {0x00, NoHammer}, // none chosen
        {0x03, NoHammer},                                                                      // two hammers
        {0x20, NoHammer},                                                                      // bit 5: no such hammer
        {0x80, NoHammer}, {0xFF, NoHammer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.bits));
        EXPECT_EQ(hammerBitToIndex(c.bits), c.index);
        if (c.index != NoHammer) {
            EXPECT_EQ(hammerIndexToBit(c.index), c.bits) << "and back";
        }
    }
    EXPECT_EQ(hammerIndexToBit(NoHammer), 0);
    EXPECT_EQ(hammerIndexToBit(5), 0);
}

} // namespace
} // namespace tolvane
