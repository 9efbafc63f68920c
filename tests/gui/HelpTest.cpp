// The user guide and F1: every page and every edit dialog has its section in every language, F1 opens the help
// window there, and the guide's files are well formed with no link or picture leading nowhere.

#include "ShellTestSupport.h"

#include "gui/app/CDataPage.h"
#include "gui/app/PageTable.h"
#include "gui/choosers/CSelNumerDlg.h"
#include "gui/dialogs/DialogHelp.h"
#include "gui/widgets/CHelpWindow.h"
#include "gui/widgets/HelpKeys.h"
#include "platform/HelpGuide.h"
#include "project/ProjectData.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>

namespace tolvane {
namespace {

using testing::ShellFixture;

const QString HelpFolder = QStringLiteral(TOLVANE_VERSION_DIR "/Help");
const QStringList Languages{QStringLiteral("English"), QStringLiteral("Polski"), QStringLiteral("Deutsch"),
                            QStringLiteral("Francais")};

// What one guide file holds: its first heading, the ids of its elements, its links and its pictures.
struct GuideFile {
    bool wellFormed = false;
    QString error;
    QString title;
    QString heading;
    QSet<QString> ids;
    QStringList links;
    QStringList images;
};

GuideFile readGuideFile(const QString& path) {
    GuideFile result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot be read");
        return result;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute(QLatin1String("id"))) {
            result.ids.insert(attributes.value(QLatin1String("id")).toString());
        }
        if (xml.name() == QLatin1String("a")) {
            result.links.append(attributes.value(QLatin1String("href")).toString());
        } else if (xml.name() == QLatin1String("img")) {
            result.images.append(attributes.value(QLatin1String("src")).toString());
        } else if (xml.name() == QLatin1String("title")) {
            result.title = xml.readElementText().simplified();
        } else if (xml.name() == QLatin1String("h1") && result.heading.isEmpty()) {
            result.heading = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        }
    }
    result.wellFormed = !xml.hasError();
    result.error = xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber());
    return result;
}

// The topics F1 can open: every page's, every dialog's and the launcher's.
QStringList everyTopic() {
    QStringList topics;
    for (const PageSpec& spec : pageTable()) {
        topics.append(QString::fromLatin1(spec.helpTopic));
    }
    for (const DialogHelpRow& row : dialogHelpTable()) {
        topics.append(QString::fromLatin1(row.topic));
    }
    topics.append(QStringLiteral("launcher"));
    return topics;
}

TEST(UserGuide, EveryPageDialogAndTheLauncherHaveTheirSectionInEveryLanguage) {
    for (const QString& language : Languages) {
        for (const QString& topic : everyTopic()) {
            SCOPED_TRACE((language + QLatin1Char(' ') + topic).toStdString());
            const QString name = topic.section(QLatin1Char('#'), 0, 0);
            const QString path = QDir(HelpFolder).filePath(language + QLatin1Char('/') + name + ".html");
            ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
            const GuideFile file = readGuideFile(path);
            EXPECT_FALSE(file.heading.isEmpty());
            const QString anchor = topic.section(QLatin1Char('#'), 1);
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(file.ids.contains(anchor)) << anchor.toStdString();
            }
        }
    }
}

