#include "schedules/ProgramEntry.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::hexBytes;
using testing::toVector;

struct DefaultCase {
    int kind;
    const char* bytes; // all 64 bytes, written out from the field table
};

// Offsets:            0-3         4-15 (bell 1 at 0 s, bells 2-5 off, 180 s)   16-23                     24-27 28-31
// 32-35       36-45 (second time set)        46-63
const DefaultCase kDefaults[] = {
    {0, "0C 00 00 01 | 00 00 FF FF FF FF FF FF FF FF B4 00 | 00 01 01 00 00 0C 1F 00 | 01 FF 04 FF | C0 A8 00 00 | 00 "
        "00 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
    {1, "0C 00 00 01 | 00 00 FF FF FF FF FF FF FF FF B4 00 | FE FF FF FF FF FF FF FF | 01 FF 05 FF | C0 A8 00 00 | 00 "
        "00 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
    {2, "0C 00 00 01 | 00 00 FF FF FF FF FF FF FF FF B4 00 | 00 01 01 00 00 0C 1F 00 | 01 FF 04 FF | C0 A8 00 00 | 00 "
        "00 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
    {3, "0C 00 00 01 | 00 00 FF FF FF FF FF FF FF FF B4 00 | 08 01 01 00 00 0C 1F 00 | 01 FF 04 FF | C0 A8 00 00 | 00 "
        "00 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
    {4, "0C 00 00 FF | 00 00 FF FF FF FF FF FF FF FF B4 00 | 0C 00 00 FF 0C 00 00 00 | 03 FE 0F BF | C0 A8 00 00 | FF "
        "FF 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
    {5, "0C 00 00 05 | 00 00 FF FF FF FF FF FF FF FF B4 00 | 0C 00 00 FF 01 00 00 00 | 03 FE 0F BF | C0 A8 00 00 | FF "
        "FF 00 FF"
        "| 00 00 00 00 00 00 00 00 00 00 | FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
};

TEST(ProgramEntry, DefaultEntryOfEveryKindByteForByte) {
    for (const DefaultCase& c : kDefaults) {
        SCOPED_TRACE(c.kind);
        const auto expected = hexBytes(c.bytes);
        ASSERT_EQ(expected.size(), 64u);
        EXPECT_EQ(toVector(ProgramEntry::defaultFor(c.kind).bytes()), expected);
    }
    EXPECT_THROW(ProgramEntry::defaultFor(6), std::out_of_range);
    EXPECT_THROW(ProgramEntry::defaultFor(-1), std::out_of_range);
}

TEST(ProgramEntry, DefaultsReadThroughTheNamedAccessors) {
    const ProgramEntry weekly = ProgramEntry::defaultFor(0);
    EXPECT_TRUE(weekly.isFree());
    EXPECT_TRUE(weekly.summer());
    EXPECT_TRUE(weekly.winter());
    EXPECT_FALSE(weekly.angelus());
    EXPECT_TRUE(weekly.bellRung(0));
    EXPECT_FALSE(weekly.bellRung(1));
    EXPECT_EQ(weekly.ringingTime(), 180);
    EXPECT_EQ(weekly.seconds(), 43200u);

    const ProgramEntry funeral = ProgramEntry::defaultFor(4);
    EXPECT_FALSE(funeral.isFree());
    EXPECT_EQ(funeral.startMode(), FuneralStartMode::ByClock);
    EXPECT_FALSE(funeral.funeralRelayUsed());
    EXPECT_TRUE(funeral.timeOn(1));
    EXPECT_FALSE(funeral.timeOn(2));
    EXPECT_FALSE(funeral.timeOn(3));
    EXPECT_EQ(funeral.identifier(), 0xFFFF);

    const ProgramEntry special = ProgramEntry::defaultFor(5);
    EXPECT_EQ(special.action(), ProgramEntry::ActionSequence);
    EXPECT_EQ(special.sequenceIndex(), 0);
    EXPECT_EQ(special.steps(), 1); // 0.5 steps
}

TEST(ProgramEntry, FlagSettersTouchOnlyTheirBit) {
    struct Case {
        const char* name;
        void (*apply)(ProgramEntry&);
        std::size_t offset;
        std::uint8_t expected; // starting from 0xFF
    };
    const Case cases[] = {
        {"free off", [](ProgramEntry& e) { e.setFree(false); }, 25, 0xFE},
        {"winter off", [](ProgramEntry& e) { e.setWinter(false); }, 25, 0xFB},
        {"summer off", [](ProgramEntry& e) { e.setSummer(false); }, 25, 0xF7},
        {"angelus on", [](ProgramEntry& e) { e.setAngelus(true); }, 25, 0xEF},
        {"relay used", [](ProgramEntry& e) { e.setFuneralRelayUsed(true); }, 25, 0x7F},
        {"before angelus", [](ProgramEntry& e) { e.setStartMode(FuneralStartMode::BeforeAngelus); }, 25, 0xBF},
        {"after angelus", [](ProgramEntry& e) { e.setStartMode(FuneralStartMode::AfterAngelus); }, 25, 0x9F},
        {"odd weeks off", [](ProgramEntry& e) { e.setOddWeeks(false); }, 27, 0xFE},
        {"even weeks off", [](ProgramEntry& e) { e.setEvenWeeks(false); }, 27, 0xFD},
        {"odd months off", [](ProgramEntry& e) { e.setOddMonths(false); }, 27, 0xFB},
        {"even months off", [](ProgramEntry& e) { e.setEvenMonths(false); }, 27, 0xF7},
        {"time 3 on", [](ProgramEntry& e) { e.setTimeOn(3, true); }, 27, 0xEF},
        {"time 2 on", [](ProgramEntry& e) { e.setTimeOn(2, true); }, 27, 0xDF},
        {"time 1 on", [](ProgramEntry& e) { e.setTimeOn(1, true); }, 27, 0xBF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramEntry e; // all 0xFF
        c.apply(e);
        for (std::size_t off = 0; off < 64; ++off) {
            EXPECT_EQ(e.u8(off), off == c.offset ? c.expected : 0xFF) << "offset " << off;
        }
    }
    ProgramEntry e;
    e.setFlags(0x1F); // by the clock from a cleared start mode keeps bit 5 as it is
    e.setStartMode(FuneralStartMode::ByClock);
    EXPECT_EQ(e.flags(), 0x5F);
    EXPECT_THROW(e.setTimeOn(4, true), std::out_of_range);
    EXPECT_THROW((void)e.bellDelay(5), std::out_of_range);
}

TEST(ProgramEntry, SilenceWordKeepsDurationAndTargetsApart) {
    ProgramEntry e;
    e.setSilenceWord(0);
    e.setSilenceForBells(true);
    e.setSilenceSeconds(2'592'000); // 30 days
    EXPECT_EQ(e.silenceWord(), (2'592'000u << 2) | 0x2u);
    EXPECT_TRUE(e.silenceForBells());
    EXPECT_FALSE(e.silenceForGongs());
    e.setSilenceForGongs(true);
    e.setSilenceForBells(false);
    EXPECT_EQ(e.silenceSeconds(), 2'592'000u);
    EXPECT_EQ(e.silenceWord() & 0x3u, 0x1u);
}

TEST(ProgramEntry, ByteOrderReversalDependsOnTheAction) {
    ProgramEntry e;
    for (std::size_t i = 0; i < 64; ++i) {
        e.setU8(i, static_cast<std::uint8_t>(i));
    }
    struct Case {
        std::uint8_t action;
        std::vector<std::pair<std::size_t, std::size_t>> reversed; // (offset, width) beyond the fixed fields
    };
    const Case cases[] = {
        {1, {{4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}}},
        {2, {{4, 2}}},
        {11, {{4, 4}}},
        {3, {}},
        {5, {}},
        {255, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action));
        ProgramEntry original = e;
        original.setAction(c.action);
        ProgramEntry swapped = original;
        ProgramEntry::swapByteOrder(swapped.bytes());

        std::vector<std::pair<std::size_t, std::size_t>> fields = c.reversed;
        fields.insert(fields.end(), {{28, 4}, {32, 2}, {36, 2}, {38, 2}, {40, 2}, {42, 2}, {44, 2}});
        ProgramEntry expected = original;
        for (auto [off, width] : fields) {
            for (std::size_t k = 0; k < width; ++k) {
                expected.setU8(off + k, original.u8(off + width - 1 - k));
            }
        }
        EXPECT_EQ(toVector(swapped.bytes()), toVector(expected.bytes()));
        ProgramEntry::swapByteOrder(swapped.bytes());
        EXPECT_EQ(swapped, original);
    }
}

TEST(ProgramEntry, BellTimesWrapAtOneHour) {
    EXPECT_EQ(ProgramEntry::bellTimeFrom(60, 0), 0);
    EXPECT_EQ(ProgramEntry::bellTimeFrom(59, 59), 3599);
    EXPECT_EQ(ProgramEntry::bellTimeFrom(2, 5), 125);
    EXPECT_EQ(ProgramEntry::bellTimeFrom(0, -1), 0);
}

} // namespace
} // namespace tolvane
