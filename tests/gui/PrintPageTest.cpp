// The print page as a user works it: the format chosen with the mouse or the keyboard, Print writing Print.html
// (the programs, or the whole configuration) into the editor's folder of this run and asking the desktop to open
// it, Export PDF writing the whole configuration where the chooser says, and what the user is told when a
// document cannot be written or shown.

#include "DocumentEdit.h"
#include "OneOfEverything.h"
#include "PdfText.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/settings/CPropDruk.h"
#include "platform/PrintWriter.h"

#include <QCheckBox>
#include <QComboBox>
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
        // One of everything (a weekly program among it, so that the list and the detail format differ).
        testing::userEdit(*frame->document(), [](ProjectData& p) { testing_support::OneOfEverything::fill(p); });
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 696));
        ASSERT_EQ(frame->view()->currentPage(), &page());
        stepsBefore = frame->document()->undoStack()->count();
    }

    CPropDruk& page() const { return *qobject_cast<CPropDruk*>(frame->view()->page(PageId::Druk)); }
    QString document() const { return path(QStringLiteral("run/Print.html")); }
    std::string expected(PrintFormat format, PrintContent content = PrintContent::Programs) const {
        return PrintDocument::html(frame->document()->project(), app.languages, format, content);
    }
    QByteArray fileStart(const QString& file) const { return readAll(file).left(5); }

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

TEST_F(PrintPageTest, TheKeyboardChoosesTheFormatTheContentAndPrints) {
    page().listRadio()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().listRadio(), Qt::Key_Down);
    EXPECT_TRUE(page().detailsRadio()->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), page().wholeConfigurationBox());
    QTest::keyClick(page().wholeConfigurationBox(), Qt::Key_Space);
    EXPECT_TRUE(page().wholeConfigurationBox()->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), page().printButton());
    QTest::keyClick(page().printButton(), Qt::Key_Return);
    EXPECT_EQ(readAll(document()).toStdString(), expected(PrintFormat::Details, PrintContent::WholeConfiguration));
    EXPECT_EQ(app.starter.opened.size(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page().exportPdfButton());
}

TEST_F(PrintPageTest, WholeConfigurationPrintsEverythingAfterThePrograms) {
    QTest::mouseClick(page().wholeConfigurationBox(), Qt::LeftButton, {},
                      QPoint(8, page().wholeConfigurationBox()->height() / 2));
    QTest::mouseClick(page().printButton(), Qt::LeftButton);
    const QByteArray written = readAll(document());
    EXPECT_EQ(written.toStdString(), expected(PrintFormat::List, PrintContent::WholeConfiguration));
    EXPECT_TRUE(written.startsWith(QByteArray::fromStdString(expected(PrintFormat::List)).chopped(14)));
    EXPECT_TRUE(written.contains("<h1>t2158 St. Mary&#39;s</h1>")) << "the wiring table of the tower";
    EXPECT_FALSE(written.contains(QByteArray::number(testing_support::OneOfEverything::UserCode)));
    EXPECT_EQ(app.starter.opened, QStringList{document()});
}

TEST_F(PrintPageTest, ExportPdfWritesTheWholeConfigurationWhereTheUserChooses) {
    ASSERT_TRUE(QDir(app.dir.path()).mkpath(QStringLiteral("docs")));
    ASSERT_TRUE(frame->document()->save(path(QStringLiteral("docs/tower.tpm"))).isEmpty());
    app.choosers.saveFileAnswer(path(QStringLiteral("docs/record"))); // typed without the extension
    QTest::mouseClick(page().exportPdfButton(), Qt::LeftButton);

    ASSERT_EQ(app.choosers.calls().size(), 1u);
    const auto& call = app.choosers.calls()[0];
    EXPECT_EQ(call.title, "t2352");
    EXPECT_EQ(call.filter, "t2353");
    EXPECT_EQ(call.start, path(QStringLiteral("docs/tower.pdf"))) << "beside the project, with its name";
    const QString pdf = path(QStringLiteral("docs/record.pdf"));
    EXPECT_EQ(fileStart(pdf), "%PDF-");
    EXPECT_EQ(app.prompts.texts(), QStringList{QStringLiteral("t2355 ") + QDir::toNativeSeparators(pdf)});
    EXPECT_TRUE(app.starter.opened.isEmpty());
    if (!testing_support::hasPdfTools()) {
        GTEST_SKIP() << testing_support::NoPdfTools;
    }
    const std::string text = testing_support::pdfText(pdf.toStdString());
    for (const char* expected : {"t175", "t177", "t825", "t577", testing_support::OneOfEverything::HolidayName,
                                 "St. Mary's – tower.tpm", "t2359 1/"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
}

TEST_F(PrintPageTest, ExportPdfCancelledWritesNothing) {
    app.choosers.saveFileAnswer(QString());
    QTest::mouseClick(page().exportPdfButton(), Qt::LeftButton);
    EXPECT_TRUE(app.prompts.boxes().empty());
    EXPECT_TRUE(QDir(app.dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
}

TEST_F(PrintPageTest, APdfThatCannotBeWrittenIsReportedAndTheProjectIsNeverReplaced) {
    // A project file whose name ends in .pdf: the chooser's suggestion is the project itself.
    ASSERT_TRUE(frame->document()->save(path(QStringLiteral("tower.pdf"))).isEmpty());
    const QByteArray project = readAll(path(QStringLiteral("tower.pdf")));
    struct Case {
        QString chosen;
        QString reported;
    };
    const Case cases[] = {{path(QStringLiteral("tower.pdf")), path(QStringLiteral("tower.pdf"))},
                          {path(QStringLiteral("missing/record.pdf")), path(QStringLiteral("missing/record.pdf"))}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        app.prompts.clear();
        app.choosers.saveFileAnswer(c.chosen);
        QTest::mouseClick(page().exportPdfButton(), Qt::LeftButton);
        ASSERT_EQ(app.prompts.boxes().size(), 1u);
        EXPECT_EQ(app.prompts.boxes()[0].icon, PromptService::Icon::Warning);
        EXPECT_TRUE(
            app.prompts.boxes()[0].text.startsWith(QStringLiteral("t2354 ") + QDir::toNativeSeparators(c.reported)))
            << app.prompts.boxes()[0].text.toStdString();
    }
    EXPECT_EQ(readAll(path(QStringLiteral("tower.pdf"))), project);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));
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
    EXPECT_EQ(page().wholeConfigurationBox()->accessibleName(), "t2350");
    EXPECT_EQ(page().exportPdfButton()->accessibleName(), "t2351");
    EXPECT_EQ(page().exportPdfButton()->accessibleDescription(), "t2356");

    std::map<int, QString> other = testing::numberedTexts(QStringLiteral("o"));
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(path(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    page().detailsRadio()->setChecked(true);
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));

    EXPECT_EQ(page().findChild<QGroupBox*>(QStringLiteral("formatGroup"))->title(), "o2340");
    EXPECT_EQ(page().detailsRadio()->text(), "o700");
    EXPECT_EQ(page().detailsRadio()->accessibleName(), "o2340: o700");
    EXPECT_EQ(page().printButton()->accessibleName(), "o701");
    EXPECT_EQ(page().wholeConfigurationBox()->text(), "o2350");
    EXPECT_EQ(page().exportPdfButton()->text(), "o2351");
    EXPECT_EQ(page().exportPdfButton()->accessibleDescription(), "o2356");
    EXPECT_TRUE(page().detailsRadio()->isChecked()) << "the format stays chosen";
}

} // namespace
} // namespace tolvane
