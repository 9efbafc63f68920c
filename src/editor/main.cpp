#include "gui/app/CTarvelinApp.h"
#include "gui/common/FileChooser.h"
#include "gui/common/MessageBoxPrompt.h"

#include <QApplication>
#include <QDir>
#include <QSettings>

// The editor: the application object over the program's settings, its language catalogs beside the program,
// real message boxes and file dialogs.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString programFolder = QApplication::applicationDirPath();
    const std::unique_ptr<QSettings> settings = tolvane::programSettings();
    tolvane::Languages texts(tolvane::AppPaths(programFolder).languageFolder());
    tolvane::MessageBoxPrompt prompts(texts);
    tolvane::FileChooser choosers;
    tolvane::ProcessStarter starter;
    tolvane::CTarvelinApp app(*settings, texts, prompts, choosers, starter, programFolder, QDir::tempPath());
    return app.start(QApplication::arguments().value(1), true) ? application.exec() : 1;
}
