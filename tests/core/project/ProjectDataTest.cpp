#include "project/ProjectData.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(ProjectData, NewProjectShowsItsIdentityInTheStatusTexts) {
    ProjectData project;
    const auto texts = project.identityTexts();
    EXPECT_EQ(texts[0], "Firm: V1_41");
    EXPECT_EQ(texts[1], "Boot: 00000");
    EXPECT_EQ(texts[2], "Serial: 000000");
    // The format tag is cleared on construction; the two trailing bytes are 0xFF.
    const auto b = project.identity().bytes();
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin(), b.begin() + 5)), std::vector<std::uint8_t>(5, 0));
    EXPECT_EQ(b[21], 0xFF);
    EXPECT_EQ(b[22], 0xFF);
}

TEST(ProjectData, NewProjectIsUnmodifiedWithTheStateFlagsClear) {
    ProjectData project;
    EXPECT_FALSE(project.isModifiedAll());
    EXPECT_EQ(project.programsFromCard + project.sequencesFromCard + project.configFromCard + project.projectOpened +
                  project.chimesFromCard,
              0);
    EXPECT_EQ(project.program(Funeral).usedCount(), 8);
    EXPECT_EQ(project.program(SpecialTolling).usedCount(), 3);
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        EXPECT_EQ(project.program(kind).usedCount(), 0);
    }
}

TEST(ProjectData, FullResetKeepsTheFormatTagAndZeroesTheRestOfTheIdentity) {
    ProjectData project;
    std::array<std::uint8_t, 23> card{};
    const std::string trailer = "V1_06V1_50V2_00123456";
    std::copy(trailer.begin(), trailer.end(), card.begin());
    card[21] = 7;
    card[22] = 9;
    ASSERT_TRUE(project.unpackIdentity(card));
    project.resetAll(false);
    EXPECT_EQ(project.identity().formatTag(), "V1_06");
    EXPECT_EQ(project.identityTexts()[0], "Firm: 00000");
    EXPECT_EQ(project.identity().serial(), "000000");
    EXPECT_EQ(project.identity().bytes()[21], 0xFF);
}

TEST(ProjectData, IdentityTrailerIsTakenOnlyFromCardImages) {
    ProjectData project;
    std::array<std::uint8_t, 23> foreign{};
    const std::string text = "V3_02V1_50V2_00123456";
    std::copy(text.begin(), text.end(), foreign.begin());
    EXPECT_FALSE(project.unpackIdentity(foreign));
    EXPECT_EQ(project.identity().firmware(), "V1_41");

    project.identity().setSerial("654321");
    std::array<std::uint8_t, 23> packed{};
    project.packIdentity(packed);
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 21), "V1_06V1_4100000654321");
}

TEST(ProjectData, NextFreeEntryIdTakesTheSmallestUnusedNumber) {
    ProjectData project;
    EXPECT_EQ(project.nextFreeEntryId(), 1);

    for (int i = 0; i < 3; ++i) {
        project.program(Weekly).addItem();
    }
    project.program(Weekly).setIdentifier(2, 4);
    EXPECT_EQ(project.nextFreeEntryId(), 3);

    // Identifiers in unused slots count too; those above 512 and those of the tolling programs do not.
    project.program(Annual).setIdentifier(100, 3);
    project.program(OneTime).setIdentifier(0, 900);
    EXPECT_EQ(project.nextFreeEntryId(), 5);
}

TEST(ProjectData, NextFreeEntryIdIsOneWhenAllAreTaken) {
    ProjectData project;
    int id = 1;
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        for (int i = 0; i < 128; ++i) {
            project.program(kind).setIdentifier(i, static_cast<std::uint16_t>(id++));
        }
    }
    EXPECT_EQ(project.nextFreeEntryId(), 1);
}

