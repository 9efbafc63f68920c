// The holiday table, the holiday programs, the funeral tolling and the special tolling pages as a user works them:
// by mouse and by keyboard, with undo.

#include "DocumentEdit.h"
#include "ScriptedDialogs.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/choosers/ChooserDialog.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropPogNadzw.h"
#include "gui/schedules/CPropSwieta.h"
#include "gui/schedules/CSwietaModel.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::userEdit;

constexpr int HolidaysItem = 169;
constexpr int HolidayProgramsItem = 161;
constexpr int FuneralItem = 163;
constexpr int SpecialItem = 879;
constexpr int CardItem = 157;

class HolidayPagesTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    CTarvelinDoc& doc() { return *frame->document(); }
    const HolidayTable& holidays() { return doc().project().holidays(); }
    const ScheduleProgram& programs(int kind) { return doc().project().program(kind); }

    // Brings the page of the tree item showing `textId` to the front.
    template <typename Page> Page& open(int textId) {
        QTreeWidgetItem* item = testing::treeItem(*frame->view(), textId);
        EXPECT_NE(item, nullptr) << textId;
        frame->view()->tree()->setCurrentItem(item);
        auto* page = qobject_cast<Page*>(frame->view()->currentPage());
        EXPECT_NE(page, nullptr) << textId;
        return *page;
    }
    CPropSwieta& holidayPage() { return open<CPropSwieta>(HolidaysItem); }
    CProgramPage& holidayPrograms() { return open<CProgramPage>(HolidayProgramsItem); }
    CProgramPage& funeralPage() { return open<CProgramPage>(FuneralItem); }
    CPropPogSpec& specialPage() {
        userEdit(doc(), [](ProjectData& p) { p.general().setSpecialTollingOn(true); });
        return open<CPropPogSpec>(SpecialItem);
    }

    template <typename T> static T* child(const QWidget& page, const char* name) {
        T* found = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    static void clickRow(QTableView* list, int row, Qt::KeyboardModifiers keys = {}) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualRect(index).center());
    }

    static void type(const QWidget& page, const char* field, const QString& text) {
        auto* edit = child<QLineEdit>(page, field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static QString cell(const QTableView* list, int row, int column) {
        return list->model()->index(row, column).data().toString();
    }

    // Holidays named `names` in slots 0, 1, ... (an empty name leaves that slot free), as one step.
    void addHolidays(const std::vector<std::string>& names) {
        userEdit(doc(), [&](ProjectData& p) {
            std::vector<int> gaps;
            for (const std::string& name : names) {
                const int slot = p.holidays().addHoliday(app.context.texts);
                p.holidays().setName(slot, name);
                if (name.empty()) {
                    gaps.push_back(slot);
                }
            }
            p.holidays().deleteHolidays(gaps);
        });
    }

    std::vector<SectionState> projectBytes() {
        std::vector<SectionState> states;
        for (int id = 0; id < SectionIdCount; ++id) {
            states.push_back(doc().project().state(static_cast<SectionId>(id)));
        }
        return states;
    }

    std::vector<ValidationIssue> issuesOfArea(int area) {
        std::vector<ValidationIssue> found;
        for (const ValidationIssue& issue : doc().project().validate()) {
            if (issue.area == area) {
                found.push_back(issue);
            }
        }
        return found;
    }
};

// ---- the holiday table ----

TEST_F(HolidayPagesTest, AddPutsANewHolidayInTheFirstFreeSlotAndTheKeyboardIntoItsName) {
    CPropSwieta& page = holidayPage();
    auto* add = child<QPushButton>(page, "addButton");
    for (int n = 0; n < 3; ++n) {
        click(add);
    }
    ASSERT_EQ(holidays().usedCount(), 3);
    auto* name = child<QLineEdit>(page, "nameField");
    EXPECT_TRUE(name->hasFocus());
    EXPECT_EQ(name->selectedText(), "t252") << "the whole name is selected, so typing replaces it";
    EXPECT_EQ(page.list()->currentIndex().row(), 2);
    EXPECT_TRUE(holidays().record(2).isMovable());
    EXPECT_EQ(cell(page.list(), 2, CSwietaModel::DateColumn), "+00");
    EXPECT_EQ(cell(page.list(), 2, CSwietaModel::DaysColumn), "1");

    clickRow(page.list(), 1);
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_Delete);
    EXPECT_TRUE(holidays().isFree(1));
    EXPECT_EQ(page.list()->currentIndex().row(), 0) << "the last used holiday before the deleted one";
    EXPECT_TRUE(app.prompts.texts().isEmpty()) << "no program used it";

    // Slots 0 and 2 are used: the next holiday goes into slot 1 and the list stays in slot order.
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_Insert);
    EXPECT_FALSE(holidays().isFree(1));
    EXPECT_EQ(page.list()->currentIndex().row(), 1);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(page.model()->slotOfRow(row), row);
    }
    EXPECT_EQ(doc().undoStack()->count(), 5);
    frame->undo();
    EXPECT_TRUE(holidays().isFree(1));
}

