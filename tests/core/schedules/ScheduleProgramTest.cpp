#include "schedules/ScheduleProgram.h"

#include "ringing/BellTable.h"
#include "schedules/HolidayTable.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

using testing::NumberedTexts;
using testing::toVector;

std::vector<std::uint8_t> packed(ScheduleProgram& p) {
    std::vector<std::uint8_t> image(static_cast<std::size_t>(p.capacity()) * 64, 0xFF);
    p.packImage(image);
    return image;
}

TEST(ScheduleProgram, ResetGivesCapacityUsedCountAndDefaultEntriesPerKind) {
    struct Case {
        int kind, capacity, used;
    };
    for (const Case c :
         {Case{0, 128, 0}, Case{1, 128, 0}, Case{2, 128, 0}, Case{3, 128, 0}, Case{4, 8, 8}, Case{5, 3, 3}}) {
        SCOPED_TRACE(c.kind);
        ScheduleProgram p(c.kind);
        EXPECT_EQ(p.kind(), c.kind);
        EXPECT_EQ(p.capacity(), c.capacity);
        EXPECT_EQ(p.usedCount(), c.used);
        for (int i = 0; i < p.capacity(); ++i) {
            EXPECT_EQ(p.entry(i), ProgramEntry::defaultFor(c.kind));
            EXPECT_EQ(p.markWord(i, 0), 0xFFFFFFFFu);
            EXPECT_EQ(p.markWord(i, 1), 0xFFFFFFFFu);
        }
        EXPECT_THROW((void)p.entry(c.capacity), std::out_of_range);
        p.clearModified();
        EXPECT_FALSE(p.isModified());
        p.reset();
        EXPECT_EQ(p.usedCount(), c.used);
        EXPECT_TRUE(p.isModified());
    }
    EXPECT_THROW(ScheduleProgram(6), std::out_of_range);
}

TEST(ScheduleProgram, AddItemTakesTheNextSlotWithANewIdentifier) {
    ScheduleProgram p(0);
    p.setReferences(nullptr, nullptr, [] { return std::uint16_t{77}; });
    EXPECT_EQ(p.addItem(), 0);
    EXPECT_EQ(p.usedCount(), 1);
    ProgramEntry expected = ProgramEntry::defaultFor(0);
    expected.setFree(false);
    expected.setIdentifier(77);
    EXPECT_EQ(p.entry(0), expected);

    // Without an id source the section numbers its own entries.
    ScheduleProgram lone(2);
    EXPECT_EQ(lone.addItem(), 0);
    EXPECT_EQ(lone.addItem(), 1);
    EXPECT_EQ(lone.entry(0).identifier(), 1);
    EXPECT_EQ(lone.entry(1).identifier(), 2);

    // Funeral and special tolling are always full.
    EXPECT_EQ(ScheduleProgram(4).addItem(), -1);
    EXPECT_EQ(ScheduleProgram(5).addItem(), -1);
}

TEST(ScheduleProgram, PackNormalisesByKindAndWritesBigEndian) {
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        ScheduleProgram p(kind);
        if (kind < 4) {
            p.addEntry();
        }
        p.setTime(0, 1, 2, 3); // the seconds field is only recomputed when packing
        p.setStartDate(0, 9, 8);
        p.setEndDate(0, 7, 6);
        p.setYear(0, 30);
        const auto image = packed(p);
        ASSERT_EQ(image.size(), static_cast<std::size_t>(p.capacity()) * 64);

        // 1:02:03 = 3723 s = 0x00000E8B, most significant byte first.
        EXPECT_EQ((std::vector<std::uint8_t>(image.begin() + 28, image.begin() + 32)),
                  (std::vector<std::uint8_t>{0x00, 0x00, 0x0E, 0x8B}));
        // Bytes 16-23 after the kind's normalisation (year 30, start 09.08, end 07.06 were typed in).
        const char* dates[] = {"00 08 09 00 00 06 07 00", "1E 00 00 00 FE 00 00 00", "00 08 09 00 00 06 07 00",
                               "1E 08 09 00 00 06 07 00", "1E 08 09 00 0C 06 07 00", "1E 08 09 00 01 06 07 00"};
        EXPECT_EQ((std::vector<std::uint8_t>(image.begin() + 16, image.begin() + 24)), testing::hexBytes(dates[kind]));
        // The bell action's words are reversed: ringing time 180 = 00 B4.
        if (p.entry(0).action() == ProgramEntry::ActionBells) {
            EXPECT_EQ(image[14], 0x00);
            EXPECT_EQ(image[15], 0xB4);
        }
        // Packing works on copies: the entry in memory keeps its stale seconds and its bytes 19/23.
        EXPECT_EQ(p.entry(0).seconds(), 43200u);
    }
}

