#include "report/DayPlanCalendar.h"

#include "project/ProjectData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using calendar::Date;
using dayplan::ics::escapeText;
using dayplan::ics::foldLine;

// Catalog texts as the English catalog has them, for the texts the file uses.
class Texts final : public TextSource {
public:
    std::string text(int id) const override {
        switch (id) {
        case dayplan::TitleText:
            return "Day plan";
        case dayplan::FirstKindText:
            return "Weekly";
        case dayplan::FirstKindText + 1:
            return "Holiday";
        case dayplan::FirstKindText + 2:
            return "Annual";
        case dayplan::CollisionText:
            return "Collision: %d programs start in the same minute";
        case dayplan::PriorityText:
            return "Priority";
        case 232:
            return "Holiday";
        case 242:
            return bellName;
        case 243:
            return "Melody";
        case 554:
            return "Sequence";
        default:
            return "T" + std::to_string(id);
        }
    }
    std::string bellName = "Bell ringing";
};

const dayplan::UtcTime Stamp{{2026, 12, 10}, 16, 5, 9};

// The content lines of a file: the physical lines, which must each end in CRLF and hold at most 75 octets, joined
// where a line continues the one before (a leading space).
std::vector<std::string> unfold(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < file.size()) {
        const std::size_t end = file.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line without CRLF at " << at;
        if (end == std::string::npos) {
            break;
        }
        const std::string physical = file.substr(at, end - at);
        EXPECT_LE(physical.size(), 75u) << physical;
        EXPECT_EQ(physical.find('\n'), std::string::npos) << "a bare line feed in " << physical;
        if (!physical.empty() && physical[0] == ' ') {
            EXPECT_FALSE(lines.empty());
            EXPECT_NE(static_cast<unsigned char>(physical[1]) & 0xC0u, 0x80u) << "folded inside a character";
            lines.back() += physical.substr(1);
        } else {
            lines.push_back(physical);
        }
        at = end + 2;
    }
    return lines;
}

// The values of every line named `name` (up to the first colon, parameters included).
std::vector<std::string> values(const std::vector<std::string>& lines, const std::string& name) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.rfind(name + ":", 0) == 0) {
            found.push_back(line.substr(name.size() + 1));
        }
    }
    return found;
}

// The lines from BEGIN:`component` to its END, the first of them.
std::vector<std::string> component(const std::vector<std::string>& lines, const std::string& name) {
    const auto begin = std::find(lines.begin(), lines.end(), "BEGIN:" + name);
    const auto end = std::find(begin, lines.end(), "END:" + name);
    return begin == lines.end() || end == lines.end() ? std::vector<std::string>{}
                                                      : std::vector<std::string>(begin, end + 1);
}

TEST(IcsText, EscapesWhatTheRfcEscapesAndKeepsNoControlOrBrokenCharacter) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Parafia św. Jana, Lipnica; wieża", "Parafia św. Jana\\, Lipnica\\; wieża"},
        {"a\\b", "a\\\\b"},
        {"one\ntwo\r\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
        {"tab\tstays, bell\x07 and escape\x1b[31m go", "tab\tstays\\, bell  and escape [31m go"},
        {"cut \xC5", "cut \xEF\xBF\xBD"},                           // a sequence cut off at the end
        {"stray \x80\x80!", "stray \xEF\xBF\xBD\xEF\xBF\xBD!"},     // continuation bytes alone
        {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"}, // '/' written in two bytes
        {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"Glocke \xF0\x9F\x94\x94", "Glocke \xF0\x9F\x94\x94"}, // four bytes, kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeText(c.in), c.out) << c.in;
    }
}

TEST(IcsText, FoldsAt75OctetsNeverInsideACharacter) {
    // Every position of the fold against the two-, three- and four-byte characters.
    for (const std::string character : {"ż", "€", "\xF0\x9F\x94\x94"}) {
        for (std::size_t lead = 60; lead < 80; ++lead) {
            std::string line = "DESCRIPTION:" + std::string(lead, 'a');
            for (int i = 0; i < 60; ++i) {
                line += character;
            }
            SCOPED_TRACE(line);
            const std::string folded = foldLine(line);
            const std::vector<std::string> lines = unfold(folded);
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0], line);
        }
    }
    EXPECT_EQ(foldLine(std::string(75, 'x')), std::string(75, 'x') + "\r\n") << "75 octets fit one line";
    EXPECT_EQ(foldLine(std::string(76, 'x')), std::string(75, 'x') + "\r\n x\r\n");
}

