#pragma once

#include "gui/common/Services.h"
#include "platform/AppPaths.h"
#include "platform/AppSettings.h"
#include "platform/Languages.h"
#include "platform/ProgramStarter.h"

#include <QString>

namespace tolvane {

// What the editor's windows share: the texts, the prompt, chooser and dialog services, the settings and the paths. The
// application builds one and hands it to the main window, the view and every page; tests build one over scripted
// services and a temporary settings file.
struct AppContext {
    Languages& texts;
    PromptService& prompts;
    ChooserService& choosers;
    DialogService& dialogs;
    SettingsStore& settings;
    AppSettings& current;
    AppPaths paths;
    ProgramStarter& starter;
    QString tempFolder;
    // Where the card files a write replaces are kept (CardBackups); a temporary folder in tests.
    QString cardBackupFolder;
};

} // namespace tolvane
