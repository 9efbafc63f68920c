#include "report/ConfigurationDocument.h"

#include "OneOfEverything.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "report/PrintDocument.h"
#include "report/WiringText.h"
#include "ringing/Wiring.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tolvane {
namespace {

using testing_support::OneOfEverything;

// "T<number>" for every text; the texts that take arguments keep their placeholders after the number.
class Texts final : public TextSource {
public:
    std::string text(int id) const override {
        static const std::map<int, std::string> formats{
            {110, " %d"},  {534, " %d"},        {535, " %d"},       {624, " %d"},     {212, " %d"},
            {300, " %d"},  {303, " %d"},        {2158, " %s"},      {2157, " %s %s"}, {2360, " %d"},
            {2361, " %d"}, {2363, " %d %d %d"}, {2364, " %d %d %s"}};
        const auto format = formats.find(id);
        return "T" + std::to_string(id) + (format == formats.end() ? "" : format->second);
    }
};

std::string whole(const ProjectData& project, PrintFormat format = PrintFormat::List) {
    return PrintDocument::html(project, Texts(), format, PrintContent::WholeConfiguration);
}

// A row of a table of labelled values.
std::string valueRow(const std::string& label, const std::string& value) {
    return "<tr><td width=\"260\">" + label + ":</td><td><b>" + value + "</b></td></tr>";
}

std::string heading(const std::string& text) {
    return "<h1>" + text + "</h1><br>";
}

// The part of the document from a heading to the next one.
std::string section(const std::string& html, const std::string& text) {
    const std::size_t from = html.find(heading(text));
    if (from == std::string::npos) {
        return {};
    }
    const std::size_t to = html.find("<h1>", from + 1);
    return html.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

// A project with one of everything; ProjectData is neither copied nor moved.
struct Filled {
    Filled() { OneOfEverything::fill(project); }
    ProjectData project;
};

TEST(ConfigurationDocument, TheProgramsStayAsTheyArePrintedAndTheRestFollowsThem) {
    const Filled filled;
    const ProjectData& project = filled.project;
    const Texts texts;
    for (PrintFormat format : {PrintFormat::List, PrintFormat::Details}) {
        SCOPED_TRACE(static_cast<int>(format));
        const std::string programs = PrintDocument::html(project, texts, format);
        EXPECT_EQ(PrintDocument::html(project, texts, format, PrintContent::Programs), programs);
        const std::string all = whole(project, format);
        const std::string tail = "</body></html>";
        ASSERT_EQ(programs.substr(programs.size() - tail.size()), tail);
        EXPECT_EQ(all.substr(0, programs.size() - tail.size()), programs.substr(0, programs.size() - tail.size()));
        EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
        EXPECT_EQ(all.substr(programs.size() - tail.size(), all.size() - programs.size()),
                  ConfigurationDocument::sections(project, texts));
    }
}

// Each section in its place after the programs, holding a value the installer set there.
TEST(ConfigurationDocument, EverySectionFollowsInOrderWithWhatWasSetUp) {
    const Filled filled;
    const ProjectData& project = filled.project;
    const std::string html = whole(project);
    const Texts texts;
    const std::string pk3 =
        "<td>PK3</td><td>" + texts.text(wiring::HammerText) + "</td><td>" + labelText({534, 1}, texts) + "</td>";
    struct Case {
        std::string heading;
        std::string value;
    };
    const Case cases[] = {
        {"T878", "<td>1</td><td>12:00:00</td><td>12:00:00</td><td>0.5</td><td>T535 1</td><td>16</td><td>3</td>"},
        {"T177", "<td>Saints &lt;Peter &amp; &quot;Paul&quot;&gt;</td><td>29.06</td><td>2</td>"},
        {"T599", "<td>T883 1_3__</td><td>00:01.00</td>"},
        {"T178", valueRow("T569", "T534 2")},
        {"T176", "<td>T297 T210</td><td>0.2</td>"},
        {"T2158 St. Mary&#39;s", pk3},
        {"T825", "<td>5</td><td>Ave Maria</td>"},
        {"T179", valueRow("T369", "-1.5 T367")},
        {"T577", valueRow("T346", "65 %")},
    };
    std::size_t previous = html.find("<h1>T183</h1>");
    ASSERT_NE(previous, std::string::npos);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heading);
        const std::size_t at = html.find(heading(c.heading));
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, previous) << "sections in print order";
        previous = at;
        EXPECT_NE(section(html, c.heading).find(c.value), std::string::npos) << section(html, c.heading);
    }
}