TEST(IcsText, OffsetsAndDurations) {
    EXPECT_EQ(dayplan::ics::utcOffset(2), "+0100");
    EXPECT_EQ(dayplan::ics::utcOffset(4), "+0200");
    EXPECT_EQ(dayplan::ics::utcOffset(0), "+0000");
    EXPECT_EQ(dayplan::ics::utcOffset(-3), "-0130");
    EXPECT_EQ(dayplan::ics::utcOffset(24), "+1200");
    EXPECT_EQ(dayplan::ics::duration(0), "PT0S");
    EXPECT_EQ(dayplan::ics::duration(180), "PT3M");
    EXPECT_EQ(dayplan::ics::duration(3599), "PT59M59S");
    EXPECT_EQ(dayplan::ics::duration(3605), "PT1H0M5S");
    EXPECT_EQ(dayplan::ics::duration(7200), "PT2H");
    EXPECT_EQ(dayplan::ics::duration(45), "PT45S");
}

class DayPlanCalendarTest : public ::testing::Test {
protected:
    int add(ProgramKind kind, int hour, int minute, int second = 0) {
        ScheduleProgram& program = project.program(kind);
        const int i = program.addItem();
        program.setTime(i, static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute),
                        static_cast<std::uint8_t>(second));
        program.setDays(i, 0x7F);
        return i;
    }
    std::vector<std::string> lines(const Date& from, int days) {
        const dayplan::CalendarFile file = dayplan::calendarFile(project, texts, from, days, Stamp);
        EXPECT_EQ(file.errorText, 0);
        return unfold(file.text);
    }
    // The event whose UID begins with `uid`.
    std::vector<std::string> event(const std::vector<std::string>& all, const std::string& uid) {
        for (auto begin = all.begin(); begin != all.end(); ++begin) {
            if (*begin != "BEGIN:VEVENT") {
                continue;
            }
            const auto end = std::find(begin, all.end(), "END:VEVENT");
            const std::vector<std::string> one(begin, end);
            const auto ids = values(one, "UID");
            if (!ids.empty() && ids[0].rfind(uid, 0) == 0) {
                return one;
            }
        }
        ADD_FAILURE() << "no event " << uid;
        return {};
    }

    ProjectData project;
    Texts texts;
};

// 28 March 2027 is the summer-time change day: the zone's rules put 01:00 UTC of that Sunday at 02:00 local
// winter time and the October change at 03:00 local summer time, so the daily noon bell is 11:00 UTC on Saturday
// and 10:00 UTC on Sunday in any program that reads the file.
TEST_F(DayPlanCalendarTest, TheZoneIsTheTimeCorrectionsOffsetsUnderTheEuropeanRule) {
    add(Weekly, 12, 0);
    const auto all = lines({2027, 3, 27}, 2);
    const std::vector<std::string> zone = component(all, "VTIMEZONE");
    EXPECT_EQ(zone, (std::vector<std::string>{
                        "BEGIN:VTIMEZONE", "TZID:Tolvane +0100 +0200", "BEGIN:STANDARD", "DTSTART:19701025T030000",
                        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", "TZOFFSETFROM:+0200", "TZOFFSETTO:+0100",
                        "TZNAME:UTC+01:00", "END:STANDARD", "BEGIN:DAYLIGHT", "DTSTART:19700329T020000",
                        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "TZOFFSETFROM:+0100", "TZOFFSETTO:+0200",
                        "TZNAME:UTC+02:00", "END:DAYLIGHT", "END:VTIMEZONE"}));
    EXPECT_EQ(values(all, "DTSTART;TZID=Tolvane +0100 +0200"),
              (std::vector<std::string>{"20270327T120000", "20270328T120000"}));
}

