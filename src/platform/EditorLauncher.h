#pragma once

#include "FirmwareDetection.h"
#include "LaunchParameters.h"
#include "ProgramStarter.h"

#include <QString>

namespace tolvane {

// What the launcher's buttons do once their dialog has been answered: find the editor version that fits the
// data and start it with its parameter string. The dialogs and messages stay with the window; this class tells
// it which message to show.
class EditorLauncher {
public:
    enum class Outcome {
        Started,         // the editor runs; the launcher closes
        NotRecognised,   // launcher text 7; the launcher stays open
        ProgramMissing,  // launcher text 6 followed by `program`; the launcher stays open
        StartFailed,     // the system refused to start `program`; shown as ProgramMissing, the launcher stays open
        ArgumentRefused, // the editor would read `argument` back as another path: nothing was started
    };

    struct Result {
        Outcome outcome = Outcome::NotRecognised;
        QString version;    // the version folder chosen
        QString program;    // the editor program (empty when the version was not recognised)
        QString parameters; // the parameter string handed to it
        QString argument;   // the argument the parameter string carries
    };

    EditorLauncher(QString launcherFolder, ProgramStarter& starter);

    // New: the folder of the label chosen in the version dialog, parameters "<label>;new".
    Result newProject(const QString& version, const QString& label);
    // Open: the folder of the project file's format, parameters "<path with $$ for spaces>;open".
    Result openProject(const QString& path);
    // Card: the folder detected from the card's root, parameters "<root>;card".
    Result readCard(const QString& root);
    // DAT: the folder detected from a folder of card files, parameters "<folder>;dat".
    Result importDat(const QString& folder);
    // The automatic start of a launcher named like a version: that version's editor without parameters.
    Result startWithoutParameters(const QString& version);

    // Starts the editor of `version` with the parameter string of `command` and `argument`.
    Result start(const QString& version, launch::EditorCommand command, const QString& argument);

private:
    QString launcherFolder_;
    ProgramStarter& starter_;
};

} // namespace tolvane
