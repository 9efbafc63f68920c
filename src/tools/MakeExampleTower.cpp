// Build step: writes the example tower, examples/parish.tpm, a project a new user can open and look around in.
// It is made here, over the core, in every build, so that it always has the current file format; the holidays come
// from the same readable table as the Polish holiday seed file. A project that the check finds critical errors in
// stops the build with the issues it found.
//
// The parish of St John in Lipnica: four swinging bells (bell 1 is the largest), two hammers that strike bells 2 and
// 1 for the quarters and the hours, a tower clock on minute pulses, ten relays of which eight are wired.

#include "project/ProjectData.h"
#include "project/ProjectFile.h"
#include "schedules/HolidaySource.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace tolvane {
namespace {

constexpr int BellCount = 4;
constexpr std::uint16_t NotRung = 0xFFFF;
constexpr std::uint8_t EveryDay = 0x7F;
constexpr std::uint8_t MondayToSaturday = 0x3F;
constexpr std::uint8_t Sunday = 0x40;

// Weekday-independent priorities (stored 0-15, shown 1-16): the daily prayer bells below the masses, the masses
// below the great feasts.
constexpr std::uint8_t PriorityDaily = 4;
constexpr std::uint8_t PriorityMass = 7;
constexpr std::uint8_t PriorityFeast = 9;

// The named chime melodies on the controller's card (melody numbers 1-8).
enum Chime : std::uint16_t {
    ChimeAngelus = 1,
    ChimeAveMaria,
    ChimeSalveRegina,
    ChimeTeDeum,
    ChimeReginaCaeli,
    ChimeBogSieRodzi,
    ChimeWesolyNam,
    ChimeBarka,
};
constexpr std::string_view ChimeNames[] = {
    "Anioł Pański",
    "Ave Maria",
    "Salve Regina",
    "Te Deum",
    "Regina caeli",
    "Bóg się rodzi",
    "Wesoły nam dziś dzień nastał",
    "Barka",
};

// The sequences, by record index.
struct Sequences {
    int quarterPair = -1;  // ding (hammer 1) - dong (hammer 2)
    int quarterClose = -1; // the same pair with a pause before the next stroke
    int festive = -1;      // the bells started one after another, from the smallest
    int tolling = -1;      // the largest bell tolled, four times
};

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

int holidayNamed(const HolidayTable& holidays, std::string_view name) {
    for (int slot = 0; slot < HolidayTable::Count; ++slot) {
        if (!holidays.isFree(slot) && holidays.name(slot) == name) {
            return slot;
        }
    }
    fail("the holiday table has no holiday named '" + std::string(name) + "'");
}

SequenceStep timedStep(StepKind kind, std::uint16_t tenths, std::uint16_t units) {
    SequenceStep step;
    step.makeFresh();
    step.setKind(kind);
    step.setTenths(tenths);
    step.setHundredths(0);
    step.setUnitMask(units);
    return step;
}

SequenceStep repeatStep(std::uint8_t first, std::uint8_t last, std::uint16_t count) {
    SequenceStep step;
    step.makeFresh();
    step.setKind(StepKind::RepeatCount);
    step.setFirstStep(first);
    step.setLastStep(last);
    step.setCount(count);
    step.setHundredths(0);
    return step;
}

void appendSteps(SequenceTable& table, int sequence, std::initializer_list<SequenceStep> steps) {
    for (const SequenceStep& step : steps) {
        if (table.insertStep(sequence, step, 0) == 0) {
            fail("sequence " + std::to_string(sequence + 1) + " is full");
        }
    }
}

// Relays 1-4 swing bells 1-4, relays 5 and 6 drive the hammers, relays 7 and 8 the clock's A and B pulses; relays 9
// and 10 are spare. Bell 5 is not installed. A push-button in the sacristy on input WE1 starts the festive ringing.
void wireTower(ProjectData& p, const Sequences& sequences) {
    OutputMap& outputs = p.outputs();
    for (int bell = 0; bell < BellCount; ++bell) {
        if (!outputs.chooseRelay(OutputMapRecord::BellRelays + static_cast<std::size_t>(bell),
                                 static_cast<std::uint8_t>(bell))) {
            fail("relay of bell " + std::to_string(bell + 1) + " refused");
        }
    }
    for (int hammer = 0; hammer < 2; ++hammer) {
        if (!outputs.chooseRelay(OutputMapRecord::HammerRelays + static_cast<std::size_t>(hammer),
                                 static_cast<std::uint8_t>(4 + hammer))) {
            fail("relay of hammer " + std::to_string(hammer + 1) + " refused");
        }
    }
    if (!outputs.chooseRelay(OutputMapRecord::ClockRelayA, 6) ||
        !outputs.chooseRelay(OutputMapRecord::ClockRelayB, 7)) {
        fail("relays of clock 1 refused");
    }
    if (!outputs.assignInputRow(0, OutputMap::FirstInputSequenceRow + p.sequences().recordToRow(sequences.festive))) {
        fail("input WE1 refused the festive sequence");
    }
}

void describeEquipment(ProjectData& p) {
    // From the largest bell to the smallest: longer run-up, damping and swinging out for the heavier bells.
    struct BellTimes {
        int runUp, settle, damp, swingSeconds;
    };
    constexpr BellTimes times[BellCount] = {{12, 5, 15, 50}, {9, 4, 12, 40}, {7, 3, 10, 30}, {5, 3, 8, 25}};
    BellTable& bells = p.bells();
    for (int bell = 0; bell < BellCount; ++bell) {
        bells.setBellEnabled(bell, true);
        bells.setRunUpSeconds(bell, times[bell].runUp);
        bells.setSettleSeconds(bell, times[bell].settle);
        bells.setDampSeconds(bell, times[bell].damp);
        bells.setSwingTime(bell, 0, times[bell].swingSeconds);
        bells.setRingingTime(bell, 3, 0);
    }
    bells.setBellEnabled(4, false);

    HammerTable& hammers = p.hammers();
    hammers.setPulseTenths(0, 2);
    hammers.setPulseTenths(1, 3);
    if (!hammers.setLinkedBell(0, 1) || !hammers.setLinkedBell(1, 0)) {
        fail("hammer links refused");
    }

    TowerClockTable& clocks = p.clocks();
    clocks.setClockEnabled(0, true);
    clocks.setClockType(0, 1);
    clocks.setPulseSeconds(0, 2);
}

Sequences composeSequences(SequenceTable& table) {
    Sequences s;
    // Record 0 exists from the start (one stroke of hammer 1); it becomes the quarter pair.
    s.quarterPair = 0;
    if (!table.replaceStep(0, 0, timedStep(StepKind::Hammers, 12, 0b01))) {
        fail("the factory sequence has no first step");
    }
    appendSteps(table, s.quarterPair, {timedStep(StepKind::Hammers, 15, 0b10)});

    s.quarterClose = table.createSequence();
    appendSteps(table, s.quarterClose,
                {timedStep(StepKind::Hammers, 12, 0b01), timedStep(StepKind::Hammers, 15, 0b10),
                 timedStep(StepKind::Pause, 30, 0)});

    s.festive = table.createSequence();
    appendSteps(table, s.festive,
                {timedStep(StepKind::BellsA, 50, 0b1000), timedStep(StepKind::BellsA, 50, 0b0100),
                 timedStep(StepKind::BellsA, 50, 0b0010), timedStep(StepKind::BellsA, 1800, 0b0001)});

    s.tolling = table.createSequence();
    appendSteps(table, s.tolling,
                {timedStep(StepKind::BellsA, 150, 0b0001), timedStep(StepKind::Pause, 450, 0), repeatStep(0, 1, 4)});
    return s;
}

// Quarters on the two hammers, ding-dong once per quarter, each quarter closing with a pause; the hours on hammer 2
// (the largest bell), the full hour after the fourth quarter. Both keep silent from 22:00 to 6:00.
void composeStriking(ProjectData& p, const Sequences& s) {
    StrikingSettings& striking = p.striking();
    striking.setHourMode(1);
    striking.setHourHammer(1, true);
    striking.setStrokeIntervalTenths(25, 1);
    striking.setQuarterStriking(true);
    for (int quarter = 0; quarter < StrikingRecord::Quarters; ++quarter) {
        striking.setSeriesCount(quarter, quarter + 1);
        for (int series = 0; series <= quarter; ++series) {
            const int sequence = series == quarter ? s.quarterClose : s.quarterPair;
            if (!striking.setSeriesSequence(quarter, series, sequence)) {
                fail("quarter " + std::to_string(quarter + 1) + " refused its sequence");
            }
        }
    }
    for (const NightBlock block : {NightBlock::Hour, NightBlock::Quarter}) {
        striking.setBlockStartHour(block, 22);
        striking.setBlockStartMinute(block, 0);
        striking.setBlockEndHour(block, 6);
        striking.setBlockEndMinute(block, 0);
    }
    p.general().setFullHourStrikingAdvanced(false);
}

// A program ringing the given bells, each `stagger` seconds after the one before (the smallest first), for
// `seconds`.
int addBells(ScheduleProgram& program, int hour, int minute, std::initializer_list<int> bellsRung, int stagger,
             int seconds, std::uint8_t priority) {
    const int i = program.addEntry();
    if (i < 0) {
        fail("a program table is full");
    }
    program.setTime(i, static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute), 0);
    program.setAction(i, ProgramEntry::ActionBells);
    for (int bell = 0; bell < 5; ++bell) {
        program.setBellDelay(i, bell, NotRung);
    }
    int delay = 0;
    for (auto it = std::rbegin(bellsRung); it != std::rend(bellsRung); ++it) {
        program.setBellDelay(i, *it, static_cast<std::uint16_t>(delay));
        delay += stagger;
    }
    program.setRingingTime(i, static_cast<std::uint16_t>(seconds));
    program.setPriority(i, priority);
    return i;
}

