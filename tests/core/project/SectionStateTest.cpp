#include "project/ProjectData.h"
#include "project/ProjectFile.h"

#include "FullProject.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tolvane {
namespace {

std::vector<SectionState> allStates(const ProjectData& p) {
    std::vector<SectionState> states;
    for (int i = 0; i < SectionIdCount; ++i) {
        states.push_back(p.state(static_cast<SectionId>(i)));
    }
    return states;
}

// Every part of a full project taken out of one project and put into a fresh one gives the same project:
// the same file bytes, the same marks and the same used counts.
TEST(SectionState, EveryPartMovesIntoAnotherProjectByteForByte) {
    ProjectData full;
    testing_support::fillProject(full);
    full.amplifier().setLeadTimeSeconds(42);
    full.identity().setSerial("123456");
    full.projectOpened = 1;
    full.chimes().setName(4, "Angelus");
    full.timeCorrection().setSyncSource(1);
    full.timeCorrection().setSummerOffset(1.0, false);

    ProjectData copy;
    for (int i = 0; i < SectionIdCount; ++i) {
        copy.setState(static_cast<SectionId>(i), full.state(static_cast<SectionId>(i)));
    }
    EXPECT_EQ(allStates(copy), allStates(full));
    EXPECT_TRUE(copy.isModifiedAll());
    EXPECT_EQ(copy.chimes().changeMark(4), full.chimes().changeMark(4));
    EXPECT_EQ(copy.program(Weekly).usedCount(), 128);
    EXPECT_EQ(copy.timeCorrection().changeMask(),
              TimeCorrectionSettings::MarkSource | TimeCorrectionSettings::MarkSummerOffset);
    EXPECT_EQ(copy.amplifier().changeMask(), AmplifierSettings::MarkLeadTime);
    EXPECT_EQ(copy.projectOpened, 1);
    EXPECT_EQ(projectfile::encode(copy), projectfile::encode(full));
}

// A state of another shape (another section's, or a damaged one) is refused and changes nothing.
TEST(SectionState, AStateOfAnotherShapeIsRefusedAndChangesNothing) {
    ProjectData p;
    p.chimes().setName(0, "Gloria");
    p.holidays().setName(0, "x");
    const std::vector<SectionState> before = allStates(p);
    const SectionState foreign = p.state(SectionId::Bells);
    for (int i = 0; i < SectionIdCount; ++i) {
        const auto id = static_cast<SectionId>(i);
        if (id == SectionId::Bells || id == SectionId::Hammers) {
            continue;
        }
        EXPECT_THROW(p.setState(id, foreign), std::invalid_argument) << "part " << i;
        SectionState cut = before[static_cast<std::size_t>(i)];
        cut.content.pop_back();
        EXPECT_THROW(p.setState(id, cut), std::invalid_argument) << "part " << i;
    }
    EXPECT_EQ(allStates(p), before);
}

// What an undo puts back shows as changed: every record that differs between two states and has no mark gets
// one; a record that already carries its own marks keeps them.
TEST(SectionState, MarkChangesMarksTheDifferingRecordsOnly) {
    ProjectData p;
    const SectionState clean = p.state(SectionId::Chimes);
    p.chimes().setName(7, "Te Deum");
    p.chimes().setName(9, "Ave");
    const SectionState named = p.state(SectionId::Chimes);
    p.clearModifiedAll();
    p.markChanges(SectionId::Chimes, named, clean);
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        EXPECT_EQ(p.chimes().isChanged(i), i == 7 || i == 9) << "chime " << i + 1;
    }

    const SectionState weekly = p.state(SectionId::Weekly);
    const int e = p.program(Weekly).addItem();
    p.clearModifiedAll();
    p.markChanges(SectionId::Weekly, weekly, p.state(SectionId::Weekly));
    EXPECT_TRUE(p.program(Weekly).isModified());
    EXPECT_NE(p.program(Weekly).markWord(e, 0), 0u);
    EXPECT_EQ(p.program(Weekly).markWord(e + 1, 0), 0u);

    const SectionState corrections = p.state(SectionId::TimeCorrection);
    p.timeCorrection().setWeeklyDriftSeconds(5);
    p.markChanges(SectionId::TimeCorrection, corrections, p.state(SectionId::TimeCorrection));
    EXPECT_TRUE(p.timeCorrection().isModified());
    EXPECT_TRUE(p.isModifiedAll());
}

TEST(SectionState, VisitingCoversEverySectionObjectInFileOrder) {
    ProjectData p;
    std::vector<SectionId> seen;
    p.forEachSection([&seen](SectionId id, ProjectSection&) { seen.push_back(id); });
    const std::vector<SectionId> expected = {
        SectionId::Weekly,   SectionId::HolidayDay,     SectionId::Annual,    SectionId::OneTime,
        SectionId::Funeral,  SectionId::SpecialTolling, SectionId::General,   SectionId::Bells,
        SectionId::Striking, SectionId::TimeCorrection, SectionId::Amplifier, SectionId::Clocks,
        SectionId::Outputs,  SectionId::Holidays,       SectionId::Hammers,   SectionId::Sequences,
        SectionId::Chimes};
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace tolvane
