// The report page as a user reads it: the issues of the project with their severity icons, places and order, the
// severity filter with its counts, a double click or Enter that leads to where an issue lies, and the report item
// of the tree that stops blinking once the last critical error is fixed.

#include "DocumentEdit.h"
#include "SequenceSteps.h"
#include "ShellTestSupport.h"
#include "TextNumbers.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/report/CPropRaport.h"
#include "gui/report/CRaportModel.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropSwieta.h"
#include "gui/sequences/CPropSekwencje.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

using testing::userEdit;

// The texts the report shows for the places of these tests, with their numbers filled in.
std::map<int, QString> reportTexts() {
    std::map<int, QString> texts = testing::numberedTexts(QStringLiteral("t"));
    for (int id : {400, 401, 402, 403}) {
        texts[id] = QStringLiteral("t%1 %d").arg(id);
    }
    texts[405] = QStringLiteral("t405 %s");
    return texts;
}

// The severity strip the editor ships, copied beside the test's program folder.
const QString SeverityStrip = QStringLiteral(TOLVANE_VERSION_DIR "/Data/Gfx/severity.png");

class ReportPageTest : public ::testing::Test {
protected:
    ReportPageTest() : app(reportTexts()) {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        QDir(app.dir.path()).mkpath(QStringLiteral("Data/Gfx"));
        QFile::copy(SeverityStrip, app.context.paths.dataFile(QStringLiteral("Gfx/severity.png")));
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    CTarvelinView& view() const { return *frame->view(); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    CPropRaport& page() const { return *qobject_cast<CPropRaport*>(view().page(PageId::Raport)); }
    QTableView* list() const { return page().list(); }

    // The user clicks the report item of the tree.
    void openReport() {
        QTreeWidgetItem* item = view().reportItem();
        ASSERT_NE(item, nullptr);
        QTreeWidget* tree = view().tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        ASSERT_EQ(view().currentPage(), &page());
    }

    // One weekly program that rings on no day (a warning) at 25:00 (a critical error), besides the two notes of
    // a new project (the factory user and service codes).
    void oneOfEachSeverity() {
        userEdit(doc(), [](ProjectData& p) {
            ScheduleProgram& weekly = p.program(Weekly);
            const int e = weekly.addEntry();
            weekly.setDays(e, 0);
            weekly.setTime(e, 25, 0, 0);
        });
    }

    QStringList column(int c, int role = Qt::DisplayRole) const {
        QStringList cells;
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            cells << list()->model()->index(row, c).data(role).toString();
        }
        return cells;
    }

    // The row of the issue with `code` on record `item`, -1 when the list does not show it.
    int rowOf(int code, int item) const {
        for (int row = 0; row < page().model()->rowCount(); ++row) {
            const ValidationIssue& issue = page().model()->entryAt(row)->issue;
            if (issue.code == code && issue.item == item) {
                return row;
            }
        }
        return -1;
    }

    void clickRow(int row) {
        const QModelIndex index = list()->model()->index(row, 0);
        list()->scrollTo(index);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(index).center());
    }

    // The report item's icons over two ticks of the blink.
    std::pair<int, int> twoBlinks() {
        view().blinkTick();
        const int first = view().reportIconIndex();
        view().blinkTick();
        return {first, view().reportIconIndex()};
    }

    testing::TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ReportPageTest, ListsEachIssueWithItsSeverityIconDescriptionAndPlaceInOrder) {
    oneOfEachSeverity();
    openReport();
    QAbstractItemModelTester tester(page().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    // The program's checks in their order, then the settings: no weekday (2), a bad time (11), the two codes.
    EXPECT_EQ(column(0), (QStringList{"t413", "t420", "t2200", "t2200"}));
    EXPECT_EQ(column(1), (QStringList{"t400 1", "t400 1", "t514", "t515"}));
    EXPECT_EQ(list()->model()->headerData(0, Qt::Horizontal).toString(), "t398");
    EXPECT_EQ(list()->model()->headerData(1, Qt::Horizontal).toString(), "t399");

    // Each row's icon is the image of its severity in the strip; the severity is also said in words.
    const IconStrip strip(SeverityStrip);
    ASSERT_EQ(strip.count(), 3);
    const int severities[] = {1, 0, 2, 2};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        const QModelIndex index = list()->model()->index(row, 0);
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.pixmap(IconStrip::Size).toImage(), strip.pixmap(severities[row]).toImage());
        const QString said = QStringLiteral("t%1").arg(text::FirstSeverity + severities[row]);
        EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), said + ": " + index.data().toString());
        EXPECT_EQ(index.data(Qt::AccessibleDescriptionRole).toString(), said);
    }
    EXPECT_NE(strip.pixmap(0).toImage(), strip.pixmap(1).toImage());
    EXPECT_NE(strip.pixmap(1).toImage(), strip.pixmap(2).toImage());
    EXPECT_EQ(list()->accessibleName(), "t164");
    EXPECT_TRUE(page().statusLabel()->text().contains("t2330"));
    EXPECT_TRUE(page().statusLabel()->text().contains("t2331")) << "a critical error blocks the card";
}

