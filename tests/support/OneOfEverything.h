#pragma once

#include "project/ProjectData.h"
#include "ringing/StepEditing.h"

#include <string>

namespace tolvane::testing_support {

// A small project with at least one of everything an installer sets up, each with a value a printout can be
// checked for: a weekly program, a fixed holiday whose name needs escaping in HTML and a movable one, a sequence
// with a bell step and a repeat step, hour and quarter striking, a hammer on bell 1 driven by PK3, a clock, a
// named chime, time corrections, the user settings, the location, and access codes of the tower's own (which no
// printout may show).
struct OneOfEverything {
    static constexpr const char* HolidayName = "Saints <Peter & \"Paul\">";
    static constexpr const char* ChimeName = "Ave Maria";
    static constexpr const char* Location = "St. Mary's";
    static constexpr int UserCode = 9137;
    static constexpr int ServiceCode = 8642;
    static constexpr std::uint8_t HammerRelay = 2; // PK3
    static constexpr int SequenceIndex = 1;        // sequence 2; sequence 1 is the factory one

    static void fill(ProjectData& p) {
        struct Names : TextSource {
            std::string text(int) const override { return "Holiday"; }
        } names;

        ScheduleProgram& weekly = p.program(Weekly);
        const int entry = weekly.addEntry();
        weekly.setTime(entry, 7, 15, 0);

        HolidayTable& holidays = p.holidays();
        const int fixed = holidays.addHoliday(names);
        holidays.setName(fixed, HolidayName);
        holidays.setMovable(fixed, false);
        holidays.setFixedDate(fixed, 29, 6);
        holidays.setDays(fixed, 2);
        const int movable = holidays.addHoliday(names);
        holidays.setName(movable, "Pentecost");
        holidays.setMovable(movable, true);
        holidays.setOffset(movable, 49);

        SequenceTable& sequences = p.sequences();
        const int s = sequences.createSequence();
        SequenceStep bells = stepediting::newStep(); // bells A, bell 1, 1.00 s
        bells.setUnitMask(0x05);                     // bells 1 and 3
        sequences.insertStep(s, bells, 0);
        sequences.insertStep(s, stepediting::converted(stepediting::newStep(), StepKind::Pause), 0);
        SequenceStep repeat = stepediting::converted(stepediting::newStep(), StepKind::RepeatCount);
        repeat.setFirstStep(0);
        repeat.setLastStep(1);
        repeat.setCount(3);
        sequences.insertStep(s, repeat, 0);

        StrikingSettings& striking = p.striking();
        striking.setHourMode(1);
        striking.setQuarterStriking(true);

        p.hammers().setLinkedBell(0, 0);
        p.outputs().chooseRelay(OutputMapRecord::HammerRelays, HammerRelay);
        p.clocks().setClockEnabled(0, true);
        p.chimes().setName(4, ChimeName);
        p.timeCorrection().setWinterOffset(1.5, true);
        p.general().setDisplayContrast(65);
        p.general().setLocationName(Location);
        p.general().setUserCode(UserCode);
        p.general().setServiceCode(ServiceCode);
    }
};

} // namespace tolvane::testing_support
