#include "ShellTestSupport.h"

#include "gui/app/CAboutDlg.h"
#include "gui/app/CProgramSet.h"
#include "gui/app/CSplash.h"
#include "gui/app/CTarvelinApp.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/ringing/CKurantyPage.h"
#include "gui/wiring/CPropKrosownica.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// `make screenshots`: with TOLVANE_SCREENSHOT_DIR set, the editor is started from the stage folder (real catalogs
// and images, settings in a temporary file) and the main window is written to PNG files: empty, then on every
// tree item's page, then the About box, the program settings dialog and the splash screen. TOLVANE_SCREENSHOT_LANG
// picks the language (English when unset).
TEST(Screenshots, MainWindowOnEveryPage) {
    const QString target = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (target.isEmpty()) {
        GTEST_SKIP() << "TOLVANE_SCREENSHOT_DIR is not set";
    }
    ASSERT_TRUE(QDir().mkpath(target));
    QTemporaryDir temp;
    QSettings settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat);
    const QString language = qEnvironmentVariable("TOLVANE_SCREENSHOT_LANG", QStringLiteral("English"));
    settings.setValue(QStringLiteral("Settings/LastLang"), language);
    const QString programFolder = QStringLiteral(TOLVANE_VERSION_DIR);
    Languages texts(AppPaths(programFolder).languageFolder());
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    CTarvelinApp app(settings, texts, prompts, choosers, starter, programFolder, temp.path());
    ASSERT_TRUE(app.start(QString(), false));
    CMainFrame& frame = *app.mainFrame();
    frame.showNormal();
    frame.resize(1280, 800);
    const auto shoot = [&](QWidget& widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(widget.grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
    };
    shoot(frame, QStringLiteral("00-empty"));

    ASSERT_TRUE(frame.newDocument());
    CTarvelinView& view = *frame.view();
    // Real content: named chimes, the last one typed just now (changed, so it shows on light green).
    const char* names[] = {"Angelus", "Regina caeli", "Te Deum", "Salve Regina", "Gloria", "Ave Maria"};
    for (int i = 0; i < 6; ++i) {
        frame.document()->edit({CKurantyPage::TextNameStep, {static_cast<long long>(i + 1)}}, {SectionId::Chimes, i, 0},
                               [&](ProjectData& p) { p.chimes().setName(i, names[i]); });
    }
    frame.document()->changeMarks([](ProjectData& p) { p.chimes().clearModified(); });
    frame.document()->edit({CKurantyPage::TextNameStep, {7LL}}, {SectionId::Chimes, 6, 0},
                           [](ProjectData& p) { p.chimes().setName(6, "Magnificat"); });
    // A wired tower: five bells, two hammers, the amplifier, clock 1 on two relays; WE1 starts the factory
    // sequence, WE2 takes clock 1's minute pulses, POWR1 and POWR2 carry the return signals of bells 1 and 2. The
    // last choice is fresh, so it shows as changed.
    const int relayRows[] = {1, 2, 3, 4, 5, 6, 7, 11, 14, 15};
    frame.document()->edit({CPropKrosownica::TextStep, {std::string("PK")}}, {SectionId::Outputs, -1, 0},
                           [&](ProjectData& p) {
                               for (int relay = 0; relay < 10; ++relay) {
                                   p.outputs().assignRelay(relayRows[relay], static_cast<std::uint8_t>(relay));
                               }
                               p.outputs().assignInputRow(0, 8);
                               p.outputs().setReturnRow(0, 1);
                               p.outputs().setReturnRow(1, 1);
                           });
    frame.document()->changeMarks([](ProjectData& p) { p.outputs().clearModified(); });
    frame.document()->edit({CPropKrosownica::TextStep, {std::string("WE2")}}, {SectionId::Outputs, 11, 0},
                           [](ProjectData& p) { p.outputs().assignInputRow(1, 2); });
    int n = 1;
    for (QTreeWidgetItemIterator it(view.tree()); *it; ++it, ++n) {
        view.tree()->setCurrentItem(*it);
        shoot(frame, QStringLiteral("%1-text%2")
                         .arg(n, 2, 10, QLatin1Char('0'))
                         .arg((*it)->data(0, CTarvelinView::TextRole).toInt()));
    }
    view.showPage(PageId::Kuranty);
    view.page(PageId::Kuranty)->reload(6);
    shoot(frame, QStringLiteral("80-chimes-selected"));
    view.showPage(PageId::Krosownica);
    view.page(PageId::Krosownica)->reload();
    shoot(frame, QStringLiteral("81-cross-connection"));
    CAboutDlg about(app.context(), &frame);
    about.show();
    shoot(about, QStringLiteral("90-about"));
    CProgramSet programSettings(app.context(), {}, &frame);
    programSettings.show();
    shoot(programSettings, QStringLiteral("91-program-settings"));
    CSplash splash(AppPaths(programFolder).dataFile(QStringLiteral("Gfx/splash.png")), CTarvelinApp::Version);
    splash.show();
    shoot(splash, QStringLiteral("92-splash"));
    frame.document()->changeMarks([](ProjectData& project) { project.clearModifiedAll(); });
}

} // namespace
} // namespace tolvane
