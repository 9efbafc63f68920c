#include "report/ProjectDifference.h"

#include "FullProject.h"
#include "OneOfEverything.h"
#include "project/ProjectData.h"
#include "report/ConfigurationDocument.h"
#include "ringing/StepEditing.h"
#include "schedules/ProgramEntryText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using testing_support::OneOfEverything;

// "T<number>" for every text; the texts that take arguments keep their placeholders after the number.
class Texts final : public TextSource {
public:
    std::string text(int id) const override {
        static const std::map<int, std::string> formats{{110, " %d"},  {534, " %d"},  {535, " %d"},  {624, " %d"},
                                                        {212, " %d"},  {2158, " %s"}, {2157, " %s %s"},
                                                        {2360, " %d"}, {2361, " %d"}, {2502, " %d"}, {2505, " %d"}};
        const auto format = formats.find(id);
        return "T" + std::to_string(id) + (format == formats.end() ? "" : format->second);
    }
};

// Two projects with one of everything, the second to be changed by a test.
struct Pair {
    Pair() {
        OneOfEverything::fill(before);
        OneOfEverything::fill(after);
    }
    std::vector<Difference> differences() const { return ProjectDifference::between(before, after, Texts()); }
    ProjectData before;
    ProjectData after;
};

std::vector<Difference> onPage(const std::vector<Difference>& all, IssuePage page) {
    std::vector<Difference> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), [page](const Difference& d) { return d.page == page; });
    return out;
}

TEST(ProjectDifferenceTest, AProjectAgainstItselfHasNoDifference) {
    Pair pair;
    EXPECT_TRUE(pair.differences().empty());
    const ProjectData& full = testing_support::sharedFullProject();
    EXPECT_TRUE(ProjectDifference::between(full, full, Texts()).empty());
    EXPECT_EQ(ProjectDifference::text({}, Texts()), "T2504\n");
}

// One field changed in one section kind: the one difference it makes, named as the page shows it.
struct SingleChange {
    const char* name;
    std::function<void(ProjectData&)> change;
    IssuePage page;
    IssueRecord kind;
    int record;
    std::string recordText;
    std::string field;
    std::string before;
    std::string after;
};

class SingleChangeTest : public testing::TestWithParam<SingleChange> {};

TEST_P(SingleChangeTest, NamesTheFieldWithBothValues) {
    const SingleChange& c = GetParam();
    Pair pair;
    c.change(pair.after);
    const std::vector<Difference> all = pair.differences();
    const std::vector<Difference> shown = onPage(all, c.page);
    ASSERT_EQ(shown.size(), 1u) << ProjectDifference::text(all, Texts());
    const Difference& d = shown.front();
    EXPECT_EQ(d.kind, Difference::Kind::Changed);
    EXPECT_EQ(d.recordKind, c.kind);
    EXPECT_EQ(d.recordBefore, c.record);
    EXPECT_EQ(d.recordAfter, c.record);
    EXPECT_EQ(d.record, c.recordText);
    EXPECT_EQ(d.field, c.field);
    EXPECT_EQ(d.before, c.before);
    EXPECT_EQ(d.after, c.after);
    // A change of one section shows in no area that does not show it.
    EXPECT_EQ(all.size(), shown.size()) << ProjectDifference::text(all, Texts());
}

