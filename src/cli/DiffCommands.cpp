#include "cli/CliSupport.h"

#include "card/CardFolder.h"
#include "platform/AppPaths.h"
#include "platform/PlatformCardFileSystem.h"
#include "report/ProjectDifference.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace tolvane::cli {

namespace {

// Exit status of two inputs that differ, as diff's.
constexpr int Differ = 1;

// One side of the comparison: a project file, or a folder of card files read as the editor reads a card.
std::unique_ptr<ProjectData> openSide(Context& c, const NativePath& path, int& exitCode) {
    if (pathKind(path) != PathKind::Folder) {
        auto project = openProject(c, path, exitCode);
        if (project) {
            project->sortSchedulesByTime();
        }
        return project;
    }
    auto project = std::make_unique<ProjectData>();
    startNewProject(c, *project);
    PlatformCardFileSystem files;
    const card::FolderReadResult read = card::readCardFolder(*project, path, files);
    if (!read.ok) {
        // A folder without config.dat is no card; a file there that cannot be read is an input/output failure.
        const bool missing = read.text == card::missingText(card::FileKind::Config);
        exitCode = c.fail(missing ? UsageOrIo : Refused, printable(read.path) + ": " + textWithNumber(c, read.text));
        return nullptr;
    }
    return project;
}

// The style sheet of the printout, placed inside the HTML so the document printed to standard output stands
// alone; empty when the program's print folder has none.
std::string printStyle() {
    QFile style(QDir(AppPaths::forApplication().printFolder()).filePath(QStringLiteral("style.css")));
    if (!style.open(QIODevice::ReadOnly)) {
        return {};
    }
    return style.read(256 * 1024).toStdString();
}

// Texts from the projects, made safe for a terminal line.
std::vector<Difference> printableRows(std::vector<Difference> differences) {
    for (Difference& d : differences) {
        for (std::string* s : {&d.area, &d.record, &d.field, &d.before, &d.after}) {
            *s = printable(*s);
        }
    }
    return differences;
}

int cmdDiff(Context& c, const Args& args) {
    const Parsed p = parse(args, {"format"}, {});
    const auto format = p.options.find("format");
    const std::string chosen = format == p.options.end() ? "text" : format->second;
    if (!p.error.empty() || p.positional.size() != 2 || (chosen != "text" && chosen != "tsv" && chosen != "html")) {
        return c.fail(UsageOrIo, !p.error.empty() ? p.error
                                                  : p.positional.size() != 2
                                                        ? "usage: tolvane-cli diff A B [--format text|tsv|html]"
                                                        : "unknown format '" + chosen + "' (text, tsv, html)");
    }
    int exitCode = Success;
    const auto before = openSide(c, p.positional[0], exitCode);
    if (!before) {
        return exitCode;
    }
    const auto after = openSide(c, p.positional[1], exitCode);
    if (!after) {
        return exitCode;
    }
    const std::vector<Difference> differences = ProjectDifference::between(*before, *after, c.texts);
    if (chosen == "html") {
        c.out << ProjectDifference::html(differences, c.texts, p.positional[0], p.positional[1], printStyle());
    } else if (chosen == "tsv") {
        c.out << ProjectDifference::tsv(printableRows(differences), c.texts);
    } else {
        c.out << ProjectDifference::text(printableRows(differences), c.texts);
    }
    return differences.empty() ? Success : Differ;
}

} // namespace

std::vector<Command> diffCommands() {
    return {
        {"diff", "diff A B [--format text|tsv|html]",
         "Compares two projects field by field and says what differs in the words of the editor's pages: the\n"
         "programs matched by their number (added, removed, changed with both values), holidays by name,\n"
         "sequences, bells, hammers, clocks and chime names by number, the cross-connection by terminal, and\n"
         "every setting; access codes only as changed, never their digits. A and B are each a project file or a\n"
         "folder of card files (a card's root), read as the editor reads a card. B is taken as the newer one:\n"
         "'diff CARD PROJECT.tpm' tells what writing the project to the card would change.\n"
         "--format text (the default) lists the differences under their areas, tsv gives one tab-separated line\n"
         "each, html a document in the printout's style.\n"
         "Exit status, as diff's: 0 the two are the same, 1 they differ, 2 usage error or a file that cannot be\n"
         "read, 3 a file refused as damaged, foreign or with a bad checksum.\n",
         cmdDiff},
    };
}

} // namespace tolvane::cli
