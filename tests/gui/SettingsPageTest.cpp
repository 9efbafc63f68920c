// The settings page and the bell, hammer and clock editors as a user works them: the page of a new project, the
// tree items, the access codes, the location, the special-tolling option, and each editor opened from its name,
// worked through its fields and choosers and ended with OK (one undo step) or Cancel (nothing changes).

#include "DocumentEdit.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/settings/CDzwonEdyDlg.h"
#include "gui/settings/CMlotekEdy.h"
#include "gui/settings/CPhaseChart.h"
#include "gui/settings/CPropSettings.h"
#include "gui/settings/CZegarEdyDlg.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLamp.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace tolvane {
namespace {

using Step = testing::ScriptedDialogs::Step;

std::map<int, QString> settingsTexts() {
    std::map<int, QString> texts = testing::numberedTexts(QStringLiteral("t"));
    for (int id : {111, 300, 303}) {
        texts[id] = QStringLiteral("t%1 %d").arg(id);
    }
    return texts;
}

template <typename T> T* child(QWidget& parent, const char* name) {
    auto* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The dialog comes to the front as exec() would bring it, so its fields take the keyboard.
void activate(QDialog& dialog) {
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_TRUE(dialog.isActiveWindow());
}

// Selects the whole field and types `text`, as after a click into a numeric field.
void typeInto(QLineEdit* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Clicks a check box or radio button on its indicator (a box stretched wide takes no click beyond its text).
void tick(QAbstractButton* box) {
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void pressOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
}

void pressCancel(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
}

// A chooser of the editors: the user clicks row `row` and presses OK.
Step chooseRow(int row) {
    return [row](QDialog& dialog) {
        auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("chooserList"));
        ASSERT_NE(list, nullptr);
        QTableWidgetItem* item = list->item(row, 0);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        pressOk(dialog);
    };
}

class SettingsPageTest : public ::testing::Test {
protected:
    SettingsPageTest() : app(settingsTexts()) {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        choose(CPropSettings::TreeSettings);
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    // The user clicks the tree item with text `textId`.
    void choose(int textId) {
        QTreeWidgetItem* item = testing::treeItem(*frame->view(), textId);
        ASSERT_NE(item, nullptr) << textId;
        QTreeWidget* tree = frame->view()->tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    CPropSettings& page() const { return *qobject_cast<CPropSettings*>(frame->view()->page(PageId::Settings)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const ProjectData& project() const { return doc().project(); }
    int steps() const { return doc().undoStack()->count(); }

    std::array<SectionState, SectionIdCount> projectState() const {
        std::array<SectionState, SectionIdCount> all;
        for (int i = 0; i < SectionIdCount; ++i) {
            all[static_cast<std::size_t>(i)] = project().state(static_cast<SectionId>(i));
        }
        return all;
    }

    // Clicks `link` with the dialogs it opens answered by `steps`, in order.
    void open(CLinkStatic* link, std::initializer_list<Step> dialogSteps) {
        for (const Step& step : dialogSteps) {
            app.dialogs.then(step);
        }
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_TRUE(app.dialogs.done()) << "a scripted dialog was not opened";
    }

    testing::TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(SettingsPageTest, ANewProjectAsTheInstallerFindsIt) {
    CPropSettings& p = page();
    EXPECT_EQ(child<QLineEdit>(p, "location")->text(), "Test");
    EXPECT_EQ(child<QComboBox>(p, "keyF2")->currentIndex(), 0);
    EXPECT_EQ(child<QComboBox>(p, "keyF3")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>(p, "keyF2")->count(), 5);
    EXPECT_EQ(child<QComboBox>(p, "keyF2")->itemText(3), "t554");
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(p.findChild<QCheckBox*>(QStringLiteral("protects%1").arg(k))->isChecked()) << k;
    }
    EXPECT_FALSE(child<QCheckBox>(p, "funeralOption1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(p, "specialTolling")->isChecked());
    EXPECT_EQ(frame->view()->specialTollingItem(), nullptr);
    EXPECT_EQ(child<QLineEdit>(p, "userCode")->text(), "1111");
    EXPECT_EQ(child<QLineEdit>(p, "serviceCode")->text(), "7777");
    EXPECT_FALSE(child<QCheckBox>(p, "amplifierSwitch")->isChecked());
    EXPECT_EQ(child<CFireEdit>(p, "leadTime")->text(), "10");
    EXPECT_EQ(child<CFireEdit>(p, "switchOffDelay")->text(), "10");
    EXPECT_EQ(p.amplifierRelayLink()->text(), "t109");
    EXPECT_EQ(p.amplifierRelayLink()->accessibleName(), "t344: t109");
    EXPECT_TRUE(child<QRadioButton>(p, "startMode0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(p, "stopMode0")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(p, "clockLock")->isChecked());
    for (int b = 0; b < 5; ++b) {
        EXPECT_EQ(p.bellLink(b)->text(), QStringLiteral("t%1").arg(352 + b));
        EXPECT_EQ(p.hammerLink(b)->text(), QStringLiteral("t534 %1").arg(b + 1));
        EXPECT_FALSE(changehighlight::isMarked(p.bellLink(b)));
    }
    EXPECT_EQ(p.clockLink(1)->text(), "t360");
    EXPECT_EQ(p.clockLink(0)->accessibleName(), "t359: t116") << "a new clock is switched off";
    // Every lamp says its state in words too.
    const auto lamps = p.findChildren<CLamp*>();
    ASSERT_EQ(lamps.size(), 12);
    EXPECT_FALSE(lamps.front()->accessibleName().isEmpty());
    EXPECT_EQ(steps(), 0) << "looking never changes the project";
}

TEST_F(SettingsPageTest, TheSpecialOptionAddsAndRemovesItsTreeItemAtOnce) {
    auto* special = child<QCheckBox>(page(), "specialTolling");
    tick(special);
    EXPECT_TRUE(project().general().specialTollingOn());
    ASSERT_NE(frame->view()->specialTollingItem(), nullptr);
    EXPECT_EQ(frame->view()->currentPage(), &page()) << "the page stays in front";
    tick(special);
    EXPECT_EQ(frame->view()->specialTollingItem(), nullptr);
    EXPECT_EQ(steps(), 2);
    ASSERT_TRUE(frame->undo());
    EXPECT_NE(frame->view()->specialTollingItem(), nullptr);
    EXPECT_TRUE(special->isChecked());
}

TEST_F(SettingsPageTest, EachTreeEntryBringsItsGroupIntoView) {
    frame->resize(760, 380);
    QApplication::processEvents();
    const struct {
        int tree;
        const char* group;
    } cases[] = {
        {CPropSettings::TreeClocks, "clocksGroup"},
        {CPropSettings::TreeAmplifier, "amplifierGroup"},
        {CPropSettings::TreeCodesAndKeys, "codesGroup"},
        {CPropSettings::TreeBellsAndHammers, "bellsGroup"},
    };
    QScrollArea* scroll = page().scrollArea();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        choose(c.tree);
        ASSERT_EQ(frame->view()->currentPage(), &page());
        auto* group = child<QGroupBox>(page(), c.group);
        const QRect shown(group->mapTo(scroll->viewport(), QPoint(0, 0)), QSize(group->width(), 1));
        EXPECT_TRUE(scroll->viewport()->rect().contains(shown.topLeft()))
            << "group top at " << shown.top() << " of " << scroll->viewport()->height();
    }
    choose(CPropSettings::TreeSettings);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 0);
    EXPECT_EQ(steps(), 0);
}

TEST_F(SettingsPageTest, AHalfTypedCodeIsNeverStoredAndLeavingShowsTheStoredCodeAgain) {
    auto* code = child<QLineEdit>(page(), "userCode");
    const std::uint32_t before = project().general().userCodeWord();
    typeInto(code, QStringLiteral("12"));
    EXPECT_EQ(project().general().userCodeWord(), before);
    EXPECT_EQ(code->palette().color(QPalette::Base), QColor(CPropSettings::WarningColor));
    EXPECT_EQ(code->accessibleDescription(), "t2201");
    // Leaving the field shows the stored code again.
    QTest::keyClick(code, Qt::Key_Tab);
    EXPECT_FALSE(code->hasFocus());
    EXPECT_EQ(code->text(), "1111");
    EXPECT_NE(code->palette().color(QPalette::Base), QColor(CPropSettings::WarningColor));
    // A cleared field stores nothing either.
    typeInto(code, QString());
    QTest::keyClick(code, Qt::Key_Backspace);
    EXPECT_EQ(project().general().userCodeWord(), before);
    EXPECT_EQ(steps(), 0);

    typeInto(code, QStringLiteral("4321"));
    // BCD 0x4321 with the check half 4321 + 123 = 4444 (0x115C).
    EXPECT_EQ(project().general().userCodeWord(), 0x115C4321U);
    EXPECT_EQ(project().general().userCode(), 4321);
    EXPECT_TRUE(project().general().isMarked(GeneralSettings::Mark::UserCode));
    EXPECT_TRUE(changehighlight::isMarked(code));
    EXPECT_EQ(code->accessibleDescription(), "t2007");
    EXPECT_EQ(steps(), 1);
    QTest::keyClick(code, Qt::Key_Tab);
    EXPECT_EQ(code->text(), "4321");
    // The report's note of the factory code is gone for the user code; the service code keeps it.
    EXPECT_EQ(project().validate(), (IssueList{{100, 1, 18, 2}}));
}

TEST_F(SettingsPageTest, TypingTheLocationIsOneStepAndMarksOnlyTheLocation) {
    auto* location = child<QLineEdit>(page(), "location");
    typeInto(location, QStringLiteral("Wieza 3"));
    EXPECT_EQ(project().general().locationName(), "Wieza 3");
    EXPECT_EQ(steps(), 1) << "typing in one field is one step";
    EXPECT_EQ(project().general().changeMask(), std::uint64_t{1} << GeneralSettings::Mark::LocationName);
    EXPECT_TRUE(changehighlight::isMarked(location));
    EXPECT_FALSE(changehighlight::isMarked(child<QComboBox>(page(), "keyF2")));
    typeInto(location, QString(40, QLatin1Char('x')));
    EXPECT_EQ(project().general().locationName(), std::string(32, 'x')) << "a 33rd character cannot be typed";
    EXPECT_EQ(location->text().size(), 32);
}

TEST_F(SettingsPageTest, AmplifierLeadTimeRelayAndOptionsEachAnUndoStep) {
    tick(child<QCheckBox>(page(), "amplifierSwitch"));
    typeInto(child<CFireEdit>(page(), "leadTime"), QStringLiteral("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    open(page().amplifierRelayLink(), {chooseRow(4)}); // PK4
    tick(child<QRadioButton>(page(), "stopMode1"));
    child<QComboBox>(page(), "keyF3")->setFocus();
    QTest::keyClick(child<QComboBox>(page(), "keyF3"), Qt::Key_Down);
    tick(child<QCheckBox>(page(), "clockLock"));

    const ProjectData& p = project();
    EXPECT_TRUE(p.amplifier().switchingOn());
    EXPECT_EQ(p.amplifier().leadTimeSeconds(), 5);
    EXPECT_EQ(p.outputs().amplifierRelay(), 3);
    EXPECT_EQ(p.general().stopMode(), 1);
    EXPECT_EQ(p.general().keyF3Function(), 2);
    EXPECT_EQ(p.clocks().record(0).clockFlags(), 0xF7);
    EXPECT_TRUE(p.general().isMarked(GeneralSettings::Mark::ClockLock));
    EXPECT_EQ(page().amplifierRelayLink()->text(), "t300 4");
    EXPECT_TRUE(changehighlight::isMarked(page().amplifierRelayLink()));
    EXPECT_EQ(steps(), 6);
    for (int undo = 0; undo < 6; ++undo) {
        ASSERT_TRUE(frame->undo());
    }
    EXPECT_FALSE(p.amplifier().switchingOn());
    EXPECT_EQ(p.amplifier().leadTimeSeconds(), 10);
    EXPECT_EQ(p.outputs().amplifierRelay(), 0xFF);
    EXPECT_EQ(child<CFireEdit>(page(), "leadTime")->text(), "10");
    EXPECT_EQ(p.clocks().record(0).clockFlags(), 0xFF);
}

// The bell editor of bell 1: run-up 5 s, feedback on, relay PK2, then OK or Cancel.
Step editBell1(bool ok) {
    return [ok](QDialog& dialog) {
        activate(dialog);
        EXPECT_EQ(dialog.windowTitle(), "t269 1");
        auto* runUp = child<CFireEdit>(dialog, "runUp");
        EXPECT_EQ(runUp->text(), "01");
        EXPECT_EQ(child<CFireEdit>(dialog, "ringingMinutes")->text(), "03");
        EXPECT_EQ(child<CFireEdit>(dialog, "swingSeconds")->text(), "05");
        EXPECT_TRUE(child<QCheckBox>(dialog, "bellOn")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, "feedback")->isChecked());
        typeInto(runUp, QStringLiteral("5"));
        QTest::keyClick(runUp, Qt::Key_Tab);

        EXPECT_EQ(runUp->text(), "05");
        // The chart follows the field: ringing still ends at 180 s, stabilisation starts at 5 s.
        EXPECT_EQ(child<CPhaseChart>(dialog, "phaseChart")->phases().start(BellPhases::Settle), 5);
        tick(child<QCheckBox>(dialog, "feedback"));
        QTest::mouseClick(child<CLinkStatic>(dialog, "relay"), Qt::LeftButton);
        EXPECT_EQ(child<CLinkStatic>(dialog, "relay")->text(), "t300 2");
        EXPECT_TRUE(changehighlight::isMarked(runUp));
        ok ? pressOk(dialog) : pressCancel(dialog);
    };
}

TEST_F(SettingsPageTest, TheBellEditorsOkIsOneStepWithItsRecordRelayAndMarks) {
    open(page().bellLink(0), {editBell1(true), chooseRow(2)});
    const ProjectData& p = project();
    EXPECT_EQ(p.bells().record(0).runUpSeconds(), 5);
    EXPECT_FALSE(p.bells().record(0).feedbackOff());
    EXPECT_EQ(p.outputs().bellRelay(0), 1);
    EXPECT_EQ(p.bells().changeMark(0), BellTable::MarkRunUp | BellTable::MarkFeedback | BellTable::MarkRelay);
    EXPECT_TRUE(p.general().isMarked(GeneralSettings::Mark::Bell1));
    EXPECT_TRUE(changehighlight::isMarked(page().bellLink(0)));
    EXPECT_FALSE(changehighlight::isMarked(page().bellLink(1)));
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(frame->findChild<QAction*>(QStringLiteral("actionUndo"))->text(), "t2003 t352");
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(p.bells().record(0).runUpSeconds(), 1);
    EXPECT_EQ(p.outputs().bellRelay(0), 0xFF);
    EXPECT_EQ(frame->view()->currentPage(), &page()) << "the undo brings the settings page to the front";
}

TEST_F(SettingsPageTest, CancelInAnyEditorLeavesTheProjectByteIdentical) {
    const auto before = projectState();
    open(page().bellLink(0), {editBell1(false), chooseRow(2)});
    EXPECT_EQ(projectState(), before);

    open(page().hammerLink(2), {[](QDialog& dialog) {
                                    activate(dialog);
                                    QTest::mouseClick(child<CLinkStatic>(dialog, "bell"), Qt::LeftButton);
                                    QTest::mouseClick(child<CLinkStatic>(dialog, "relay"), Qt::LeftButton);
                                    typeInto(child<CFireEdit>(dialog, "pulse"), QStringLiteral("1.5"));
                                    pressCancel(dialog);
                                },
                                chooseRow(3), chooseRow(5)});
    EXPECT_EQ(projectState(), before);

    open(page().clockLink(1), {[](QDialog& dialog) {
                                   activate(dialog);
                                   tick(child<QCheckBox>(dialog, "clockOn"));
                                   QTest::mouseClick(child<CLinkStatic>(dialog, "relayA"), Qt::LeftButton);
                                   QTest::mouseClick(child<CLinkStatic>(dialog, "contactInput"), Qt::LeftButton);
                                   pressCancel(dialog);
                               },
                               chooseRow(7), chooseRow(1)});
    EXPECT_EQ(projectState(), before);
    EXPECT_EQ(steps(), 0);
}

TEST_F(SettingsPageTest, TheTwoFeedbackOptionsExcludeEachOther) {
    open(page().bellLink(3), {[](QDialog& dialog) {
             activate(dialog);
             auto* first = child<QCheckBox>(dialog, "feedback");
             auto* second = child<QCheckBox>(dialog, "secondFeedback");
             tick(first);
             EXPECT_TRUE(first->isChecked());
             tick(second);
             EXPECT_TRUE(second->isChecked());
             EXPECT_FALSE(first->isChecked()) << "ticking the second option clears the first";
             tick(first);
             EXPECT_FALSE(second->isChecked());
             pressOk(dialog);
         }});
    const BellRecord& bell = project().bells().record(3);
    EXPECT_FALSE(bell.feedbackOff());
    EXPECT_TRUE(bell.secondFeedbackOff());
    EXPECT_EQ(project().bells().changeMark(3), BellTable::MarkFeedback | BellTable::MarkSecondFeedback);
}

TEST_F(SettingsPageTest, AHammerCannotTakeABellAnotherHammerStrikes) {
    testing::userEdit(doc(), [](ProjectData& p) { p.hammers().setLinkedBell(0, 1); }); // hammer 1 on bell 2
    const int before = steps();
    open(page().hammerLink(2), {[](QDialog& dialog) {
                                    activate(dialog);
                                    EXPECT_EQ(dialog.windowTitle(), "t548 3");
                                    QTest::mouseClick(child<CLinkStatic>(dialog, "bell"), Qt::LeftButton);
                                    EXPECT_EQ(child<CLinkStatic>(dialog, "bell")->text(), "t110 3");
                                    typeInto(child<CFireEdit>(dialog, "pulse"), QStringLiteral(".05"));
                                    pressOk(dialog);
                                },
                                [](QDialog& chooser) {
                                    EXPECT_EQ(chooser.windowTitle(), "t620");
                                    auto* list = chooser.findChild<QTableWidget*>(QStringLiteral("chooserList"));
                                    ASSERT_NE(list, nullptr);
                                    EXPECT_EQ(list->item(2, 1)->text(), "t534 1") << "bell 2 is struck by hammer 1";
                                    chooseRow(2)(chooser);
                                    EXPECT_EQ(chooser.result(), -1) << "refused: the chooser stays open";
                                    chooseRow(3)(chooser);
                                }});
    EXPECT_EQ(app.prompts.texts(), QStringList{"t115"});
    EXPECT_EQ(project().hammers().record(2).linkedBell(), 2);
    EXPECT_EQ(project().hammers().record(2).pulseTenths(), 0) << ".05 s is stored truncated";
    EXPECT_TRUE(project().general().isMarked(GeneralSettings::Mark::Hammer1 + 2));
    EXPECT_EQ(steps(), before + 1);
    const IssueList issues = project().validate();
    EXPECT_NE(std::find(issues.begin(), issues.end(), ValidationIssue{51, 2, 16, 0}), issues.end());
}

TEST_F(SettingsPageTest, TheClockTypeListShowsEachTypesControlsAndPulseRange) {
    open(page().clockLink(0), {[](QDialog& dialog) {
             activate(dialog);
             auto* type = child<QComboBox>(dialog, "type");
             auto* pulse = child<CFireEdit>(dialog, "pulse");
             ASSERT_EQ(type->count(), 5);
             EXPECT_EQ(type->itemText(2), "t456");
             const struct {
                 int position;
                 bool relaysAB, pulse;
                 double pulseMax;
                 bool gap, single;
                 QString firstMode, contact;
             } cases[] = {
                 {1, true, true, 30, false, false, "t816", "t291"}, {2, true, true, 50, true, false, "t816", "t291"},
                 {3, false, false, 0, false, true, "", "t291"},     {4, true, true, 30, false, false, "t818", "t814"},
                 {0, true, true, 60, false, false, "t816", "t291"},
             };
             for (const auto& c : cases) {
                 SCOPED_TRACE(c.position);
                 type->setFocus();
                 type->setCurrentIndex(c.position == 0 ? 1 : c.position - 1);
                 QTest::keyClick(type, c.position == 0 ? Qt::Key_Up : Qt::Key_Down);
                 ASSERT_EQ(type->currentIndex(), c.position);
                 EXPECT_EQ(child<CLinkStatic>(dialog, "relayA")->isVisible(), c.relaysAB);
                 EXPECT_EQ(child<CLinkStatic>(dialog, "relayB")->isVisible(), c.relaysAB);
                 EXPECT_EQ(pulse->isVisible(), c.pulse);
                 if (c.pulse) {
                     EXPECT_EQ(pulse->upperBound(), c.pulseMax);
                     EXPECT_EQ(child<QRadioButton>(dialog, "firstMode")->text(), c.firstMode);
                 }
                 EXPECT_EQ(child<CFireEdit>(dialog, "gap")->isVisible(), c.gap);
                 EXPECT_EQ(child<CLinkStatic>(dialog, "singleRelay")->isVisible(), c.single);
                 EXPECT_EQ(child<CLinkStatic>(dialog, "minuteInput")->isVisible(), c.single);
                 EXPECT_EQ(child<CFireEdit>(dialog, "longPulse")->isVisible(), c.single);
                 EXPECT_EQ(child<QRadioButton>(dialog, "firstMode")->isVisible(), !c.single);
                 EXPECT_EQ(child<QCheckBox>(dialog, "contact")->text(), c.contact);
             }
             // A shift of -1 h 30 min: the sign button, then the hours and minutes.
             QTest::mouseClick(child<QPushButton>(dialog, "sign"), Qt::LeftButton);
             typeInto(child<CFireEdit>(dialog, "offsetHours"), QStringLiteral("1"));
             typeInto(child<CFireEdit>(dialog, "offsetMinutes"), QStringLiteral("30"));
             pressOk(dialog);
         }});
    const ClockRecord& clock = project().clocks().record(0);
    EXPECT_EQ(clock.clockType(), 1);
    EXPECT_EQ(clock.offsetMinutes(), -90);
    EXPECT_TRUE(project().general().isMarked(GeneralSettings::Mark::Clock1));
    EXPECT_EQ(steps(), 1);
}

TEST_F(SettingsPageTest, ANewProjectDoesNotBlinkAWarningDoes) {
    CTarvelinView& view = *frame->view();
    const auto ticks = [&view] {
        std::vector<int> icons;
        for (int i = 0; i < 4; ++i) {
            view.blinkTick();
            icons.push_back(view.reportIconIndex());
        }
        return icons;
    };
    ASSERT_EQ(project().validate().size(), 2u) << "the notes of the two factory codes";
    EXPECT_EQ(ticks(), (std::vector<int>{12, 12, 12, 12}));
    // An empty location is one more note: still quiet.
    typeInto(child<QLineEdit>(page(), "location"), QString());
    QTest::keyClick(child<QLineEdit>(page(), "location"), Qt::Key_Backspace);
    ASSERT_EQ(project().general().locationName(), "");
    EXPECT_EQ(ticks(), (std::vector<int>{12, 12, 12, 12}));
    // The amplifier switched without a relay is a warning: the item blinks.
    tick(child<QCheckBox>(page(), "amplifierSwitch"));
    std::vector<int> blinking = ticks();
    std::sort(blinking.begin(), blinking.end());
    EXPECT_EQ(blinking, (std::vector<int>{12, 12, 18, 18}));
}

TEST_F(SettingsPageTest, EveryClickableNameOpensWithTheKeyboard) {
    CLinkStatic* bell = page().bellLink(2);
    bell->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(bell->hasFocus());
    app.dialogs.then([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "t269 3");
        pressCancel(dialog);
    });
    QTest::keyClick(bell, Qt::Key_Return);
    app.dialogs.then([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "t284 2");
        pressCancel(dialog);
    });
    QTest::keyClick(page().clockLink(1), Qt::Key_Space);
    EXPECT_EQ(app.dialogs.runs(), 2);
    // Tab reaches the names in order: from bell 5 to hammer 1.
    page().bellLink(4)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().bellLink(4), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page().hammerLink(0));
}

TEST_F(SettingsPageTest, ALanguageChangeRetextsThePage) {
    std::map<int, QString> other = testing::numberedTexts(QStringLiteral("o"));
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(app.dir.filePath(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    EXPECT_EQ(child<QGroupBox>(page(), "amplifierGroup")->title(), "t341");
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(child<QGroupBox>(page(), "amplifierGroup")->title(), "o341");
    EXPECT_EQ(child<QCheckBox>(page(), "specialTolling")->text(), "o879");
    EXPECT_EQ(child<QComboBox>(page(), "keyF2")->itemText(0), "o574");
    EXPECT_EQ(child<QComboBox>(page(), "keyF3")->currentIndex(), 1) << "the lists keep their choice";
    EXPECT_EQ(page().hammerLink(1)->text(), "o534 2");
    EXPECT_EQ(page().amplifierRelayLink()->text(), "o109");
    EXPECT_EQ(steps(), 0);
}

} // namespace
} // namespace tolvane
