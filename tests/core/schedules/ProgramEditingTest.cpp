#include "schedules/ProgramEditing.h"

#include "ScheduleTestSupport.h"
#include "schedules/HolidayTable.h"
#include "schedules/ScheduleProgram.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

using namespace programediting;

TEST(ProgramEditing, ActionListPositionsAndCodesMapBothWays) {
    const std::vector<std::uint8_t> full{255, 1, 2, 5, 6, 7, 11};
    ASSERT_EQ(actionCount(false), 7);
    ASSERT_EQ(actionCount(true), 4);
    for (int position = 0; position < 7; ++position) {
        EXPECT_EQ(actionCodeAt(position, false), full[static_cast<std::size_t>(position)]);
        EXPECT_EQ(actionPosition(full[static_cast<std::size_t>(position)], false), position);
    }
    // The funeral list stops after the sequence: the output actions and silence have no position there.
    for (int position = 0; position < 4; ++position) {
        EXPECT_EQ(actionCodeAt(position, true), full[static_cast<std::size_t>(position)]);
    }
    EXPECT_EQ(actionCodeAt(4, true), ProgramEntry::ActionNone);
    EXPECT_EQ(actionPosition(ProgramEntry::ActionSilence, true), 0);
    // Hammers and unknown codes show as "none"; a position outside the list is "none".
    EXPECT_EQ(actionPosition(ProgramEntry::ActionHammers, false), 0);
    EXPECT_EQ(actionPosition(42, false), 0);
    EXPECT_EQ(actionCodeAt(-1, false), ProgramEntry::ActionNone);
    EXPECT_EQ(actionCodeAt(7, false), ProgramEntry::ActionNone);
}

// A new holiday-day program takes the holiday last chosen on the page only while that holiday exists.
TEST(ProgramEditing, ANewHolidayProgramNeverRefersToAFreeSlot) {
    testing::NumberedTexts texts;
    HolidayTable holidays;
    holidays.addHoliday(texts); // slot 0
    holidays.addHoliday(texts); // slot 1
    holidays.addHoliday(texts); // slot 2
    holidays.deleteHolidays(std::vector<int>{1});
    struct Case {
        int remembered;
        int expected;
    };
    for (const Case c :
         {Case{0, 0}, Case{2, 2}, Case{1, 254}, Case{254, 254}, Case{127, 254}, Case{200, 254}, Case{-1, 254}}) {
        EXPECT_EQ(holidayForNewProgram(&holidays, c.remembered), c.expected) << c.remembered;
    }
    EXPECT_EQ(holidayForNewProgram(nullptr, 0), 254);
    holidays.deleteHolidays(std::vector<int>{0});
    EXPECT_EQ(holidayForNewProgram(&holidays, 0), 254) << "the first program of a table whose slot 0 is free";
}

TEST(ProgramEditing, ProgramsReferringToHolidaysAreCounted) {
    ScheduleProgram programs(HolidayDay);
    for (const std::uint8_t index : {std::uint8_t{3}, std::uint8_t{5}, std::uint8_t{3}, std::uint8_t{254}}) {
        programs.setHolidayIndex(programs.addEntry(), index);
    }
    EXPECT_EQ(programsReferringTo(programs, std::vector<int>{3}), 2);
    EXPECT_EQ(programsReferringTo(programs, std::vector<int>{3, 5}), 3);
    EXPECT_EQ(programsReferringTo(programs, std::vector<int>{4, 6}), 0);
    EXPECT_EQ(programsReferringTo(programs, std::vector<int>{}), 0);
}

TEST(ProgramEditing, FuneralTimesCanBeSetOnlyByTheClockAndWhileOn) {
    struct Case {
        FuneralStartMode mode;
        bool on;
        bool boxes;
        bool fields;
    };
    for (const Case c :
         {Case{FuneralStartMode::ByClock, true, true, true}, Case{FuneralStartMode::ByClock, false, true, false},
          Case{FuneralStartMode::BeforeAngelus, true, false, false},
          Case{FuneralStartMode::AfterAngelus, true, false, false}}) {
        for (int which = 1; which <= 3; ++which) {
            ProgramEntry e = ProgramEntry::defaultFor(Funeral);
            e.setStartMode(c.mode);
            e.setTimeOn(which, c.on);
            EXPECT_EQ(funeralTimeBoxesEnabled(e), c.boxes);
            EXPECT_EQ(funeralTimeFieldsEnabled(e, which), c.fields) << which;
        }
    }
}

