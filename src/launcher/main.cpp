#include "gui/common/FileChooser.h"
#include "gui/widgets/CHelpWindow.h"
#include "launcher/CTolvaneManagerDlg.h"
#include "launcher/LauncherPrompt.h"
#include "platform/AppPaths.h"
#include "platform/AppSettings.h"
#include "platform/Languages.h"
#include "platform/LauncherSettings.h"
#include "platform/ProgramInformation.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>

using namespace tolvane;

namespace {

constexpr const char* Usage =
    "usage: TolvaneManager\n"
    "\n"
    "The Tolvane launcher: New, Open, Card and DAT find the editor version that fits the data (a folder such as\n"
    "1.41 beside the launcher) and start it. Started under a name like 1.41.run (a link to TolvaneManager), it\n"
    "starts that version's editor at once.\n"
    "  TolvaneManager --version   prints the version\n"
    "F1 opens the user guide, installed in the Help folder of the version folder (/usr/lib/tolvane/1.41/Help).\n";

} // namespace

// The launcher: its dialog over the editor's settings, real message boxes, file dialogs and program starts.
int main(int argc, char** argv) {
    if (const auto information = informationRequested(argc, argv, "TolvaneManager", Usage)) {
        std::fputs(information->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(LauncherDesktopId));
    QString settingsWarning;
    const std::unique_ptr<QSettings> settings = programSettings(&settingsWarning);
    if (!settingsWarning.isEmpty()) {
        qWarning("TolvaneManager: %s", qPrintable(settingsWarning));
    }
    const QString lastLang = LauncherSettings::read(*settings).lastLang;
    LauncherPrompt prompts(LauncherTexts::forLanguage(lastLang));
    // F1 opens the launcher's section of the user guide beside the editor, in the editor's last language.
    const AppPaths paths = AppPaths::forApplication();
    Languages texts(paths.languageFolder());
    texts.setLanguage(lastLang.isEmpty() ? QString::fromLatin1(Languages::FallbackLanguage) : lastLang);
    CHelpWindow::configure(
        paths.helpFolder(), [&texts] { return texts.name(); }, &texts);
    FileChooser choosers;
    ProcessStarter starter;
    CTolvaneManagerDlg dialog({QApplication::applicationDirPath(), *settings, prompts, choosers, starter, {}, {}});
    // The name the launcher was started by, so that a link named like a version starts that version.
    if (!dialog.startAutomatically(QApplication::arguments().value(0))) {
        dialog.exec();
    }
    return 0;
}