TEST_F(DayPlanCalendarTest, ZonesWestOfUtcAndZonesWithoutSummerTime) {
    add(Weekly, 12, 0);
    // Azores-like, one hour further west: the March change at 01:00 UTC is 23:00 on the Saturday before.
    project.timeCorrection().setWinterOffset(2, true);
    project.timeCorrection().setSummerOffset(1, true);
    auto all = lines({2027, 3, 27}, 1);
    EXPECT_EQ(values(component(all, "DAYLIGHT"), "DTSTART"), std::vector<std::string>{"19700328T230000"});
    EXPECT_EQ(values(component(all, "DAYLIGHT"), "RRULE"),
              std::vector<std::string>{"FREQ=YEARLY;BYMONTH=3;BYDAY=SA;BYMONTHDAY=24,25,26,27,28,29,30"});
    EXPECT_EQ(values(component(all, "STANDARD"), "DTSTART"), std::vector<std::string>{"19701025T000000"});
    EXPECT_EQ(values(component(all, "STANDARD"), "TZOFFSETTO"), std::vector<std::string>{"-0200"});

    // Equal offsets: one standard time all year, no change.
    project.timeCorrection().setSummerOffset(2, true);
    all = lines({2027, 3, 27}, 1);
    EXPECT_TRUE(component(all, "DAYLIGHT").empty());
    EXPECT_EQ(values(all, "TZID"), std::vector<std::string>{"Tolvane -0200"});
    EXPECT_EQ(values(component(all, "STANDARD"), "TZOFFSETFROM"), std::vector<std::string>{"-0200"});
    EXPECT_EQ(values(all, "DTSTART;TZID=Tolvane -0200"), std::vector<std::string>{"20270327T120000"});
}

TEST_F(DayPlanCalendarTest, AnOffsetBeyondTwelveHoursDescribesNoZone) {
    add(Weekly, 12, 0);
    for (const std::int8_t bad : {std::int8_t{25}, std::int8_t{-25}, std::int8_t{127}, std::int8_t{-128}}) {
        project.timeCorrection().setSummerOffsetHalfHours(bad);
        const auto file = dayplan::calendarFile(project, texts, {2027, 3, 27}, 1, Stamp);
        EXPECT_EQ(file.errorText, dayplan::NoTimeZoneText) << int{bad};
        EXPECT_TRUE(file.text.empty());
    }
    project.timeCorrection().setSummerOffsetHalfHours(-24);
    EXPECT_EQ(dayplan::calendarFile(project, texts, {2027, 3, 27}, 1, Stamp).errorText, 0);
}

// The UID names the day, the calendar, the program number and the tower, not the program's time or the moment of
// the export: a later export updates the same events.
TEST_F(DayPlanCalendarTest, EventIdentifiersStayWhenTheProgramChanges) {
    const int noon = add(Weekly, 12, 0);
    project.general().setLocationName("Lipnica");
    const auto before = values(lines({2027, 3, 27}, 2), "UID");
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].rfind("20270327-weekly-001-", 0), 0u) << before[0];
    EXPECT_NE(before[0], before[1]);
    project.program(Weekly).setTime(noon, 12, 30, 0);
    const auto later = dayplan::calendarFile(project, texts, {2027, 3, 27}, 2, {{2027, 1, 2}, 3, 4, 5});
    const auto after = unfold(later.text);
    EXPECT_EQ(values(after, "UID"), before);
    EXPECT_EQ(values(after, "DTSTAMP"), (std::vector<std::string>{"20270102T030405Z", "20270102T030405Z"}));

    // Another tower's calendar in the same calendar program keeps apart.
    project.general().setLocationName("Zabłocie");
    EXPECT_NE(values(lines({2027, 3, 27}, 2), "UID"), before);

    // Two programs with one number on one day (the project check warns of it) are two events.
    const int twin = add(Weekly, 18, 0);
    project.program(Weekly).setIdentifier(twin, 1);
    const auto uids = values(lines({2027, 3, 27}, 1), "UID");
    ASSERT_EQ(uids.size(), 2u);
    EXPECT_NE(uids[0], uids[1]);
}

