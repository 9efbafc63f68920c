// Build step: writes the manual page tolvane-cli.1 from the command table of tolvane-cli itself, so the page
// describes every command with the same synopsis and help text that `tolvane-cli COMMAND --help` prints.

#include "cli/CliSupport.h"
#include "platform/ProgramInformation.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Text made safe for roff: backslashes and minus signs escaped, a line never beginning with a control character.
std::string roff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
        lineStart = c == '\n';
    }
    return out;
}

// A command's synopsis: its name in bold, the rest as it stands.
std::string synopsisLine(std::string_view synopsis) {
    const std::size_t space = synopsis.find(' ');
    const std::string_view name = synopsis.substr(0, space);
    std::string line = "\\fB" + roff(name) + "\\fR";
    if (space != std::string_view::npos) {
        line += roff(synopsis.substr(space));
    }
    return line;
}

std::string manPage() {
    std::ostringstream page;
    page << ".TH TOLVANE\\-CLI 1 \"\" \"Tolvane " << tolvane::programVersion() << "\" \"User Commands\"\n"
         << ".SH NAME\n"
         << "tolvane\\-cli \\- create, check, print, plan and write the configuration of a Tolvane tower controller\n"
         << ".SH SYNOPSIS\n"
         << ".B tolvane\\-cli\n.I COMMAND\n.RI [ ARGUMENTS ]\n.RB [ \\-\\-lang\n.IR NAME ]\n.br\n"
         << ".B tolvane\\-cli\n.I COMMAND\n.B \\-\\-help\n.br\n"
         << ".B tolvane\\-cli\n.RB [ \\-\\-help | \\-\\-version ]\n"
         << ".SH DESCRIPTION\n"
         << ".B tolvane\\-cli\n"
         << "works on Tolvane project files\n.RI ( .tpm )\n"
         << "and on the controller's card files without a window: it creates, inspects, checks, prints and re\\-saves "
            "projects, shows what rings when, writes the card files a controller reads and reads them back. "
            "It reads and writes the same files as the editor,\n.BR Tolvane (1).\n"
         << ".SH COMMANDS\n";
    for (const tolvane::cli::Command& command : tolvane::cli::allCommands()) {
        page << ".TP\n" << synopsisLine(command.synopsis) << '\n' << roff(command.help);
        if (!std::string_view(command.help).ends_with('\n')) {
            page << '\n';
        }
    }
    page << ".SH OPTIONS\n"
         << ".TP\n.BI \\-\\-lang \" NAME\"\n"
         << "The language of the messages, of the validation texts, of the printout and of a new project's "
            "defaults: Polski, English, Deutsch or Francais (the catalogs of the Language folder). It may stand "
            "anywhere on the line. Without it the editor's last language is used, else Polski; an unknown name "
            "falls back to Polish.\n"
         << ".TP\n.B \\-\\-help\n"
         << "Alone: lists the commands. After a command: describes that command.\n"
         << ".TP\n.B \\-\\-version\n"
         << "Prints the version.\n"
         << ".SH EXIT STATUS\n"
         << ".TP\n.B 0\nSuccess.\n"
         << ".TP\n.B 1\nThe project has critical errors.\n"
         << ".TP\n.B 2\nA usage error, a file that cannot be read or written, or output that could not be written.\n"
         << ".TP\n.B 3\nA file refused as damaged or foreign, or with a bad checksum.\n"
         << ".SH FILES\n"
         << ".TP\n.I /usr/lib/tolvane/1.41/Help/\n"
         << "The user guide, one folder per language (English, Polski, Deutsch, Francais), each opened at\n"
            ".IR index.html ; the editor shows it on F1.\n"
         << ".TP\n.I /usr/lib/tolvane/1.41/\n"
         << "The version folder beside the program, with the\n.IR Language/ \" (texts), \" Data/ "
            "\" (holiday files) and \" print/\n(style sheet and icons of the printout) folders.\n"
         << ".TP\n.I ~/.config/Nesmar/Tolvane.conf\n"
         << "The editor's settings; the language last used in the editor is read from it.\n"
         << ".TP\n.I ~/.local/share/Nesmar/Tolvane/card\\-backups/\n"
         << "The card files a write replaced, one folder per write, the last 20 kept.\n"
         << ".TP\n.I /usr/share/doc/tolvane/examples/parish.tpm\n"
         << "An example tower.\n"
         << ".SH ENVIRONMENT\n"
         << ".TP\n.B XDG_CONFIG_HOME\n"
         << "Where the settings are looked for instead of\n.IR ~/.config .\n"
         << ".TP\n.B XDG_DATA_HOME\n"
         << "Where the card backups are kept instead of\n.IR ~/.local/share .\n"
         << ".SH EXAMPLES\n"
         << ".EX\n"
         << "tolvane\\-cli new tower.tpm \\-\\-lang Deutsch\n"
         << "tolvane\\-cli validate tower.tpm\n"
         << "tolvane\\-cli plan tower.tpm \\-\\-from 2027\\-03\\-28 \\-\\-days 7\n"
         << "tolvane\\-cli write\\-card tower.tpm /media/card\n"
         << ".EE\n"
         << ".SH SEE ALSO\n"
         << ".BR Tolvane (1),\n.BR TolvaneManager (1)\n";
    return page.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: MakeManPage OUTPUT.1\n";
        return 2;
    }
    const fs::path output = argv[1];
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    const fs::path partial = output.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << manPage();
        if (!out.flush()) {
            std::cerr << output.string() << ": error: cannot be written\n";
            return 1;
        }
    }
    fs::rename(partial, output, ec);
    if (ec) {
        std::cerr << output.string() << ": error: " << ec.message() << "\n";
        return 1;
    }
    return 0;
}
