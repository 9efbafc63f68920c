#include "EditorLauncher.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tolvane {

using launch::EditorCommand;

EditorLauncher::EditorLauncher(QString launcherFolder, ProgramStarter& starter)
    : launcherFolder_(std::move(launcherFolder)), starter_(starter) {}

EditorLauncher::Result EditorLauncher::newProject(const QString& version, const QString& label) {
    return start(version, EditorCommand::New, label);
}

EditorLauncher::Result EditorLauncher::openProject(const QString& path) {
    return start(firmware::detectProjectFile(path), EditorCommand::Open, QDir::toNativeSeparators(path));
}

EditorLauncher::Result EditorLauncher::readCard(const QString& root) {
    const QString folder = launch::nativeFolder(root);
    return start(firmware::detectFolder(folder), EditorCommand::Card, folder);
}

EditorLauncher::Result EditorLauncher::importDat(const QString& folder) {
    const QString withSeparator = launch::nativeFolder(folder);
    return start(firmware::detectFolder(withSeparator), EditorCommand::Dat, withSeparator);
}

EditorLauncher::Result EditorLauncher::startWithoutParameters(const QString& version) {
    return start(version, EditorCommand::Nothing, QString());
}

EditorLauncher::Result EditorLauncher::start(const QString& version, EditorCommand command, const QString& argument) {
    Result result;
    result.version = version;
    result.argument = argument;
    if (version == firmware::NotRecognised) {
        result.outcome = Outcome::NotRecognised;
        return result;
    }
    result.program = firmware::editorProgramPath(launcherFolder_, version);
    if (!QFileInfo::exists(result.program)) {
        result.outcome = Outcome::ProgramMissing;
        return result;
    }
    const std::optional<QString> parameters = launch::editorParameters(command, argument);
    if (!parameters) {
        result.outcome = Outcome::ArgumentRefused;
        return result;
    }
    result.parameters = *parameters;
    // The parameter string travels as one argument, so a space in a folder or a label cannot split it.
    const QStringList arguments = parameters->isEmpty() ? QStringList() : QStringList{*parameters};
    result.outcome = starter_.start(result.program, arguments) ? Outcome::Started : Outcome::StartFailed;
    return result;
}

} // namespace tolvane
