#include "project/SettingsEditing.h"

#include "TextNumbers.h"
#include "project/ProjectData.h"

namespace tolvane::settingsedit {

namespace {
constexpr int LockClock = 0;
} // namespace

bool clockLockTicked(const ProjectData& project) {
    return !project.clocks().record(LockClock).clockLock();
}

bool setClockLockTicked(ProjectData& project, bool ticked) {
    if (!project.clocks().setClockLock(LockClock, !ticked)) {
        return false;
    }
    project.general().markChanged(GeneralSettings::Mark::ClockLock);
    return true;
}

bool chooseAmplifierRelay(ProjectData& project, std::uint8_t relay) {
    OutputMap& map = project.outputs();
    const std::uint8_t old = map.amplifierRelay();
    if (!map.chooseRelay(OutputMapRecord::AmplifierRelay, relay)) {
        return false;
    }
    if (relay != old) {
        project.general().markChanged(GeneralSettings::Mark::AmplifierRelay);
    }
    return true;
}

bool bellLampLit(const ProjectData& project, int bell) {
    return !project.bells().record(bell).bellOff();
}

bool hammerLampLit(const ProjectData& project, int hammer) {
    return project.hammers().record(hammer).linkedBell() != HammerRecord::NoBell;
}

bool clockLampLit(const ProjectData& project, int clock) {
    return !project.clocks().record(clock).clockOff();
}

int clockStateText(const ProjectData& project, int clock) {
    return clockLampLit(project, clock) ? text::ClockStateOn : text::ClockStateOff;
}

int bellMarkerText(const ProjectData& project, int bell) {
    return project.striking().record().hourHammerSingle() == bell ? text::HourStrikingMark : 0;
}

LabelText relayLabel(std::uint8_t relay) {
    return OutputMap::relayText(relay);
}

} // namespace tolvane::settingsedit