TEST(ScheduleProgram, PackedResetEntryCarriesTwelveOClockAtOffset28) {
    ScheduleProgram p(3);
    const auto image = packed(p);
    for (int i = 0; i < 128; ++i) {
        const std::size_t base = static_cast<std::size_t>(i) * 64;
        EXPECT_EQ((std::vector<std::uint8_t>(image.begin() + base + 28, image.begin() + base + 32)),
                  (std::vector<std::uint8_t>{0x00, 0x00, 0xA8, 0xC0}));
    }
    std::vector<std::uint8_t> small(100);
    EXPECT_THROW(p.packImage(small), std::out_of_range);
}

TEST(ScheduleProgram, PackThenUnpackReturnsTheUsedEntries) {
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        ScheduleProgram p(kind);
        if (kind < 4) {
            for (int i = 0; i < 4; ++i) {
                p.addEntry();
            }
        }
        p.setAction(0, ProgramEntry::ActionBells);
        p.setBellDelay(0, 2, 0x0102);
        p.setBellSecondTime(0, 4, 0x0304);
        p.setRingingTime(0, 0x0506);
        p.setAction(1, ProgramEntry::ActionMelody);
        p.setMelodyNumber(1, 999);
        p.setRepetitions(1, 3);
        p.setAction(2, ProgramEntry::ActionSilence);
        p.setSilenceDuration(2, 90061);
        p.setSilenceTargets(2, false, true);
        p.setIdentifier(2, 0x0203);
        if (kind >= 4) {
            p.setTime2(1, 13, 14, 15);
            p.setTimeOn(1, 2, true);
        }
        const auto first = packed(p);

        ScheduleProgram q(kind);
        q.unpackImage(first);
        EXPECT_EQ(q.usedCount(), p.usedCount());
        EXPECT_EQ(q.entry(0).bellDelay(2), 0x0102);
        EXPECT_EQ(q.entry(0).secondTime(4), 0x0304);
        EXPECT_EQ(q.entry(0).ringingTime(), 0x0506);
        EXPECT_EQ(q.entry(1).melodyNumber(), 999);
        EXPECT_EQ(q.entry(1).repetitions(), 3);
        EXPECT_EQ(q.entry(2).silenceSeconds(), 90061u);
        EXPECT_TRUE(q.entry(2).silenceForGongs());
        EXPECT_EQ(q.entry(2).identifier(), 0x0203);
        if (kind >= 4) {
            EXPECT_EQ(q.entry(1).time2Minute(), 14);
            EXPECT_TRUE(q.entry(1).timeOn(2));
        }
        EXPECT_EQ(packed(q), first);
    }
}

TEST(ScheduleProgram, UnpackStopsAtTheFirstFreeEntryExceptForTolling) {
    ScheduleProgram weekly(0);
    for (int i = 0; i < 5; ++i) {
        weekly.addEntry();
    }
    auto image = packed(weekly);
    image[2 * 64 + 25] |= 0x01; // third entry free, later ones valid
    ScheduleProgram read(0);
    read.unpackImage(image);
    EXPECT_EQ(read.usedCount(), 2);
    EXPECT_EQ(read.entry(2), ProgramEntry::defaultFor(0)); // not read back

    // Funeral and special tolling take every entry, free-marked or not.
    for (int kind : {4, 5}) {
        SCOPED_TRACE(kind);
        ScheduleProgram p(kind);
        p.setRelayDelay(p.capacity() - 1, 42);
        auto img = packed(p);
        img[64 + 25] |= 0x01;
        ScheduleProgram q(kind);
        q.unpackImage(img);
        EXPECT_EQ(q.usedCount(), p.capacity());
        EXPECT_EQ(q.entry(p.capacity() - 1).relayDelay(), 42);
    }

    // A short image reads only the whole entries it holds.
    ScheduleProgram shortRead(0);
    shortRead.unpackImage(std::span(image).first(64 + 10));
    EXPECT_EQ(shortRead.usedCount(), 1);
}

