#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The suite's version (the project version of the build), the same for the editor, the launcher and tolvane-cli.
std::string_view programVersion();

// The names the desktop knows the two windowed programs by: their .desktop files, icons and AppStream component
// are named after them, and each program gives its windows its name so that the desktop matches them.
inline constexpr const char* EditorDesktopId = "example.nesmar.Tolvane";
inline constexpr const char* LauncherDesktopId = "example.nesmar.TolvaneManager";

// "<program> <version>", the line --version prints.
std::string versionLine(std::string_view program);

// What a program started with `--version` or `--help` as its only argument prints instead of starting: the version
// line, or `usage`. Nothing for any other command line, which the program then reads as usual. Asked before the
// program makes its window, so both work without a display.
std::optional<std::string> informationRequested(int argc, const char* const* argv, std::string_view program,
                                                std::string_view usage);

} // namespace tolvane
