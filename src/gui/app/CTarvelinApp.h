#pragma once

#include "gui/app/AppContext.h"
#include "gui/app/IconStrip.h"
#include "platform/AppSettings.h"
#include "platform/Languages.h"
#include "platform/LaunchParameters.h"

#include <QString>

#include <memory>

class QSettings;

namespace tolvane {

class CMainFrame;

// The editor's application object: it reads the settings, loads the icons and the language catalog, shows the
// splash screen, creates the main window and carries out the command the editor was started with.
class CTarvelinApp {
public:
    static inline const QString Version = QStringLiteral("V 1.41.2");

    // `settings`: the program's settings store (QSettings("Nesmar", "Tolvane") in the program, an INI file in
    // tests); `programFolder`: where Language/ and Data/ are found; `tempFolder`: where card files are prepared.
    // `texts` reads the catalogs of the Language folder beside the program.
    CTarvelinApp(QSettings& settings, Languages& texts, PromptService& prompts, ChooserService& choosers,
                 ProgramStarter& starter, const QString& programFolder, const QString& tempFolder);
    ~CTarvelinApp();

    // The start-up: settings, language (a refused language ends the start), the splash screen when asked for,
    // the main window, then the command of `parameters` (see launch::editorRequestFromArgument). False when the
    // editor must not run on; otherwise the main window is shown maximised.
    bool start(const QString& parameters, bool showSplash);

    // Carries out a start command in an existing main window: false only when a project to open was refused.
    bool runCommand(const launch::EditorRequest& request);

    AppContext& context() { return *context_; }
    CMainFrame* mainFrame() const { return frame_.get(); }

private:
    QSettings& profile_;
    SettingsStore store_;
    AppSettings current_;
    ExecDialogService dialogs_;
    Languages& languages_;
    std::unique_ptr<AppContext> context_;
    IconStrip treeIcons_;
    IconStrip headerIcons_;
    IconStrip toolBarIcons_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace tolvane
