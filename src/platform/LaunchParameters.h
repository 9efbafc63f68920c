#pragma once

#include <QDir>
#include <QString>

#include <optional>

// The one parameter string the launcher hands to the editor it starts: an argument, a semicolon and a command
// token ("C:\My$$projects\a.tpm;open", "E:\;card", "1.43;new"). The editor splits it at the first semicolon and
// turns every "$$" in the argument back into a space.
namespace tolvane::launch {

enum class EditorCommand {
    Nothing, // no token, an unknown token, or a token in the wrong case
    New,     // argument: the chosen firmware label
    Open,    // argument: the project file
    Card,    // argument: the card's drive root
    Dat,     // argument: the folder of card files, with a trailing separator
};

// The parameter string for a command; empty for Nothing (the editor then shows an empty main window). Spaces in
// a project path become "$$"; the other arguments are passed as they are. nullopt when the editor would read the
// argument back as something else (a ';' in it, a "$$" or a '$' next to a space): starting it then could open
// another file than the one chosen.
std::optional<QString> editorParameters(EditorCommand command, const QString& argument);

// What the editor makes of its parameter string.
struct EditorRequest {
    EditorCommand command = EditorCommand::Nothing;
    QString argument;

    friend bool operator==(const EditorRequest&, const EditorRequest&) = default;
};
// Splits at the first ';', turns "$$" back into spaces and compares the token case-sensitively. A string without
// ';' is an ordinary file name to open, taken as it is; an empty string asks for nothing. A dat folder gets its
// trailing separator when it lacks one.
EditorRequest parseEditorParameters(const QString& parameters);

// What the editor makes of the argument it was started with: the launcher's parameter string, or the path of a
// project file that a desktop or a shell hands over (a double-click on a .tpm file, `Tolvane parish.tpm`). An
// argument that names an existing file is that file, even with a ';' in its name (the launcher never passes such a
// string: its arguments are not files). A project to open is named by its absolute path, so the recent-file list
// and Save still find it when the working folder is another.
EditorRequest editorRequestFromArgument(const QString& argument);

// `folder` ending in a separator: `separator` is appended unless it already ends in it or in '/'.
QString withTrailingSeparator(const QString& folder, QChar separator = QDir::separator());
// A card root or a folder of card files as the launcher passes it: native separators and a trailing one ("E:\"
// on Windows, the mount point and "/" elsewhere).
QString nativeFolder(const QString& folder);

} // namespace tolvane::launch
