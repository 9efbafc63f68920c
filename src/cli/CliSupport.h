#pragma once

#include "cli/Cli.h"
#include "platform/NativeFile.h"
#include "project/ProjectData.h"
#include "section/TextSource.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// The pieces every tolvane-cli command is built from. Each group of commands lives in a file of its own and
// hands its table to the dispatcher in Cli.cpp.
namespace tolvane::cli {

using Args = std::vector<std::string>;

// What every command works with: its output streams and the texts of the chosen language.
struct Context {
    std::ostream& out;
    std::ostream& err;
    const TextSource& texts;
    std::string language; // the language chosen with --lang or in the editor's settings

    // An error of the command: "tolvane-cli: <what>" on standard error, on one line with its control characters
    // escaped (see printable), as file names in it may hold any byte.
    int fail(int code, const std::string& what);
};

struct Command {
    const char* name;
    const char* synopsis;
    const char* help;
    std::function<int(Context&, const Args&)> run;
    // Whether the command, with these arguments, lays out pages (a PDF) and so needs a graphics application;
    // null for a command that never does.
    bool (*needsGraphics)(const Args&) = nullptr;
};

// Splits a command's arguments into positional ones and --options (with or without a value). Arguments are the
// bytes the system gave, so a file name that is not UTF-8 names the file it names.
struct Parsed {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;             // the last value of each option
    std::map<std::string, std::vector<std::string>> values; // every value of each value option, in order
    std::string error;
};

Parsed parse(const Args& args, const std::vector<std::string>& valueOptions, const std::vector<std::string>& flags);

QString qs(const std::string& s);

// Reads and opens a project file; on failure reports why and returns null with the exit status in `exitCode`.
// Only a regular file no larger than the largest project file is read.
std::unique_ptr<ProjectData> openProject(Context& c, const NativePath& path, int& exitCode);
// Stores a project atomically; the exit status.
int saveProject(Context& c, ProjectData& project, const NativePath& path);
// What a new project takes from the editor's language: the controller language and the country's holidays.
void applyLanguageDefaults(Context& c, ProjectData& project);
// A project as the editor's New makes it in the chosen language: texts, language defaults, no change marks.
void startNewProject(Context& c, ProjectData& project);
// "<text> (text N)": a catalog text with its number, for messages about refused files.
std::string textWithNumber(const Context& c, int id);
// A text from a project or a catalog made safe for one line of output: control characters (line breaks, tabs,
// the escape that starts a terminal sequence, the C1 controls) become visible escapes such as \n, \t, \x1b and
// \u009b, so a name can neither break a line apart nor send commands to the terminal.
std::string printable(std::string_view text);

// Why `path` may not be a command's output, or empty when it may: a folder, a device, a pipe or a socket is never
// written (a link counts as what it leads to), and an existing file only with `force`.
std::string outputRefusal(const NativePath& path, bool force);

// Every command, in the order the usage text lists them.
std::vector<Command> allCommands();

// The command groups.
std::vector<Command> projectCommands();
std::vector<Command> cardCommands();
std::vector<Command> detectCommands();
std::vector<Command> printCommands();
std::vector<Command> planCommands();
std::vector<Command> diffCommands();

} // namespace tolvane::cli