// The codes open the controller's menus: a printout that stays in the tower and goes to the parish says only
// whether each is still the factory default.
TEST(ConfigurationDocument, AccessCodesAreNeverPrintedOnlyWhetherTheyWereSet) {
    struct Case {
        int user;
        int service;
        const char* userState;
        const char* serviceState;
    };
    const Case cases[] = {
        {GeneralSettings::DefaultUserCode, GeneralSettings::DefaultServiceCode, "T2358", "T2358"},
        {9137, GeneralSettings::DefaultServiceCode, "T2357", "T2358"},
        {9137, 8642, "T2357", "T2357"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        ProjectData project;
        ASSERT_TRUE(project.general().setUserCode(c.user));
        ASSERT_TRUE(project.general().setServiceCode(c.service));
        const std::string html = whole(project);
        EXPECT_NE(html.find(valueRow("T514", c.userState)), std::string::npos);
        EXPECT_NE(html.find(valueRow("T515", c.serviceState)), std::string::npos);
        for (int code : {c.user, c.service}) {
            EXPECT_EQ(html.find(GeneralSettings::codeText(code)), std::string::npos) << code;
        }
    }
}

TEST(ConfigurationDocument, HolidaysInTheOrderOfTheYearWithTheirDistanceToEaster) {
    struct Names : TextSource {
        std::string text(int) const override { return "H"; }
    } names;
    ProjectData project;
    HolidayTable& holidays = project.holidays();
    const auto add = [&](const char* name, bool movable, int offset, int day, int month) {
        const int h = holidays.addHoliday(names);
        holidays.setName(h, name);
        holidays.setMovable(h, movable);
        if (movable) {
            holidays.setOffset(h, offset);
        } else {
            holidays.setFixedDate(h, static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month));
        }
    };
    add("Pentecost", true, 49, 0, 0);
    add("Christmas", false, 0, 25, 12);
    add("Easter", true, 0, 0, 0);
    add("Good Friday", true, -2, 0, 0);
    add("New Year", false, 0, 1, 1);
    const std::string table = section(whole(project), "T177");
    const char* const rows[] = {"<td>New Year</td><td>01.01</td>", "<td>Christmas</td><td>25.12</td>",
                                "<td>Good Friday</td><td>T2361 2</td>", "<td>Easter</td><td>T2362</td>",
                                "<td>Pentecost</td><td>T2360 49</td>"};
    std::size_t previous = 0;
    for (const char* row : rows) {
        SCOPED_TRACE(row);
        const std::size_t at = table.find(row);
        ASSERT_NE(at, std::string::npos) << table;
        EXPECT_GT(at, previous);
        previous = at;
    }
}

TEST(ConfigurationDocument, RepeatStepsNameTheirRangeAndHowOftenOrHowLong) {
    ProjectData project;
    SequenceTable& sequences = project.sequences();
    const int s = sequences.createSequence();
    sequences.insertStep(s, stepediting::converted(stepediting::newStep(), StepKind::Hammers), 0);
    sequences.insertStep(s, stepediting::converted(stepediting::newStep(), StepKind::Pause), 0);
    SequenceStep times = stepediting::converted(stepediting::newStep(), StepKind::RepeatCount);
    times.setLastStep(1);
    times.setCount(4);
    sequences.insertStep(s, times, 0);
    SequenceStep during = stepediting::converted(stepediting::newStep(), StepKind::RepeatTime);
    during.setFirstStep(1);
    during.setLastStep(1);
    during.setCount(90);
    sequences.insertStep(s, during, 0);
    const std::string html = section(whole(project), "T599");
    EXPECT_NE(html.find("<td>3</td><td>T661 (T2363 1 2 4)</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("<td>4</td><td>T662 (T2364 2 2 01:30 T208)</td><td>01:30.00</td>"), std::string::npos) << html;
}

TEST(ConfigurationDocument, TablesWithNothingInThemSayNone) {
    const ProjectData project;
    const std::string html = whole(project);
    for (const char* empty : {"T177", "T825"}) {
        SCOPED_TRACE(empty);
        EXPECT_EQ(section(html, empty), heading(empty) + "T109<br><br>");
    }
}

} // namespace
} // namespace tolvane