TEST_F(ReportPageTest, AProjectWithoutIssuesShowsAnEmptyReport) {
    userEdit(doc(), [](ProjectData& p) {
        p.general().setUserCode(2468);
        p.general().setServiceCode(1357);
    });
    openReport();
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(page().statusLabel()->text(), "t2328");
    EXPECT_EQ(list()->accessibleDescription(), "t2328");
    EXPECT_EQ(page().filterButton(CPropRaport::ShowAll)->text(), "t2320 0");
    // Pressing Enter on the empty list leads nowhere and changes nothing.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(view().currentPage(), &page());
}

TEST_F(ReportPageTest, RowsFollowAnEditMadeWhileThePageIsShownAndLookingChangesNothing) {
    oneOfEachSeverity();
    const int steps = doc().undoStack()->count();
    openReport();
    clickRow(3);
    EXPECT_EQ(column(0).size(), 4);
    doc().endEditBurst();
    userEdit(doc(), [](ProjectData& p) { p.program(Weekly).setTime(0, 12, 0, 0); });
    EXPECT_EQ(column(0), (QStringList{"t413", "t2200", "t2200"}));
    EXPECT_EQ(list()->currentIndex().row(), 2) << "the selection stays at the end of the shorter list";
    EXPECT_FALSE(page().statusLabel()->text().contains("t2331"));
    doc().undo();
    EXPECT_EQ(column(0), (QStringList{"t413", "t420", "t2200", "t2200"})) << "an undo is followed too";
    EXPECT_EQ(doc().undoStack()->count(), steps + 1);
    EXPECT_EQ(doc().undoStack()->index(), steps) << "the report itself never made a step";
}

TEST_F(ReportPageTest, TheFilterCountsEachSeverityAndIsWorkedByKeys) {
    oneOfEachSeverity();
    openReport();
    EXPECT_EQ(page().filterButton(CPropRaport::ShowAll)->text(), "t2320 4");
    EXPECT_EQ(page().filterButton(0)->text(), "t2321 1");
    EXPECT_EQ(page().filterButton(1)->text(), "t2322 1");
    EXPECT_EQ(page().filterButton(2)->text(), "t2323 2");
    EXPECT_EQ(page().filterButton(0)->accessibleName(), "t2324 t2321 1");

    // Shift+Tab from the list reaches the filter; the arrow keys choose, the filter keeps the focus.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Backtab);
    QRadioButton* all = page().filterButton(CPropRaport::ShowAll);
    ASSERT_TRUE(all->hasFocus()) << "Tab stops at the chosen filter only";
    QTest::keyClick(all, Qt::Key_Tab);
    ASSERT_TRUE(list()->hasFocus());
    QTest::keyClick(list(), Qt::Key_Backtab);
    ASSERT_TRUE(all->hasFocus());
    QTest::keyClick(all, Qt::Key_Right);
    EXPECT_EQ(page().shownSeverity(), 0);
    EXPECT_EQ(column(0), (QStringList{"t420"}));
    ASSERT_TRUE(page().filterButton(0)->hasFocus());
    QTest::keyClick(page().filterButton(0), Qt::Key_Right);
    QTest::keyClick(page().filterButton(1), Qt::Key_Right);
    EXPECT_EQ(page().shownSeverity(), 2);
    EXPECT_EQ(column(1), (QStringList{"t514", "t515"}));
    QTest::keyClick(page().filterButton(2), Qt::Key_Tab);
    EXPECT_TRUE(list()->hasFocus());

    // A severity without issues says so; the counts always cover the whole project.
    userEdit(doc(), [](ProjectData& p) { p.program(Weekly).setTime(0, 12, 0, 0); });
    page().filterButton(0)->click();
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(page().statusLabel()->text(), "t2329");
    EXPECT_EQ(page().filterButton(CPropRaport::ShowAll)->text(), "t2320 3");
    EXPECT_EQ(page().filterButton(0)->text(), "t2321 0");
}