TEST_F(HolidayPagesTest, TheFullTableRefusesAnotherHoliday) {
    userEdit(doc(), [&](ProjectData& p) {
        for (int n = 0; n < 128; ++n) {
            p.holidays().addHoliday(app.context.texts);
        }
    });
    CPropSwieta& page = holidayPage();
    const int steps = doc().undoStack()->count();
    click(child<QPushButton>(page, "addButton"));
    EXPECT_EQ(app.prompts.texts(), QStringList{"t196"});
    EXPECT_EQ(doc().undoStack()->count(), steps);
    page.list()->selectAll();
    EXPECT_FALSE(child<QPushButton>(page, "addButton")->isEnabled()) << "all 128 rows selected";
    EXPECT_FALSE(child<QWidget>(page, "holidayEditor")->isVisible());
}

TEST_F(HolidayPagesTest, TwoHolidaysOnTheSameDateAreReportedAsDuplicates) {
    CPropSwieta& page = holidayPage();
    for (int n = 0; n < 3; ++n) {
        click(child<QPushButton>(page, "addButton"));
        click(child<QRadioButton>(page, "fixedRadio"));
        type(page, "dayField", QStringLiteral("25"));
        type(page, "monthField", QStringLiteral("12"));
    }
    EXPECT_EQ(cell(page.list(), 1, CSwietaModel::DateColumn), "25.12");
    // Each holiday that has a twin further on is reported once; the last of the three is not.
    const std::vector<ValidationIssue> expected{{HolidayTable::IssueDuplicateFixed, 0, HolidayTable::Area, 1},
                                                {HolidayTable::IssueDuplicateFixed, 1, HolidayTable::Area, 1}};
    EXPECT_EQ(issuesOfArea(HolidayTable::Area), expected);
}

// The offset and the month share their bytes: switching the kind keeps them when they make sense for it.
struct KindSwitchCase {
    const char* name;
    const char* day;
    const char* month;
    int offset;
    const char* listOffset;
    const char* editorOffset;
    const char* back; // the date after switching back to a fixed date
};

class HolidayKindSwitchTest : public HolidayPagesTest, public ::testing::WithParamInterface<KindSwitchCase> {};

TEST_P(HolidayKindSwitchTest, SwitchingKindsReadsTheDateBytesAnew) {
    const KindSwitchCase& c = GetParam();
    CPropSwieta& page = holidayPage();
    click(child<QPushButton>(page, "addButton"));
    click(child<QRadioButton>(page, "fixedRadio"));
    EXPECT_EQ(cell(page.list(), 0, CSwietaModel::DateColumn), "01.01") << "a new holiday's date 0 becomes 01.01";
    EXPECT_FALSE(child<QWidget>(page, "offsetField")->isVisible());
    type(page, "dayField", QString::fromLatin1(c.day));
    type(page, "monthField", QString::fromLatin1(c.month));

    click(child<QRadioButton>(page, "offsetRadio"));
    EXPECT_EQ(holidays().record(0).offset(), c.offset);
    EXPECT_EQ(cell(page.list(), 0, CSwietaModel::DateColumn), c.listOffset);
    EXPECT_EQ(child<QLineEdit>(page, "offsetField")->text(), c.editorOffset);
    EXPECT_FALSE(child<QWidget>(page, "dayField")->isVisible());
    EXPECT_EQ(page.list()->model()->index(0, CSwietaModel::DateColumn).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(CSwietaModel::ChangedColor));

    click(child<QRadioButton>(page, "fixedRadio"));
    EXPECT_EQ(cell(page.list(), 0, CSwietaModel::DateColumn), c.back);
    EXPECT_EQ(child<QLineEdit>(page, "dayField")->text() + "." + child<QLineEdit>(page, "monthField")->text(), c.back);
}

INSTANTIATE_TEST_SUITE_P(Dates, HolidayKindSwitchTest,
                         ::testing::Values(KindSwitchCase{"Dec31", "31", "12", 0, "+00", "+0", "01.01"},
                                           KindSwitchCase{"Jan15", "15", "01", 256, "+256", "+256", "15.01"}),
                         [](const ::testing::TestParamInfo<KindSwitchCase>& param) {
                             return std::string(param.param.name);
                         });

