#include "report/Report.h"

#include "project/ProjectData.h"
#include "schedules/HolidayTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace tolvane {
namespace {

// "T<number>" for every text unless the test gives one.
class Texts final : public TextSource {
public:
    std::map<int, std::string> given;
    std::string text(int id) const override {
        const auto it = given.find(id);
        return it != given.end() ? it->second : "T" + std::to_string(id);
    }
};

// A catalog whose texts cannot be fetched for some numbers.
class FailingTexts final : public TextSource {
public:
    explicit FailingTexts(std::set<int> failing) : failing_(std::move(failing)) {}
    std::string text(int id) const override {
        if (failing_.count(id) != 0) {
            throw std::runtime_error("damaged catalog");
        }
        return "T" + std::to_string(id);
    }

private:
    std::set<int> failing_;
};

TEST(Report, DescriptionByCode) {
    const Texts texts;
    const struct {
        int code;
        std::string expected;
    } cases[] = {
        {2, "T413"},
        {5, "T416"},
        {9, "T418"},
        {15, "T424"},
        {16, "T427"},
        {17, "T428"},
        {18, "T426"},
        {19, "T429"},
        {20, "T425"},
        {21, "T430"},
        {43, "T452"},
        {44, "T454"},
        {45, "T498"},
        {46, "T501"},
        {47, "T500"},
        {48, "T502"},
        {49, "T528"},
        {50, "T649"},
        {51, "T650"},
        {53, "T651"},
        {54, "T652"},
        {55, "T664"},
        {56, "T667"},
        {57, "T666"},
        {58, "T684"},
        {59, "T694"},
        {60, "T695"},
        {52, "Niewłaściwy czas ???"},
        // An access code still at its factory default (our own code and text).
        {100, "T2200"},
        // The date errors of the programs have their own texts.
        {6, "T900"},
        {7, "T901"},
        {8, "T902"},
        // Codes without a description of their own.
        {0, "T417"},
        {1, "T417"},
        {61, "T417"},
        {99, "T417"},
        {101, "T417"},
        {-1, "T417"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Report::description({c.code, 0, 0, 0}, texts), c.expected);
    }
}

TEST(Report, ADescriptionThatCannotBeBuiltGivesText453) {
    EXPECT_EQ(Report::description({2, 0, 0, 0}, FailingTexts({413})), "T453");
    EXPECT_EQ(Report::description({2, 0, 0, 0}, FailingTexts({413, 453})), "---");
    EXPECT_EQ(Report::description({3, 0, 0, 0}, FailingTexts({413})), "T414");
    // A place that cannot be built stays empty; the row is still there.
    const auto rows = Report::rows({{2, 4, 0, 0}}, nullptr, FailingTexts({413, 400}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].description, "T453");
    EXPECT_EQ(rows[0].place, "");
}

TEST(Report, PlaceByAreaWithItsArgument) {
    Texts texts;
    for (int id : {400, 401, 402, 403, 110, 111, 534, 535, 2651}) {
        texts.given[id] = "P" + std::to_string(id) + " %d";
    }
    texts.given[405] = "Holiday '%s'";
    HolidayTable holidays;
    holidays.addHoliday(texts);
    holidays.addHoliday(texts);
    holidays.setName(1, "Boże Ciało");

    const struct {
        int area;
        int item;
        std::string expected;
    } cases[] = {
        {0, 4, "P400 5"},
        {1, 0, "P402 1"},
        {2, 127, "P401 128"},
        {3, 9, "P403 10"},
        {4, 3, "T404"},
        {5, 1, "Holiday 'Boże Ciało'"},
        {5, 7, "Holiday ''"},   // a free slot has no name
        {5, 128, "Holiday ''"}, // outside the table
        {5, -1, "Holiday ''"},
        {6, 1, "P110 2"},
        {7, 0, "P111 1"},
        {8, 0, "T406"},
        {9, 0, "T407"},
        {10, 0, "T393"},
        {10, 1, "T394"},
        {10, 2, "T395"},
        {10, 3, "T396"},
        {10, 4, ""},
        {10, -1, ""},
        {11, 0, "T409"},
        {12, 0, "T410"},
        {13, 0, "T411"},
        {14, 0, "T412"},
        {15, 0, "T499"},
        {16, 2, "P534 3"},
        {17, 41, "P535 42"},
        // The access codes name the code: the user code, then the service code.
        {18, 0, "T514"},
        {18, 1, "T515"},
        {18, 2, ""},
        {18, -1, ""},
        {19, 0, "P2651 1"}, // a section of the project file, counted from 1
        {20, 0, ""},
        {-1, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "area " << c.area << " item " << c.item);
        EXPECT_EQ(Report::place({0, c.item, c.area, 0}, &holidays, texts), c.expected);
    }
    // Issues of the special tolling entries share area 5 with the holidays but name the entry.
    EXPECT_EQ(Report::place({11, 2, 5, 0}, &holidays, texts), "T879 3");
    EXPECT_EQ(Report::place({13, 0, 5, 2}, &holidays, texts), "T879 1");
    EXPECT_EQ(Report::place({46, 1, 5, 0}, &holidays, texts), "Holiday 'Boże Ciało'");
    // Without a holiday table the holiday place names nothing.
    EXPECT_EQ(Report::place({0, 1, 5, 0}, nullptr, texts), "Holiday ''");
}

TEST(Report, ADamagedPlaceTextGivesAWrongTextNeverACrash) {
    Texts texts;
    texts.given[400] = "%s %s %n %d%d"; // a number where a string is expected, and more than one argument
    texts.given[405] = "%d";            // a string where a number is expected
    texts.given[409] = "%d%%";          // no argument at all
    const std::string weekly = Report::place({0, 4, 0, 0}, nullptr, texts);
    EXPECT_EQ(weekly.find("5"), std::string::npos) << weekly; // the number never fills %s
    EXPECT_NO_THROW(Report::place({0, 0, 5, 0}, nullptr, texts));
    EXPECT_NO_THROW(Report::place({0, 0, 11, 0}, nullptr, texts));
}

TEST(Report, RowsFollowTheProjectsIssuesInOrder) {
    ProjectData project;
    Texts texts;
    texts.given[400] = "Weekly %d";
    texts.given[405] = "Holiday %s";
    EXPECT_TRUE(Report::rows({}, &project.holidays(), texts).empty());

    const int holiday = project.holidays().addHoliday(texts);
    project.holidays().setName(holiday, "Wigilia");
    project.holidays().setDays(holiday, 0); // code 14, warning
    const int e = project.program(Weekly).addItem();
    project.program(Weekly).setDays(e, 0);        // code 2, warning
    project.program(Weekly).setTime(e, 24, 0, 0); // code 11, critical
    const IssueList issues = project.validate();

    const auto rows = Report::rows(issues, &project.holidays(), texts);
    ASSERT_EQ(rows.size(), issues.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ValidationIssue& issue = issues[i];
        SCOPED_TRACE(issue.code);
        EXPECT_EQ(rows[i].severity, issue.severity);
        EXPECT_EQ(rows[i].description, Report::description(issue, texts));
        EXPECT_EQ(rows[i].place, Report::place(issue, &project.holidays(), texts));
    }
    const auto has = [&](const Report::Row& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has({severity::Warning, "T413", "Weekly 1"}));
    EXPECT_TRUE(has({severity::Critical, "T420", "Weekly 1"}));
    EXPECT_TRUE(has({severity::Warning, "T423", "Holiday Wigilia"}));
}

// The report item of the tree blinks for critical errors and warnings; notes alone leave it quiet.
TEST(Report, ProblemsAreErrorsAndWarningsAndEachSeverityIsCounted) {
    const struct {
        const char* what;
        IssueList issues;
        bool problems;
        std::array<int, 3> counts;
    } cases[] = {
        {"nothing", {}, false, {0, 0, 0}},
        {"the two notes of a new project", {{100, 0, 18, 2}, {100, 1, 18, 2}}, false, {0, 0, 2}},
        {"one warning among notes", {{45, 0, 15, 2}, {39, 0, 13, 1}}, true, {0, 1, 1}},
        {"one critical error", {{11, 3, 0, 0}}, true, {1, 0, 0}},
        {"one of each, errors twice", {{11, 3, 0, 0}, {2, 3, 0, 1}, {13, 3, 0, 2}, {16, 0, 6, 0}}, true, {2, 1, 1}},
        {"a severity the check never gives", {{11, 0, 0, 7}, {11, 0, 0, -1}}, false, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Report::hasProblems(c.issues), c.problems);
        EXPECT_EQ(Report::severityCounts(c.issues), c.counts);
    }
    // A new project has only its two notes (the factory access codes).
    const IssueList issues = ProjectData().validate();
    EXPECT_FALSE(Report::hasProblems(issues));
    EXPECT_EQ(Report::severityCounts(issues), (std::array<int, 3>{0, 0, 2}));
}

} // namespace
} // namespace tolvane