int addMelody(ScheduleProgram& program, int hour, int minute, Chime chime, std::uint8_t priority) {
    const int i = program.addEntry();
    if (i < 0) {
        fail("a program table is full");
    }
    program.setTime(i, static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute), 0);
    program.setAction(i, ProgramEntry::ActionMelody);
    program.setMelodyNumber(i, chime);
    program.setRepetitions(i, 1);
    program.setPriority(i, priority);
    return i;
}

void composeWeek(ScheduleProgram& weekly) {
    // The Angelus three times a day on bell 3.
    for (const int hour : {6, 12, 18}) {
        const int i = addBells(weekly, hour, 0, {2}, 0, 120, PriorityDaily);
        weekly.setDays(i, EveryDay);
        weekly.setAngelus(i, true);
    }
    // The weekday morning mass at 7:00: bells 2 and 3 a quarter of an hour before.
    weekly.setDays(addBells(weekly, 6, 45, {1, 2}, 5, 180, PriorityMass), MondayToSaturday);
    // Sunday masses at 8:00, 10:00 and 11:30: all four bells.
    for (const auto& [hour, minute] : {std::pair{7, 45}, std::pair{9, 45}, std::pair{11, 15}}) {
        weekly.setDays(addBells(weekly, hour, minute, {0, 1, 2, 3}, 6, 300, PriorityMass), Sunday);
    }
    // The evening hymn to Our Lady.
    weekly.setDays(addMelody(weekly, 21, 0, ChimeAveMaria, PriorityDaily), EveryDay);
}