struct OffsetCase {
    const char* name;
    const char* typed;
    int stored;
    const char* list;
    const char* afterTyping; // the field as the user leaves it
    const char* shown;       // the field when the holiday is shown again
};

class HolidayOffsetTest : public HolidayPagesTest, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(HolidayOffsetTest, TheOffsetIsShownSignedAndAYearOrMoreBecomesZero) {
    const OffsetCase& c = GetParam();
    CPropSwieta& page = holidayPage();
    click(child<QPushButton>(page, "addButton"));
    type(page, "offsetField", QString::fromLatin1(c.typed));
    EXPECT_EQ(holidays().record(0).offset(), c.stored);
    EXPECT_EQ(cell(page.list(), 0, CSwietaModel::DateColumn), c.list);
    EXPECT_EQ(child<QLineEdit>(page, "offsetField")->text(), c.afterTyping);
    page.reload(0);
    EXPECT_EQ(child<QLineEdit>(page, "offsetField")->text(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Offsets, HolidayOffsetTest,
                         ::testing::Values(OffsetCase{"TwoBefore", "-2", -2, "-02", "-2", "-2"},
                                           OffsetCase{"Pentecost", "49", 49, "+49", "49", "+49"},
                                           OffsetCase{"SignedPlus", "+1", 1, "+01", "+1", "+1"},
                                           OffsetCase{"BeyondAYear", "400", 0, "+00", "+0", "+0"},
                                           OffsetCase{"AYearBefore", "-366", -366, "-366", "-366", "-366"}),
                         [](const ::testing::TestParamInfo<OffsetCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(HolidayPagesTest, TheNameIsCutToWhatTheDisplayShowsAndTheCaretStays) {
    CPropSwieta& page = holidayPage();
    click(child<QPushButton>(page, "addButton"));
    auto* name = child<QLineEdit>(page, "nameField");
    QTest::keyClicks(name, QString(25, QLatin1Char('M')));
    // An M is 9 pixels wide with 1 pixel between letters: 19 of them take 189 of the 192 pixels.
    const QString nineteen(19, QLatin1Char('M'));
    EXPECT_EQ(name->text(), nineteen);
    EXPECT_EQ(holidays().name(0), nineteen.toStdString());
    EXPECT_EQ(cell(page.list(), 0, CSwietaModel::NameColumn), nineteen);

    // A wider letter typed in the middle pushes the last ones out; the caret stays behind the typed letter.
    name->setCursorPosition(5);
    QTest::keyClicks(name, QStringLiteral("W"));
    EXPECT_EQ(name->text(), QStringLiteral("MMMMMW") + QString(13, QLatin1Char('M')));
    EXPECT_EQ(name->cursorPosition(), 6);
    EXPECT_EQ(holidays().name(0), name->text().toStdString());
    EXPECT_TRUE((holidays().changeMark(0) & HolidayTable::MarkName) != 0);
    EXPECT_EQ(doc().undoStack()->count(), 2) << "the Add, then the typing in the name field";
    EXPECT_EQ(doc().undoStack()->undoText(), "t2102 " + name->text());
}

// ---- holiday programs ----

TEST_F(HolidayPagesTest, AHolidayProgramChoosesFromTheUsedHolidaysAndJumpsToTheTable) {
    addHolidays({"Nowy Rok", "", "Wielkanoc"});
    CProgramPage& page = holidayPrograms();
    click(child<QPushButton>(page, "addButton"));
    ASSERT_EQ(programs(HolidayDay).usedCount(), 1);
    EXPECT_EQ(programs(HolidayDay).entry(0).holidayIndex(), 0) << "before any choice, the holiday in slot 0";
    auto* list = child<QComboBox>(page, "holidayList");
    QStringList choices;
    for (int i = 0; i < list->count(); ++i) {
        choices << list->itemText(i);
    }
    EXPECT_EQ(choices, (QStringList{"t253", "Nowy Rok", "Wielkanoc"}));
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_FALSE(child<QWidget>(page, "startDayField")->isVisible());
    EXPECT_TRUE(child<QWidget>(page, "weekday6")->isVisible());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(programs(HolidayDay).entry(0).holidayIndex(), 2);
    EXPECT_TRUE(programs(HolidayDay).isMarked(0, EntryField::Holiday));
    EXPECT_EQ(cell(page.list(), 0, 3), "Wielkanoc");

    // The next program gets the holiday chosen last.
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_Insert);
    EXPECT_EQ(programs(HolidayDay).entry(1).holidayIndex(), 2);

    click(child<QPushButton>(page, "holidayTableButton"));
    auto* table = qobject_cast<CPropSwieta*>(frame->view()->currentPage());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->slotOfRow(table->list()->currentIndex().row()), 2);
    EXPECT_TRUE(table->list()->hasFocus());
    EXPECT_EQ(child<QLineEdit>(*table, "nameField")->text(), "Wielkanoc");
}

TEST_F(HolidayPagesTest, ANewHolidayProgramNeverRefersToAFreeSlot) {
    addHolidays({"", "Wielkanoc"});
    CProgramPage& page = holidayPrograms();
    click(child<QPushButton>(page, "addButton"));
    EXPECT_EQ(programs(HolidayDay).entry(0).holidayIndex(), ProgramEntry::NoHoliday);
    EXPECT_EQ(child<QComboBox>(page, "holidayList")->currentIndex(), 0);
    EXPECT_TRUE(issuesOfArea(HolidayDay).empty());
}

TEST_F(HolidayPagesTest, DeletingAUsedHolidaySaysHowManyProgramsReferToItAndUndoBringsItBack) {
    addHolidays({"Nowy Rok", "Wielkanoc"});
    userEdit(doc(), [](ProjectData& p) {
        ScheduleProgram& s = p.program(HolidayDay);
        for (const std::uint8_t holiday : {std::uint8_t{1}, std::uint8_t{0}, std::uint8_t{1}}) {
            s.setHolidayIndex(s.addEntry(), holiday);
        }
    });
    CPropSwieta& page = holidayPage();
    clickRow(page.list(), 1);
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_Delete);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t2103 2"});
    EXPECT_TRUE(holidays().isFree(1));
    EXPECT_EQ(programs(HolidayDay).entry(0).holidayIndex(), 1) << "the programs keep the slot";
    const std::vector<ValidationIssue> issues = issuesOfArea(HolidayDay);
    ASSERT_EQ(issues.size(), 2u);
    EXPECT_EQ(issues[0].code, ScheduleProgram::IssueBadHoliday);
    EXPECT_EQ(issues[1].item, 2);

    frame->undo();
    EXPECT_FALSE(holidays().isFree(1));
    EXPECT_EQ(holidays().name(1), "Wielkanoc");
    EXPECT_TRUE(issuesOfArea(HolidayDay).empty());
    EXPECT_EQ(frame->view()->currentPage(), &page);
    CProgramPage& programPage = holidayPrograms();
    EXPECT_EQ(cell(programPage.list(), 0, 3), "Wielkanoc");
}

// ---- funeral tolling ----

TEST_F(HolidayPagesTest, TheFuneralPageListsEightFixedRowsWithoutAddDeleteOrCopy) {
    CProgramPage& page = funeralPage();
    ASSERT_EQ(page.list()->model()->rowCount(), 8);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(cell(page.list(), row, 1), QString::number(row + 1));
        EXPECT_EQ(cell(page.list(), row, 2), "12:00:00");
    }
    for (const char* hidden : {"addButton", "deleteButton", "copyButton", "usedBar", "countLabel"}) {
        EXPECT_FALSE(child<QWidget>(page, hidden)->isVisible()) << hidden;
    }
    page.list()->setFocus();
    clickRow(page.list(), 3);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::Key_Delete),
                                     QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::Key_F2)}) {
        QTest::keySequence(page.list(), keys);
    }
    QHeaderView* header = page.list()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 5, 5));
    EXPECT_EQ(programs(Funeral).usedCount(), 8);
    EXPECT_EQ(doc().undoStack()->count(), 0) << "no key and no column click changes the funeral programs";

    auto* actions = child<QComboBox>(page, "actionList");
    EXPECT_EQ(actions->count(), 4);
    EXPECT_EQ(actions->itemText(3), "t554");
    for (const char* hidden : {"summerBox", "angelusBox", "weekday0", "startDayField", "evenWeeksBox"}) {
        EXPECT_FALSE(child<QWidget>(page, hidden)->isVisible()) << hidden;
    }
    EXPECT_EQ(child<QLineEdit>(page, "priorityField")->text(), "16");
    EXPECT_EQ(child<QLineEdit>(page, "funeralDaysField")->text(), "3");
}

