// The settings page's rules that reach beyond the general settings: the clock lock, the amplifier's relay and the
// overview of bells, hammers and clocks.

#include "project/SettingsEditing.h"
#include "project/ProjectData.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Mark = GeneralSettings::Mark;

TEST(SettingsClockLock, TickedWhileBitThreeOfClockOneIsClearAndMarkedInTheGeneralSettings) {
    ProjectData project;
    EXPECT_FALSE(settingsedit::clockLockTicked(project)) << "a new clock's flags are all set";

    EXPECT_TRUE(settingsedit::setClockLockTicked(project, true));
    EXPECT_EQ(project.clocks().record(0).clockFlags(), 0xF7);
    EXPECT_EQ(project.clocks().record(1).clockFlags(), 0xFF) << "clock 2 is not touched";
    EXPECT_TRUE(settingsedit::clockLockTicked(project));
    EXPECT_TRUE(project.general().isMarked(Mark::ClockLock));
    EXPECT_EQ(project.clocks().changeMark(0), 0U);

    project.general().clearModified();
    EXPECT_FALSE(settingsedit::setClockLockTicked(project, true)) << "ticked again: nothing changes";
    EXPECT_FALSE(project.general().isMarked(Mark::ClockLock));
    EXPECT_TRUE(settingsedit::setClockLockTicked(project, false));
    EXPECT_EQ(project.clocks().record(0).clockFlags(), 0xFF);
}

TEST(SettingsAmplifierRelay, AFreeRelayIsTakenAndMarkedARelayInUseIsRefused) {
    ProjectData project;
    ASSERT_TRUE(project.outputs().chooseRelay(OutputMapRecord::BellRelays, 2)); // bell 1 on PK3

    EXPECT_FALSE(settingsedit::chooseAmplifierRelay(project, 2));
    EXPECT_EQ(project.outputs().amplifierRelay(), 0xFF);
    EXPECT_FALSE(project.general().isMarked(Mark::AmplifierRelay));

    EXPECT_TRUE(settingsedit::chooseAmplifierRelay(project, 4));
    EXPECT_EQ(project.outputs().record().relay(5), 4);
    EXPECT_TRUE(project.general().isMarked(Mark::AmplifierRelay));

    project.general().clearModified();
    EXPECT_TRUE(settingsedit::chooseAmplifierRelay(project, 4)) << "its own relay again";
    EXPECT_FALSE(project.general().isMarked(Mark::AmplifierRelay));
    EXPECT_TRUE(settingsedit::chooseAmplifierRelay(project, 0xFF));
    EXPECT_EQ(project.outputs().amplifierRelay(), 0xFF);
}

TEST(SettingsOverview, LampsStateTextsAndTheHourStrikingMarker) {
    ProjectData project;
    project.bells().setBellEnabled(2, false);
    project.hammers().setLinkedBell(1, 0);
    project.clocks().setClockEnabled(1, true);
    const bool bellLamps[] = {true, true, false, true, true};
    const bool hammerLamps[] = {false, true, false, false, false};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(settingsedit::bellLampLit(project, i), bellLamps[i]);
        EXPECT_EQ(settingsedit::hammerLampLit(project, i), hammerLamps[i]);
        // A new project strikes the hours with hammer index 1.
        EXPECT_EQ(settingsedit::bellMarkerText(project, i), i == 1 ? 317 : 0);
    }
    EXPECT_FALSE(settingsedit::clockLampLit(project, 0));
    EXPECT_EQ(settingsedit::clockStateText(project, 0), 116);
    EXPECT_TRUE(settingsedit::clockLampLit(project, 1));
    EXPECT_EQ(settingsedit::clockStateText(project, 1), 117);
}

} // namespace
} // namespace tolvane
