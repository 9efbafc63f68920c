#include "schedules/ScheduleProgram.h"

#include "schedules/HolidayTable.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

using testing::NumberedTexts;

ScheduleProgram weeklyWith(int count) {
    ScheduleProgram p(0);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(p.addEntry(), i);
    }
    return p;
}

std::vector<std::uint16_t> identifiers(const ScheduleProgram& p) {
    std::vector<std::uint16_t> ids;
    for (int i = 0; i < p.usedCount(); ++i) {
        ids.push_back(p.entry(i).identifier());
    }
    return ids;
}

TEST(ScheduleEditing, NewWeeklyEntryIsTheDefaultInUseWithAddMarks) {
    ScheduleProgram p(0);
    p.setReferences(nullptr, nullptr, [] { return std::uint16_t{3}; });
    p.clearModified();
    const int i = p.addEntry();
    ASSERT_EQ(i, 0);
    const ProgramEntry& e = p.entry(i);
    EXPECT_EQ(e.hour(), 12);
    EXPECT_EQ(e.minute(), 0);
    EXPECT_EQ(e.second(), 0);
    EXPECT_EQ(e.action(), ProgramEntry::ActionBells);
    EXPECT_EQ(e.bellDelay(0), 0);
    for (int bell = 1; bell < 5; ++bell) {
        EXPECT_FALSE(e.bellRung(bell));
    }
    EXPECT_EQ(e.ringingTime(), 180);
    EXPECT_EQ(e.startDay(), 1);
    EXPECT_EQ(e.startMonth(), 1);
    EXPECT_EQ(e.endDay(), 31);
    EXPECT_EQ(e.endMonth(), 12);
    EXPECT_EQ(e.weekdayMask(), 0x01);
    EXPECT_EQ(e.priority(), 4);
    EXPECT_TRUE(e.summer());
    EXPECT_TRUE(e.winter());
    EXPECT_FALSE(e.isFree());
    EXPECT_EQ(e.identifier(), 3);
    EXPECT_EQ(p.markWord(i, 0), 0xFFFFFFFFu);
    EXPECT_EQ(p.markWord(i, 1), 0u);
}

TEST(ScheduleEditing, AddingThe129thEntryReportsAFullTable) {
    ScheduleProgram p = weeklyWith(128);
    EXPECT_EQ(p.addEntry(), -1);
    EXPECT_EQ(p.usedCount(), 128);
    EXPECT_EQ(p.entry(127).identifier(), 128);
    EXPECT_EQ(ScheduleProgram(4).addEntry(), -1);
}

TEST(ScheduleEditing, CopyStopsWhenTheTableIsFull) {
    struct Case {
        int used;
        int copies;
        bool full;
    };
    for (const Case c : {Case{127, 1, true}, Case{125, 3, true}, Case{128, 0, false}, Case{10, 3, false}}) {
        SCOPED_TRACE(c.used);
        ScheduleProgram p = weeklyWith(c.used);
        p.setTime(5, 6, 30, 0);
        p.clearModified();
        const std::vector<int> selected = {5, 2, 7};
        const CopyResult r = p.copyEntries(selected);
        EXPECT_EQ(r.copies, c.copies);
        EXPECT_EQ(r.tableFull, c.full);
        EXPECT_EQ(p.usedCount(), c.used + c.copies);
        if (c.copies == 0) {
            EXPECT_FALSE(p.isModified());
            continue;
        }
        EXPECT_EQ(r.focus, 2); // the first copied source row
        const int sources[] = {2, 5, 7};
        for (int k = 0; k < c.copies; ++k) {
            const ProgramEntry& copy = p.entry(c.used + k);
            ProgramEntry expected = p.entry(sources[k]);
            expected.setIdentifier(copy.identifier());
            EXPECT_EQ(copy, expected);
            EXPECT_NE(copy.identifier(), p.entry(sources[k]).identifier());
            EXPECT_EQ(p.markWord(c.used + k, 0), 0xFFFFFFFFu);
            EXPECT_EQ(p.markWord(c.used + k, 1), 0u);
        }
    }
}

TEST(ScheduleEditing, CopyGivesEachCopyItsOwnIdentifier) {
    ScheduleProgram p = weeklyWith(3);
    p.copyEntries(std::vector<int>{0, 1, 2, 2, 99});
    EXPECT_EQ(identifiers(p), (std::vector<std::uint16_t>{1, 2, 3, 4, 5, 6}));
}