void composeHolidays(ProjectData& p) {
    ScheduleProgram& programs = p.program(HolidayDay);
    const HolidayTable& holidays = p.holidays();
    // A holiday program rings on the days its weekday boxes allow: a fixed feast falls on any day of the week.
    const auto onHoliday = [&](int i, std::string_view holiday) {
        programs.setHolidayIndex(i, static_cast<std::uint8_t>(holidayNamed(holidays, holiday)));
        programs.setDays(i, EveryDay);
    };
    // Masses at 8:30 and 10:30 on the holy days, all four bells.
    for (const std::string_view holiday :
         {"Nowy Rok", "Trzech Króli", "Wielkanoc", "Poniedziałek Wielkanocny", "Wniebowstąpienie Pańskie", "Boże Ciało",
          "Wniebowzięcie NMP", "Wszystkich Świętych", "Niepokalane Poczęcie NMP", "Boże Narodzenie",
          "Drugi dzień Świąt"}) {
        for (const auto& [hour, minute] : {std::pair{8, 15}, std::pair{10, 15}}) {
            onHoliday(addBells(programs, hour, minute, {0, 1, 2, 3}, 6, 300, PriorityMass), holiday);
        }
    }
    // Easter Sunday: the bells for the Resurrection procession at dawn, the Easter hymn at noon after the prayer
    // bell.
    onHoliday(addBells(programs, 5, 45, {0, 1, 2, 3}, 4, 600, PriorityFeast), "Wielkanoc");
    onHoliday(addMelody(programs, 12, 5, ChimeWesolyNam, PriorityFeast), "Wielkanoc");
    // The bells fall silent from Maundy Thursday evening until the Easter Vigil: two days, the striking goes on.
    const int silence = programs.addEntry();
    programs.setTime(silence, 19, 30, 0);
    programs.setAction(silence, ProgramEntry::ActionSilence);
    programs.setSilenceDuration(silence, 48u * 3600u);
    programs.setSilenceTargets(silence, true, false);
    programs.setPriority(silence, PriorityFeast);
    onHoliday(silence, "Wielki Czwartek");
}

void composeYear(ProjectData& p, const Sequences& s) {
    ScheduleProgram& annual = p.program(Annual);
    // Christmas: the midnight mass rung in with all bells, the carol on Christmas Day at noon.
    const int midnight = addBells(annual, 23, 40, {0, 1, 2, 3}, 5, 600, PriorityFeast);
    annual.setStartDate(midnight, 24, 12);
    const int carol = addMelody(annual, 12, 5, ChimeBogSieRodzi, PriorityFeast);
    annual.setStartDate(carol, 25, 12);
    // The new year rung in.
    const int newYear = addBells(annual, 0, 0, {0, 1, 2, 3}, 3, 300, PriorityFeast);
    annual.setStartDate(newYear, 1, 1);
    // The parish's patron, St John the Baptist, 24 June: the festive sequence before the high mass.
    const int patron = annual.addEntry();
    annual.setTime(patron, 10, 45, 0);
    annual.setStartDate(patron, 24, 6);
    annual.setAction(patron, ProgramEntry::ActionSequence);
    annual.setSequenceIndex(patron, static_cast<std::uint8_t>(s.festive));
    annual.setPriority(patron, PriorityFeast);

    // A wedding on 12 June 2027 at 15:00.
    ScheduleProgram& once = p.program(OneTime);
    const int wedding = once.addEntry();
    once.setTime(wedding, 14, 50, 0);
    once.setStartDate(wedding, 12, 6);
    once.setYear(wedding, 27);
    once.setAction(wedding, ProgramEntry::ActionSequence);
    once.setSequenceIndex(wedding, static_cast<std::uint8_t>(s.festive));
    once.setPriority(wedding, PriorityMass);
}

