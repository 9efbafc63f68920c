// The striking page as a user works it: the hour-striking mode and its fields, the quarters with their series,
// the heralds with the relay chooser, the night blocks and the full-hour radios; each value stored when its field
// is left, one undo step each.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "gui/sequences/CPropGongi.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Step = testing::ScriptedDialogs::Step;

// In a chooser with a tree list (sequence, hammer): a click on row `row` and Enter.
Step chooseTreeRow(int row) {
    return [row](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>();
        ASSERT_NE(list, nullptr);
        QTreeWidgetItem* item = list->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        QTest::keyClick(list, Qt::Key_Return);
    };
}

// In the relay chooser: a click on row `row` and OK.
Step chooseRelayRow(int row) {
    return [row](QDialog& dialog) {
        auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("chooserList"));
        ASSERT_NE(list, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row, 0)).center());
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    };
}

class GongsPageTest : public ::testing::Test, public testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1280, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        showPage();
    }

    void showPage() {
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 157));
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 167));
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    CPropGongi& page() const { return *qobject_cast<CPropGongi*>(frame->view()->page(PageId::Gongi)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const StrikingRecord& record() const { return doc().project().striking().record(); }
    int steps() const { return doc().undoStack()->count(); }

    // The user types into a field (entering it selects its text) and leaves it with Tab.
    void typeAndLeave(CFireEdit* field, const QString& typed) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        if (field->hasFocus()) {
            QTest::keyClick(field, Qt::Key_Tab);
        }
        QApplication::focusWidget()->clearFocus();
    }

    // A click on a radio button's or check box's indicator.
    static void press(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    void clickWith(QWidget* control, Step step) {
        app.dialogs.then(std::move(step));
        QTest::mouseClick(control, Qt::LeftButton);
        ASSERT_TRUE(app.dialogs.done());
    }

    bool reported(std::int32_t code, std::int32_t area) const {
        for (const ValidationIssue& issue : doc().project().validate()) {
            if (issue.code == code && issue.area == area) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(GongsPageTest, ANewProjectAsThePageShowsIt) {
    EXPECT_TRUE(page().modeRadio(0)->isChecked());
    EXPECT_EQ(page().strokeInterval()->text(), "2.0");
    EXPECT_FALSE(page().strokeInterval()->isEnabled());
    EXPECT_EQ(page().hammerLink()->text(), "t534 2");
    EXPECT_FALSE(page().hammerLink()->isEnabled());
    EXPECT_FALSE(page().delayMinutes()->isVisible());
    EXPECT_TRUE(page().fullHourRadio(true)->isChecked());
    EXPECT_FALSE(page().quarterStriking()->isChecked());
    EXPECT_FALSE(page().heraldOn(0)->isChecked());
    EXPECT_EQ(page().heraldAdvance(0)->text(), "10");
    EXPECT_EQ(page().heraldRelay(1)->text(), "t109");
    for (int q = 0; q < 4; ++q) {
        SCOPED_TRACE(q);
        EXPECT_EQ(page().seriesCount(q)->text(), QString::number(q + 1));
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(page().series(q, s)->text(), s <= q ? "S1" : "t109");
            EXPECT_EQ(page().series(q, s)->isEnabled(), s <= q);
        }
    }
    for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter, NightBlock::Repeat}) {
        EXPECT_EQ(page().blockField(b, 0)->text(), "21");
        EXPECT_EQ(page().blockField(b, 1)->text(), "55");
        EXPECT_EQ(page().blockField(b, 2)->text(), "05");
        EXPECT_EQ(page().blockField(b, 3)->text(), "55");
    }
    EXPECT_EQ(page().blockField(NightBlock::Quarter, 2)->accessibleName(), "t623, t381, t2053");
    EXPECT_EQ(page().series(2, 1)->accessibleName(), "t395, t624: S1");
    EXPECT_EQ(steps(), 0);
}

TEST_F(GongsPageTest, TheStrokeIntervalIsStoredInTenthsCutAfterTheFirstDecimal) {
    struct Case {
        int mode;
        QString typed;
        std::uint16_t single;
        std::uint16_t repeated;
        bool code31;
    };
    const Case cases[] = {
        {1, "2.55", 25, 20, false}, // the field takes three characters: 2.5
        {1, "0.4", 4, 20, true},
        {2, "3.5", 20, 35, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        testing::userEdit(doc(), [](ProjectData& p) { p.striking().reset(); });
        showPage();
        press(page().modeRadio(c.mode));
        EXPECT_EQ(record().hourMode(), c.mode);
        EXPECT_TRUE(page().strokeInterval()->isEnabled());
        const int before = steps();
        typeAndLeave(page().strokeInterval(), c.typed);
        EXPECT_EQ(record().strokeIntervalSingle(), c.single);
        EXPECT_EQ(record().strokeIntervalRepeat(), c.repeated);
        EXPECT_EQ(steps(), before + 1);
        EXPECT_EQ(reported(StrikingSettings::IssueStrokeInterval, StrikingSettings::AreaHours), c.code31);
        EXPECT_TRUE(changehighlight::isMarked(page().strokeInterval()));
        EXPECT_EQ(page().strokeInterval()->accessibleDescription(), "t2007");
    }
}

TEST_F(GongsPageTest, RepetitionModeShowsTheDelayAndNeverStoresItBelowOneSecond) {
    press(page().modeRadio(2));
    EXPECT_TRUE(page().delayMinutes()->isVisible());
    EXPECT_EQ(page().delayMinutes()->text(), "0");
    EXPECT_EQ(page().delaySeconds()->text(), "05");
    typeAndLeave(page().delaySeconds(), "00");
    EXPECT_EQ(record().repeatDelayTenths(), 10);
    EXPECT_EQ(page().delaySeconds()->text(), "01") << "the field shows what was stored";
    typeAndLeave(page().delayMinutes(), "2");
    EXPECT_EQ(record().repeatDelayTenths(), 2 * 600 + 10);
    // The hammer of the repetition mode through the hammer chooser.
    clickWith(page().hammerLink(), chooseTreeRow(3));
    EXPECT_EQ(record().hourHammerRepeat(), 3);
    EXPECT_EQ(record().hourHammerSingle(), 1);
    EXPECT_EQ(page().hammerLink()->text(), "t534 4");
    // Mode, two delays, hammer: four steps, undone one by one.
    EXPECT_EQ(steps(), 4);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(record().hourHammerRepeat(), 1);
    EXPECT_EQ(frame->view()->currentPage(), &page());
}

TEST_F(GongsPageTest, LoweringAQuartersCountForgetsItsLaterSeries) {
    typeAndLeave(page().seriesCount(2), "1");
    EXPECT_EQ(record().seriesCount(2), 1);
    EXPECT_EQ(record().seriesSequence(2, 1), 0xFF);
    EXPECT_EQ(record().seriesSequence(2, 2), 0xFF);
    EXPECT_FALSE(page().series(2, 1)->isEnabled());
    typeAndLeave(page().seriesCount(2), "3");
    EXPECT_EQ(page().series(2, 1)->text(), "t109");
    EXPECT_EQ(page().series(2, 2)->text(), "t109");
    EXPECT_TRUE(page().series(2, 2)->isEnabled());
    EXPECT_TRUE(changehighlight::isMarked(page().seriesCount(2)));
    EXPECT_EQ(steps(), 2);
}

TEST_F(GongsPageTest, AQuarterPlaysOnlyHammerSequences) {
    // Sequence 2 rings bells, sequence 3 strikes hammers.
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        SequenceStep step;
        step.makeFresh();
        step.setKind(StepKind::BellsA);
        step.setUnitMask(1);
        p.sequences().insertStep(p.sequences().createSequence(), step, 0);
        step.setKind(StepKind::Hammers);
        p.sequences().insertStep(p.sequences().createSequence(), step, 0);
    }));
    showPage();
    const int before = steps();
    clickWith(page().series(1, 1), chooseTreeRow(1));
    EXPECT_EQ(app.prompts.texts(), QStringList{"t687"});
    EXPECT_EQ(record().seriesSequence(1, 1), 0);
    EXPECT_EQ(steps(), before);
    clickWith(page().series(1, 1), chooseTreeRow(2));
    EXPECT_EQ(record().seriesSequence(1, 1), 2);
    EXPECT_EQ(page().series(1, 1)->text(), "S3");
    EXPECT_TRUE(changehighlight::isMarked(page().series(1, 1)));
    EXPECT_EQ(steps(), before + 1);
}

