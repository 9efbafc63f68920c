// The list of differences as an installer uses it: Compare with card on the card page, Show changes in the
// write question, File > Compare with... for another project file; the rows after one edit, the area filter and
// the double click that brings the page and record to the front.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "card/CardFiles.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/card/CPropWymiana.h"
#include "gui/common/ChangesQuestion.h"
#include "gui/report/CPorownanieDlg.h"
#include "gui/schedules/CProgramPage.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/ProjectFile.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <deque>

namespace tolvane {
namespace {

using testing::userEdit;
using ChangesAnswer = ChangesQuestion::Answer;

// The test's prompt, which also asks the write question with Show changes: every other box goes to the scripted
// prompt of the test context; the write questions take the answers queued here, in order.
class ChangesPrompt final : public PromptService, public ChangesQuestion {
public:
    explicit ChangesPrompt(PromptService& others) : others_(others) {}
    ~ChangesPrompt() override { EXPECT_TRUE(answers.empty()) << answers.size() << " write answer(s) never asked for"; }

    PromptService::Answer ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override {
        return others_.ask(owner, text, buttons, icon);
    }
    ChangesAnswer askWithChanges(QWidget*, const QString& text) override {
        questions << text;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected write question: " << text.toStdString();
            return ChangesAnswer::No;
        }
        const ChangesAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<ChangesAnswer> answers;
    QStringList questions;

private:
    PromptService& others_;
};

std::map<int, QString> differenceTexts() {
    std::map<int, QString> texts = testing::numberedTexts(QStringLiteral("t"));
    for (int id = 2500; id < 2550; ++id) {
        texts[id] = QStringLiteral("t%1").arg(id);
    }
    texts[2502] = QStringLiteral("t2502 %d");
    texts[2505] = QStringLiteral("t2505 %d");
    texts[2518] = QStringLiteral("t2518 %s");
    return texts;
}

QStringList rowCells(const QTableWidget& list, int row) {
    QStringList cells;
    for (int column = 0; column < list.columnCount(); ++column) {
        cells << list.item(row, column)->text();
    }
    return cells;
}

// A project with two weekly programs and a chime, written to a folder of card files; then one edit in the editor.
class DifferencesDialogTest : public ::testing::Test {
protected:
    DifferencesDialogTest()
        : app(differenceTexts()), prompt(app.prompts),
          context{app.languages,    prompt,       app.choosers,
                  app.dialogs,      app.store,    app.current,
                  app.context.paths, app.starter, app.context.tempFolder,
                  app.context.cardBackupFolder} {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        const auto fill = [](ProjectData& p) {
            for (int n = 0; n < 2; ++n) {
                const int i = p.program(Weekly).addEntry();
                p.program(Weekly).setTime(i, static_cast<std::uint8_t>(7 + n * 5), 15, 0);
                p.program(Weekly).setDays(i, 0x7F);
            }
            p.chimes().setName(2, "Salve Regina");
        };
        userEdit(doc(), fill);
        // The card holds the same project.
        folder = app.dir.filePath(QStringLiteral("card"));
        QDir().mkpath(folder);
        ProjectData onCard;
        fill(onCard);
        PlatformCardFileSystem files;
        for (card::FileKind kind : card::AllKinds) {
            ASSERT_TRUE(
                card::writeCardFile(onCard, kind, folder.toStdString(), app.dir.path().toStdString(), files).ok);
        }
        // The one edit: the second program (12:15) rings at 12:45.
        userEdit(doc(), [](ProjectData& p) { p.program(Weekly).setTime(1, 12, 45, 0); });
        cardPage().setDatMode(true, folder);
        view().showPage(PageId::Wymiana);
    }

