#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinApp.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/sequences/CPropSekwencje.h"
#include "launcher/CTolvaneManagerDlg.h"
#include "launcher/LauncherPrompt.h"
#include "platform/LauncherTexts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

// The editor started on the example tower the build makes, as a user opens it, with the staged language
// catalogs, scripted prompts and choosers and a settings file of its own.
struct ExampleEditor {
    explicit ExampleEditor(const QString& language)
        : settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat),
          texts(AppPaths(programFolder).languageFolder()),
          app(settings, texts, prompts, choosers, starter, programFolder, temp.path()) {
        settings.setValue(QStringLiteral("Settings/LastLang"), language);
    }

    const QString programFolder = QStringLiteral(TOLVANE_VERSION_DIR);
    const QString example = QStringLiteral(TOLVANE_EXAMPLE_PROJECT);
    QTemporaryDir temp;
    QSettings settings;
    Languages texts;
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    CTarvelinApp app;
};

// Text `id` of the staged catalog `language`, read from its file.
QString catalogText(const QString& folder, const QString& language, int id) {
    QFile file(AppPaths(folder).languageFolder() + QStringLiteral("/") + language + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(QStringLiteral("texts"))
        .toObject()
        .value(QString::number(id))
        .toString();
}

// The example opens in each language the editor ships, without a single message box, speaking that language, with
// nothing to report; the user then walks the whole tree with the arrow keys, and no page shows a message or changes
// the project.
class ExampleTower : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleTower, OpensInEveryShippedLanguageWithoutAMessageAndEveryPageShowsIt) {
    const QString language = QString::fromLatin1(GetParam());
    ExampleEditor editor(language);
    ASSERT_TRUE(QFileInfo(editor.example).isFile()) << editor.example.toStdString();
    ASSERT_TRUE(editor.app.start(editor.example, false));
    EXPECT_TRUE(editor.prompts.boxes().empty()) << editor.prompts.texts().join(QLatin1Char('|')).toStdString();
    CMainFrame& frame = *editor.app.mainFrame();
    ASSERT_NE(frame.document(), nullptr);
    EXPECT_EQ(frame.document()->path(), QFileInfo(editor.example).absoluteFilePath());
    EXPECT_EQ(editor.texts.name(), language);
    const QString save = catalogText(editor.programFolder, language, 134);
    ASSERT_FALSE(save.isEmpty()) << "the catalog has no text 134";
    EXPECT_EQ(frame.action(CMainFrame::CmdSave)->text(), save);
    const IssueList issues = frame.document()->project().validate();
    EXPECT_FALSE(hasCritical(issues)) << "no critical error";
    EXPECT_TRUE(issues.empty()) << issues.size();

    QTreeWidget& tree = *frame.view()->tree();
    int items = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        ++items;
    }
    tree.setFocus();
    tree.setCurrentItem(tree.topLevelItem(0));
    std::vector<QTreeWidgetItem*> visited;
    while (visited.empty() || tree.currentItem() != visited.back()) {
        QTreeWidgetItem* item = tree.currentItem();
        visited.push_back(item);
        SCOPED_TRACE(item->text(0).toStdString());
        const auto id = static_cast<PageId>(item->data(0, CTarvelinView::PageRole).toInt());
        EXPECT_EQ(frame.view()->currentPage(), frame.view()->page(id));
        EXPECT_TRUE(frame.view()->currentPage()->isVisible());
        QTest::keyClick(&tree, Qt::Key_Down);
    }
    EXPECT_EQ(static_cast<int>(visited.size()), items) << "the arrow keys reach every item of the tree";
    EXPECT_TRUE(editor.prompts.boxes().empty()) << editor.prompts.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(frame.document()->undoStack()->count(), 0);
    EXPECT_FALSE(frame.document()->isModified());
    EXPECT_TRUE(editor.starter.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Languages, ExampleTower, ::testing::Values("Polski", "English", "Deutsch", "Francais"),
                         [](const ::testing::TestParamInfo<const char*>& param) { return std::string(param.param); });

// `make screenshots` (and `make docs-screenshots`, which copies these into docs/screenshots for the README): the
// example tower on the pages a newcomer looks at first, and the launcher. Shots 76-79.
TEST(Screenshots, ExampleTower) {
    const QString target = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (target.isEmpty()) {
        GTEST_SKIP() << "TOLVANE_SCREENSHOT_DIR is not set";
    }
    ASSERT_TRUE(QDir().mkpath(target));
    ExampleEditor editor(qEnvironmentVariable("TOLVANE_SCREENSHOT_LANG", QStringLiteral("English")));
    const QString& programFolder = editor.programFolder;
    QSettings& settings = editor.settings;
    testing::ScriptedChooser& choosers = editor.choosers;
    testing::RecordingProgramStarter& starter = editor.starter;
    ASSERT_TRUE(QFileInfo(editor.example).isFile()) << editor.example.toStdString();
    ASSERT_TRUE(editor.app.start(editor.example, false));
    EXPECT_TRUE(editor.prompts.boxes().empty());
    CMainFrame& frame = *editor.app.mainFrame();
    ASSERT_NE(frame.document(), nullptr);
    frame.showNormal();
    frame.resize(1280, 800);
    const auto shoot = [&](QWidget& widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(widget.grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
    };
    CTarvelinView& view = *frame.view();

    // The week: the Sunday mass at 9:45 selected, its four bells on the ringing graph.
    view.showPage(PageId::Tyg);
    view.page(PageId::Tyg)->reload(3);
    shoot(frame, QStringLiteral("76-example-weekly"));

    // The festive ringing: the bells started one after another, and its timeline.
    view.showPage(PageId::Sekwencje);
    auto& sequences = *qobject_cast<CPropSekwencje*>(view.page(PageId::Sekwencje));
    sequences.reload(2);
    sequences.stepList()->selectRow(3);
    shoot(frame, QStringLiteral("77-example-sequences"));

    // The example passes the check; the report is shown after two slips an installer might make (a weekly program
    // left without weekdays, a bell's run-up time cleared), so the picture shows what the report is for.
    testing::userEdit(*frame.document(), [](ProjectData& p) {
        p.program(Weekly).setDays(1, 0);
        p.bells().setRunUpSeconds(1, 0);
    });
    view.showPage(PageId::Raport);
    view.page(PageId::Raport)->reload();
    shoot(frame, QStringLiteral("78-example-report"));

    // The launcher beside the stage's version folder.
    LauncherPrompt launcherPrompts(LauncherTexts::forLanguage(settings.value("Settings/LastLang").toString()));
    CTolvaneManagerDlg launcher(
        {QFileInfo(programFolder).absolutePath(), settings, launcherPrompts, choosers, starter, {}, {}});
    launcher.show();
    shoot(launcher, QStringLiteral("79-launcher"));
    EXPECT_TRUE(starter.calls.empty());
}

} // namespace
} // namespace tolvane