TEST_F(GongsPageTest, HeraldRelaysComeFromTheRelayChooserAndLiveInTheCrossConnection) {
    clickWith(page().heraldRelay(0), chooseRelayRow(5));
    EXPECT_EQ(doc().project().outputs().record().relay(OutputMapRecord::HourHeraldRelay), 4);
    EXPECT_EQ(page().heraldRelay(0)->text(), "t300");
    EXPECT_TRUE(doc().project().striking().isChanged(StrikingField::HourHeraldRelay));
    EXPECT_TRUE(changehighlight::isMarked(page().heraldRelay(0)));
    // PK5 drives the hour herald now: the quarter herald's chooser refuses it.
    clickWith(page().heraldRelay(1), [](QDialog& dialog) {
        chooseRelayRow(5)(dialog);
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    EXPECT_EQ(app.prompts.texts(), QStringList{"t298"});
    clickWith(page().heraldRelay(0), chooseRelayRow(0));
    EXPECT_EQ(doc().project().outputs().record().relay(OutputMapRecord::HourHeraldRelay), 0xFF);
    EXPECT_EQ(steps(), 2);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(doc().project().outputs().record().relay(OutputMapRecord::HourHeraldRelay), 4);
    EXPECT_EQ(frame->view()->currentPage(), &page()) << "the undo brings the striking page to the front";
}

// What an installer does for a tower with quarter striking: hour striking with repetition, the quarters on, hour
// and quarter striking silent from 22:00 to 7:00, the full hour struck on the hour, the heralds on.
TEST_F(GongsPageTest, SwitchingStrikingOnWithANightSilence) {
    press(page().modeRadio(2));
    press(page().quarterStriking());
    press(page().fullHourRadio(false));
    press(page().heraldOn(0));
    for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter}) {
        const char* const typed[] = {"22", "00", "07", "00"};
        for (int which = 0; which < 4; ++which) {
            typeAndLeave(page().blockField(b, which), QString::fromLatin1(typed[which]));
        }
    }
    const StrikingRecord& r = record();
    EXPECT_EQ(r.hourMode(), 2);
    EXPECT_TRUE(r.quarterStrikingOn());
    EXPECT_TRUE(r.hourHeraldOn());
    EXPECT_FALSE(doc().project().general().fullHourStrikingAdvanced());
    for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter}) {
        EXPECT_EQ(r.blockStartHour(b), 22);
        EXPECT_EQ(r.blockStartMinute(b), 0);
        EXPECT_EQ(r.blockEndHour(b), 7);
        EXPECT_EQ(r.blockEndMinute(b), 0);
    }
    EXPECT_EQ(r.blockStartHour(NightBlock::Repeat), 21);
    EXPECT_EQ(steps(), 4 + 8);
    EXPECT_TRUE(changehighlight::isMarked(page().blockField(NightBlock::Hour, 0)));
    EXPECT_FALSE(changehighlight::isMarked(page().blockField(NightBlock::Repeat, 0)));
    EXPECT_EQ(page().fullHourRadio(false)->accessibleDescription(), "t2007");

    // Undo of the full-hour choice brings the striking page back and shows the radio as it was.
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(frame->undo());
    }
    EXPECT_EQ(frame->view()->currentPage(), &page());
    EXPECT_TRUE(page().fullHourRadio(true)->isChecked());
    EXPECT_EQ(page().blockField(NightBlock::Hour, 0)->text(), "21");
}

} // namespace
} // namespace tolvane