TEST(ProjectData, AddedEntriesGetUniqueIdentifiersAcrossKinds) {
    ProjectData project;
    const int w = project.program(Weekly).addItem();
    const int a = project.program(Annual).addItem();
    const int o = project.program(OneTime).addItem();
    EXPECT_EQ(project.program(Weekly).entry(w).identifier(), 1);
    EXPECT_EQ(project.program(Annual).entry(a).identifier(), 2);
    EXPECT_EQ(project.program(OneTime).entry(o).identifier(), 3);
}

TEST(ProjectData, DuplicatedIdentifiersAreReportedForEveryHolderAfterTheFirst) {
    ProjectData project;
    project.program(Weekly).addItem();
    project.program(Weekly).addItem();
    project.program(Weekly).setIdentifier(0, 7);
    project.program(Weekly).setIdentifier(1, 7);
    std::vector<ValidationIssue> found;
    for (const auto& i : project.validate()) {
        if (i.code == 49) {
            found.push_back(i);
        }
    }
    EXPECT_EQ(found, (std::vector<ValidationIssue>{{49, 1, Weekly, 1}}));

    // Weekly before annual before holiday-day before one-time: the one-time entry is the later holder.
    ProjectData other;
    other.program(OneTime).addItem();
    other.program(Weekly).addItem();
    other.program(OneTime).setIdentifier(0, 7);
    other.program(Weekly).setIdentifier(0, 7);
    found.clear();
    for (const auto& i : other.validate()) {
        if (i.code == 49) {
            found.push_back(i);
        }
    }
    EXPECT_EQ(found, (std::vector<ValidationIssue>{{49, 0, OneTime, 1}}));
}

TEST(ProjectData, NewProjectValidatesWithOnlyTheFactoryCodeNotes) {
    ProjectData project;
    EXPECT_EQ(project.validate(), (IssueList{{100, 0, 18, 2}, {100, 1, 18, 2}}));
    // With codes of its own a new project has nothing to report.
    project.general().setUserCode(2468);
    project.general().setServiceCode(1357);
    const IssueList issues = project.validate();
    EXPECT_TRUE(issues.empty()) << "first code " << (issues.empty() ? 0 : issues.front().code);
}