struct FuneralTimeCase {
    const char* name;
    const char* mode; // object name of the start mode radio button
    bool on[3];
    const char* shown;
};

class FuneralTimeTest : public HolidayPagesTest, public ::testing::WithParamInterface<FuneralTimeCase> {};

TEST_P(FuneralTimeTest, TheTimeColumnAndTheEnabledFieldsFollowTheStartModeAndTheTimesOn) {
    const FuneralTimeCase& c = GetParam();
    CProgramPage& page = funeralPage();
    clickRow(page.list(), 2);
    // Time 2 at 13:15:30 and time 3 at 19:00:00, so that each time is told from the others.
    click(child<QCheckBox>(page, "time2Box"));
    type(page, "time2HourField", QStringLiteral("13"));
    type(page, "time2MinuteField", QStringLiteral("15"));
    type(page, "time2SecondField", QStringLiteral("30"));
    click(child<QCheckBox>(page, "time3Box"));
    type(page, "time3HourField", QStringLiteral("19"));
    for (int t = 0; t < 3; ++t) {
        auto* box = child<QCheckBox>(page, QStringLiteral("time%1Box").arg(t + 1).toLatin1().constData());
        if (box->isChecked() != c.on[t]) {
            click(box);
        }
    }
    click(child<QRadioButton>(page, c.mode));
    EXPECT_EQ(cell(page.list(), 2, 2), c.shown);

    const ProgramEntry& e = programs(Funeral).entry(2);
    const bool byClock = e.startMode() == FuneralStartMode::ByClock;
    EXPECT_EQ(byClock, std::string(c.mode) == "byClockRadio");
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(e.timeOn(t + 1), c.on[t]);
        EXPECT_EQ(child<QWidget>(page, QStringLiteral("time%1Box").arg(t + 1).toLatin1().constData())->isEnabled(),
                  byClock);
    }
    EXPECT_EQ(child<QWidget>(page, "hourField")->isEnabled(), byClock && c.on[0]);
    EXPECT_EQ(child<QWidget>(page, "time2MinuteField")->isEnabled(), byClock && c.on[1]);
    EXPECT_EQ(child<QWidget>(page, "time3SecondField")->isEnabled(), byClock && c.on[2]);
}

