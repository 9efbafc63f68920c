// Every page of the editor over the example tower, worked through the view as a user works it: merely looking at a
// page (its tree items, each record of its lists, a language change) never writes to the project, and real edits
// on several pages are each one undo step, undone to the very bytes the project started with and redone to the
// bytes it ended with.

#include "ShellTestSupport.h"
#include "UserActions.h"

#include "card/CardImages.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/PageTable.h"
#include "gui/ringing/CKurantyPage.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropSwieta.h"
#include "gui/sequences/CPropGongi.h"
#include "gui/settings/CPropSettings.h"
#include "gui/widgets/CFireEdit.h"
#include "project/ProjectFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace tolvane {
namespace {

// What the project would write: the project file and the four card files.
struct SavedBytes {
    std::vector<std::uint8_t> project;
    std::array<std::vector<std::uint8_t>, 4> cards;
};

// The bytes of the document's project, taken from a copy so that the document itself is not touched.
SavedBytes savedBytes(const CTarvelinDoc& document) {
    ProjectData copy;
    for (int id = 0; id < SectionIdCount; ++id) {
        copy.setState(static_cast<SectionId>(id), document.project().state(static_cast<SectionId>(id)));
    }
    copy.sectionsMissingFromFile = document.project().sectionsMissingFromFile;
    SavedBytes saved;
    saved.project = projectfile::encode(copy);
    for (auto& image : saved.cards) {
        image.assign(card::ImageSize, 0xFF);
    }
    card::packProgramsImage(copy, std::span<std::uint8_t, card::ImageSize>(saved.cards[0].data(), card::ImageSize));
    card::packConfigImage(copy, std::span<std::uint8_t, card::ImageSize>(saved.cards[1].data(), card::ImageSize));
    card::packSequencesImage(copy, std::span<std::uint8_t, card::ImageSize>(saved.cards[2].data(), card::ImageSize));
    saved.cards[3].assign(card::ChimesImageSize, 0xFF);
    card::packChimesImage(copy,
                          std::span<std::uint8_t, card::ChimesImageSize>(saved.cards[3].data(), card::ChimesImageSize));
    return saved;
}

// Where two sets of bytes first differ ("config.dat at 852"), empty when they are the same.
std::string firstDifference(const SavedBytes& a, const SavedBytes& b) {
    const auto where = [](const std::string& name, const std::vector<std::uint8_t>& x,
                          const std::vector<std::uint8_t>& y) {
        if (x == y) {
            return std::string();
        }
        std::size_t at = 0;
        while (at < x.size() && at < y.size() && x[at] == y[at]) {
            ++at;
        }
        std::ostringstream out;
        out << name << " at " << at << " (sizes " << x.size() << ", " << y.size() << ")";
        return out.str();
    };
    std::string found = where("the project file", a.project, b.project);
    for (std::size_t k = 0; k < a.cards.size() && found.empty(); ++k) {
        found = where(std::string(card::fileName(card::AllKinds[k])), a.cards[k], b.cards[k]);
    }
    return found;
}

// The main window with the example tower open and shown, as the user opens it from the File menu.
class ExampleOpen : protected testing::ShellFixture {
protected:
    bool openExample() {
        frame->resize(1280, 800);
        frame->show();
        return QTest::qWaitForWindowExposed(frame.get()) &&
               frame->openDocument(QStringLiteral(TOLVANE_EXAMPLE_PROJECT));
    }

    CTarvelinDoc& doc() const { return *frame->document(); }
    CTarvelinView& view() const { return *frame->view(); }
    int steps() const { return doc().undoStack()->count(); }

    // Brings a page to the front through the tree item showing `textId`.
    void choose(int textId) {
        QTreeWidgetItem* item = testing::treeItem(view(), textId);
        ASSERT_NE(item, nullptr) << textId;
        view().tree()->setCurrentItem(item);
    }

