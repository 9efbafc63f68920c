#include "platform/CardMonitor.h"

#include "ScriptedVolumeSource.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(CardMonitor, ReportsInsertionAndRemovalOncePerChange) {
    auto owned = std::make_unique<ScriptedVolumeSource>();
    ScriptedVolumeSource& source = *owned;
    CardMonitor monitor(std::move(owned));

    const RemovableVolume e = ScriptedVolumeSource::card("CARD", "E:\\");
    const RemovableVolume f = ScriptedVolumeSource::card("SPARE", "F:\\");
    struct Step {
        std::vector<RemovableVolume> volumes;
        CardChange change;
    };
    const Step steps[] = {
        {{}, CardChange::None},      // an empty reader at start
        {{e}, CardChange::Inserted}, // the first card
        {{e}, CardChange::None},     // still there
        {{e, f}, CardChange::None},  // a second card is no new insertion
        {{f}, CardChange::None},     // one of two removed
        {{}, CardChange::Removed},   // the last one removed
        {{}, CardChange::None},      // still none
        {{f}, CardChange::Inserted}, // inserted again
    };
    int index = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(index++);
        source.volumes = step.volumes;
        const CardPoll poll = monitor.poll();
        EXPECT_EQ(poll.change, step.change);
        EXPECT_EQ(poll.volumes, step.volumes);
        EXPECT_EQ(monitor.cardPresent(), !step.volumes.empty());
    }
    EXPECT_EQ(source.polls, index);
}

TEST(CardMonitor, UsableWhenOneFat32CardOrSeveralCards) {
    struct Case {
        const char* what;
        std::vector<RemovableVolume> volumes;
        bool usable;
    };
    const Case cases[] = {
        {"no card", {}, false},
        {"one FAT32 card", {ScriptedVolumeSource::card("A", "E:\\", "FAT32")}, true},
        {"one FAT16 card", {ScriptedVolumeSource::card("A", "E:\\", "FAT")}, false},
        {"one exFAT card", {ScriptedVolumeSource::card("A", "E:\\", "exFAT")}, false},
        {"lower-case name", {ScriptedVolumeSource::card("A", "E:\\", "fat32")}, false},
        {"two cards of other systems",
         {ScriptedVolumeSource::card("A", "E:\\", "FAT"), ScriptedVolumeSource::card("B", "F:\\", "NTFS")},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto owned = std::make_unique<ScriptedVolumeSource>();
        owned->volumes = c.volumes;
        CardMonitor monitor(std::move(owned));
        EXPECT_EQ(monitor.poll().usable, c.usable);
        EXPECT_EQ(cardsUsable(c.volumes), c.usable);
    }
}

} // namespace
} // namespace tolvane
