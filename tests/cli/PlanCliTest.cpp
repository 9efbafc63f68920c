#include "CliRunner.h"
#include "TestFiles.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using testing_support::runCli;
using testing_support::writeFile;

// A small tower: a weekday bell at 07:00, a daily bell at noon, an annual melody on 30.03 in the same minute,
// an Easter Monday program at 10:00, a one-time program on 31.03.2027 and one funeral tolling with bells.
void writeTower(const fs::path& file, bool autoTimeChange) {
    struct Names final : TextSource {
        std::string text(int) const override { return "Easter Monday"; }
    } names;
    ProjectData p;
    const auto add = [&](ProgramKind kind, std::uint16_t id, std::uint8_t hour, std::uint8_t second) {
        ScheduleProgram& program = p.program(kind);
        const int i = program.addItem();
        program.setIdentifier(i, id);
        program.setTime(i, hour, 0, second);
        return i;
    };
    const int weekdays = add(Weekly, 1, 7, 0);
    p.program(Weekly).setDays(weekdays, 0x1F);
    const int daily = add(Weekly, 2, 12, 0);
    p.program(Weekly).setDays(daily, 0x7F);
    const int annual = add(Annual, 3, 12, 30);
    p.program(Annual).setStartDate(annual, 30, 3);
    p.program(Annual).setAction(annual, ProgramEntry::ActionMelody);
    p.program(Annual).setMelodyNumber(annual, 12);
    p.program(Annual).setPriority(annual, 8);
    const int easterMonday = p.holidays().addHoliday(names);
    p.holidays().setOffset(easterMonday, 1);
    const int holiday = add(HolidayDay, 4, 10, 0);
    p.program(HolidayDay).setHolidayIndex(holiday, static_cast<std::uint8_t>(easterMonday));
    const int once = add(OneTime, 5, 18, 0);
    p.program(OneTime).setStartDate(once, 31, 3);
    p.program(OneTime).setYear(once, 27);
    p.program(Funeral).setAction(0, ProgramEntry::ActionBells);
    p.timeCorrection().setAutoTimeChange(autoTimeChange);
    writeFile(file, projectfile::store(p));
}

class PlanCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tolvane-plan-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        writeTower(dir / "tower.tpm", true);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    fs::path dir;
};

TEST_F(PlanCli, TsvListsEveryProgramOfEveryDayThenTheTollingOnDemand) {
    const auto run = runCli("plan " + path("tower.tpm") + " --from 2027-03-28 --days 4 --format tsv --lang English");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "2027-03-28\t12:00:00\tweekly\t002\tBell ringing 1____\t5\t0\n"
                       "2027-03-29\t07:00:00\tweekly\t001\tBell ringing 1____\t5\t0\n"
                       "2027-03-29\t10:00:00\tholiday-day\t004\tBell ringing 1____\t6\t0\n"
                       "2027-03-29\t12:00:00\tweekly\t002\tBell ringing 1____\t5\t0\n"
                       "2027-03-30\t07:00:00\tweekly\t001\tBell ringing 1____\t5\t0\n"
                       "2027-03-30\t12:00:00\tweekly\t002\tBell ringing 1____\t5\t1\n"
                       "2027-03-30\t12:00:30\tannual\t003\tMelody 12\t9\t1\n"
                       "2027-03-31\t07:00:00\tweekly\t001\tBell ringing 1____\t5\t0\n"
                       "2027-03-31\t12:00:00\tweekly\t002\tBell ringing 1____\t5\t0\n"
                       "2027-03-31\t18:00:00\tone-time\t005\tBell ringing 1____\t5\t0\n"
                       "\t12:00:00\tfuneral\t1\tBell ringing 1____\t16\t0\n"
                       "\t12:00:00-12:00:00\tspecial\t1\tSequence S1\t16\t0\n"
                       "\t12:00:00-12:00:00\tspecial\t2\tSequence S1\t16\t0\n"
                       "\t12:00:00-12:00:00\tspecial\t3\tSequence S1\t16\t0\n");
}

TEST_F(PlanCli, TextShowsTheReadingsEachDayAndTheCollisionsInTheChosenLanguage) {
    const auto run = runCli("plan " + path("tower.tpm") + " --from 2027-03-30 --days 2 --lang English");
    EXPECT_EQ(run.exitCode, 0);
    const std::string out = run.out;
    for (const char* expected : {
             "2027-03-30 to 2027-03-31, 2 days\n",
             "  Movable holidays are counted from Western (Gregorian) Easter Sunday.\n",
             "  Summer time 2027: 28.03 to 30.10\n",
             "  Even and odd weeks follow the ISO 8601 week number",
             "\nTuesday 2027-03-30\n"
             "    07:00:00  Weekly 001  Bell ringing 1____  Priority 5  All year\n"
             "  ! Collision: 2 programs start in the same minute\n"
             "  ! 12:00:00  Weekly 002  Bell ringing 1____  Priority 5  All year\n"
             "  ! 12:00:30  Annual 003  Melody 12  Priority 9  All year\n"
             "\nWednesday 2027-03-31\n",
             "  Funeral 1  12:00:00  Bell ringing 1____  Priority 16\n",
         }) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\nin\n" << out;
    }
    EXPECT_EQ(out.find("automatic summer/winter"), std::string::npos);

    const auto polish = runCli("plan " + path("tower.tpm") + " --from 2027-03-30 --days 1 --lang Polski");
    EXPECT_NE(polish.out.find("Wtorek 2027-03-30"), std::string::npos) << polish.out;
}