TEST(ScheduleEditing, DeleteMovesEntriesWithTheirMarksAndFocusesTheRowBefore) {
    ScheduleProgram p = weeklyWith(6);
    p.clearModified();
    p.setPriority(4, 9); // a mark that must follow entry 4 to row 3
    const int focus = p.deleteEntries(std::vector<int>{5, 3});
    EXPECT_EQ(focus, 2);
    EXPECT_EQ(p.usedCount(), 4);
    EXPECT_EQ(identifiers(p), (std::vector<std::uint16_t>{1, 2, 3, 5}));
    EXPECT_TRUE(p.isMarked(3, EntryField::Priority));
    EXPECT_EQ(p.entry(3).priority(), 9);
    for (int i = 4; i < 6; ++i) {
        EXPECT_TRUE(p.entry(i).isFree());
        EXPECT_EQ(testing::toVector(p.entry(i).bytes()), std::vector<std::uint8_t>(64, 0xFF));
        EXPECT_EQ(p.markWord(i, 0), 0u);
        EXPECT_EQ(p.markWord(i, 1), 0u);
    }

    EXPECT_EQ(p.deleteEntries(std::vector<int>{0}), 0);
    EXPECT_EQ(identifiers(p), (std::vector<std::uint16_t>{2, 3, 5}));
    EXPECT_EQ(p.deleteEntries(std::vector<int>{0, 1, 2}), 0);
    EXPECT_EQ(p.usedCount(), 0);
    EXPECT_EQ(p.deleteEntries(std::vector<int>{0}), 0);

    ScheduleProgram funeral(4);
    EXPECT_EQ(funeral.deleteEntries(std::vector<int>{0}), 0);
    EXPECT_EQ(funeral.usedCount(), 8);
}

TEST(ScheduleEditing, TimeSortIsStableAndTheFocusFollowsItsEntry) {
    ScheduleProgram p = weeklyWith(4);
    p.setTime(0, 10, 0, 0);  // id 1
    p.setTime(1, 8, 0, 0);   // id 2
    p.setTime(2, 10, 0, 0);  // id 3
    p.setTime(3, 7, 59, 59); // id 4
    p.clearModified();
    p.setPriority(0, 7);
    const int focus = p.sortEntries(SortKey::Time, 0);
    EXPECT_EQ(identifiers(p), (std::vector<std::uint16_t>{4, 2, 1, 3}));
    EXPECT_EQ(focus, 2);
    EXPECT_TRUE(p.isMarked(2, EntryField::Priority));
    EXPECT_FALSE(p.isMarked(0, EntryField::Priority));
    EXPECT_EQ(p.sortEntries(SortKey::Time, 3), 3); // already sorted: nothing moves
    EXPECT_EQ(identifiers(p), (std::vector<std::uint16_t>{4, 2, 1, 3}));
}

