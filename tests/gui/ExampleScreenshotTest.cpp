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
#include <QFileInfo>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// `make screenshots` (and `make docs-screenshots`, which copies these into docs/screenshots for the README): the
// editor started on the example tower the build makes, as a user opens it, on the pages a newcomer looks at first,
// and the launcher. Shots 76-79.
TEST(Screenshots, ExampleTower) {
    const QString target = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (target.isEmpty()) {
        GTEST_SKIP() << "TOLVANE_SCREENSHOT_DIR is not set";
    }
    ASSERT_TRUE(QDir().mkpath(target));
    QTemporaryDir temp;
    QSettings settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Settings/LastLang"),
                      qEnvironmentVariable("TOLVANE_SCREENSHOT_LANG", QStringLiteral("English")));
    const QString programFolder = QStringLiteral(TOLVANE_VERSION_DIR);
    Languages texts(AppPaths(programFolder).languageFolder());
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    CTarvelinApp app(settings, texts, prompts, choosers, starter, programFolder, temp.path());
    const QString example = QStringLiteral(TOLVANE_EXAMPLE_PROJECT);
    ASSERT_TRUE(QFileInfo(example).isFile()) << example.toStdString();
    ASSERT_TRUE(app.start(example, false));
    EXPECT_TRUE(prompts.boxes().empty());
    CMainFrame& frame = *app.mainFrame();
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