// Funeral tolling, started at the controller when a parishioner has died: the largest bell at 9:00 and 15:00 for
// three days; the same bell before the Angelus; the tolling sequence at 11:00.
void composeFuneral(ProjectData& p, const Sequences& s) {
    ScheduleProgram& funeral = p.program(Funeral);
    funeral.setAction(0, ProgramEntry::ActionBells);
    funeral.setRingingTime(0, 300);
    funeral.setTime(0, 9, 0, 0);
    funeral.setTimeOn(0, 2, true);
    funeral.setTime2(0, 15, 0, 0);
    funeral.setDays(0, 3);

    funeral.setAction(1, ProgramEntry::ActionBells);
    funeral.setRingingTime(1, 180);
    funeral.setStartMode(1, FuneralStartMode::BeforeAngelus);
    funeral.setDays(1, 3);

    funeral.setAction(2, ProgramEntry::ActionSequence);
    funeral.setSequenceIndex(2, static_cast<std::uint8_t>(s.tolling));
    funeral.setTime(2, 11, 0, 0);
    funeral.setDays(2, 1);

    // Special tolling, started at the controller in an emergency (a storm, a fire): the tolling sequence for a
    // quarter of an hour.
    ScheduleProgram& special = p.program(SpecialTolling);
    for (int i = 0; i < special.capacity(); ++i) {
        special.setSequenceIndex(i, static_cast<std::uint8_t>(s.tolling));
        special.setTime(i, 12, 0, 0);
        special.setTime2(i, 12, 15, 0);
        special.setSteps(i, 2);
        special.setDays(i, 1);
    }
}

void describeInstallation(ProjectData& p) {
    GeneralSettings& general = p.general();
    general.setLocationName("Parafia św. Jana, Lipnica");
    if (!general.setUserCode(2580) || !general.setServiceCode(4613)) {
        fail("access codes refused");
    }
    for (int i = 0; i < static_cast<int>(std::size(ChimeNames)); ++i) {
        p.chimes().setName(i, ChimeNames[i]);
    }
}

void composeTower(ProjectData& p) {
    describeInstallation(p);
    describeEquipment(p);
    const Sequences sequences = composeSequences(p.sequences());
    wireTower(p, sequences);
    composeStriking(p, sequences);
    composeWeek(p.program(Weekly));
    composeHolidays(p);
    composeYear(p, sequences);
    composeFuneral(p, sequences);
    p.sortSchedulesByTime();
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fail(file.string() + ": cannot be read");
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Written beside the target and renamed, so an interrupted build never leaves a half-written project.
void writeProject(ProjectData& p, const fs::path& output) {
    const auto bytes = projectfile::store(p);
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    const fs::path partial = output.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            fail(output.string() + ": cannot be written");
        }
    }
    fs::rename(partial, output, ec);
    if (ec) {
        fail(output.string() + ": " + ec.message());
    }
}

} // namespace
} // namespace tolvane

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: MakeExampleTower HOLIDAYS.tsv OUTPUT.tpm\n";
        return 2;
    }
    const fs::path holidaySource = argv[1];
    const fs::path output = argv[2];
    try {
        tolvane::ProjectData project;
        const auto errors = tolvane::HolidaySource::parse(tolvane::readText(holidaySource), project.holidays());
        for (const auto& e : errors) {
            std::cerr << holidaySource.string() << ":" << e.line << ": error: " << e.message << "\n";
        }
        if (!errors.empty()) {
            return 1;
        }
        tolvane::composeTower(project);
        const tolvane::IssueList issues = project.validate();
        if (tolvane::hasCritical(issues)) {
            for (const auto& issue : issues) {
                if (issue.severity == tolvane::severity::Critical) {
                    std::cerr << output.string() << ": error: critical issue " << issue.code << " (record "
                              << issue.item << ", area " << issue.area << ")\n";
                }
            }
            return 1;
        }
        tolvane::writeProject(project, output);
    } catch (const std::exception& e) {
        std::cerr << output.string() << ": error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
