// The print page as a user works it: the format chosen with the mouse or the keyboard, Print writing Print.html
// into the editor's folder of this run and asking the desktop to open it, and what the user is told when the
// document cannot be written or shown.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CProgramSet.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/settings/CPropDruk.h"
#include "platform/PrintWriter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PrintPageTest : public ::testing::Test, public testing::ShellFixture {
protected:
    void SetUp() override {
        // The run folder of the editor, apart from the program folder (whose print folder holds a style sheet).
        ASSERT_TRUE(QDir(app.dir.path()).mkpath(QStringLiteral("run")));
        ASSERT_TRUE(QDir(app.dir.path()).mkpath(QStringLiteral("print")));
        ASSERT_TRUE(testing::writeBytes(path(QStringLiteral("print/style.css")), "body {}"));
        app.context.tempFolder = path(QStringLiteral("run")) + QLatin1Char('/');

        ASSERT_TRUE(frame->newDocument());
        // One weekly program, so that the list and the detail format differ.
        testing::userEdit(*frame->document(), [](ProjectData& p) {
            const int entry = p.program(Weekly).addEntry();
            p.program(Weekly).setTime(entry, 7, 30, 0);
        });
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 696));
        ASSERT_EQ(frame->view()->currentPage(), &page());
        stepsBefore = frame->document()->undoStack()->count();
    }

    CPropDruk& page() const { return *qobject_cast<CPropDruk*>(frame->view()->page(PageId::Druk)); }
    QString document() const { return path(QStringLiteral("run/Print.html")); }
    std::string expected(PrintFormat format) const {
        return PrintDocument::html(frame->document()->project(), app.languages, format);
    }

    int stepsBefore = 0;
};

TEST_F(PrintPageTest, PrintWritesTheChosenFormatIntoTheRunFolderAndOpensIt) {
    struct Case {
        const char* name;
        PrintFormat format;
        const char* marker; // markup only that format has
    };
    const Case cases[] = {{"detailsFormat", PrintFormat::Details, "<td width=\"600\">"},
                          {"listFormat", PrintFormat::List, "<table id=\"tabela\">"}};
    QByteArray previous;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.starter.opened.clear();
        auto* radio = page().findChild<QRadioButton*>(QString::fromLatin1(c.name));
        ASSERT_NE(radio, nullptr);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
        EXPECT_EQ(page().format(), c.format);
        QTest::mouseClick(page().printButton(), Qt::LeftButton);

        const QByteArray written = readAll(document());
        EXPECT_EQ(written.toStdString(), expected(c.format));
        EXPECT_TRUE(written.contains(c.marker));
        EXPECT_NE(written, previous);
        previous = written;
        EXPECT_EQ(app.starter.opened, QStringList{document()});
        EXPECT_EQ(readAll(path(QStringLiteral("run/print/style.css"))), QByteArray("body {}"));
    }
    EXPECT_TRUE(app.prompts.boxes().empty());
    EXPECT_EQ(frame->document()->undoStack()->count(), stepsBefore) << "printing changes nothing in the project";
}

TEST_F(PrintPageTest, TheKeyboardChoosesTheFormatAndPrints) {
    page().listRadio()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().listRadio(), Qt::Key_Down);
    EXPECT_TRUE(page().detailsRadio()->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), page().printButton());
    QTest::keyClick(page().printButton(), Qt::Key_Return);
    EXPECT_EQ(readAll(document()).toStdString(), expected(PrintFormat::Details));
    EXPECT_EQ(app.starter.opened.size(), 1);
}

TEST_F(PrintPageTest, ADocumentThatCannotBeWrittenIsReportedAndNothingIsOpened) {
    // A folder where the document should go: no file can take its place.
    ASSERT_TRUE(QDir().mkpath(document()));
    QTest::mouseClick(page().printButton(), Qt::LeftButton);
    EXPECT_TRUE(app.starter.opened.isEmpty());
    ASSERT_EQ(app.prompts.boxes().size(), 1u);
    const auto& box = app.prompts.boxes()[0];
    EXPECT_EQ(box.icon, PromptService::Icon::Warning);
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("t2341 ") + QDir::toNativeSeparators(document())))
        << box.text.toStdString();
    EXPECT_TRUE(QFileInfo(document()).isDir()) << "the folder in the way is left alone";
}

TEST_F(PrintPageTest, ADocumentThatNoProgramShowsIsReportedWithItsPath) {
    app.starter.succeeds = false;
    QTest::mouseClick(page().printButton(), Qt::LeftButton);
    EXPECT_EQ(readAll(document()).toStdString(), expected(PrintFormat::List));
    EXPECT_EQ(app.prompts.texts(), QStringList{QStringLiteral("t2342 ") + QDir::toNativeSeparators(document())});
}

TEST_F(PrintPageTest, ControlsAreNamedForScreenReadersAndFollowTheLanguage) {
    EXPECT_EQ(page().listRadio()->accessibleName(), "t2340: t699");
    EXPECT_EQ(page().detailsRadio()->accessibleName(), "t2340: t700");
    EXPECT_EQ(page().printButton()->text(), "t701");

    std::map<int, QString> other = testing::numberedTexts(QStringLiteral("o"));
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(path(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    page().detailsRadio()->setChecked(true);
    CProgramSet dialog(
        app.context, [this] { frame->applyLanguage(); }, frame.get());
    dialog.languageList()->setCurrentText(QStringLiteral("Other"));
    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);

    EXPECT_EQ(page().findChild<QGroupBox*>(QStringLiteral("formatGroup"))->title(), "o2340");
    EXPECT_EQ(page().detailsRadio()->text(), "o700");
    EXPECT_EQ(page().detailsRadio()->accessibleName(), "o2340: o700");
    EXPECT_EQ(page().printButton()->accessibleName(), "o701");
    EXPECT_TRUE(page().detailsRadio()->isChecked()) << "the format stays chosen";
}

} // namespace
} // namespace tolvane