const SingleChange singleChanges[] = {
    {"WeeklyTime", [](ProjectData& p) { p.program(Weekly).setTime(0, 8, 15, 0); }, IssuePage::WeeklyPrograms,
     IssueRecord::ProgramEntry, 0, "T2502 1", "T231", "07:15:00", "08:15:00"},
    {"WeeklyPriority", [](ProjectData& p) { p.program(Weekly).setPriority(0, 7); }, IssuePage::WeeklyPrograms,
     IssueRecord::ProgramEntry, 0, "T2502 1", "T237", ProgramEntryText::priority(ProgramEntry::defaultFor(Weekly)), "8"},
    {"FuneralDays", [](ProjectData& p) { p.program(Funeral).setDays(1, 9); }, IssuePage::FuneralTolling,
     IssueRecord::ProgramEntry, 1, "T2502 2", "T227", std::to_string(ProgramEntry::defaultFor(Funeral).days()), "9"},
    {"HolidayDays", [](ProjectData& p) { p.holidays().setDays(0, 3); }, IssuePage::Holidays, IssueRecord::Holiday, 0,
     OneOfEverything::HolidayName, "T248", "2", "3"},
    {"ChimeName", [](ProjectData& p) { p.chimes().setName(4, "Angelus"); }, IssuePage::Chimes, IssueRecord::Chime, 4,
     "T827 5", "T826", OneOfEverything::ChimeName, "Angelus"},
    {"BellRunUp", [](ProjectData& p) { p.bells().setRunUpSeconds(1, 9); }, IssuePage::Settings, IssueRecord::Bell, 1,
     "T351, T353", "T279 T210", std::to_string(ProjectData().bells().record(1).runUpSeconds()), "9"},
    {"QuarterStriking", [](ProjectData& p) { p.striking().setQuarterStriking(false); }, IssuePage::Striking,
     IssueRecord::None, -1, "T391", "T387", "T389", "T518"},
    {"DisplayContrast", [](ProjectData& p) { p.general().setDisplayContrast(70); }, IssuePage::UserSettings,
     IssueRecord::None, -1, "", "T346", "65 %", "70 %"},
    {"WinterOffset", [](ProjectData& p) { p.timeCorrection().setWinterOffset(2.0, true); },
     IssuePage::TimeCorrections, IssueRecord::None, -1, "", "T369", "-1.5 T367", "-2.0 T367"},
    {"AccessCodeDigits", [](ProjectData& p) { p.general().setUserCode(4321); }, IssuePage::Settings,
     IssueRecord::AccessCode, 0, "T513", "T514", "T2357", "T2503"},
};

INSTANTIATE_TEST_SUITE_P(Sections, SingleChangeTest, testing::ValuesIn(singleChanges),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ProjectDifferenceTest, AChangedStepIsNamedByItsSequenceAndNumber) {
    Pair pair;
    SequenceTable& sequences = pair.after.sequences();
    SequenceStep step = sequences.record(OneOfEverything::SequenceIndex).step(0); // bells 1 and 3
    step.setUnitMask(0x01);
    ASSERT_TRUE(sequences.replaceStep(OneOfEverything::SequenceIndex, 0, step));
    const std::vector<Difference> shown = onPage(pair.differences(), IssuePage::Sequences);
    ASSERT_FALSE(shown.empty()) << ProjectDifference::text(pair.differences(), Texts());
    EXPECT_EQ(shown.front().record, "T535 2, T827 1");
    EXPECT_EQ(shown.front().field, "T595");
    EXPECT_EQ(shown.front().recordKind, IssueRecord::Sequence);
    EXPECT_EQ(shown.front().recordAfter, OneOfEverything::SequenceIndex);
    EXPECT_EQ(shown.front().before, "T883 1_3__");
    EXPECT_EQ(shown.front().after, "T883 1____");
}

TEST(ProjectDifferenceTest, AddedAndRemovedProgramsAreMatchedByTheirNumber) {
    Pair pair;
    ScheduleProgram& weekly = pair.after.program(Weekly);
    const int added = weekly.addEntry();
    weekly.setTime(added, 12, 0, 0);
    const std::uint16_t number = weekly.entry(added).identifier();

    std::vector<Difference> all = pair.differences();
    ASSERT_EQ(all.size(), 1u) << ProjectDifference::text(all, Texts());
    EXPECT_EQ(all[0].kind, Difference::Kind::Added);
    EXPECT_EQ(all[0].record, "T2502 " + std::to_string(number));
    EXPECT_EQ(all[0].recordBefore, -1);
    EXPECT_EQ(all[0].recordAfter, added);
    EXPECT_NE(all[0].after.find("12:00:00"), std::string::npos);

    // The other way round the same program is removed; the one both have is not touched.
    all = ProjectDifference::between(pair.after, pair.before, Texts());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kind, Difference::Kind::Removed);
    EXPECT_EQ(all[0].recordBefore, added);
    EXPECT_NE(all[0].before.find("12:00:00"), std::string::npos);

    // The same times under other numbers are other programs.
    Pair renumbered;
    renumbered.after.program(Weekly).setIdentifier(0, 77);
    all = renumbered.differences();
    ASSERT_EQ(all.size(), 2u) << ProjectDifference::text(all, Texts());
    EXPECT_EQ(all[0].kind, Difference::Kind::Added);
    EXPECT_EQ(all[0].record, "T2502 77");
    EXPECT_EQ(all[1].kind, Difference::Kind::Removed);
    EXPECT_EQ(all[1].record, "T2502 1");
}