// A dialog added without a row in the help table would open the contents instead of its section.
TEST(UserGuide, EveryEditDialogAndChooserOfTheSourcesHasAHelpRow) {
    std::set<std::string> listed;
    for (const DialogHelpRow& row : dialogHelpTable()) {
        listed.insert(row.className);
    }
    const QRegularExpression declaration(
        QStringLiteral(R"(class\s+(\w+)\s+(?:final\s+)?:\s+public\s+(CDialogEdy|ChooserDialog|CWiringChooser)\b)"));
    int dialogs = 0;
    QDirIterator it(QStringLiteral(TOLVANE_SOURCE_DIR "/src/gui"), {QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile header(it.next());
        ASSERT_TRUE(header.open(QIODevice::ReadOnly));
        const QString source = QString::fromUtf8(header.readAll());
        for (auto match = declaration.globalMatch(source); match.hasNext();) {
            const QString name = match.next().captured(1);
            if (name == QLatin1String("CWiringChooser")) {
                continue; // the shared base of the wiring choosers, never shown itself
            }
            ++dialogs;
            EXPECT_TRUE(listed.count("tolvane::" + name.toStdString())) << name.toStdString() << " has no section";
        }
    }
    EXPECT_GE(dialogs, 14);
}

TEST(UserGuide, EveryFileIsWellFormedAndItsLinksAndPicturesResolve) {
    const QDir root(HelpFolder);
    QStringList english = root.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    english =
        QDir(root.filePath(QStringLiteral("English"))).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_GE(english.size(), 25);
    for (const QString& language : Languages) {
        const QDir folder(root.filePath(language));
        // Every language has every section: none falls back to English.
        EXPECT_EQ(folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name), english)
            << language.toStdString();
        for (const QString& name : english) {
            SCOPED_TRACE((language + QLatin1Char('/') + name).toStdString());
            const GuideFile file = readGuideFile(folder.filePath(name));
            ASSERT_TRUE(file.wellFormed) << file.error.toStdString();
            EXPECT_FALSE(file.heading.isEmpty());
            EXPECT_EQ(file.title, file.heading);
            for (const QString& link : file.links) {
                ASSERT_FALSE(link.contains(QLatin1Char(':'))) << link.toStdString(); // no link leaves the guide
                const QString target = link.section(QLatin1Char('#'), 0, 0);
                const QString anchor = link.section(QLatin1Char('#'), 1);
                const QString path = target.isEmpty() ? folder.filePath(name) : folder.filePath(target);
                ASSERT_TRUE(QFileInfo(path).isFile()) << link.toStdString();
                if (!anchor.isEmpty()) {
                    EXPECT_TRUE(readGuideFile(path).ids.contains(anchor)) << link.toStdString();
                }
            }
            for (const QString& image : file.images) {
                EXPECT_TRUE(QFileInfo(folder.filePath(image)).isFile()) << image.toStdString();
            }
        }
        // The contents reach every section.
        const HelpGuide guide(HelpFolder, language);
        QSet<QString> reached{QStringLiteral("index.html")};
        for (const HelpGuide::Entry& entry : guide.contents()) {
            reached.insert(entry.topic.section(QLatin1Char('#'), 0, 0) + QStringLiteral(".html"));
        }
        EXPECT_EQ(reached, QSet<QString>(english.begin(), english.end())) << language.toStdString();
    }
}

TEST(UserGuide, ASectionMissingInALanguageComesFromTheEnglishGuideAndATopicNeverLeavesTheGuide) {
    const HelpGuide guide(HelpFolder, QStringLiteral("Klingon"));
    EXPECT_EQ(guide.fileOf(QStringLiteral("weekly#x")),
              QDir(HelpFolder).filePath(QStringLiteral("English/weekly.html")));
    EXPECT_EQ(guide.urlOf(QStringLiteral("choosers#relay")).fragment(), QStringLiteral("relay"));
    for (const char* escape : {"../English/weekly", "/etc/passwd", ".hidden", ""}) {
        EXPECT_TRUE(guide.fileOf(QString::fromLatin1(escape)).isEmpty()) << escape;
    }
}

// --- F1 in the editor -------------------------------------------------------------------------------------------

struct HelpWindowFixture : ::testing::Test {
    void SetUp() override {
        CHelpWindow::configure(
            HelpFolder, [this] { return language; }, &shell.app.languages);
    }
    void TearDown() override {
        if (CHelpWindow* window = CHelpWindow::current()) {
            delete window;
        }
        CHelpWindow::configure({}, {}, nullptr);
    }

    // The first heading of a section in the language of the test.
    QString headingOf(const QString& topic) const {
        const GuideFile file =
            readGuideFile(QDir(HelpFolder).filePath(language + QLatin1Char('/') + topic + QStringLiteral(".html")));
        return file.heading;
    }

    ShellFixture shell;
    QString language = QStringLiteral("English");
};

struct F1Case {
    PageId page;
    const char* language;
    const char* topic;
};

class PageF1Test : public HelpWindowFixture, public ::testing::WithParamInterface<F1Case> {};

TEST_P(PageF1Test, F1OnAControlOfThePageOpensTheHelpWindowAtThePagesHeading) {
    const F1Case& c = GetParam();
    language = QString::fromLatin1(c.language);
    ASSERT_TRUE(shell.frame->newDocument());
    CTarvelinView* view = shell.frame->view();
    view->showPage(c.page);
    CDataPage* page = view->currentPage();
    ASSERT_EQ(page, view->page(c.page));
    // A key pressed on the page's first control that takes the focus, as a user would after Tab.
    QWidget* control = page;
    for (QWidget* child : page->findChildren<QWidget*>()) {
        if (child->focusPolicy() & Qt::TabFocus) {
            control = child;
            break;
        }
    }
    QTest::keyClick(control, Qt::Key_F1);
    CHelpWindow* window = CHelpWindow::current();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTopic(), QString::fromLatin1(c.topic));
    const QString heading = headingOf(QString::fromLatin1(c.topic));
    ASSERT_FALSE(heading.isEmpty());
    EXPECT_EQ(window->currentHeading(), heading);
    EXPECT_TRUE(window->browser()->source().toLocalFile().contains(language + QLatin1Char('/')));
}

