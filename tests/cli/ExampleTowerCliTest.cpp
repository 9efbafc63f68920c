#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using testing_support::runCli;

// The example tower the build makes (examples/parish.tpm of the build folder), looked at with tolvane-cli as a user
// would: it must pass the project check, and its calendar must ring what its programs were written for.
const std::string Example = "'" + std::string(TOLVANE_EXAMPLE_PROJECT) + "'";

// One line of `plan --format tsv`: date, time, kind, number, action, priority, collision.
struct Planned {
    std::string date, time, kind, number, action, priority, collision;
};

std::vector<Planned> plan(const std::string& from, int days) {
    const auto run = runCli("plan " + Example + " --from " + from + " --days " + std::to_string(days) +
                                " --format tsv --lang English",
                            false);
    EXPECT_EQ(run.exitCode, 0);
    std::vector<Planned> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) {
            f.push_back(field);
        }
        if (f.size() == 7 && !f[0].empty()) {
            lines.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
        }
    }
    return lines;
}

// "kind time" of every program planned on `date`.
std::set<std::string> ringingOn(const std::vector<Planned>& lines, const std::string& date) {
    std::set<std::string> found;
    for (const Planned& p : lines) {
        if (p.date == date) {
            found.insert(p.kind + " " + p.time);
        }
    }
    return found;
}

TEST(ExampleTower, PassesTheProjectCheckWithoutAnyIssue) {
    const auto run = runCli("validate " + Example + " --format tsv --lang English");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
}

TEST(ExampleTower, UsesEveryPartOfTheController) {
    const auto run = runCli("info " + Example + " --lang English");
    ASSERT_EQ(run.exitCode, 0);
    // Programs of every calendar kind, the Polish holidays, the four sequences and the named chimes.
    for (const char* used :
         {"weekly: ", "holiday-day: ", "annual: ", "one-time: ", "holidays: ", "sequences: ", "chimes: "}) {
        const auto at = run.out.find(used);
        ASSERT_NE(at, std::string::npos) << used;
        EXPECT_NE(run.out.substr(at + std::string(used).size(), 2), "0\n") << used;
    }
}

// Easter Sunday and Easter Monday 2027 (28 and 29 March): the Easter masses of the holiday programs at 8:15 and
// 10:15 on both days, the Resurrection bells at dawn on Sunday only; the Sunday masses of the week on Sunday; the
// Angelus on both.
TEST(ExampleTower, EasterMassesRingOnEasterSundayAndEasterMonday) {
    const auto lines = plan("2027-03-28", 7);
    const std::set<std::string> sunday = ringingOn(lines, "2027-03-28");
    const std::set<std::string> monday = ringingOn(lines, "2027-03-29");
    for (const char* expected : {"holiday-day 05:45:00", "holiday-day 08:15:00", "holiday-day 10:15:00",
                                 "weekly 07:45:00", "weekly 09:45:00", "weekly 11:15:00", "weekly 12:00:00"}) {
        EXPECT_TRUE(sunday.contains(expected)) << expected;
    }
    for (const char* expected :
         {"holiday-day 08:15:00", "holiday-day 10:15:00", "weekly 06:45:00", "weekly 12:00:00"}) {
        EXPECT_TRUE(monday.contains(expected)) << expected;
    }
    EXPECT_FALSE(monday.contains("holiday-day 05:45:00"));
    // The rest of the week has no holiday.
    for (const char* date : {"2027-03-30", "2027-03-31", "2027-04-01", "2027-04-02", "2027-04-03"}) {
        for (const std::string& found : ringingOn(lines, date)) {
            EXPECT_EQ(found.rfind("holiday-day", 0), std::string::npos) << date << ' ' << found;
        }
    }
}

// A fixed feast falls on every day of the week in turn: its masses ring whichever day it is. Christmas Day from 2026
// to 2033 is a Friday, Saturday, Monday, Tuesday, Wednesday, Thursday, Saturday and Sunday.
TEST(ExampleTower, FixedFeastsRingOnAnyDayOfTheWeek) {
    for (int year = 2026; year <= 2033; ++year) {
        const std::string date = std::to_string(year) + "-12-25";
        SCOPED_TRACE(date);
        const std::set<std::string> christmas = ringingOn(plan(date, 1), date);
        EXPECT_TRUE(christmas.contains("holiday-day 08:15:00"));
        EXPECT_TRUE(christmas.contains("holiday-day 10:15:00"));
        EXPECT_TRUE(christmas.contains("annual 12:05:00"));
    }
    const std::set<std::string> eve = ringingOn(plan("2027-12-24", 2), "2027-12-24");
    EXPECT_TRUE(eve.contains("annual 23:40:00"));
    EXPECT_TRUE(ringingOn(plan("2028-01-01", 1), "2028-01-01").contains("annual 00:00:00"));
}

// Nowhere in a year do two programs start in the same minute: the example shows no collision.
TEST(ExampleTower, NoTwoProgramsStartInTheSameMinuteAllYear) {
    const auto lines = plan("2027-01-01", 365);
    ASSERT_GT(lines.size(), 365u * 4);
    for (const Planned& p : lines) {
        EXPECT_EQ(p.collision, "0") << p.date << ' ' << p.time << ' ' << p.kind << ' ' << p.number;
    }
}

TEST(ExampleTower, WritesAllFourCardFiles) {
    const fs::path card = fs::temp_directory_path() / ("tolvane-example-card-" + std::to_string(getpid()));
    fs::remove_all(card);
    fs::create_directories(card);
    const auto run = runCli("write-card " + Example + " '" + card.string() + "' --lang English");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    for (const char* file : {"programs.dat", "config.dat", "seq.dat", "kur.bin"}) {
        EXPECT_TRUE(fs::is_regular_file(card / file)) << file;
    }
    fs::remove_all(card);
}

} // namespace
} // namespace tolvane
