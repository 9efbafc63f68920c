#pragma once

#include "gui/common/Services.h"
#include "platform/ProgramStarter.h"
#include "platform/VolumeSource.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QSettings;

namespace tolvane {

// Everything the launcher's dialogs work with. The program hands in the real services; tests hand in scripted
// prompts and choosers, a recording starter, a scripted volume source and a runner that answers the inner dialogs
// without showing them.
struct LauncherContext {
    QString launcherFolder; // the folder the version folders live in
    QSettings& settings;    // "Settings/LastLang" and "Settings/LastHard"
    PromptService& prompts;
    ChooserService& choosers;
    ProgramStarter& starter;
    // Makes the card dialog's volume source; unset: the system's removable drives.
    std::function<std::unique_ptr<VolumeSource>()> volumes;
    // Runs an inner dialog (version, card) and answers its result; unset: QDialog::exec.
    std::function<int(QDialog&)> runDialog;
};

} // namespace tolvane