TEST(ProjectData, AmplifierCheck) {
    struct Case {
        std::uint16_t flags, lead, delay;
        std::uint8_t relay;
        std::vector<ValidationIssue> expected;
    };
    const Case cases[] = {
        {0x0100, 10, 10, 0xFF, {}}, {0x0000, 10, 10, 0xFF, {{39, 0, 13, 1}}},
        {0x0000, 10, 10, 3, {}},    {0x0100, 0, 61, 0xFF, {{37, 0, 13, 0}, {38, 0, 13, 0}}},
        {0x0100, 1, 60, 0xFF, {}},  {0x0000, 61, 0, 0xFF, {{37, 0, 13, 0}, {38, 0, 13, 0}, {39, 0, 13, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flags << " " << c.lead << " " << c.delay << " " << int(c.relay));
        ProjectData project;
        project.general().setUserCode(2468);
        project.general().setServiceCode(1357);
        project.amplifier().setU16(0, c.flags);
        project.amplifier().setU16(2, c.lead);
        project.amplifier().setU16(4, c.delay);
        OutputMapRecord outputs = project.outputs().record();
        outputs.setU8(OutputMapRecord::AmplifierRelay, c.relay);
        project.outputs().restore(outputs);
        const IssueList issues = project.validate();
        EXPECT_EQ(issues, c.expected);
        EXPECT_EQ(hasCritical(issues), !c.expected.empty() && c.expected.front().severity == 0);
    }
}

TEST(ProjectData, ValidationFollowsTheSectionOrder) {
    ProjectData project;
    project.general().setUserCode(2468);
    project.general().setServiceCode(1357);
    // An annual entry with a bad date (schedules first), then an amplifier lead time out of range.
    const int e = project.program(Annual).addItem();
    project.program(Annual).setStartDate(e, 31, 13);
    project.amplifier().setU16(2, 0);
    const IssueList issues = project.validate();
    EXPECT_TRUE(hasCritical(issues));
    EXPECT_EQ(issues, (IssueList{{6, 0, Annual, 0}, {37, 0, 13, 0}}));
    // Each check starts from an empty list: nothing of the last one is carried over.
    project.amplifier().setU16(2, 10);
    EXPECT_EQ(project.validate(), (IssueList{{6, 0, Annual, 0}}));
}

// The check reads the project and hands back what it found: no section, mark or flag changes, and a second check
// of the same project finds the same.
TEST(ProjectData, CheckingChangesNothingOfTheProject) {
    ProjectData project;
    const int e = project.program(Annual).addItem();
    project.program(Annual).setStartDate(e, 31, 13);
    project.amplifier().setU16(2, 0);
    project.sectionsMissingFromFile = 1u << static_cast<int>(SectionId::Chimes);
    std::vector<SectionState> before;
    for (int id = 0; id < SectionIdCount; ++id) {
        before.push_back(project.state(static_cast<SectionId>(id)));
    }
    const ProjectData& shown = project;
    const IssueList first = shown.validate();
    ASSERT_TRUE(hasCritical(first));
    EXPECT_EQ(shown.validate(), first);
    for (int id = 0; id < SectionIdCount; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(project.state(static_cast<SectionId>(id)), before[static_cast<std::size_t>(id)]);
    }
    EXPECT_EQ(project.sectionsMissingFromFile, 1u << static_cast<int>(SectionId::Chimes));
}

TEST(ProjectData, GroupMarkClearingTouchesOnlyItsGroup) {
    ProjectData project;
    project.program(Weekly).addItem();
    project.general().setLocationName("Kraków");
    project.timeCorrection().setSyncStartHour(2);
    project.amplifier().setLeadTimeSeconds(20);
    EXPECT_TRUE(project.isModifiedAll());

    project.clearConfigMarks();
    EXPECT_FALSE(project.general().isModified());
    EXPECT_FALSE(project.timeCorrection().isModified());
    EXPECT_FALSE(project.amplifier().isModified());
    EXPECT_TRUE(project.program(Weekly).isModified());

    project.clearProgramsMarks();
    EXPECT_FALSE(project.isModifiedAll());
}

TEST(ProjectData, TimeCorrectionOrAmplifierMarksAloneMakeTheProjectModified) {
    ProjectData project;
    project.timeCorrection().setWeeklyDrift(3, true);
    EXPECT_TRUE(project.isModifiedAll());
    project.clearModifiedAll();
    EXPECT_FALSE(project.isModifiedAll());

    project.amplifier().setSwitchingOn(true);
    EXPECT_TRUE(project.isModifiedAll());
    project.clearModifiedAll();
    EXPECT_FALSE(project.isModifiedAll());
}

TEST(ProjectData, TextsWithoutASourceAreDashes) {
    ProjectData project;
    EXPECT_EQ(project.text(320), "---");
    struct Echo : TextSource {
        std::string text(int id) const override { return "text " + std::to_string(id); }
    } echo;
    project.setTextSource(&echo);
    EXPECT_EQ(project.text(320), "text 320");
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST(ProjectData, SortingForLoadingOrdersTheDatedSchedulesByTimeKeepingTheirMarks) {
    ProjectData project;
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        ScheduleProgram& p = project.program(kind);
        for (int hour : {18, 6, 12}) {
            p.setTime(p.addEntry(), static_cast<std::uint8_t>(hour), 0, 0);
        }
    }
    project.clearModifiedAll();
    project.program(Weekly).setPriority(0, 9); // the 18:00 program carries a mark
    project.sortSchedulesByTime();
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        const ScheduleProgram& p = project.program(kind);
        EXPECT_EQ(p.entry(0).hour(), 6);
        EXPECT_EQ(p.entry(1).hour(), 12);
        EXPECT_EQ(p.entry(2).hour(), 18);
    }
    EXPECT_TRUE(project.program(Weekly).isMarked(2, EntryField::Priority));
    EXPECT_FALSE(project.program(Weekly).isMarked(0, EntryField::Priority));
}

} // namespace
} // namespace tolvane
