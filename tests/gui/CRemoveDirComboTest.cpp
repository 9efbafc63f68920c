#include "gui/widgets/CRemoveDirCombo.h"

#include "ScriptedVolumeSource.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// A drive list over a scripted source, with spies on its card notifications.
class CRemoveDirComboTest : public ::testing::Test {
protected:
    CRemoveDirComboTest() {
        auto owned = std::make_unique<ScriptedVolumeSource>();
        source = owned.get();
        combo = std::make_unique<CRemoveDirCombo>(nullptr, std::move(owned));
        inserted = std::make_unique<QSignalSpy>(combo.get(), &CRemoveDirCombo::cardInserted);
        removed = std::make_unique<QSignalSpy>(combo.get(), &CRemoveDirCombo::cardRemoved);
    }

    // Lets the timer of the list run for that long.
    static void runFor(int milliseconds) { QTest::qWait(milliseconds); }

    // Runs the event loop until `done` holds (at most five seconds); answers how long that took.
    template <typename Done> static qint64 runUntil(Done done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000) {
            QTest::qWait(10);
        }
        return clock.elapsed();
    }

    const RemovableVolume cardE = ScriptedVolumeSource::card("CARD", "E:\\");
    const RemovableVolume cardF = ScriptedVolumeSource::card("SPARE", "F:\\", "FAT");
    const RemovableVolume cardG = ScriptedVolumeSource::card("", "G:\\", "NTFS");
    ScriptedVolumeSource* source = nullptr;
    std::unique_ptr<CRemoveDirCombo> combo;
    std::unique_ptr<QSignalSpy> inserted;
    std::unique_ptr<QSignalSpy> removed;
};

TEST_F(CRemoveDirComboTest, StartsDisabledAndRefreshesOnItsOwnEveryHalfSecond) {
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_TRUE(combo->isRefreshing());
    source->volumes = {cardE};

    runFor(50); // the first refresh comes from the event loop right after construction
    EXPECT_EQ(inserted->count(), 1) << "a card already there is reported to whoever connected after construction";
    EXPECT_TRUE(combo->isEnabled());
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "CARD E:\\");
    EXPECT_EQ(combo->selectedRoot(), "E:\\");

    const int polls = source->polls;
    const qint64 twoTicks = runUntil([&] { return source->polls >= polls + 2; });
    EXPECT_EQ(source->polls, polls + 2);
    EXPECT_GE(twoTicks, 2 * CRemoveDirCombo::RefreshMilliseconds - 100);
    EXPECT_LT(twoTicks, 5000);

    source->volumes = {};
    runUntil([&] { return removed->count() > 0; });
    EXPECT_EQ(removed->count(), 1);
    EXPECT_EQ(combo->count(), 0);
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_EQ(combo->selectedRoot(), "");
}

TEST_F(CRemoveDirComboTest, NotifiesOncePerChangeAndReportsUsability) {
    combo->enableRefreshing(false);
    struct Step {
        std::vector<RemovableVolume> volumes;
        int inserted;
        int removed;
        bool usable;
    };
    const Step steps[] = {
        {{}, 0, 0, false},            // a reader without a card lists nothing
        {{cardE}, 1, 0, true},        // the first card, FAT32
        {{cardE}, 1, 0, true},        // no new notice while it stays
        {{cardE, cardF}, 1, 0, true}, // two cards are usable whatever their file system
        {{cardF}, 1, 0, false},       // a single FAT16 card is listed but not usable
        {{}, 1, 1, false},            // the last card removed
        {{}, 1, 1, false},            //
        {{cardG}, 2, 1, false},       // NTFS alone
    };
    int index = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(index++);
        source->volumes = step.volumes;
        EXPECT_EQ(combo->refresh(), step.usable);
        EXPECT_EQ(combo->count(), static_cast<int>(step.volumes.size()));
        EXPECT_EQ(inserted->count(), step.inserted);
        EXPECT_EQ(removed->count(), step.removed);
    }
}

TEST_F(CRemoveDirComboTest, KeepsTheSelectedCardAcrossRefreshes) {
    combo->enableRefreshing(false);
    source->volumes = {cardE, cardF, cardG};
    combo->refresh();
    combo->selectRoot("F:\\");
    QSignalSpy selection(combo.get(), &QComboBox::currentIndexChanged);

    combo->refresh();
    EXPECT_EQ(selection.count(), 0) << "an unchanged list is not rebuilt";

    source->volumes = {cardF, cardG}; // the card before it is removed
    combo->refresh();
    EXPECT_EQ(combo->selectedRoot(), "F:\\");
    EXPECT_EQ(selection.count(), 1);

    source->volumes = {cardE, cardG}; // the selected card is removed: the place it had (first of two)
    combo->refresh();
    EXPECT_EQ(combo->selectedRoot(), "E:\\");

    combo->selectRoot("G:\\");
    source->volumes = {cardF}; // its place is gone too: the first card
    combo->refresh();
    EXPECT_EQ(combo->selectedRoot(), "F:\\");
}

TEST_F(CRemoveDirComboTest, SelectRootIgnoresCaseAndFallsBackToTheFirstDrive) {
    combo->enableRefreshing(false);
    source->volumes = {cardE, cardF};
    combo->refresh();
    combo->selectRoot("f:\\");
    EXPECT_EQ(combo->selectedRoot(), "F:\\");
    EXPECT_EQ(combo->currentText(), "SPARE F:\\");
    combo->selectRoot("Q:\\");
    EXPECT_EQ(combo->selectedRoot(), "E:\\");

    source->volumes = {{"A", "/media/u/card", "FAT32"}, {"B", "/media/u/CARD", "FAT32"}};
    combo->refresh();
    combo->selectRoot("/media/u/CARD");
    EXPECT_EQ(combo->currentText(), "B /media/u/CARD") << "an exact match goes before one that differs in case";
}

TEST_F(CRemoveDirComboTest, RefreshingOffStopsTheTimerAndDisables) {
    source->volumes = {cardE};
    combo->enableRefreshing(true);
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_EQ(inserted->count(), 1);

    combo->enableRefreshing(false);
    EXPECT_FALSE(combo->isEnabled());
    const int polls = source->polls;
    runFor(700);
    EXPECT_EQ(source->polls, polls);
    EXPECT_EQ(inserted->count(), 1) << "the queued first refresh does not run once refreshing is off";
}

} // namespace
} // namespace tolvane