INSTANTIATE_TEST_SUITE_P(
    StartModes, FuneralTimeTest,
    ::testing::Values(FuneralTimeCase{"OneAndThree", "byClockRadio", {true, false, true}, "Godzina (2)"},
                      FuneralTimeCase{"AllThree", "byClockRadio", {true, true, true}, "Godzina (3)"},
                      FuneralTimeCase{"OnlyTwo", "byClockRadio", {false, true, false}, "13:15:30"},
                      FuneralTimeCase{"OnlyThree", "byClockRadio", {false, false, true}, "19:00:00"},
                      FuneralTimeCase{"OnlyOne", "byClockRadio", {true, false, false}, "12:00:00"},
                      FuneralTimeCase{"None", "byClockRadio", {false, false, false}, "--:--:--"},
                      FuneralTimeCase{"BeforeAngelus", "beforeAngelusRadio", {true, true, true}, "t551"},
                      FuneralTimeCase{"AfterAngelus", "afterAngelusRadio", {false, true, false}, "t552"}),
    [](const ::testing::TestParamInfo<FuneralTimeCase>& param) { return std::string(param.param.name); });

TEST_F(HolidayPagesTest, TheFuneralRelayShowsItsDelayWhileItIsUsed) {
    CProgramPage& page = funeralPage();
    clickRow(page.list(), 0);
    auto* relay = child<QCheckBox>(page, "funeralRelayBox");
    EXPECT_FALSE(relay->isChecked());
    EXPECT_FALSE(child<QWidget>(page, "relayDelayField")->isVisible());
    click(relay);
    EXPECT_TRUE(programs(Funeral).entry(0).funeralRelayUsed());
    ASSERT_TRUE(child<QWidget>(page, "relayDelayField")->isVisible());
    type(page, "relayDelayField", QStringLiteral("05"));
    EXPECT_EQ(programs(Funeral).entry(0).relayDelay(), 5);
    type(page, "funeralDaysField", QStringLiteral("2"));
    EXPECT_EQ(programs(Funeral).entry(0).days(), 2);
    EXPECT_EQ(doc().undoStack()->undoText(), "t2110 1");
    click(relay);
    EXPECT_FALSE(child<QWidget>(page, "relayDelayField")->isVisible());
    EXPECT_FALSE(programs(Funeral).entry(0).funeralRelayUsed());
    EXPECT_EQ(doc().undoStack()->count(), 4);
    frame->undo();
    EXPECT_TRUE(programs(Funeral).entry(0).funeralRelayUsed());
}

// ---- special tolling ----

