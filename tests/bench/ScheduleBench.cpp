#include "FullProject.h"
#include "RecordingProgramStarter.h"

#include "gui/app/AppContext.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/schedules/CProgramPage.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

namespace tolvane {
namespace {

// The widgets need an application object; the benchmark program makes one on first use, offscreen.
void ensureApplication() {
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tolvane_bench";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the program and never destroyed: the benchmark library's own exit comes after it.
        new QApplication(argc, argv);
    }
}

struct SilentPrompt final : PromptService {
    Answer ask(QWidget*, const QString&, Buttons, Icon) override { return Answer::No; }
};
struct NoChooser final : ChooserService {
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString folder(QWidget*, const QString&, const QString&) override { return {}; }
};
struct NoDialogs final : DialogService {
    int run(QDialog&) override { return 0; }
};

// The weekly page with its 128 programs rebuilt as after an Add or a column click: the list refilled, the
// selected program found, the editor filled with it (a bell program, so the graph too).
void RebuildWeeklyListAndShowEntry(benchmark::State& state) {
    ensureApplication();
    QTemporaryDir temp;
    QSettings settingsFile(temp.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    SettingsStore store(settingsFile);
    AppSettings current;
    Languages languages(temp.filePath(QStringLiteral("Language")));
    SilentPrompt prompts;
    NoChooser choosers;
    NoDialogs dialogs;
    testing::RecordingProgramStarter starter;
    AppContext context{languages,
                       prompts,
                       choosers,
                       dialogs,
                       store,
                       current,
                       AppPaths(temp.path()),
                       starter,
                       temp.path() + QStringLiteral("/"),
                       temp.filePath(QStringLiteral("card-backups"))};
    CTarvelinDoc document(&languages);
    document.changeAndRestart([](ProjectData& p) {
        testing_support::fillProject(p);
        p.sortSchedulesByTime();
    });
    CProgramPage page(context, programPageSpec(Weekly));
    page.setDocument(&document, nullptr);
    page.resize(1000, 700);
    page.show();
    page.refreshTexts();
    int row = 0;
    for (auto _ : state) {
        row = (row + 37) % 128;
        page.reload(row);
        QApplication::processEvents();
    }
    if (page.list()->currentIndex().row() != row) {
        state.SkipWithError("the selected program is not the one asked for");
    }
}
BENCHMARK(RebuildWeeklyListAndShowEntry);

} // namespace
} // namespace tolvane