    template <typename T> static T* child(const QWidget& page, const char* name) {
        T* found = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

// ---- looking never writes ----

std::vector<PageId> everyPage() {
    std::vector<PageId> ids;
    for (const PageSpec& spec : pageTable()) {
        ids.push_back(spec.id);
    }
    return ids;
}

// The page's section of the guide as a test name ("time-corrections" -> "TimeCorrections").
std::string pageName(PageId id) {
    std::string name;
    bool upper = true;
    for (const char* c = pageSpec(id).helpTopic; *c != '\0'; ++c) {
        if (*c == '-') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
        upper = false;
    }
    return name;
}

class LookingNeverWrites : public ::testing::TestWithParam<PageId>, protected ExampleOpen {
protected:
    // The record lists the page shows: the lists the user can move through (a table's header is not one).
    static std::vector<QAbstractItemView*> shownLists(const QWidget& page) {
        std::vector<QAbstractItemView*> lists;
        for (QAbstractItemView* list : page.findChildren<QAbstractItemView*>()) {
            if (qobject_cast<QHeaderView*>(list) == nullptr && list->isVisible() && list->model() != nullptr &&
                list->selectionModel() != nullptr && list->selectionMode() != QAbstractItemView::NoSelection) {
                lists.push_back(list);
            }
        }
        return lists;
    }

    // Selects row `row` of `list`, as the arrow keys or a click on the row do.
    static void selectRow(QAbstractItemView* list, int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // Each record of each list in turn; a list further down the page (the steps of a sequence) is walked for every
    // record of the lists above it.
    static void selectEveryRecord(const std::vector<QAbstractItemView*>& lists, std::size_t from = 0) {
        for (std::size_t k = from; k < lists.size(); ++k) {
            QAbstractItemView* list = lists[k];
            list->setFocus();
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                SCOPED_TRACE(list->objectName().toStdString() + " row " + std::to_string(row));
                selectRow(list, row);
                selectEveryRecord(lists, k + 1);
            }
        }
    }
};

TEST_P(LookingNeverWrites, ShowingThePageSelectingEachRecordAndChangingTheLanguage) {
    const PageSpec& spec = pageSpec(GetParam());
    ASSERT_TRUE(openExample());
    ASSERT_TRUE(testing::writeLanguage(path(QStringLiteral("Language")), QStringLiteral("Other"),
                                       testing::numberedTexts(QStringLiteral("o"))));
    const SavedBytes before = savedBytes(doc());
    ASSERT_EQ(steps(), 0);
    ASSERT_FALSE(doc().isModified());

    // Every tree item of the page; a page without one now (the special tolling while its option is off) is brought
    // to the front as the report and the overview bring it.
    bool fromTree = false;
    for (const TreeItemSpec& item : spec.treeItems) {
        if (item.order >= 0 && testing::treeItem(view(), item.text) != nullptr) {
            SCOPED_TRACE(item.text);
            choose(item.text);
            EXPECT_EQ(view().currentPage(), view().page(spec.id));
            fromTree = true;
        }
    }
    if (!fromTree) {
        view().showPage(spec.id);
    }
    CDataPage& page = *view().page(spec.id);
    ASSERT_EQ(view().currentPage(), &page);
    selectEveryRecord(shownLists(page));

    // The captions in the current language again, then Tools -> Program settings and another language.
    view().refreshTexts();
    frame->refreshTexts();
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(view().currentPage(), &page);
    // What a save or a close stores from the focused field first.
    view().commitPendingEdit();

    EXPECT_EQ(steps(), 0) << doc().undoStack()->text(0).toStdString();
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(firstDifference(before, savedBytes(doc())), "");
    EXPECT_EQ(app.prompts.texts(), QStringList{"t656"}) << "only the program settings' word on the new language";
}

INSTANTIATE_TEST_SUITE_P(EveryPage, LookingNeverWrites, ::testing::ValuesIn(everyPage()),
                         [](const ::testing::TestParamInfo<PageId>& param) { return pageName(param.param); });

// ---- scripted edits across five pages ----

class ScriptedEdits : public ::testing::Test, protected ExampleOpen {
protected:
    // The user types into a field (entering it selects its text) and leaves it with Tab.
    static void typeAndLeave(QLineEdit* field, const QString& typed) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        if (field->hasFocus()) {
            QTest::keyClick(field, Qt::Key_Tab);
        }
    }

    static void clickRow(QTableView* list, int row) {
        const QModelIndex index = list->model()->index(row, 1);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // A click on a check box's or radio button's indicator.
    static void press(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
};

TEST_F(ScriptedEdits, FivePagesEditedAreUndoneToTheStartAndRedoneToTheEnd) {
    ASSERT_TRUE(openExample());
    const SavedBytes start = savedBytes(doc());
    int actions = 0;
    // One user action: the project changed, and by exactly one more undo step.
    const auto acted = [&](const char* what) {
        ++actions;
        EXPECT_EQ(steps(), actions) << what;
    };

    // Settings, a numeric field: the amplifier's lead time typed and left.
    choose(CPropSettings::TreeAmplifier);
    auto& settings = *qobject_cast<CPropSettings*>(view().currentPage());
    auto* leadTime = child<CFireEdit>(settings, "leadTime");
    ASSERT_NE(leadTime, nullptr);
    const int lead = doc().project().amplifier().leadTimeSeconds() == 25 ? 24 : 25;
    typeAndLeave(leadTime, QString::number(lead));
    EXPECT_EQ(doc().project().amplifier().leadTimeSeconds(), lead);
    acted("lead time");

    // The weekly programs, a list page: the second program on one more weekday (or one fewer).
    choose(159);
    auto& weekly = *qobject_cast<CProgramPage*>(view().currentPage());
    ASSERT_GE(weekly.list()->model()->rowCount(), 2);
    clickRow(weekly.list(), 1);
    auto* weekday = child<QCheckBox>(weekly, "weekday5");
    ASSERT_NE(weekday, nullptr);
    ASSERT_TRUE(weekday->isVisible());
    const bool wasTicked = weekday->isChecked();
    QTest::mouseClick(weekday, Qt::LeftButton);
    EXPECT_NE(weekday->isChecked(), wasTicked);
    acted("weekday");

    // The holiday table: a new holiday.
    choose(169);
    auto& holidayPage = *qobject_cast<CPropSwieta*>(view().currentPage());
    const int holidays = doc().project().holidays().usedCount();
    QTest::mouseClick(child<QPushButton>(holidayPage, "addButton"), Qt::LeftButton);
    EXPECT_EQ(doc().project().holidays().usedCount(), holidays + 1);
    acted("new holiday");

    // The striking: the hours in another mode.
    choose(167);
    auto& striking = *qobject_cast<CPropGongi*>(view().currentPage());
    const int mode = doc().project().striking().record().hourMode() == 2 ? 1 : 2;
    press(striking.modeRadio(mode));
    EXPECT_EQ(doc().project().striking().record().hourMode(), mode);
    acted("striking mode");

    // The chimes: chime 3 renamed.
    choose(825);
    auto& chimes = *qobject_cast<CKurantyPage*>(view().currentPage());
    chimes.list()->setFocus();
    clickRow(chimes.list(), 2);
    ASSERT_TRUE(chimes.nameField()->isVisible());
    typeAndLeave(chimes.nameField(), QStringLiteral("Te Deum"));
    EXPECT_EQ(doc().project().chimes().name(2), "Te Deum");
    acted("chime name");

    view().commitPendingEdit();
    ASSERT_EQ(steps(), actions) << "each action is one undo step";
    EXPECT_TRUE(doc().isModified());
    const SavedBytes end = savedBytes(doc());
    ASSERT_NE(firstDifference(start, end), "");

    for (int n = 0; n < actions; ++n) {
        EXPECT_TRUE(frame->undo()) << n;
    }
    EXPECT_FALSE(doc().canUndo());
    EXPECT_EQ(firstDifference(start, savedBytes(doc())), "");
    // The history is back where the file was opened; the values the steps touched keep their change marks, so
    // the exit check still asks.
    EXPECT_TRUE(doc().undoStack()->isClean());

    for (int n = 0; n < actions; ++n) {
        EXPECT_TRUE(frame->redo()) << n;
    }
    EXPECT_FALSE(doc().canRedo());
    EXPECT_EQ(firstDifference(end, savedBytes(doc())), "");
    EXPECT_FALSE(doc().undoStack()->isClean());
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(steps(), actions);
    EXPECT_TRUE(app.prompts.texts().isEmpty()) << app.prompts.texts().join(QLatin1Char('|')).toStdString();
}

} // namespace
} // namespace tolvane
