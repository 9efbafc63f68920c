#include "schedules/ProgramEntryText.h"

#include "schedules/HolidayTable.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::NumberedTexts;

TEST(ProgramEntryText, NumbersTimesAndDates) {
    ProgramEntry e = ProgramEntry::defaultFor(3);
    e.setIdentifier(7);
    e.setYear(8);
    e.setHour(9);
    e.setMinute(5);
    e.setSecond(3);
    e.setStartDay(4);
    e.setStartMonth(2);
    e.setEndDay(31);
    e.setEndMonth(12);
    EXPECT_EQ(ProgramEntryText::identifier(e), "007");
    EXPECT_EQ(ProgramEntryText::time(e), "09:05:03");
    EXPECT_EQ(ProgramEntryText::startDate(e), "04.02");
    EXPECT_EQ(ProgramEntryText::endDate(e), "31.12");
    EXPECT_EQ(ProgramEntryText::oneTimeDate(e), "04.02.2008");
    EXPECT_EQ(ProgramEntryText::priority(e), "5");
    e.setIdentifier(512);
    EXPECT_EQ(ProgramEntryText::identifier(e), "512");
}

TEST(ProgramEntryText, HolidayWeekdaysAndSeason) {
    NumberedTexts texts;
    HolidayTable holidays;
    holidays.addHoliday(texts);
    holidays.setName(0, "Wielkanoc");
    ProgramEntry e = ProgramEntry::defaultFor(1);
    EXPECT_EQ(ProgramEntryText::holiday(e, &holidays, texts), "T253");
    e.setHolidayIndex(0);
    EXPECT_EQ(ProgramEntryText::holiday(e, &holidays, texts), "Wielkanoc");
    e.setHolidayIndex(1); // a free slot has an empty name
    EXPECT_EQ(ProgramEntryText::holiday(e, &holidays, texts), "");
    e.setHolidayIndex(128);
    EXPECT_EQ(ProgramEntryText::holiday(e, &holidays, texts), "Error");

    e.setDays(0x41); // Monday and Sunday
    EXPECT_EQ(ProgramEntryText::weekdays(e, texts), "T258_____T264");

    struct Season {
        bool summer, winter;
        const char* text;
    };
    for (const Season s : {Season{false, false, "T265"}, Season{false, true, "T268"}, Season{true, true, "T266"},
                           Season{true, false, "T267"}}) {
        e.setSummer(s.summer);
        e.setWinter(s.winter);
        EXPECT_EQ(ProgramEntryText::season(e, texts), s.text);
    }
}

TEST(ProgramEntryText, ActionNamesIconsAndDescriptions) {
    NumberedTexts texts;
    struct Case {
        std::uint8_t action;
        void (*setUp)(ProgramEntry&);
        const char* name;
        int icon;
        const char* description;
    };
    const Case cases[] = {
        {1, [](ProgramEntry& e) { e.setBellDelay(2, 0); }, "T242", 1, "1_3__"},
        {2, [](ProgramEntry& e) { e.setMelodyNumber(42); }, "T243", 3, "42"},
        {3, [](ProgramEntry& e) { e.setHammerBits(0x14); }, "", 8, "__3_5"},
        {5, [](ProgramEntry& e) { e.setSequenceIndex(0); }, "T554", 7, "S1"},
        {6, [](ProgramEntry&) {}, "T555", 5, "-"},
        {7, [](ProgramEntry&) {}, "T556", 4, "-"},
        {11,
         [](ProgramEntry& e) {
             e.setSilenceWord(0x3);
             e.setSilenceSeconds(2 * 86400 + 3 * 3600 + 4 * 60 + 5);
         },
         "T246", 11, "02 - 03:04"},
        {255, [](ProgramEntry&) {}, "T241", 13, ""},
        {9, [](ProgramEntry&) {}, "-", 13, "???"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action));
        ProgramEntry e = ProgramEntry::defaultFor(0);
        e.setAction(c.action);
        c.setUp(e);
        EXPECT_EQ(ProgramEntryText::actionName(c.action, texts), c.name);
        EXPECT_EQ(ProgramEntryText::actionIcon(c.action), c.icon);
        EXPECT_EQ(ProgramEntryText::actionDescription(e), c.description);
    }
}

TEST(ProgramEntryText, FuneralTimeFollowsStartModeAndTimesOn) {
    NumberedTexts texts;
    struct Case {
        FuneralStartMode mode;
        bool t1, t2, t3;
        const char* text;
    };
    const Case cases[] = {
        {FuneralStartMode::ByClock, true, false, true, "Godzina (2)"},
        {FuneralStartMode::ByClock, true, true, true, "Godzina (3)"},
        {FuneralStartMode::ByClock, false, true, false, "13:14:15"},
        {FuneralStartMode::ByClock, false, false, true, "16:17:18"},
        {FuneralStartMode::ByClock, true, false, false, "12:00:00"},
        {FuneralStartMode::ByClock, false, false, false, "--:--:--"},
        {FuneralStartMode::BeforeAngelus, true, true, true, "T551"},
        {FuneralStartMode::AfterAngelus, false, false, false, "T552"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ProgramEntry e = ProgramEntry::defaultFor(4);
        e.setTime2(13, 14, 15);
        e.setTime3(16, 17, 18);
        e.setStartMode(c.mode);
        e.setTimeOn(1, c.t1);
        e.setTimeOn(2, c.t2);
        e.setTimeOn(3, c.t3);
        EXPECT_EQ(ProgramEntryText::funeralTime(e, texts), c.text);
    }
}

} // namespace
} // namespace tolvane