TEST(ProjectDifferenceTest, AnAddedHolidayOrSequenceIsOneRow) {
    Pair pair;
    struct Names : TextSource {
        std::string text(int) const override { return "Holiday"; }
    } names;
    const int holiday = pair.after.holidays().addHoliday(names);
    pair.after.holidays().setName(holiday, "Harvest");
    const int sequence = pair.after.sequences().createSequence();
    pair.after.sequences().insertStep(sequence, stepediting::newStep(), 0);
    const std::vector<Difference> all = pair.differences();
    ASSERT_EQ(onPage(all, IssuePage::Holidays).size(), 1u) << ProjectDifference::text(all, Texts());
    EXPECT_EQ(onPage(all, IssuePage::Holidays)[0].record, "Harvest");
    EXPECT_EQ(onPage(all, IssuePage::Holidays)[0].kind, Difference::Kind::Added);
    const std::vector<Difference> sequences = onPage(all, IssuePage::Sequences);
    ASSERT_EQ(sequences.size(), 1u) << ProjectDifference::text(all, Texts());
    EXPECT_EQ(sequences[0].kind, Difference::Kind::Added);
    EXPECT_EQ(sequences[0].recordAfter, sequence);
}

TEST(ProjectDifferenceTest, AreasFollowTheTreeAndNoOutputShowsACode) {
    Pair pair;
    pair.after.chimes().setName(7, "Salve");
    pair.after.general().setServiceCode(5555);
    pair.after.program(Weekly).setTime(0, 9, 0, 0);
    pair.after.general().setDisplayContrast(40);
    const std::vector<Difference> all = pair.differences();
    std::vector<IssuePage> pages;
    for (const Difference& d : all) {
        if (pages.empty() || pages.back() != d.page) {
            pages.push_back(d.page);
        }
    }
    EXPECT_EQ(pages, (std::vector<IssuePage>{IssuePage::WeeklyPrograms, IssuePage::Settings, IssuePage::UserSettings,
                                             IssuePage::Chimes}));
    const std::string text = ProjectDifference::text(all, Texts());
    const std::string tsv = ProjectDifference::tsv(all, Texts());
    const std::string html = ProjectDifference::html(all, Texts(), "a <b>", "b");
    for (const std::string& out : {text, tsv, html}) {
        for (const char* code : {"5555", "8642", "9137"}) {
            EXPECT_EQ(out.find(code), std::string::npos) << code << " in " << out;
        }
    }
    EXPECT_NE(text.find("T2505 4"), std::string::npos) << text;
    // Six columns on every line of the table form, one line per difference after the head.
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), static_cast<long>(all.size()) + 1);
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\t'), static_cast<long>(all.size() + 1) * 5);
    EXPECT_NE(html.find("print/style.css"), std::string::npos);
    EXPECT_NE(html.find("a &lt;b&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<b>a <b>"), std::string::npos);
}

TEST(ProjectDifferenceTest, TheTableFormKeepsEachDifferenceOnOneLine) {
    Pair pair;
    pair.after.chimes().setName(4, "Line\tone\nline two");
    const std::vector<Difference> all = pair.differences();
    ASSERT_EQ(all.size(), 1u);
    const std::string tsv = ProjectDifference::tsv(all, Texts());
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 2);
    EXPECT_NE(tsv.find("Line one line two"), std::string::npos) << tsv;
}

} // namespace
} // namespace tolvane