TEST(ScheduleProgram, ProjectBodyRoundTripAndRecount) {
    ScheduleProgram p(1);
    for (int i = 0; i < 3; ++i) {
        p.addEntry();
    }
    p.setHolidayIndex(1, 17);
    p.setPriority(2, 9);
    std::vector<std::uint8_t> file;
    auto store = SectionArchive::forStoring(file);
    p.serialize(store);

    ScheduleProgram q(1);
    ByteReader reader(file);
    auto load = SectionArchive::forLoading(reader);
    q.serialize(load);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(q.usedCount(), 3);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(q.entry(i), p.entry(i)) << i;
    }

    // A shorter body overwrites only its first bytes; the recount follows the free bits.
    ScheduleProgram r(0);
    std::vector<std::uint8_t> shortFile = {64, 0, 0, 0};
    ProgramEntry e = ProgramEntry::defaultFor(0);
    e.setFree(false);
    e.setIdentifier(5);
    shortFile.insert(shortFile.end(), e.bytes().begin(), e.bytes().end());
    ByteReader shortReader(shortFile);
    auto shortLoad = SectionArchive::forLoading(shortReader);
    r.serialize(shortLoad);
    EXPECT_EQ(r.usedCount(), 1);
    EXPECT_EQ(r.entry(0), e);
    EXPECT_EQ(r.entry(1), ProgramEntry::defaultFor(0));
}

TEST(ScheduleProgram, TollingKeepsAllEntriesAfterAProjectBodyWithFreeBits) {
    ScheduleProgram p(4);
    std::vector<std::uint8_t> file = {0, 2, 0, 0};
    file.resize(4 + 512, 0xFF); // every entry free-marked
    ByteReader reader(file);
    auto load = SectionArchive::forLoading(reader);
    p.serialize(load);
    EXPECT_EQ(p.usedCount(), 8);
}

// ---- validation ----

TEST(ScheduleProgram, ValidationReportsEachRuleInTableOrder) {
    ScheduleProgram weekly(0);
    weekly.addEntry();
    weekly.addEntry();
    weekly.setDays(1, 0);
    weekly.setStartDate(1, 0, 13);
    weekly.setEndDate(1, 32, 0);
    weekly.setTime(1, 24, 0, 0);
    weekly.setPriority(1, 16);
    weekly.setSummer(1, false);
    weekly.setWinter(1, false);
    weekly.setAction(1, ProgramEntry::ActionMelody);
    weekly.setMelodyNumber(1, 1001);
    weekly.setRepetitions(1, 0);
    IssueList issues;
    weekly.validate(issues);
    const IssueList expected = {{2, 1, 0, 1},  {6, 1, 0, 0},  {7, 1, 0, 0}, {11, 1, 0, 0},
                                {12, 1, 0, 0}, {13, 1, 0, 2}, {4, 1, 0, 0}, {5, 1, 0, 0}};
    EXPECT_EQ(issues, expected);
}

