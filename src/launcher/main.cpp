#include "gui/common/FileChooser.h"
#include "launcher/CTolvaneManagerDlg.h"
#include "launcher/LauncherPrompt.h"
#include "platform/AppSettings.h"
#include "platform/LauncherSettings.h"

#include <QApplication>
#include <QSettings>

using namespace tolvane;

// The launcher: its dialog over the editor's settings, real message boxes, file dialogs and program starts.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::unique_ptr<QSettings> settings = programSettings();
    LauncherPrompt prompts(LauncherTexts::forLanguage(LauncherSettings::read(*settings).lastLang));
    FileChooser choosers;
    ProcessStarter starter;
    CTolvaneManagerDlg dialog({QApplication::applicationDirPath(), *settings, prompts, choosers, starter, {}, {}});
    // The name the launcher was started by, so that a link named like a version starts that version.
    if (!dialog.startAutomatically(QApplication::arguments().value(0))) {
        dialog.exec();
    }
    return 0;
}