TEST(ProgramEditing, ShownBellValuesAreBoundedAndOtherBytesKept) {
    ProgramEntry e = ProgramEntry::defaultFor(Weekly);
    e.setBellDelay(0, 3599);
    e.setBellDelay(1, 3600);
    e.setBellDelay(2, 0xFFFE);
    e.setSecondTime(0, 3600);
    e.setSecondTime(1, 3599);
    e.setRingingTime(4000);
    const ProgramEntry shown = shownEntry(e);
    EXPECT_EQ(shown.bellDelay(0), 3599);
    EXPECT_EQ(shown.bellDelay(1), ProgramEntry::BellNotRung);
    EXPECT_EQ(shown.bellDelay(2), ProgramEntry::BellNotRung);
    EXPECT_EQ(shown.secondTime(0), 3599);
    EXPECT_EQ(shown.secondTime(1), 3599);
    EXPECT_EQ(shown.ringingTime(), 3599);
    EXPECT_EQ(shown.hour(), e.hour());
    EXPECT_EQ(shown.identifier(), e.identifier());
}

struct MelodyCase {
    std::uint16_t melody;
    std::uint8_t repetitions;
    std::uint16_t shownMelody;
    std::uint8_t shownRepetitions;
};

class ShownMelody : public ::testing::TestWithParam<MelodyCase> {};

TEST_P(ShownMelody, OutOfRangeValuesShowAsOne) {
    ProgramEntry e = ProgramEntry::defaultFor(Annual);
    e.setAction(ProgramEntry::ActionMelody);
    e.setMelodyNumber(GetParam().melody);
    e.setRepetitions(GetParam().repetitions);
    const ProgramEntry shown = shownEntry(e);
    EXPECT_EQ(shown.melodyNumber(), GetParam().shownMelody);
    EXPECT_EQ(shown.repetitions(), GetParam().shownRepetitions);
}

INSTANTIATE_TEST_SUITE_P(Values, ShownMelody,
                         ::testing::Values(MelodyCase{1000, 9, 1000, 9}, MelodyCase{1001, 10, 1, 1},
                                           MelodyCase{0, 0, 0, 0}, MelodyCase{0xFFFF, 0xFF, 1, 1}));

TEST(ProgramEditing, SilenceOverThirtyDaysShowsTenMinutesKeepingItsTargets) {
    ProgramEntry e = ProgramEntry::defaultFor(Weekly);
    e.setAction(ProgramEntry::ActionSilence);
    e.setSilenceWord((MaxSilenceSeconds << 2) | 0x1u);
    EXPECT_EQ(shownEntry(e).silenceWord(), e.silenceWord());
    e.setSilenceWord(((MaxSilenceSeconds + 1) << 2) | 0x2u);
    EXPECT_EQ(shownEntry(e).silenceWord(), (600u << 2) | 0x2u);
}

TEST(ProgramEditing, CorrectionsApplyOnlyToTheActionThatReadsTheBytes) {
    // A melody's parameter bytes overlap the bell delays; a sequence entry's bytes are not bell times.
    ProgramEntry e = ProgramEntry::defaultFor(Weekly);
    e.setAction(ProgramEntry::ActionSequence);
    e.setRingingTime(5000);
    e.setMelodyNumber(5000);
    EXPECT_EQ(shownEntry(e), e);
}

TEST(ProgramEditing, OneTimeYearIsTheLowByteOfTheYearAfter2000) {
    EXPECT_EQ(yearByte(2031), 31);
    EXPECT_EQ(yearText(31), "2031");
    EXPECT_EQ(yearByte(2000), 0);
    EXPECT_EQ(yearText(0), "2000");
    EXPECT_EQ(yearByte(1999), 255);
    EXPECT_EQ(yearText(255), "20255");
    EXPECT_EQ(yearByte(2256), 0);
}

TEST(ProgramEditing, StoringShownValuesWritesThemWithoutMarks) {
    ScheduleProgram p(Weekly);
    const int i = p.addEntry();
    p.clearModified();
    EXPECT_FALSE(p.storeShownValues(i));
    p.setRingingTime(i, 5000);
    p.clearModified();
    EXPECT_TRUE(p.storeShownValues(i));
    EXPECT_EQ(p.entry(i).ringingTime(), 3599);
    EXPECT_FALSE(p.isModified());
}

// ---- the clipboard ----