TEST(ScheduleProgram, ValidationRulesApplyToTheirKinds) {
    struct Case {
        const char* name;
        int kind;
        void (*breakIt)(ScheduleProgram&, int);
        IssueList expected;
    };
    const Case cases[] = {
        {"annual day 31 month 13", 2, [](ScheduleProgram& p, int i) { p.setStartDate(i, 31, 13); }, {{6, 0, 2, 0}}},
        {"annual end date unchecked", 2, [](ScheduleProgram& p, int i) { p.setEndDate(i, 0, 0); }, {}},
        {"annual weekdays unchecked", 2, [](ScheduleProgram& p, int i) { p.setDays(i, 0); }, {}},
        {"weekly no weekday", 0, [](ScheduleProgram& p, int i) { p.setDays(i, 0); }, {{2, 0, 0, 1}}},
        {"holiday-day no weekday", 1, [](ScheduleProgram& p, int i) { p.setDays(i, 0); }, {{2, 0, 1, 1}}},
        {"holiday beyond the table", 1, [](ScheduleProgram& p, int i) { p.setHolidayIndex(i, 128); }, {{9, 0, 1, 0}}},
        {"one-time bad date", 3, [](ScheduleProgram& p, int i) { p.setStartDate(i, 32, 1); }, {{8, 0, 3, 0}}},
        {"one-time minute 60", 3, [](ScheduleProgram& p, int i) { p.setTime(i, 0, 60, 0); }, {{11, 0, 3, 0}}},
        {"funeral ten days", 4, [](ScheduleProgram& p, int i) { p.setDays(i, 10); }, {{10, 0, 4, 0}}},
        {"funeral no days", 4, [](ScheduleProgram& p, int i) { p.setDays(i, 0); }, {{10, 0, 4, 0}}},
        {"funeral priority unchecked", 4, [](ScheduleProgram& p, int i) { p.setPriority(i, 16); }, {}},
        {"funeral time 2 unchecked", 4, [](ScheduleProgram& p, int i) { p.setTime2(i, 25, 0, 0); }, {}},
        {"special priority 16", 5, [](ScheduleProgram& p, int i) { p.setPriority(i, 16); }, {{12, 0, 5, 0}}},
        {"special second 60", 5, [](ScheduleProgram& p, int i) { p.setTime(i, 0, 0, 60); }, {{11, 0, 5, 0}}},
        {"no season is a note",
         3,
         [](ScheduleProgram& p, int i) {
             p.setSummer(i, false);
             p.setWinter(i, false);
         },
         {{13, 0, 3, 2}}},
        {"melody 1000 and 9 repetitions are fine",
         0,
         [](ScheduleProgram& p, int i) {
             p.setAction(i, ProgramEntry::ActionMelody);
             p.setMelodyNumber(i, 1000);
             p.setRepetitions(i, 9);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleProgram p(c.kind);
        if (c.kind < 4) {
            p.addEntry();
            if (c.kind == 1) {
                p.setHolidayIndex(0, 254);
            }
        }
        IssueList clean;
        p.validate(clean);
        ASSERT_TRUE(clean.empty());
        c.breakIt(p, 0);
        IssueList issues;
        p.validate(issues);
        EXPECT_EQ(issues, c.expected);
    }
}

TEST(ScheduleProgram, ValidationSkipsFreeEntries) {
    ScheduleProgram p(0);
    p.addEntry();
    p.deleteEntries(std::vector<int>{0}); // slot 0 is now all 0xFF
    IssueList issues;
    p.validate(issues);
    EXPECT_TRUE(issues.empty());
}

TEST(ScheduleProgram, ValidationConsultsTheBellAndHolidayTables) {
    BellTable bells;
    bells.setBellEnabled(1, false); // bell 2 off
    HolidayTable holidays;
    NumberedTexts texts;
    ASSERT_EQ(holidays.addHoliday(texts), 0);

    ScheduleProgram p(1);
    p.setReferences(&bells, &holidays, {});
    p.addEntry();
    p.addEntry();
    p.addEntry();
    p.setHolidayIndex(0, 0);   // used holiday
    p.setHolidayIndex(1, 1);   // free slot
    p.setHolidayIndex(2, 254); // none chosen
    p.setBellDelay(2, 1, 30);  // rings the disabled bell 2
    p.setBellDelay(0, 2, 30);  // rings bell 3, which is on
    IssueList issues;
    p.validate(issues);
    const IssueList expected = {{9, 1, 1, 0}, {3, 2, 1, 1}};
    EXPECT_EQ(issues, expected);

    // Without the references the checks that need them are skipped.
    p.setReferences(nullptr, nullptr, {});
    IssueList lone;
    p.validate(lone);
    EXPECT_TRUE(lone.empty());
}

} // namespace
} // namespace tolvane