TEST_F(PlanCli, HeaderSaysWhenTheSeasonsCannotFollowTheEuropeanRule) {
    writeTower(dir / "fixed-clock.tpm", false);
    const auto text = runCli("plan " + path("fixed-clock.tpm") + " --from 2027-03-30 --days 1 --lang English");
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("The automatic summer/winter time change is off in this project"), std::string::npos)
        << text.out;
    // In tsv the warning goes to standard error, beside the lines.
    const auto tsv =
        runCli("plan " + path("fixed-clock.tpm") + " --from 2027-03-30 --days 1 --format tsv --lang English");
    EXPECT_NE(tsv.out.find("warning: The automatic summer/winter time change is off"), std::string::npos);
    EXPECT_EQ(runCli("plan " + path("fixed-clock.tpm") + " --from 2027-03-30 --days 1 --format tsv", false).out,
              runCli("plan " + path("tower.tpm") + " --from 2027-03-30 --days 1 --format tsv", false).out);
}

TEST_F(PlanCli, DefaultsToSevenDaysFromTodayAndAtMost366) {
    const auto week = runCli("plan " + path("tower.tpm") + " --format tsv", false);
    EXPECT_EQ(week.exitCode, 0);
    // The daily noon bell rings on each of the seven days.
    std::size_t noon = 0;
    for (std::size_t at = week.out.find("\t12:00:00\tweekly\t002"); at != std::string::npos;
         at = week.out.find("\t12:00:00\tweekly\t002", at + 1)) {
        ++noon;
    }
    EXPECT_EQ(noon, 7u);
    const auto year = runCli("plan " + path("tower.tpm") + " --from 2028-01-01 --days 366 --format tsv", false);
    EXPECT_EQ(year.exitCode, 0);
    EXPECT_NE(year.out.find("2028-12-31\t12:00:00\tweekly\t002"), std::string::npos);
}

TEST_F(PlanCli, BadDatesAndCountsAreUsageErrors) {
    for (const char* options : {"--days 0", "--days 367", "--days x", "--days -3", "--days", "--from 2027-02-29",
                                "--from 27-03-28", "--from 2027-3-28", "--format xml", "--when 2027-03-28"}) {
        SCOPED_TRACE(options);
        const auto run = runCli("plan " + path("tower.tpm") + " " + options);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out.rfind("tolvane-cli: ", 0), 0u) << run.out;
    }
    EXPECT_EQ(runCli("plan " + path("missing.tpm")).exitCode, 2);
    EXPECT_EQ(runCli("plan").exitCode, 2);
}

std::string fileText(const fs::path& file) {
    const auto bytes = testing_support::readFile(file);
    return {bytes.begin(), bytes.end()};
}

// --output refuses what the other commands' outputs refuse: an existing file without --force, and the project
// itself even with it; "-" is standard output, and the file holds exactly what standard output would.
TEST_F(PlanCli, OutputWritesAFileAndReplacesOnlyWithForce) {
    const std::string plan = "plan " + path("tower.tpm") + " --from 2027-03-28 --days 4 --format tsv";
    const auto shown = runCli(plan, false);
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_EQ(runCli(plan + " --output -", false).out, shown.out);

    const auto written = runCli(plan + " --output " + path("plan.tsv"));
    EXPECT_EQ(written.exitCode, 0);
    EXPECT_EQ(written.out, (dir / "plan.tsv").string() + "\n");
    EXPECT_EQ(fileText(dir / "plan.tsv"), shown.out);

    writeFile(dir / "plan.tsv", std::string_view("kept"));
    const auto refused = runCli(plan + " --output " + path("plan.tsv"));
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.out.find("already exists (use --force to replace it)"), std::string::npos) << refused.out;
    EXPECT_EQ(fileText(dir / "plan.tsv"), "kept");
    EXPECT_EQ(runCli(plan + " --output " + path("plan.tsv") + " --force").exitCode, 0);
    EXPECT_EQ(fileText(dir / "plan.tsv"), shown.out);

    const std::string project = fileText(dir / "tower.tpm");
    for (const char* force : {"", " --force"}) {
        const auto self = runCli(plan + " --output " + path("tower.tpm") + force);
        EXPECT_EQ(self.exitCode, 2) << force;
        EXPECT_NE(self.out.find("is the project being planned"), std::string::npos) << self.out;
    }
    EXPECT_EQ(fileText(dir / "tower.tpm"), project);
    EXPECT_EQ(runCli(plan + " --output " + path("no-such-folder/plan.tsv")).exitCode, 2);
    EXPECT_EQ(runCli(plan + " --output=").exitCode, 2);
}

TEST_F(PlanCli, IcsHoldsTheCalendarProgramsAndRefusesAnOffsetThatIsNoTimeZone) {
    const auto run =
        runCli("plan " + path("tower.tpm") + " --from 2027-03-28 --days 4 --format ics --lang English", false);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    std::size_t events = 0;
    for (auto at = run.out.find("BEGIN:VEVENT\r\n"); at != std::string::npos;
         at = run.out.find("BEGIN:VEVENT\r\n", at + 1)) {
        ++events;
    }
    EXPECT_EQ(events, 10u) << "the ten calendar lines of the tsv, no funeral or special tolling";
    EXPECT_NE(run.out.find("\r\nSUMMARY:Melody — Annual 003\r\n"), std::string::npos) << run.out;

    // The time-corrections page offers at most 12 hours; a file can hold more.
    ProjectData p;
    p.timeCorrection().setSummerOffsetHalfHours(100);
    writeFile(dir / "far.tpm", projectfile::store(p));
    const auto far =
        runCli("plan " + path("far.tpm") + " --format ics --output " + path("far.ics") + " --lang English");
    EXPECT_EQ(far.exitCode, 1);
    EXPECT_NE(far.out.find("(text 2558)"), std::string::npos) << far.out;
    EXPECT_FALSE(fs::exists(dir / "far.ics"));
}

} // namespace
} // namespace tolvane