ScheduleProgram weeklyWith(int count) {
    ScheduleProgram weekly(Weekly);
    for (int n = 0; n < count; ++n) {
        const int i = weekly.addEntry();
        weekly.setTime(i, static_cast<std::uint8_t>(6 + n), 30, 0);
        weekly.setDays(i, 0x41);
    }
    return weekly;
}

TEST(ProgramClipboard, TextIsOneReadableLinePerProgramAndReadsBackByteForByte) {
    const ScheduleProgram source = weeklyWith(3);
    const std::vector<int> rows{0, 2};
    const std::string text = programsToText(source, rows);
    const std::vector<std::string_view> expectedStart{
        "tolvane-program\tnumber",
        "weekly\t1\t06:30:00\tbells\t1____\t01.01\t31.12\t\t1_____7\t5\tyes\tyes\tno\tall\tall\t\t",
        "weekly\t3\t08:30:00\t"};
    std::size_t at = 0;
    for (std::string_view start : expectedStart) {
        EXPECT_EQ(text.compare(at, start.size(), start), 0) << text;
        at = text.find('\n', at) + 1;
    }
    const auto back = programsFromText(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->kind, Weekly);
    ASSERT_EQ(back->entries.size(), 2u);
    EXPECT_EQ(back->entries[0], source.entry(0));
    EXPECT_EQ(back->entries[1], source.entry(2));
}

TEST(ProgramClipboard, TextThatIsNotSuchAListIsRefused) {
    const ScheduleProgram source = weeklyWith(1);
    const std::vector<int> rows{0};
    const std::string good = programsToText(source, rows);
    const std::string header = good.substr(0, good.find('\n') + 1);
    const std::string line = good.substr(header.size());
    std::string freeSlot = good;
    freeSlot[freeSlot.size() - 1 - 2 * (64 - 25) + 1] = 'f'; // flags byte 25 -> free bit set
    for (const std::string& bad : {std::string(), std::string("hello\tworld\n"), header, header + "weekly\t1\n",
                                   header + line + line.substr(0, line.size() - 3) + "\n",
                                   header + "annual" + line.substr(6) + line, freeSlot}) {
        EXPECT_FALSE(programsFromText(bad).has_value()) << bad;
    }
    // Line ends of another system and a trailing empty line are fine.
    std::string windows = good;
    for (std::size_t at = windows.find('\n'); at != std::string::npos; at = windows.find('\n', at + 2)) {
        windows.insert(at, "\r");
    }
    EXPECT_TRUE(programsFromText(windows + "\n").has_value());
}

TEST(ProgramClipboard, PasteAddsWithNewNumbersAndStopsWhenTheTableFills) {
    const ScheduleProgram source = weeklyWith(3);
    const std::vector<int> rows{0, 1, 2};
    const auto copied = programsFromText(programsToText(source, rows));
    ASSERT_TRUE(copied.has_value());

    ScheduleProgram weekly = weeklyWith(2);
    // Numbers come from the project's source: here 3 is taken by a program of another kind.
    std::uint16_t next = 4;
    weekly.setReferences(nullptr, nullptr, [&next] { return next++; });
    weekly.clearModified();
    const PasteResult pasted = pastePrograms(weekly, copied->entries);
    EXPECT_EQ(pasted.first, 2);
    EXPECT_EQ(pasted.added, 3);
    EXPECT_FALSE(pasted.tableFull);
    ASSERT_EQ(weekly.usedCount(), 5);
    EXPECT_EQ(weekly.entry(2).identifier(), 4);
    EXPECT_EQ(weekly.entry(4).identifier(), 6);
    EXPECT_EQ(weekly.entry(4).hour(), 8);
    EXPECT_EQ(weekly.markWord(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(weekly.markWord(2, 1), 0u);

    // The numbers the programs had in their own project are not taken here.
    ScheduleProgram own = weeklyWith(2);
    std::vector<ProgramEntry> foreign{copied->entries[2], copied->entries[0]};
    foreign[0].setIdentifier(3);
    foreign[1].setIdentifier(7);
    pastePrograms(own, foreign);
    EXPECT_EQ(own.entry(2).identifier(), 3);
    EXPECT_EQ(own.entry(3).identifier(), 4);

    ScheduleProgram full = weeklyWith(126);
    const PasteResult partly = pastePrograms(full, copied->entries);
    EXPECT_EQ(partly.added, 2);
    EXPECT_TRUE(partly.tableFull);
    EXPECT_EQ(full.usedCount(), 128);
}

} // namespace
} // namespace tolvane
