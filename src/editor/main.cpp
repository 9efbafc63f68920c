#include "gui/app/CMainFrame.h"
#include "gui/app/CTarvelinApp.h"
#include "gui/common/FileChooser.h"
#include "gui/common/MessageBoxPrompt.h"
#include "platform/ProgramInformation.h"
#include "platform/RemoveOnSignal.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

constexpr const char* Usage =
    "usage: Tolvane [PROJECT.tpm | ARGUMENT;TOKEN]\n"
    "\n"
    "The Tolvane editor. Without an argument it shows an empty main window.\n"
    "  Tolvane PROJECT.tpm     opens the project file\n"
    "  Tolvane PATH;open       opens the project file PATH (every $$ in PATH stands for a space)\n"
    "  Tolvane LABEL;new       a new project (LABEL: the firmware label, e.g. 1.43)\n"
    "  Tolvane ROOT;card       a new project read from the memory card mounted at ROOT\n"
    "  Tolvane FOLDER;dat      a new project read from a folder of card files\n"
    "  Tolvane --version       prints the version; --help prints this text\n"
    "The launcher, TolvaneManager, starts the editor with the ARGUMENT;TOKEN forms.\n";

} // namespace

// The editor: the application object over the program's settings, its language catalogs beside the program,
// real message boxes and file dialogs. Card files are prepared in a temporary folder of this run alone (nobody else
// can plant a file or a link in it), removed when the editor ends, a signal included.
int main(int argc, char** argv) {
    if (const auto information = tolvane::informationRequested(argc, argv, "Tolvane", Usage)) {
        std::fputs(information->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tolvane::EditorDesktopId));
    QTemporaryDir runFolder(QDir::tempPath() + QStringLiteral("/Tolvane-XXXXXX"));
    if (!runFolder.isValid()) {
        qCritical("Tolvane: cannot create a temporary folder: %s", qPrintable(runFolder.errorString()));
        return 1;
    }
    const tolvane::RemoveOnSignal runFolderGuard(tolvane::toNativePath(runFolder.path()),
                                                 tolvane::RemoveOnSignal::Kind::Folder);
    const QString programFolder = QApplication::applicationDirPath();
    QString settingsWarning;
    const std::unique_ptr<QSettings> settings = tolvane::programSettings(&settingsWarning);
    if (!settingsWarning.isEmpty()) {
        qWarning("Tolvane: %s", qPrintable(settingsWarning));
    }
    tolvane::Languages texts(tolvane::AppPaths(programFolder).languageFolder());
    tolvane::MessageBoxPrompt prompts(texts);
    tolvane::FileChooser choosers;
    tolvane::ProcessStarter starter;
    tolvane::CTarvelinApp app(*settings, texts, prompts, choosers, starter, programFolder, runFolder.path());
    // `make bench` times the start to the first shown main window: with TOLVANE_BENCH_STARTUP set the editor leaves
    // out the splash picture (a fixed time on screen, not work), says "shown" on its standard output as soon as its
    // window is exposed, and ends.
    const bool startupBench = qEnvironmentVariableIsSet("TOLVANE_BENCH_STARTUP");
    if (!app.start(QApplication::arguments().value(1), !startupBench)) {
        return 1;
    }
    QTimer exposed;
    if (startupBench) {
        QObject::connect(&exposed, &QTimer::timeout, &application, [&app, &exposed] {
            const QWidget* frame = app.mainFrame();
            if (frame && frame->windowHandle() && frame->windowHandle()->isExposed()) {
                exposed.stop();
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            }
        });
        exposed.start(0);
    }
    return application.exec();
}