TEST(ScheduleEditing, EachSortKeyOrdersByItsColumn) {
    struct Case {
        const char* name;
        SortKey key;
        // Makes entry 0 sort after entry 1 (both start as the default weekly entry at 12:00:00).
        void (*setUp)(ScheduleProgram&);
    };
    const Case cases[] = {
        {"start month before day and time", SortKey::StartDate,
         [](ScheduleProgram& p) {
             p.setStartDate(0, 1, 2);
             p.setStartDate(1, 31, 1);
             p.setTime(1, 23, 0, 0);
         }},
        {"end date", SortKey::EndDate, [](ScheduleProgram& p) { p.setEndDate(1, 30, 12); }},
        {"action, then melody", SortKey::Action,
         [](ScheduleProgram& p) {
             p.setAction(0, 2);
             p.setMelodyNumber(0, 7);
             p.setAction(1, 2);
             p.setMelodyNumber(1, 6);
         }},
        {"one-time year first", SortKey::OneTimeDate,
         [](ScheduleProgram& p) {
             p.setYear(0, 9);
             p.setYear(1, 8);
             p.setStartDate(1, 31, 12);
         }},
        {"priority", SortKey::Priority,
         [](ScheduleProgram& p) {
             p.setPriority(0, 5);
             p.setTime(1, 23, 0, 0);
         }},
        {"Sunday before Monday", SortKey::Weekdays,
         [](ScheduleProgram& p) {
             p.setDays(0, 0x01); // Monday
             p.setDays(1, 0x40); // Sunday
         }},
        {"identifier", SortKey::Identifier, [](ScheduleProgram& p) { p.setIdentifier(0, 9); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleProgram p = weeklyWith(2);
        c.setUp(p);
        const ProgramEntry first = p.entry(0);
        const ProgramEntry second = p.entry(1);
        EXPECT_GT(p.sortKey(0, c.key), p.sortKey(1, c.key));
        EXPECT_EQ(p.sortEntries(c.key, 1), 0);
        EXPECT_EQ(p.entry(0), second);
        EXPECT_EQ(p.entry(1), first);
    }
}

TEST(ScheduleEditing, HolidaySortUsesTheHolidayDates) {
    NumberedTexts texts;
    HolidayTable holidays;
    for (int i = 0; i < 3; ++i) {
        holidays.addHoliday(texts);
    }
    holidays.setMovable(0, false);
    holidays.setFixedDate(0, 25, 12); // 12 * 256 + 25
    holidays.setOffset(1, -2);        // 65536 - 512
    holidays.setOffset(2, 49);        // 65536 + 49 * 256

    ScheduleProgram p(1);
    p.setReferences(nullptr, &holidays, {});
    for (int i = 0; i < 5; ++i) {
        p.addEntry();
    }
    p.setHolidayIndex(0, 2);
    p.setHolidayIndex(1, 254);
    p.setHolidayIndex(2, 1);
    p.setHolidayIndex(3, 0);
    p.setHolidayIndex(4, 200); // names no slot: sorts like no holiday
    p.setTime(3, 23, 0, 0);    // the time takes no part
    EXPECT_EQ(p.sortKey(3, SortKey::Holiday), 12 * 256 + 25);
    EXPECT_EQ(p.sortKey(2, SortKey::Holiday), 65536 - 512);
    p.sortEntries(SortKey::Holiday, 0);
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(p.entry(i).holidayIndex());
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 254, 200, 2}));
}

TEST(ScheduleEditing, TollingProgramsAreNeverReordered) {
    ScheduleProgram funeral(4);
    funeral.setTime(0, 23, 0, 0);
    EXPECT_EQ(funeral.sortEntries(SortKey::Time, 0), 0);
    EXPECT_EQ(funeral.entry(0).hour(), 23);
}

TEST(ScheduleEditing, SettersMarkOnlyFieldsWhoseValueChanged) {
    ScheduleProgram p = weeklyWith(1);
    p.clearModified();
    p.setTime(0, 12, 30, 0); // hour and second unchanged
    EXPECT_TRUE(p.isMarked(0, EntryField::Minute));
    EXPECT_FALSE(p.isMarked(0, EntryField::Hour));
    EXPECT_FALSE(p.isMarked(0, EntryField::Second));
    p.setPriority(0, 4); // the default
    EXPECT_FALSE(p.isMarked(0, EntryField::Priority));
    p.setBellDelay(0, 3, 10);
    EXPECT_TRUE(p.isMarked(0, static_cast<EntryField>(static_cast<int>(EntryField::BellDelay1) + 3)));
    p.setSequenceIndex(0, 4); // second word
    EXPECT_TRUE(p.isMarked(0, EntryField::Sequence));
    EXPECT_NE(p.markWord(0, 1), 0u);
    EXPECT_THROW(p.setBellDelay(0, 5, 1), std::out_of_range);
    EXPECT_THROW(p.setTimeOn(0, 0, true), std::out_of_range);
    EXPECT_THROW(p.setPriority(128, 1), std::out_of_range);
}

TEST(ScheduleEditing, ParityAndSilenceTargetsNeverEndUpEmpty) {
    ScheduleProgram p = weeklyWith(1);
    p.setWeekParity(0, false, false);
    EXPECT_FALSE(p.entry(0).oddWeeks());
    EXPECT_TRUE(p.entry(0).evenWeeks());
    p.setMonthParity(0, true, false);
    EXPECT_TRUE(p.entry(0).oddMonths());
    EXPECT_FALSE(p.entry(0).evenMonths());
    p.setMonthParity(0, false, false);
    EXPECT_TRUE(p.entry(0).evenMonths());

    p.setAction(0, ProgramEntry::ActionSilence);
    p.setSilenceTargets(0, false, false);
    EXPECT_TRUE(p.entry(0).silenceForBells());
    EXPECT_FALSE(p.entry(0).silenceForGongs());
}

} // namespace
} // namespace tolvane