INSTANTIATE_TEST_SUITE_P(Pages, PageF1Test,
                         ::testing::Values(F1Case{PageId::Tyg, "English", "weekly"},
                                           F1Case{PageId::Sekwencje, "Deutsch", "sequences"},
                                           F1Case{PageId::Krosownica, "Polski", "cross-connection"},
                                           F1Case{PageId::Raport, "Francais", "report"}));

TEST_F(HelpWindowFixture, F1InTheTreeShowsThePageInFrontAndTheUserGuideActionTheContents) {
    ASSERT_TRUE(shell.frame->newDocument());
    CTarvelinView* view = shell.frame->view();
    view->showPage(PageId::Kuranty);
    QTest::keyClick(view->tree(), Qt::Key_F1);
    ASSERT_NE(CHelpWindow::current(), nullptr);
    EXPECT_EQ(CHelpWindow::current()->currentTopic(), QStringLiteral("chimes"));

    auto* guide = shell.frame->findChild<QAction*>(QStringLiteral("actionUserGuide"));
    ASSERT_NE(guide, nullptr);
    guide->trigger();
    EXPECT_EQ(CHelpWindow::current()->currentTopic(), QStringLiteral("index"));
    EXPECT_GE(CHelpWindow::current()->contentsList()->count(), 25);
}

TEST_F(HelpWindowFixture, F1InAChooserOpensItsPartOfTheChoosersSection) {
    ProjectData project;
    CSelNumerDlg chooser(project, 1, shell.app.languages, shell.app.prompts);
    QTest::keyClick(chooser.list(), Qt::Key_F1);
    ASSERT_NE(CHelpWindow::current(), nullptr);
    EXPECT_EQ(CHelpWindow::current()->currentTopic(), QStringLiteral("choosers#number"));
    EXPECT_EQ(CHelpWindow::current()->currentHeading(),
              QStringLiteral("Program number")); // the heading at the anchor, not the section's first
}

TEST_F(HelpWindowFixture, SearchListsTheSectionsHoldingEveryWordAndBackReturnsToTheSectionBefore) {
    CHelpWindow* window = CHelpWindow::showTopic(shell.frame.get(), QStringLiteral("weekly"));
    QTest::keyClicks(window->searchField(), QStringLiteral("relay hammer"));
    QStringList found;
    for (int i = 0; i < window->contentsList()->count(); ++i) {
        found.append(window->contentsList()->item(i)->text().trimmed());
    }
    EXPECT_TRUE(found.contains(QStringLiteral("Hammer editor"))) << found.join(", ").toStdString();
    EXPECT_FALSE(found.contains(QStringLiteral("Chimes")));
    QTest::keyClick(window->searchField(), Qt::Key_Return);
    EXPECT_NE(window->currentTopic(), QStringLiteral("weekly"));
    window->browser()->backward();
    EXPECT_EQ(window->currentTopic(), QStringLiteral("weekly"));

    window->searchField()->setText(QStringLiteral("zzzqqq"));
    ASSERT_EQ(window->contentsList()->count(), 1);
    EXPECT_FALSE(window->contentsList()->item(0)->flags() & Qt::ItemIsEnabled);
}

TEST(WhatsThis, AHelpLabelsTipExplainsTheFieldBesideItOnShiftF1) {
    QWidget form;
    auto* layout = new QFormLayout(&form);
    auto* label = new QLabel(QStringLiteral("Lead time"));
    auto* field = new QLineEdit;
    layout->addRow(label, field);
    helpkeys::setWhatsThis(label, QStringLiteral("How long before the bells the amplifier is switched on."));
    EXPECT_EQ(field->whatsThis(), label->whatsThis());
    helpkeys::setWhatsThis(label, QStringLiteral("In seconds."));
    EXPECT_EQ(field->whatsThis(), QStringLiteral("In seconds.")); // follows a new language

    form.show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1, Qt::ShiftModifier);
    bool shown = false;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        shown = shown || (top->isVisible() && QByteArray(top->metaObject()->className()) == "QWhatsThat");
    }
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace tolvane
