// The cross-connection page as a user works it: clicking (or Tab and Enter on) a relay's or an input's value,
// choosing in the chooser that opens, undoing, copying the wiring table; and the five choosers on their own.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/ChangeHighlight.h"
#include "gui/wiring/CPropKrosownica.h"
#include "gui/wiring/CSelIn.h"
#include "gui/wiring/CSelOut.h"
#include "gui/wiring/CSelPowr.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "gui/wiring/CSelectWeDlg.h"
#include "gui/wiring/CWiringModel.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace tolvane {
namespace {

using Step = testing::ScriptedDialogs::Step;

constexpr int PK(int n) {
    return n - 1;
}
constexpr int WE(int n) {
    return 9 + n;
}
constexpr int POWR(int n) {
    return 11 + n;
}

// Every text named by its number; the texts that take a number show it ("t110 2" is bell 2).
std::map<int, QString> wiringTexts(const QString& prefix) {
    std::map<int, QString> texts = testing::numberedTexts(prefix);
    for (int id : {110, 111, 300, 303, 534, 535, 539, 540, 543, 544, 545}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d");
    }
    return texts;
}

// What a chooser showed when it opened.
struct Seen {
    QString title;
    int selected = -2;
    QStringList labels;
    QStringList second;
    bool listHasFocus = false;
};

QTableWidget* chooserList(QDialog& dialog) {
    return dialog.findChild<QTableWidget*>(QStringLiteral("chooserList"));
}

void look(QDialog& dialog, Seen* seen) {
    QTableWidget* list = chooserList(dialog);
    ASSERT_NE(list, nullptr);
    if (!seen) {
        return;
    }
    seen->title = dialog.windowTitle();
    const auto ranges = list->selectedRanges();
    seen->selected = ranges.isEmpty() ? -1 : ranges.front().topRow();
    for (int r = 0; r < list->rowCount(); ++r) {
        seen->labels << list->item(r, 0)->text();
        seen->second << list->item(r, 1)->text();
    }
    // The list is the widget that has the focus when the chooser's window is active.
    seen->listHasFocus = dialog.focusWidget() == list;
}

void clickRow(QTableWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTableWidgetItem* item = list->item(row, 0);
    ASSERT_NE(item, nullptr) << "row " << row;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
}

QPushButton* button(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

// A user clicks row `row` and presses OK.
Step choose(int row, Seen* seen = nullptr) {
    return [row, seen](QDialog& dialog) {
        look(dialog, seen);
        clickRow(chooserList(dialog), row);
        QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    };
}

// A user clicks row `row` and then changes their mind: Cancel.
Step chooseThenCancel(int row) {
    return [row](QDialog& dialog) {
        clickRow(chooserList(dialog), row);
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    };
}

class WiringPageTest : public ::testing::Test {
protected:
    WiringPageTest() : app(wiringTexts(QStringLiteral("t"))) {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        showWiringPage();
    }

    // The user goes to the page through its tree item (from another page, so it reads the project again).
    void showWiringPage() {
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 157));
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 600));
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    CPropKrosownica& page() const { return *qobject_cast<CPropKrosownica*>(frame->view()->page(PageId::Krosownica)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const OutputMap& outputs() const { return doc().project().outputs(); }

    // Clicks the value of terminal `position` with the chooser answered by `step`.
    void click(int position, Step step) {
        app.dialogs.then(std::move(step));
        QTest::mouseClick(page().value(position), Qt::LeftButton);
        ASSERT_TRUE(app.dialogs.done()) << "the value opened no chooser";
    }

    std::array<SectionState, SectionIdCount> projectState() const {
        std::array<SectionState, SectionIdCount> all;
        for (int i = 0; i < SectionIdCount; ++i) {
            all[static_cast<std::size_t>(i)] = doc().project().state(static_cast<SectionId>(i));
        }
        return all;
    }

    QString valueText(int position) const { return page().value(position)->text(); }

    testing::TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(WiringPageTest, ANewProjectShowsNothingConnected) {
    EXPECT_EQ(page().findChildren<QGroupBox*>().size(), 2);
    for (int position = 0; position < Terminal::Count; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(valueText(position), "t109");
        EXPECT_FALSE(changehighlight::isMarked(page().value(position)));
        EXPECT_TRUE(page().value(position)->isEnabled());
    }
    EXPECT_EQ(page().value(PK(10))->accessibleName(), "PK10: t109");
    EXPECT_EQ(page().value(POWR(5))->accessibleName(), "POWR5: t109");
    EXPECT_EQ(page().wiringModel()->rowCount(), Terminal::Count);
}

TEST_F(WiringPageTest, PK3GivenToBell2AndThenToTheAmplifierLeavesBell2WithoutARelay) {
    Seen first;
    click(PK(3), choose(2, &first));
    EXPECT_EQ(first.title, "t622");
    ASSERT_EQ(first.labels.size(), 23);
    EXPECT_EQ(first.labels[2], "t110 2");
    EXPECT_EQ(first.labels[11], "t168");
    EXPECT_EQ(first.selected, 0) << "a free relay preselects none";
    EXPECT_EQ(outputs().bellRelay(1), 2);
    EXPECT_EQ(valueText(PK(3)), "t110 2");

    Seen second;
    click(PK(3), choose(11, &second));
    EXPECT_EQ(second.selected, 2) << "the relay's function is preselected";
    EXPECT_EQ(second.second[2], "PK3") << "the function chooser shows the relay that drives bell 2";
    EXPECT_EQ(outputs().bellRelay(1), 0xFF);
    EXPECT_EQ(outputs().amplifierRelay(), 2);
    EXPECT_EQ(outputs().changeMask(), 1u << 2);
    EXPECT_EQ(valueText(PK(3)), "t304");
    EXPECT_TRUE(changehighlight::isMarked(page().value(PK(3))));
    EXPECT_EQ(page().value(PK(3))->faceColor(), QColor(changehighlight::FieldBackground));
    EXPECT_EQ(page().value(PK(3))->accessibleDescription(), "t2007");
    EXPECT_FALSE(changehighlight::isMarked(page().value(PK(2))));

    // Two choices, two steps, each undone on its own.
    ASSERT_EQ(doc().undoStack()->count(), 2);
    EXPECT_EQ(frame->findChild<QAction*>(QStringLiteral("actionUndo"))->text(), "t2003 t2150 PK3");
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(outputs().bellRelay(1), 2);
    EXPECT_EQ(outputs().amplifierRelay(), 0xFF);
    EXPECT_EQ(frame->view()->currentPage(), &page()) << "the undo brings the page to the front";
    EXPECT_EQ(valueText(PK(3)), "t110 2");
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(outputs().bellRelay(1), 0xFF);
    EXPECT_EQ(valueText(PK(3)), "t109");
    ASSERT_TRUE(frame->redo());
    ASSERT_TRUE(frame->redo());
    EXPECT_EQ(outputs().amplifierRelay(), 2);
    EXPECT_EQ(valueText(PK(3)), "t304");
}

TEST_F(WiringPageTest, AClocksMinuteInputMovesFromWE1ToWE2) {
    click(WE(1), choose(2));
    EXPECT_EQ(outputs().clockInput(0, OutputMapRecord::RoleClockMinute), 0);
    EXPECT_EQ(valueText(WE(1)), "t540 1");
    Seen seen;
    click(WE(2), choose(2, &seen));
    EXPECT_EQ(seen.second[2], "WE1") << "the role chooser shows the input that holds the role";
    EXPECT_EQ(outputs().record().inputRole(0), OutputMapRecord::NoRole);
    EXPECT_EQ(outputs().record().inputRole(1), OutputMapRecord::RoleClockMinute);
    EXPECT_EQ(outputs().clockInput(0, OutputMapRecord::RoleClockMinute), 1);
    EXPECT_EQ(valueText(WE(1)), "t109");
    EXPECT_EQ(valueText(WE(2)), "t540 1");
    EXPECT_EQ(outputs().changeMask(), (1u << 10) | (1u << 11));

    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(outputs().clockInput(0, OutputMapRecord::RoleClockMinute), 0);
    EXPECT_EQ(outputs().record().inputRole(1), OutputMapRecord::NoRole);
}

TEST_F(WiringPageTest, TheInputChooserOffersASequenceOnlyWhileItIsInUse) {
    // Sequences 1 (the factory sequence) and 3 in use, 2 deleted.
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        while (p.sequences().usedCount() < 3) {
            p.sequences().createSequence();
        }
        p.sequences().deleteSequence(1);
    }));
    showWiringPage();
    Seen seen;
    click(WE(1), choose(9, &seen));
    ASSERT_EQ(seen.labels.size(), 10);
    EXPECT_EQ(seen.labels[8], "t535 1");
    EXPECT_EQ(seen.labels[9], "t535 3");
    EXPECT_EQ(outputs().record().inputRole(0), OutputMapRecord::RoleSequence);
    EXPECT_EQ(outputs().record().inputArgument(0), 2);
    EXPECT_EQ(valueText(WE(1)), "t535 3");

    Seen again;
    click(WE(1), [&again](QDialog& dialog) {
        look(dialog, &again);
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(again.selected, 9) << "reopening shows the same row";
    EXPECT_EQ(again.second[9], "WE1");

    // Sequence 3 deleted: the chooser no longer offers it and preselects nothing.
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) { p.sequences().deleteSequence(2); }));
    showWiringPage();
    Seen gone;
    click(POWR(2), [&gone](QDialog& dialog) {
        look(dialog, &gone);
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(gone.labels, QStringList({"t109", "t226", "t536", "t537", "t538", "t535 1"}));
    click(WE(1), [&gone](QDialog& dialog) {
        look(dialog, &gone);
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(gone.selected, -1);
    EXPECT_FALSE(gone.labels.contains("t535 3"));
}

TEST_F(WiringPageTest, OkWithNothingChosenSaysSoAndKeepsTheChooserOpen) {
    bool stillOpen = false;
    bool ownsTheMessage = false;
    click(PK(1), [&](QDialog& dialog) {
        QTableWidget* list = chooserList(dialog);
        clickRow(list, 0, Qt::ControlModifier); // the preselected row, deselected
        ASSERT_TRUE(list->selectedRanges().isEmpty());
        QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
        stillOpen = dialog.isVisible();
        ownsTheMessage = !app.prompts.boxes().empty() && app.prompts.boxes().back().owner == &dialog;
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(ownsTheMessage) << "the chooser owns the message";
    EXPECT_EQ(app.prompts.texts(), QStringList{"t114"});
    EXPECT_EQ(doc().undoStack()->count(), 0);
}

class WiringCancel : public WiringPageTest, public ::testing::WithParamInterface<int> {};

// With some wiring in place, choosing another row and pressing Cancel leaves every byte and mark of the project
// as it was and makes no step.
TEST_P(WiringCancel, LeavesTheProjectByteIdentical) {
    click(PK(2), choose(3));
    click(WE(2), choose(5));
    click(POWR(1), choose(1));
    const auto before = projectState();
    const int steps = doc().undoStack()->count();
    click(GetParam(), chooseThenCancel(4));
    EXPECT_EQ(projectState(), before);
    EXPECT_EQ(doc().undoStack()->count(), steps);
}

INSTANTIATE_TEST_SUITE_P(Wiring, WiringCancel, ::testing::Values(PK(2), PK(9), WE(1), WE(2), POWR(1), POWR(5)),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return QString::fromStdString(Terminal::at(param.param).name()).toStdString();
                         });

TEST_F(WiringPageTest, TheWiringTableOfASmallTowerIsCopiedAsText) {
    click(PK(1), choose(1));   // bell 1
    click(PK(2), choose(2));   // bell 2
    click(PK(3), choose(11));  // amplifier
    click(PK(4), choose(6));   // hammer 1
    click(WE(1), choose(8));   // the factory sequence 1
    click(WE(2), choose(2));   // minute input of clock 1
    click(POWR(1), choose(1)); // bell return

    const QString expected = "t2158 Test\n"
                             "\n"
                             "t2152  t2153  t2154\n"
                             "PK1    t2160  t110 1\n"
                             "PK2    t2160  t110 2\n"
                             "PK3    t304\n"
                             "PK4    t2161  t534 1\n"
                             "PK5    t2156\n"
                             "PK6    t2156\n"
                             "PK7    t2156\n"
                             "PK8    t2156\n"
                             "PK9    t2156\n"
                             "PK10   t2156\n"
                             "WE1    t2165  t535 1\n"
                             "WE2    t2167  t111 1\n"
                             "POWR1  t2168  t110 1\n"
                             "POWR2  t2156\n"
                             "POWR3  t2156\n"
                             "POWR4  t2156\n"
                             "POWR5  t2156\n";
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(page().copyButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    // Ctrl+C in the table copies the whole table too, not the one cell.
    QGuiApplication::clipboard()->clear();
    page().wiringTable()->setFocus();
    QTest::keyClick(page().wiringTable(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    // The table on the page shows the same lines; the terminals just wired show as changed.
    const QAbstractItemModel* model = page().wiringTable()->model();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "t2153");
    EXPECT_EQ(model->index(3, 1).data().toString(), "t2161");
    EXPECT_EQ(model->index(3, 2).data().toString(), "t534 1");
    EXPECT_EQ(model->index(3, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(CWiringModel::ChangedColor));
    EXPECT_EQ(model->index(3, 0).data(Qt::AccessibleDescriptionRole).toString(), "t2007");
    EXPECT_FALSE(model->index(5, 0).data(Qt::BackgroundRole).isValid());
}

// A tower wired on this page alone, every step undone again: five bells, two hammers, the amplifier, clock 1 on
// two relays (all ten relays), the factory sequence started from WE1.
TEST_F(WiringPageTest, ATowerWiredHereUndoesStepByStepBackToTheNewProject) {
    const OutputMapRecord fresh = outputs().record();
    const int functionRows[] = {1, 2, 3, 4, 5, 6, 7, 11, 14, 15};
    std::vector<OutputMapRecord> after;
    for (int relay = 0; relay < 10; ++relay) {
        click(PK(relay + 1), choose(functionRows[relay]));
        after.push_back(outputs().record());
    }
    click(WE(1), choose(8));
    after.push_back(outputs().record());
    EXPECT_EQ(outputs().clockRelayA(0), 8);
    EXPECT_EQ(outputs().clockRelayB(0), 9);
    EXPECT_EQ(valueText(PK(10)), "t307");
    EXPECT_EQ(valueText(WE(1)), "t535 1");
    ASSERT_EQ(doc().undoStack()->count(), 11);

    for (int step = 10; step >= 0; --step) {
        ASSERT_EQ(outputs().record(), after[static_cast<std::size_t>(step)]) << "before undoing step " << step;
        ASSERT_TRUE(frame->undo());
    }
    EXPECT_EQ(outputs().record(), fresh);
    for (int position = 0; position < Terminal::Count; ++position) {
        EXPECT_EQ(valueText(position), "t109") << position;
    }
}

TEST_F(WiringPageTest, ARelayWithTwoFunctionsIsShownInTheWarningColourWithATipNamingThem) {
    // A file written elsewhere drives bell 2 and the amplifier from PK3.
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        OutputMapRecord record = p.outputs().record();
        record.setU8(1, 2);
        record.setU8(5, 2);
        p.outputs().restore(record);
    }));
    showWiringPage();
    CLinkStatic* pk3 = page().value(PK(3));
    EXPECT_EQ(pk3->text(), "t110 2");
    EXPECT_EQ(pk3->faceColor(), QColor(CPropKrosownica::WarningColor));
    EXPECT_EQ(pk3->tipText(), "t2157 PK3 t110 2, t304");
    EXPECT_EQ(pk3->accessibleDescription(), "t2157 PK3 t110 2, t304");
    EXPECT_NE(page().value(PK(2))->faceColor(), QColor(CPropKrosownica::WarningColor));
    EXPECT_EQ(page().value(PK(2))->tipText(), "t109");

    const QAbstractItemModel* model = page().wiringTable()->model();
    ASSERT_EQ(model->rowCount(), Terminal::Count + 1);
    for (int row : {2, 3}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(model->index(row, 0).data().toString(), "PK3");
        EXPECT_EQ(model->index(row, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
                  QColor(CWiringModel::WarningColor));
        EXPECT_EQ(model->index(row, 1).data(Qt::ToolTipRole).toString(), "t2157 PK3 t110 2, t304");
    }
    EXPECT_TRUE(page().wiringText().contains("PK3 (!)  t304\n")) << page().wiringText().toStdString();

    // Giving PK3 one function on the page ends the sharing.
    click(PK(3), choose(6));
    EXPECT_EQ(outputs().hammerRelay(0), 2);
    EXPECT_EQ(outputs().bellRelay(1), 0xFF);
    EXPECT_EQ(outputs().amplifierRelay(), 0xFF);
    EXPECT_EQ(pk3->faceColor(), QColor(changehighlight::FieldBackground));
    EXPECT_EQ(pk3->tipText(), "t534 1");
    EXPECT_EQ(model->rowCount(), Terminal::Count);
}

TEST_F(WiringPageTest, TheKeyboardReachesEveryValueAndWorksTheChoosers) {
    QTreeWidget* tree = frame->view()->tree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Tab);
    ASSERT_TRUE(page().value(PK(1))->hasFocus());
    for (int position = 1; position < Terminal::Count; ++position) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(page().value(position)->hasFocus()) << position;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(page().wiringTable()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(page().copyButton()->hasFocus());

    // Enter on PK2 opens the function chooser; the arrow keys go to bell 4 and Enter chooses it.
    Seen seen;
    app.dialogs.then([&seen](QDialog& dialog) {
        look(dialog, &seen);
        QWidget* list = chooserList(dialog);
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        QTest::keyClick(list, Qt::Key_Return);
    });
    page().value(PK(2))->setFocus();
    QTest::keyClick(page().value(PK(2)), Qt::Key_Return);
    EXPECT_TRUE(seen.listHasFocus) << "the chooser opens with its list in the focus";
    EXPECT_EQ(outputs().bellRelay(3), 1);
    EXPECT_TRUE(page().value(PK(2))->hasFocus()) << "the focus comes back to the value";
    EXPECT_EQ(page().value(PK(2))->accessibleName(), "PK2: t110 4");

    // End and Home go to the last and first row of a chooser.
    int last = -1;
    int first = -1;
    app.dialogs.then([&](QDialog& dialog) {
        QTableWidget* list = chooserList(dialog);
        QTest::keyClick(list, Qt::Key_End);
        last = list->currentRow();
        QTest::keyClick(list, Qt::Key_Home);
        first = list->currentRow();
        QTest::keyClick(list, Qt::Key_Escape);
    });
    QTest::keyClick(page().value(PK(2)), Qt::Key_Return);
    EXPECT_EQ(last, 22);
    EXPECT_EQ(first, 0);

    // Space on POWR3 opens the return-input chooser; Down and Enter choose the bell return, Escape cancels.
    app.dialogs.then([](QDialog& dialog) {
        QTest::keyClick(chooserList(dialog), Qt::Key_Down);
        QTest::keyClick(chooserList(dialog), Qt::Key_Return);
    });
    page().value(POWR(3))->setFocus();
    QTest::keyClick(page().value(POWR(3)), Qt::Key_Space);
    EXPECT_EQ(outputs().returnRow(2), 1);
    app.dialogs.then([](QDialog& dialog) {
        QTest::keyClick(chooserList(dialog), Qt::Key_Down);
        QTest::keyClick(chooserList(dialog), Qt::Key_Escape);
    });
    QTest::keyClick(page().value(POWR(3)), Qt::Key_Space);
    EXPECT_EQ(outputs().returnRow(2), 1);
    EXPECT_EQ(doc().undoStack()->count(), 2);

    EXPECT_EQ(page().wiringTable()->accessibleName(), "t2151");
    EXPECT_EQ(page().copyButton()->text(), "t2155");
}

TEST_F(WiringPageTest, ALanguageChangeRetextsTheValuesAndTheTable) {
    click(PK(1), choose(11));
    std::map<int, QString> other = wiringTexts(QStringLiteral("o"));
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(app.dir.filePath(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));

    EXPECT_EQ(valueText(PK(1)), "o304");
    EXPECT_EQ(valueText(PK(2)), "o109");
    EXPECT_EQ(page().value(PK(1))->accessibleDescription(), "o2007");
    EXPECT_EQ(page().findChildren<QGroupBox*>().front()->title(), "o612");
    EXPECT_EQ(page().wiringTable()->model()->headerData(0, Qt::Horizontal).toString(), "o2152");
    EXPECT_EQ(page().wiringTable()->model()->index(1, 1).data().toString(), "o2156");
    EXPECT_EQ(page().copyButton()->text(), "o2155");
    EXPECT_EQ(frame->findChild<QAction*>(QStringLiteral("actionUndo"))->text(), "o2003 o2150 PK1");
}

TEST_F(WiringPageTest, TheWiringModelPassesTheModelTester) {
    QAbstractItemModelTester tester(page().wiringModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        OutputMapRecord record = p.outputs().record();
        record.setU8(0, 0);
        record.setU8(16, 0);
        p.outputs().restore(record);
    }));
    showWiringPage();
    EXPECT_EQ(page().wiringModel()->rowCount(), Terminal::Count + 1);
    click(PK(1), choose(0));
    EXPECT_EQ(page().wiringModel()->rowCount(), Terminal::Count);
}

// --- The choosers on their own, as the editors open them ---

enum class Chooser { Out, In, Powr, Relay, Input };

struct ChooserCase {
    const char* name;
    Chooser kind;
    int title;
    int rows;
    int preselected;
};

class ChooserTest : public ::testing::TestWithParam<ChooserCase> {
protected:
    ChooserTest() : app(wiringTexts(QStringLiteral("t"))) {
        // WE2 holds role 1; bell 2 is on PK3; two sequences are in use (the factory one and another).
        project.sequences().createSequence();
        project.outputs().setInputRow(1, 5);
        project.outputs().assignRelay(2, 2);
    }

    std::unique_ptr<CWiringChooser> make(const ProjectData* p) {
        switch (GetParam().kind) {
        case Chooser::Out:
            return std::make_unique<CSelOut>(app.context, p, std::uint8_t{2});
        case Chooser::In:
            return std::make_unique<CSelIn>(app.context, p, 1);
        case Chooser::Powr:
            return std::make_unique<CSelPowr>(app.context, p, 0);
        case Chooser::Relay:
            return std::make_unique<CSelectPKDlg>(app.context, p, std::uint8_t{2});
        case Chooser::Input:
            return std::make_unique<CSelectWeDlg>(app.context, p, std::uint8_t{1});
        }
        return nullptr;
    }

    testing::TestAppContext app;
    ProjectData project;
};

TEST_P(ChooserTest, PreselectsTheCurrentValueAndRefusesOkWithNothingChosen) {
    auto chooser = make(&project);
    chooser->show();
    EXPECT_EQ(chooser->windowTitle(), "t" + QString::number(GetParam().title));
    EXPECT_EQ(chooser->list()->rowCount(), GetParam().rows);
    EXPECT_EQ(chooser->selectedRow(), GetParam().preselected);
    EXPECT_EQ(chooser->list()->item(0, 0)->text(), "t109") << "the none row comes first";
    EXPECT_EQ(chooser->okButton()->text(), "t108");
    EXPECT_EQ(chooser->cancelButton()->text(), "t104");

    clickRow(chooser->list(), GetParam().preselected, Qt::ControlModifier);
    ASSERT_EQ(chooser->selectedRow(), -1);
    QTest::mouseClick(chooser->okButton(), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t114"});
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->value(), -1);

    clickRow(chooser->list(), 0);
    QTest::mouseClick(chooser->okButton(), Qt::LeftButton);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(chooser->result(), QDialog::Accepted);
    const bool returnsAValue = GetParam().kind == Chooser::Relay || GetParam().kind == Chooser::Input;
    EXPECT_EQ(chooser->value(), returnsAValue ? 0xFF : 0) << "none";
}

TEST_P(ChooserTest, WithoutAProjectTheListSaysSoAndIsDisabled) {
    auto chooser = make(nullptr);
    chooser->show();
    EXPECT_EQ(chooser->list()->rowCount(), 1);
    EXPECT_EQ(chooser->list()->item(0, 0)->text(), "t112");
    EXPECT_FALSE(chooser->list()->isEnabled());
    QTest::mouseClick(chooser->okButton(), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t114"});
    EXPECT_TRUE(chooser->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Wiring, ChooserTest,
                         ::testing::Values(ChooserCase{"CSelOut", Chooser::Out, 622, 23, 2},
                                           ChooserCase{"CSelIn", Chooser::In, 2170, 10, 5},
                                           ChooserCase{"CSelPowr", Chooser::Powr, 2170, 7, 0},
                                           ChooserCase{"CSelectPKDlg", Chooser::Relay, 299, 11, 3},
                                           ChooserCase{"CSelectWeDlg", Chooser::Input, 301, 3, 2}),
                         [](const ::testing::TestParamInfo<ChooserCase>& param) {
                             return std::string(param.param.name);
                         });

// The editors' relay chooser: a relay that another function uses is refused with text 298, a free one returned.
TEST(SelectPKDlg, RefusesARelayInUseAndReturnsAFreeOne) {
    testing::TestAppContext app(wiringTexts(QStringLiteral("t")));
    ProjectData project;
    project.outputs().assignRelay(2, 2);                          // bell 2 on PK3
    project.outputs().assignRelay(6, 4);                          // hammer 1 on PK5
    CSelectPKDlg chooser(app.context, &project, std::uint8_t{4}); // opened for hammer 1
    chooser.show();
    EXPECT_EQ(chooser.list()->item(3, 0)->text(), "t300 3");
    EXPECT_EQ(chooser.list()->item(3, 1)->text(), "t110 2");
    EXPECT_EQ(chooser.selectedRow(), 5);
    clickRow(chooser.list(), 3);
    QTest::mouseClick(chooser.okButton(), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t298"});
    EXPECT_TRUE(chooser.isVisible());
    QTest::keyClick(chooser.list(), Qt::Key_Down);
    QTest::keyClick(chooser.list(), Qt::Key_Return);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.value(), 3) << "PK4";
    EXPECT_EQ(project.outputs().hammerRelay(0), 4) << "the chooser only answers; the caller writes";
}

// The clock editor's input chooser: an input with a role of its own is refused with text 302.
TEST(SelectWeDlg, RefusesAnInputWithARoleOfItsOwn) {
    testing::TestAppContext app(wiringTexts(QStringLiteral("t")));
    ProjectData project;
    project.outputs().setInputRow(0, 6); // WE1: input function 2
    CSelectWeDlg chooser(app.context, &project, std::uint8_t{0xFF});
    chooser.show();
    EXPECT_EQ(chooser.list()->item(1, 0)->text(), "t303 1");
    EXPECT_EQ(chooser.list()->item(1, 1)->text(), "t537");
    EXPECT_EQ(chooser.selectedRow(), 0);
    clickRow(chooser.list(), 1);
    QTest::mouseClick(chooser.okButton(), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t302"});
    clickRow(chooser.list(), 2);
    QTest::mouseClick(chooser.okButton(), Qt::LeftButton);
    EXPECT_EQ(chooser.value(), 1);
}

} // namespace
} // namespace tolvane