    CTarvelinView& view() const { return *frame->view(); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    CPropWymiana& cardPage() const { return *qobject_cast<CPropWymiana*>(view().page(PageId::Wymiana)); }
    QByteArray programsOnCard() const {
        QFile file(folder + QStringLiteral("/programs.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testing::TestAppContext app;
    ChangesPrompt prompt;
    AppContext context;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
    QString folder;
};

TEST_F(DifferencesDialogTest, CompareWithCardListsTheEditAndADoubleClickShowsItsRecord) {
    const int steps = doc().undoStack()->count();
    QStringList cells;
    app.dialogs.then([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CPorownanieDlg*>(&dialog);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "t2512");
        QTableWidget* list = dlg->list();
        ASSERT_EQ(list->rowCount(), 1);
        cells = rowCells(*list, 0);
        // The filter offers every area and the one area that differs; each keeps the row it should.
        QComboBox* filter = dlg->areaFilter();
        ASSERT_EQ(filter->count(), 2);
        EXPECT_EQ(filter->itemText(1), "t175");
        filter->setCurrentIndex(1);
        EXPECT_EQ(list->rowCount(), 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QPoint cell = list->visualItemRect(list->item(0, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        ASSERT_NE(dlg->chosen(), nullptr);
        EXPECT_EQ(dlg->chosenTarget()->page, IssuePage::WeeklyPrograms);
        EXPECT_EQ(dlg->chosenTarget()->record, 1);
    });
    QTest::mouseClick(cardPage().compareButton(), Qt::LeftButton);
    EXPECT_EQ(app.dialogs.runs(), 1);
    EXPECT_EQ(cells, (QStringList{"t175", "t2502 2", "t231", "", "12:15:00", "12:45:00"}));

    // The weekly page is in front with the changed program selected; looking changed nothing.
    auto* weekly = qobject_cast<CProgramPage*>(view().currentPage());
    ASSERT_NE(weekly, nullptr);
    EXPECT_EQ(view().currentPage(), view().page(PageId::Tyg));
    EXPECT_EQ(weekly->list()->currentIndex().row(), 1);
    EXPECT_EQ(doc().undoStack()->count(), steps);
}

TEST_F(DifferencesDialogTest, ShowChangesInTheWriteQuestionListsWhatThatFileChangesAndAsksAgain) {
    const QByteArray before = programsOnCard();
    int rows = -1;
    prompt.answers = {ChangesAnswer::ShowChanges, ChangesAnswer::No};
    app.dialogs.then([&](QDialog& dialog) {
        rows = qobject_cast<CPorownanieDlg*>(&dialog)->list()->rowCount();
        dialog.reject();
    });
    QTest::mouseClick(cardPage().writeButton(card::FileKind::Programs), Qt::LeftButton);
    EXPECT_EQ(rows, 1);
    ASSERT_EQ(prompt.questions.size(), 2);
    EXPECT_EQ(prompt.questions[1], prompt.questions[0]) << "the same question again";
    EXPECT_EQ(programsOnCard(), before) << "No writes nothing";

    // The chime file holds nothing that changed: its list is empty.
    prompt.answers = {ChangesAnswer::ShowChanges, ChangesAnswer::No};
    app.dialogs.then([&](QDialog& dialog) {
        rows = qobject_cast<CPorownanieDlg*>(&dialog)->list()->rowCount();
        dialog.reject();
    });
    QTest::mouseClick(cardPage().writeButton(card::FileKind::Chimes), Qt::LeftButton);
    EXPECT_EQ(rows, 0);
}

TEST_F(DifferencesDialogTest, CompareWithAnotherProjectFileFromTheFileMenu) {
    const QString other = app.dir.filePath(QStringLiteral("other.tpm"));
    {
        ProjectData p;
        const int i = p.program(Weekly).addEntry();
        p.program(Weekly).setTime(i, 7, 15, 0);
        p.program(Weekly).setDays(i, 0x7F);
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::vector<std::uint8_t> bytes = projectfile::store(p);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    app.choosers.openFileAnswer(other);
    QList<QStringList> rows;
    app.dialogs.then([&](QDialog& dialog) {
        QTableWidget* list = qobject_cast<CPorownanieDlg*>(&dialog)->list();
        for (int row = 0; row < list->rowCount(); ++row) {
            rows << rowCells(*list, row);
        }
        dialog.reject();
    });
    QAction* compare = frame->findChild<QAction*>(QStringLiteral("actionCompareWith"));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->text(), "t2515");
    compare->trigger();
    // This project has a second program and a chime the other file lacks.
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].mid(0, 4), (QStringList{"t175", "t2502 2", "", "t2500"}));
    EXPECT_EQ(rows[1].mid(0, 4), (QStringList{"t825", "t827 3", "", "t2500"}));
}

} // namespace
} // namespace tolvane
