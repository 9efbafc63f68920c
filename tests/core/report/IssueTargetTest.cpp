#include "report/IssueTarget.h"

#include "SequenceSteps.h"
#include "project/ProjectData.h"
#include "section/TextSource.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

namespace tolvane {

void PrintTo(const IssueTarget& t, std::ostream* os) {
    *os << "{page " << static_cast<int>(t.page) << ", kind " << static_cast<int>(t.kind) << ", record " << t.record
        << ", setting " << t.setting << "}";
}

namespace {

using P = IssuePage;
using R = IssueRecord;

struct TargetCase {
    const char* what;
    ValidationIssue issue; // code, item, area, severity
    IssueTarget expected;
};

// Every area the project check uses, with an issue it raises there.
const TargetCase AreaCases[] = {
    {"weekly entry without weekdays", {2, 7, 0, 1}, {P::WeeklyPrograms, R::ProgramEntry, 7, 0}},
    {"holiday-day entry on a deleted holiday", {9, 3, 1, 0}, {P::HolidayPrograms, R::ProgramEntry, 3, 0}},
    {"annual entry with a bad start date", {6, 0, 2, 0}, {P::AnnualPrograms, R::ProgramEntry, 0, 0}},
    {"one-time entry with a bad date", {8, 127, 3, 0}, {P::OneTimePrograms, R::ProgramEntry, 127, 0}},
    {"duplicate number of a one-time entry", {49, 4, 3, 1}, {P::OneTimePrograms, R::ProgramEntry, 4, 0}},
    {"funeral tolling with a bad day count", {10, 7, 4, 0}, {P::FuneralTolling, R::ProgramEntry, 7, 0}},
    {"special tolling entry with a bad time", {11, 2, 5, 0}, {P::SpecialTolling, R::ProgramEntry, 2, 0}},
    {"special tolling entry in neither season", {13, 1, 5, 2}, {P::SpecialTolling, R::ProgramEntry, 1, 0}},
    {"holiday with a bad day count", {14, 40, 5, 1}, {P::Holidays, R::Holiday, 40, 0}},
    {"holiday twin of a fixed holiday", {46, 12, 5, 1}, {P::Holidays, R::Holiday, 12, 0}},
    {"bell with a bad run-up", {16, 4, 6, 0}, {P::Settings, R::Bell, 4, 0}},
    {"clock without relay A", {25, 1, 7, 2}, {P::Settings, R::Clock, 1, 0}},
    {"hour striking stroke interval", {31, 0, 8, 0}, {P::Striking, R::None, -1, 0}},
    {"hour herald hold", {32, 0, 9, 0}, {P::Striking, R::None, -1, 0}},
    {"quarter 3 plays a missing sequence", {53, 2, 10, 0}, {P::Striking, R::Quarter, 2, 0}},
    {"quarter herald advance", {35, 0, 11, 0}, {P::Striking, R::None, -1, 0}},
    {"night silence start", {59, 0, 12, 0}, {P::Striking, R::None, -1, 0}},
    {"amplifier lead time", {37, 0, 13, 0}, {P::Settings, R::None, -1, 37}},
    {"amplifier without its relay", {39, 0, 13, 1}, {P::Settings, R::None, -1, 39}},
    {"display contrast", {41, 0, 14, 0}, {P::UserSettings, R::None, -1, 41}},
    {"display time", {43, 0, 14, 0}, {P::UserSettings, R::None, -1, 43}},
    {"empty location name", {45, 0, 15, 2}, {P::Settings, R::None, -1, 45}},
    {"hammer pulse", {51, 3, 16, 0}, {P::Settings, R::Hammer, 3, 0}},
    {"sequence repeat range reversed", {55, 41, 17, 0}, {P::Sequences, R::Sequence, 41, 0}},
    {"factory user code", {100, 0, 18, 2}, {P::Settings, R::AccessCode, 0, 0}},
    {"factory service code", {100, 1, 18, 2}, {P::Settings, R::AccessCode, 1, 0}},
    {"a later code of our own on the access codes", {101, 1, 18, 1}, {P::Settings, R::AccessCode, 1, 0}},
};

class IssueTargetByArea : public ::testing::TestWithParam<TargetCase> {};

TEST_P(IssueTargetByArea, LeadsToThePageAndRecord) {
    EXPECT_EQ(issueTarget(GetParam().issue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EveryArea, IssueTargetByArea, ::testing::ValuesIn(AreaCases));

TEST(IssueTarget, SeverityDoesNotChangeTheTarget) {
    for (int severity : {0, 1, 2}) {
        EXPECT_EQ(issueTarget({16, 2, 6, severity}), (IssueTarget{P::Settings, R::Bell, 2, 0}));
    }
}

// A record number outside its table still brings the page, without selecting anything; an area nobody knows
// leads nowhere.
TEST(IssueTarget, OutOfRangeRecordsAndUnknownAreas) {
    const TargetCase cases[] = {
        {"funeral tolling has eight entries", {10, 8, 4, 0}, {P::FuneralTolling, R::ProgramEntry, -1, 0}},
        {"special tolling has three entries", {11, 3, 5, 0}, {P::SpecialTolling, R::ProgramEntry, -1, 0}},
        {"weekly entry -1", {2, -1, 0, 1}, {P::WeeklyPrograms, R::ProgramEntry, -1, 0}},
        {"holiday 128", {14, 128, 5, 1}, {P::Holidays, R::Holiday, -1, 0}},
        {"bell 6", {16, 5, 6, 0}, {P::Settings, R::Bell, -1, 0}},
        {"clock 3", {24, 2, 7, 0}, {P::Settings, R::Clock, -1, 0}},
        {"quarter 5", {36, 4, 10, 0}, {P::Striking, R::Quarter, -1, 0}},
        {"sequence 43", {55, 42, 17, 0}, {P::Sequences, R::Sequence, -1, 0}},
        {"a third access code", {100, 2, 18, 2}, {P::Settings, R::AccessCode, -1, 0}},
        {"area -1", {2, 0, -1, 0}, {}},
        {"area 19", {2, 0, 19, 0}, {}},
        {"a negative code in a known area", {-5, 1, 6, 0}, {P::Settings, R::Bell, 1, 0}},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(issueTarget(c.issue), c.expected);
    }
}

// Whatever a project's check finds leads somewhere: a project with a fault in every section.
TEST(IssueTarget, EveryIssueOfAFaultyProjectHasAPage) {
    ProjectData project;
    for (int kind = Weekly; kind <= OneTime; ++kind) {
        ScheduleProgram& program = project.program(kind);
        const int entry = program.addEntry();
        program.setTime(entry, 25, 0, 0);
    }
    project.program(Funeral).setTime(7, 24, 0, 0);
    project.program(SpecialTolling).setTime(2, 24, 0, 0);
    struct : TextSource {
        std::string text(int) const override { return "holiday"; }
    } texts;
    const int holiday = project.holidays().addHoliday(texts);
    project.holidays().setDays(holiday, 0);
    project.bells().setRunUpSeconds(1, 0);
    project.hammers().setPulseTenths(2, 0);
    project.clocks().setClockEnabled(1, true);
    StrikingSettings& striking = project.striking();
    striking.setStrokeIntervalTenths(0, 1);
    striking.setHourHeraldHold(0);
    striking.setQuarterHeraldHold(0);
    striking.setBlockStartHour(NightBlock::Hour, 30);
    striking.setSeriesCount(0, 1);
    striking.setSeriesSequence(0, 0, 5); // a sequence nobody made
    const int sequence = project.sequences().createSequence();
    project.sequences().insertStep(sequence, testing_support::repeatStep(StepKind::RepeatCount, 1, 0, 2), 0);
    project.amplifier().setLeadTimeSeconds(0);
    project.general().setDisplayContrast(200);
    project.general().setLocationName("");
    const IssueList issues = project.validate();
    std::set<int> areas;
    for (const ValidationIssue& issue : issues) {
        areas.insert(issue.area);
    }
    EXPECT_EQ(areas.size(), 19U) << "a fault in every area 0-18";
    for (const ValidationIssue& issue : issues) {
        SCOPED_TRACE(::testing::Message() << "code " << issue.code << " area " << issue.area);
        EXPECT_NE(issueTarget(issue).page, IssuePage::None);
    }
}

} // namespace
} // namespace tolvane