// One case per area: the issue a setup makes, and where Enter on its row lands.
struct JumpCase {
    const char* name;
    std::function<void(ProjectData&)> setup;
    int code;
    int item;
    PageId page;
    // The list of the page that selects the record, and its row; or the control that takes the focus.
    std::function<int(CDataPage&)> selectedRow;
    int row;
    const char* focused;
};

void PrintTo(const JumpCase& c, std::ostream* os) {
    *os << c.name;
}

QTableView* programList(CDataPage& page) {
    return qobject_cast<CProgramPage*>(&page)->list();
}

int listRow(CDataPage& page) {
    return programList(page)->currentIndex().row();
}

void threeEntries(ProjectData& p, int kind) {
    for (int n = 0; n < 3; ++n) {
        p.program(kind).addEntry();
    }
}

const JumpCase JumpCases[] = {
    {"WeeklyEntry",
     [](ProjectData& p) {
         threeEntries(p, Weekly);
         p.program(Weekly).setDays(2, 0);
     },
     2, 2, PageId::Tyg, listRow, 2, nullptr},
    {"HolidayDayEntry",
     [](ProjectData& p) {
         threeEntries(p, HolidayDay);
         p.program(HolidayDay).setTime(1, 25, 0, 0);
     },
     11, 1, PageId::Swi, listRow, 1, nullptr},
    {"AnnualEntry",
     [](ProjectData& p) {
         threeEntries(p, Annual);
         p.program(Annual).setStartDate(2, 0, 1);
     },
     6, 2, PageId::Rok, listRow, 2, nullptr},
    {"OneTimeEntry",
     [](ProjectData& p) {
         threeEntries(p, OneTime);
         p.program(OneTime).setPriority(1, 16);
     },
     12, 1, PageId::Jed, listRow, 1, nullptr},
    {"FuneralTolling", [](ProjectData& p) { p.program(Funeral).setDays(5, 0); }, 10, 5, PageId::Pog, listRow, 5,
     nullptr},
    {"SpecialTolling", [](ProjectData& p) { p.program(SpecialTolling).setTime(2, 24, 0, 0); }, 11, 2, PageId::PogSpec,
     nullptr, -1, "startHour3"},
    {"Holiday",
     [](ProjectData& p) {
         struct : TextSource {
             std::string text(int) const override { return "holiday"; }
         } texts;
         for (int n = 0; n < 3; ++n) {
             p.holidays().addHoliday(texts);
         }
         p.holidays().setDays(2, 0);
     },
     14, 2, PageId::Swieta,
     [](CDataPage& page) { return qobject_cast<CPropSwieta*>(&page)->list()->currentIndex().row(); }, 2, nullptr},
    {"Sequence",
     [](ProjectData& p) {
         // A new project has its first sequence: these are 2 and 3 (records 1 and 2).
         p.sequences().createSequence();
         const int broken = p.sequences().createSequence();
         p.sequences().insertStep(broken, testing_support::repeatStep(StepKind::RepeatCount, 1, 0, 2), 0);
     },
     55, 2, PageId::Sekwencje, [](CDataPage& page) { return qobject_cast<CPropSekwencje*>(&page)->currentSequence(); },
     2, nullptr},
    {"StrikingQuarter",
     [](ProjectData& p) {
         p.striking().setSeriesCount(2, 1);
         p.striking().setSeriesSequence(2, 0, 7);
     },
     53, 2, PageId::Gongi, nullptr, -1, nullptr},
    {"Bell", [](ProjectData& p) { p.bells().setRunUpSeconds(3, 0); }, 16, 3, PageId::Settings, nullptr, -1, "bell4"},
    {"Hammer", [](ProjectData& p) { p.hammers().setPulseTenths(2, 0); }, 51, 2, PageId::Settings, nullptr, -1,
     "hammer3"},
    {"Clock", [](ProjectData& p) { p.clocks().setClockEnabled(1, true); }, 25, 1, PageId::Settings, nullptr, -1,
     "clock2"},
    {"AmplifierSetting", [](ProjectData& p) { p.amplifier().setLeadTimeSeconds(0); }, 37, 0, PageId::Settings, nullptr,
     -1, "leadTime"},
    {"LocationSetting", [](ProjectData& p) { p.general().setLocationName(""); }, 45, 0, PageId::Settings, nullptr, -1,
     "location"},
    {"ServiceCode", [](ProjectData& p) { p.general().setUserCode(2468); }, 100, 1, PageId::Settings, nullptr, -1,
     "serviceCode"},
    {"UserCode", [](ProjectData&) {}, 100, 0, PageId::Settings, nullptr, -1, "userCode"},
    {"UserPageSetting", [](ProjectData& p) { p.general().setDisplayContrast(200); }, 41, 0, PageId::User, nullptr, -1,
     "contrast"},
};