TEST_F(HolidayPagesTest, TheSpecialTollingItemFollowsTheOption) {
    EXPECT_EQ(testing::treeItem(*frame->view(), SpecialItem), nullptr);
    CPropPogSpec& page = specialPage();
    EXPECT_EQ(frame->view()->currentPage(), &page);
    userEdit(doc(), [](ProjectData& p) { p.general().setSpecialTollingOn(false); });
    EXPECT_EQ(testing::treeItem(*frame->view(), SpecialItem), nullptr);
}

TEST_F(HolidayPagesTest, SpecialTollingHasThreeBoxesAlsoAfterAReset) {
    CPropPogSpec& page = specialPage();
    type(page, "steps1", QStringLiteral("2.5"));
    EXPECT_EQ(programs(SpecialTolling).entry(0).steps(), 5);
    type(page, "priority2", QStringLiteral("09"));
    EXPECT_EQ(programs(SpecialTolling).entry(1).priority(), 8);
    type(page, "endHour3", QStringLiteral("18"));
    EXPECT_EQ(programs(SpecialTolling).entry(2).time2Hour(), 18);
    EXPECT_TRUE(programs(SpecialTolling).isMarked(2, EntryField::Time2Hour));

    // Reset while the card page is in front (as reading a programs.dat resets it); the user then comes back through
    // the tree.
    open<CDataPage>(CardItem);
    userEdit(doc(), [](ProjectData& p) { p.program(SpecialTolling).reset(); });
    ASSERT_EQ(&open<CPropPogSpec>(SpecialItem), &page);
    for (int n = 1; n <= 3; ++n) {
        const QString box = QString::number(n);
        auto* group = child<QGroupBox>(page, ("specialBox" + box).toLatin1().constData());
        EXPECT_EQ(group->title(), "t879 " + box);
        EXPECT_TRUE(group->isVisible());
        EXPECT_EQ(child<QLineEdit>(page, ("startHour" + box).toLatin1().constData())->text(), "12");
        EXPECT_EQ(child<QLineEdit>(page, ("steps" + box).toLatin1().constData())->text(), "0.5")
            << "a stored 1 is half a step";
        EXPECT_EQ(child<QLineEdit>(page, ("priority" + box).toLatin1().constData())->text(), "16");
        EXPECT_EQ(child<QLineEdit>(page, ("days" + box).toLatin1().constData())->text(), "3");
        EXPECT_EQ(child<CLinkStatic>(page, ("sequenceLink" + box).toLatin1().constData())->text(), "t535 1");
    }
}

TEST_F(HolidayPagesTest, StepsAreStoredInHalvesAndLeavingTheFieldKeepsThemOnAHalfStep) {
    CPropPogSpec& page = specialPage();
    type(page, "steps2", QStringLiteral("2.7"));
    EXPECT_EQ(programs(SpecialTolling).entry(1).steps(), 5);
    type(page, "steps2", QStringLiteral("20"));
    EXPECT_EQ(programs(SpecialTolling).entry(1).steps(), 40) << "stored as typed while the field is typed in";
    child<QWidget>(page, "days2")->setFocus();
    EXPECT_EQ(child<QLineEdit>(page, "steps2")->text(), "14.0");
    EXPECT_EQ(programs(SpecialTolling).entry(1).steps(), 28) << "and clamped as the field is left";
}

// ---- every page ----