TEST_F(DayPlanCalendarTest, EventsNameTheActionTheProgramItsLengthAndCollisions) {
    const int bells = add(Weekly, 12, 0);
    project.program(Weekly).setRingingTime(bells, 150);
    project.program(Weekly).setBellDelay(bells, 2, 5);
    const int melody = add(Annual, 12, 0, 30);
    project.program(Annual).setStartDate(melody, 27, 3);
    project.program(Annual).setAction(melody, ProgramEntry::ActionMelody);
    project.program(Annual).setMelodyNumber(melody, 12);
    project.program(Annual).setPriority(melody, 8);
    const int sequence = add(Weekly, 18, 0);
    project.program(Weekly).setAction(sequence, ProgramEntry::ActionSequence);
    project.program(Weekly).setSequenceIndex(sequence, 0); // the factory sequence: 0.5 s
    project.program(Funeral).setAction(0, ProgramEntry::ActionBells);

    const auto all = lines({2027, 3, 27}, 1);
    EXPECT_EQ(values(all, "UID").size(), 3u) << "funeral and special tolling are not in the calendar";
    const auto ringing = event(all, "20270327-weekly-001");
    EXPECT_EQ(values(ringing, "SUMMARY"), std::vector<std::string>{"Bell ringing — Weekly 001"});
    EXPECT_EQ(values(ringing, "DURATION"), std::vector<std::string>{"PT2M30S"});
    EXPECT_EQ(values(ringing, "CATEGORIES"), std::vector<std::string>{"Weekly"});
    EXPECT_EQ(values(ringing, "DESCRIPTION"),
              std::vector<std::string>{"Bell ringing 1_3__\\nPriority 5\\n\\nCollision: 2 programs start in the "
                                       "same minute:\\n12:00:00  Weekly 001  Bell ringing 1_3__  Priority 5\\n"
                                       "12:00:30  Annual 002  Melody 12  Priority 9"});
    const auto annual = event(all, "20270327-annual-002");
    EXPECT_EQ(values(annual, "SUMMARY"), std::vector<std::string>{"Melody — Annual 002"});
    EXPECT_EQ(values(annual, "DURATION"), std::vector<std::string>{"PT0S"}) << "a melody's length is unknown";
    EXPECT_EQ(values(annual, "CATEGORIES"), std::vector<std::string>{"Annual"});
    EXPECT_NE(values(annual, "DESCRIPTION")[0].find("Collision: 2 programs"), std::string::npos);
    const auto evening = event(all, "20270327-weekly-003");
    EXPECT_EQ(values(evening, "DURATION"), std::vector<std::string>{"PT1S"});
    EXPECT_EQ(values(evening, "DESCRIPTION"), std::vector<std::string>{"Sequence S1\\nPriority 5"});
}

// A long tower name and a long holiday name with commas, semicolons and Polish letters: folded at 75 octets on
// character boundaries and escaped, they read back as they were.
TEST_F(DayPlanCalendarTest, LongNamesWithCommasSemicolonsAndNonAsciiLettersFoldAndEscape) {
    const std::string location = "Św. Józefa, Łężyce; wieża płn.";
    project.general().setLocationName(location);
    texts.bellName = "Dzwonienie; uroczyste, źródło żółć ĘĄŚŁŻŹĆŃ — święto";
    const int easter = project.holidays().addHoliday(texts);
    const std::string holiday = "Wielkanoc, Niedziela; Zmartwychwstanie Pańskie";
    project.holidays().setName(easter, holiday);
    project.holidays().setOffset(easter, 0);
    const int program = add(HolidayDay, 5, 45);
    project.program(HolidayDay).setHolidayIndex(program, static_cast<std::uint8_t>(easter));

    const auto file = dayplan::calendarFile(project, texts, {2027, 3, 28}, 1, Stamp);
    ASSERT_EQ(file.events, 1);
    const auto all = unfold(file.text);
    const std::string storedHoliday = project.holidays().name(easter);
    const std::string storedLocation = project.general().locationName();
    EXPECT_EQ(values(all, "LOCATION"), std::vector<std::string>{escapeText(storedLocation)});
    EXPECT_EQ(values(all, "X-WR-CALNAME"), std::vector<std::string>{"Day plan: " + escapeText(storedLocation)});
    EXPECT_EQ(values(all, "SUMMARY"), std::vector<std::string>{escapeText(texts.bellName) + " — Holiday 001"});
    const std::string description = values(all, "DESCRIPTION").at(0);
    EXPECT_NE(description.find("\\nHoliday: " + escapeText(storedHoliday)), std::string::npos) << description;
    EXPECT_NE(storedHoliday.find(','), std::string::npos) << "the name keeps its comma on the controller";
    // The long lines were folded, somewhere in their letters.
    EXPECT_NE(file.text.find("\r\n "), std::string::npos);
    EXPECT_EQ(file.text.find("\n\n"), std::string::npos);
}

} // namespace
} // namespace tolvane