class ReportJumpTest : public ReportPageTest, public ::testing::WithParamInterface<JumpCase> {};

TEST_P(ReportJumpTest, EnterOnARowBringsItsPageWithTheRecord) {
    const JumpCase& c = GetParam();
    userEdit(doc(), c.setup);
    const int steps = doc().undoStack()->count();
    openReport();
    const int row = rowOf(c.code, c.item);
    ASSERT_GE(row, 0) << "the setup makes issue " << c.code;
    clickRow(row);
    ASSERT_TRUE(list()->hasFocus());
    QTest::keyClick(list(), Qt::Key_Return);

    CDataPage* shown = view().currentPage();
    ASSERT_EQ(shown, view().page(c.page));
    if (c.selectedRow) {
        EXPECT_EQ(c.selectedRow(*shown), c.row);
    }
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (c.focused) {
        EXPECT_EQ(focus->objectName(), c.focused);
        if (auto* field = qobject_cast<QLineEdit*>(focus)) {
            EXPECT_EQ(field->selectedText(), field->text()) << "ready to be typed over";
        }
    } else {
        EXPECT_TRUE(shown->isAncestorOf(focus))
            << "the keyboard lands on the page: " << focus->objectName().toStdString();
    }
    EXPECT_EQ(doc().undoStack()->count(), steps) << "going there changes nothing";
}

INSTANTIATE_TEST_SUITE_P(EveryArea, ReportJumpTest, ::testing::ValuesIn(JumpCases),
                         [](const ::testing::TestParamInfo<JumpCase>& param) { return std::string(param.param.name); });

// A new user's way: the report item blinks, a double click on the critical error lands on its program, the fix
// typed there stops the blink.
TEST_F(ReportPageTest, FixingTheLastCriticalErrorStopsTheBlink) {
    EXPECT_EQ(twoBlinks(), std::make_pair(CTarvelinView::ReportIcon, CTarvelinView::ReportIcon))
        << "the notes of a new project do not blink";
    userEdit(doc(), [](ProjectData& p) {
        ScheduleProgram& weekly = p.program(Weekly);
        weekly.addEntry();
        weekly.setTime(weekly.addEntry(), 24, 0, 0);
    });
    const auto blinking = twoBlinks();
    EXPECT_NE(blinking.first, blinking.second);

    openReport();
    const int row = rowOf(11, 1);
    ASSERT_GE(row, 0);
    clickRow(row);
    const QModelIndex index = list()->model()->index(row, 0);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(index).center());
    auto* weekly = qobject_cast<CProgramPage*>(view().currentPage());
    ASSERT_NE(weekly, nullptr);
    EXPECT_EQ(weekly->kind(), Weekly);
    EXPECT_EQ(weekly->list()->currentIndex().row(), 1);

    auto* hour = weekly->findChild<QLineEdit*>(QStringLiteral("hourField"));
    ASSERT_NE(hour, nullptr);
    hour->setFocus();
    hour->selectAll();
    QTest::keyClicks(hour, QStringLiteral("18"));
    EXPECT_EQ(doc().project().program(Weekly).entry(1).hour(), 18);
    EXPECT_EQ(twoBlinks(), std::make_pair(CTarvelinView::ReportIcon, CTarvelinView::ReportIcon));

    openReport();
    EXPECT_EQ(page().filterButton(0)->text(), "t2321 0");
}

TEST_F(ReportPageTest, ALanguageChangeRetextsTheRows) {
    oneOfEachSeverity();
    openReport();
    std::map<int, QString> other = testing::numberedTexts(QStringLiteral("u"));
    QFile file(app.dir.filePath(QStringLiteral("Language/Other.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    file.write(QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson());
    file.close();
    app.languages.setLanguage(QStringLiteral("Other"));
    view().refreshTexts();
    EXPECT_EQ(column(0), (QStringList{"u413", "u420", "u2200", "u2200"}));
    EXPECT_EQ(list()->model()->headerData(0, Qt::Horizontal).toString(), "u398");
    EXPECT_EQ(page().filterButton(2)->text(), "u2323 2");
    EXPECT_EQ(list()->model()->index(1, 0).data(Qt::AccessibleDescriptionRole).toString(), "u2325");
}

} // namespace
} // namespace tolvane