TEST_F(HolidayPagesTest, AnEditOnEachPageIsOneUndoStep) {
    addHolidays({"Nowy Rok", "Wielkanoc"});
    userEdit(doc(), [](ProjectData& p) {
        p.program(HolidayDay).setHolidayIndex(p.program(HolidayDay).addEntry(), 0);
        p.general().setSpecialTollingOn(true);
    });
    struct Step {
        const char* what;
        std::function<void()> act;
        std::function<bool()> done;
    };
    const std::vector<Step> steps{
        {"holiday days",
         [&] {
             CPropSwieta& page = holidayPage();
             clickRow(page.list(), 1);
             type(page, "daysField", QStringLiteral("2"));
         },
         [&] { return holidays().record(1).days() == 2; }},
        {"holiday of a program",
         [&] {
             CProgramPage& page = holidayPrograms();
             clickRow(page.list(), 0);
             auto* list = child<QComboBox>(page, "holidayList");
             list->setFocus();
             QTest::keyClick(list, Qt::Key_Down);
         },
         [&] { return programs(HolidayDay).entry(0).holidayIndex() == 1; }},
        {"funeral hour",
         [&] {
             CProgramPage& page = funeralPage();
             clickRow(page.list(), 4);
             type(page, "hourField", QStringLiteral("10"));
         },
         [&] { return programs(Funeral).entry(4).hour() == 10; }},
        {"special tolling days", [&] { type(specialPage(), "days1", QStringLiteral("5")); },
         [&] { return programs(SpecialTolling).entry(0).days() == 5; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const auto before = projectBytes();
        const int count = doc().undoStack()->index();
        step.act();
        ASSERT_TRUE(step.done());
        EXPECT_EQ(doc().undoStack()->index(), count + 1);
        frame->undo();
        EXPECT_FALSE(step.done());
        for (int id = 0; id < SectionIdCount; ++id) {
            EXPECT_EQ(doc().project().state(static_cast<SectionId>(id)).content,
                      before[static_cast<std::size_t>(id)].content)
                << id;
        }
    }
}

TEST_F(HolidayPagesTest, LookingAtThePagesNeverModifiesTheProject) {
    addHolidays({"Nowy Rok", "", "Wielkanoc"});
    userEdit(doc(), [](ProjectData& p) {
        ScheduleProgram& s = p.program(HolidayDay);
        s.setHolidayIndex(s.addEntry(), 1); // a free slot
        s.setHolidayIndex(s.addEntry(), 2);
        p.program(Funeral).setStartMode(3, FuneralStartMode::BeforeAngelus);
        p.program(Funeral).setFuneralRelayUsed(5, true);
        p.program(SpecialTolling).setSteps(1, 255);
        p.program(SpecialTolling).setPriority(2, 200);
        p.general().setSpecialTollingOn(true);
    });
    const QString path = this->path(QStringLiteral("look.tpm"));
    ASSERT_EQ(doc().save(path), QString());
    ASSERT_EQ(doc().open(path), 0);
    ASSERT_FALSE(doc().isModified());
    const auto bytes = projectBytes();

    CPropSwieta& table = open<CPropSwieta>(HolidaysItem);
    for (int row = 0; row < table.list()->model()->rowCount(); ++row) {
        clickRow(table.list(), row);
    }
    for (int item : {HolidayProgramsItem, FuneralItem}) {
        CProgramPage& page = open<CProgramPage>(item);
        for (int row = 0; row < page.list()->model()->rowCount(); ++row) {
            clickRow(page.list(), row);
        }
    }
    CPropPogSpec& special = open<CPropPogSpec>(SpecialItem);
    child<QWidget>(special, "startHour1")->setFocus();
    child<QWidget>(special, "steps2")->setFocus();
    child<QWidget>(special, "days3")->setFocus();
    EXPECT_EQ(child<QLineEdit>(special, "steps2")->text(), "127.5");
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(doc().undoStack()->count(), 0);
    EXPECT_EQ(projectBytes(), bytes);
}

TEST_F(HolidayPagesTest, TheHolidayListModelPassesTheModelTester) {
    CPropSwieta& page = holidayPage();
    QAbstractItemModelTester tester(page.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    click(child<QPushButton>(page, "addButton"));
    click(child<QPushButton>(page, "addButton"));
    type(page, "nameField", QStringLiteral("Boze Cialo"));
    click(child<QPushButton>(page, "deleteButton"));
    frame->undo();
    EXPECT_EQ(page.model()->rowCount(), 2);
    EXPECT_EQ(page.model()->index(0, CSwietaModel::DateColumn).data(Qt::AccessibleDescriptionRole).toString(),
              "t251, t2007");
}

// A parish's holidays and tolling from the keyboard alone: the patron saint's day, Easter Monday, a holiday
// program ringing all bells at 10:00 on it, the funeral tolling three times a day by the clock with the relay on
// after 5 s, and a special tolling on sequence 2; then everything undone.
TEST_F(HolidayPagesTest, AParishsHolidaysAndTollingAreSetUpFromTheKeyboardAndUndone) {
    userEdit(doc(), [](ProjectData& p) { p.sequences().createSequence(); });
    const int baseSteps = doc().undoStack()->count();
    const auto focused = [] { return QApplication::focusWidget(); };
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focused(), k, m); };
    const auto typeHere = [&](const QString& text) { QTest::keyClicks(focused(), text); };
    const auto focusAndSpace = [&](QWidget& page, const char* name) {
        child<QWidget>(page, name)->setFocus();
        key(Qt::Key_Space);
    };

    // The holidays.
    CPropSwieta& table = holidayPage();
    table.list()->setFocus();
    key(Qt::Key_Insert);
    ASSERT_EQ(focused()->objectName(), "nameField");
    typeHere(QStringLiteral("St. Adalbert"));
    focusAndSpace(table, "fixedRadio");
    child<QWidget>(table, "dayField")->setFocus();
    typeHere(QStringLiteral("23"));
    key(Qt::Key_Tab);
    typeHere(QStringLiteral("04"));
    key(Qt::Key_Escape);
    ASSERT_TRUE(table.list()->hasFocus());
    key(Qt::Key_Insert);
    typeHere(QStringLiteral("Easter Monday"));
    child<QLineEdit>(table, "offsetField")->setFocus();
    child<QLineEdit>(table, "offsetField")->selectAll();
    typeHere(QStringLiteral("+1"));
    EXPECT_EQ(cell(table.list(), 0, 0) + " " + cell(table.list(), 0, 1), "St. Adalbert 23.04");
    EXPECT_EQ(cell(table.list(), 1, 0) + " " + cell(table.list(), 1, 1), "Easter Monday +01");

    // The holiday program: all bells at 10:00 on Easter Monday, on any weekday.
    CProgramPage& holidayDay = holidayPrograms();
    holidayDay.list()->setFocus();
    key(Qt::Key_Insert);
    key(Qt::Key_Return);
    ASSERT_EQ(focused()->objectName(), "actionList");
    key(Qt::Key_Tab);
    ASSERT_EQ(focused()->objectName(), "holidayList");
    key(Qt::Key_Down);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    ASSERT_EQ(focused()->objectName(), "hourField");
    typeHere(QStringLiteral("10"));
    for (int b = 1; b < 5; ++b) {
        focusAndSpace(holidayDay, QStringLiteral("bellBox%1").arg(b).toLatin1().constData());
    }
    for (int d = 1; d < 7; ++d) {
        focusAndSpace(holidayDay, QStringLiteral("weekday%1").arg(d).toLatin1().constData());
    }
    const ProgramEntry& ringing = programs(HolidayDay).entry(0);
    EXPECT_EQ(ringing.holidayIndex(), 1);
    EXPECT_EQ(ringing.hour(), 10);
    EXPECT_EQ(ringing.weekdayMask(), 0x7F);
    EXPECT_EQ(cell(holidayDay.list(), 0, 3), "Easter Monday");
    EXPECT_EQ(cell(holidayDay.list(), 0, 6), "12345");

    // The funeral tolling: bells, three times a day by the clock, the relay after 5 s.
    CProgramPage& funeral = funeralPage();
    funeral.list()->setFocus();
    key(Qt::Key_Return);
    ASSERT_EQ(focused()->objectName(), "actionList");
    key(Qt::Key_Down);
    focusAndSpace(funeral, "time2Box");
    focusAndSpace(funeral, "time3Box");
    child<QWidget>(funeral, "time2HourField")->setFocus();
    typeHere(QStringLiteral("15"));
    child<QWidget>(funeral, "time3HourField")->setFocus();
    typeHere(QStringLiteral("18"));
    focusAndSpace(funeral, "funeralRelayBox");
    key(Qt::Key_Tab);
    ASSERT_EQ(focused()->objectName(), "relayDelayField");
    typeHere(QStringLiteral("05"));
    const ProgramEntry& tolling = programs(Funeral).entry(0);
    EXPECT_EQ(tolling.action(), ProgramEntry::ActionBells);
    EXPECT_EQ(tolling.startMode(), FuneralStartMode::ByClock);
    EXPECT_TRUE(tolling.funeralRelayUsed());
    EXPECT_EQ(tolling.relayDelay(), 5);
    EXPECT_EQ(cell(funeral.list(), 0, 2), "Godzina (3)");

    // The special tolling on sequence 2.
    CPropPogSpec& special = specialPage();
    app.dialogs.then([](QDialog& dialog) {
        auto& chooser = static_cast<ChooserDialog&>(dialog);
        QTest::keyClick(chooser.list(), Qt::Key_Down);
        QTest::keyClick(chooser.list(), Qt::Key_Return);
    });
    child<QWidget>(special, "sequenceLink1")->setFocus();
    key(Qt::Key_Return);
    EXPECT_EQ(programs(SpecialTolling).entry(0).sequenceIndex(), 1);
    EXPECT_EQ(child<CLinkStatic>(special, "sequenceLink1")->text(), "t535 2");

    // Every step undone.
    while (doc().undoStack()->count() > baseSteps && doc().canUndo()) {
        frame->undo();
    }
    EXPECT_EQ(holidays().usedCount(), 0);
    EXPECT_EQ(programs(HolidayDay).usedCount(), 0);
    EXPECT_EQ(programs(Funeral).entry(0).action(), ProgramEntry::ActionNone);
    EXPECT_FALSE(programs(Funeral).entry(0).funeralRelayUsed());
    EXPECT_EQ(programs(SpecialTolling).entry(0).sequenceIndex(), 0);
}

} // namespace
} // namespace tolvane
