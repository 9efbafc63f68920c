#include "cli/CliSupport.h"

#include "report/Report.h"

namespace tolvane::cli {

namespace {

int cmdNew(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"force"});
    if (!p.error.empty() || p.positional.size() != 1) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli new PROJECT.tpm [--force]" : p.error);
    }
    const std::string& path = p.positional[0];
    if (const std::string refusal = outputRefusal(path, p.options.count("force") != 0); !refusal.empty()) {
        return c.fail(UsageOrIo, refusal);
    }
    ProjectData project;
    startNewProject(c, project);
    return saveProject(c, project, path);
}

int cmdInfo(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {});
    if (!p.error.empty() || p.positional.size() != 1) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli info PROJECT.tpm" : p.error);
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    const CardIdentity& id = project->identity();
    // The identity comes from the file as it is: shown safely, whatever bytes it holds.
    c.out << "firmware: " << printable(id.firmware()) << '\n'
          << "boot: " << printable(id.boot()) << '\n'
          << "serial: " << printable(id.serial()) << '\n';
    const char* names[] = {"weekly", "holiday-day", "annual", "one-time", "funeral", "special"};
    for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
        c.out << names[kind] << ": " << project->program(kind).usedCount() << '\n';
    }
    int namedChimes = 0;
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        namedChimes += project->chimes().name(i).empty() ? 0 : 1;
    }
    c.out << "holidays: " << project->holidays().usedCount() << '\n'
          << "sequences: " << project->sequences().usedCount() << '\n'
          << "chimes: " << namedChimes << '\n';
    return Success;
}

const char* severityWord(int severity) {
    switch (severity) {
    case 0:
        return "critical";
    case 1:
        return "warning";
    case 2:
        return "note";
    default:
        return "unknown";
    }
}

// A text as one tab-separated field: tabs and line breaks become spaces, other control characters escapes.
std::string tsvField(std::string text) {
    for (char& ch : text) {
        if (ch == '\t' || ch == '\n' || ch == '\r') {
            ch = ' ';
        }
    }
    return printable(text);
}

int cmdValidate(Context& c, const Args& args) {
    const Parsed p = parse(args, {"format"}, {});
    const std::string format = p.options.count("format") ? p.options.at("format") : "text";
    if (!p.error.empty() || p.positional.size() != 1 || (format != "text" && format != "tsv")) {
        return c.fail(UsageOrIo,
                      p.error.empty() ? "usage: tolvane-cli validate PROJECT.tpm [--format text|tsv]" : p.error);
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    const IssueList issues = project->validate();
    const auto rows = Report::rows(issues, &project->holidays(), c.texts);
    int counts[3] = {0, 0, 0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ValidationIssue& issue = issues[i];
        if (issue.severity >= 0 && issue.severity <= 2) {
            ++counts[issue.severity];
        }
        if (format == "tsv") {
            c.out << issue.severity << '\t' << issue.code << '\t' << issue.item << '\t' << issue.area << '\t'
                  << tsvField(rows[i].description) << '\t' << tsvField(rows[i].place) << '\n';
        } else {
            c.out << severityWord(issue.severity) << ": " << printable(rows[i].description);
            if (!rows[i].place.empty()) {
                c.out << " (" << printable(rows[i].place) << ")";
            }
            c.out << " [code " << issue.code << "]\n";
        }
    }
    if (format == "text") {
        c.out << issues.size() << " issues: " << counts[0] << " critical, " << counts[1] << " warnings, "
              << counts[2] << " notes\n";
    }
    return hasCritical(issues) ? CriticalErrors : Success;
}

int cmdSave(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli save IN.tpm OUT.tpm" : p.error);
    }
    if (const std::string refusal = outputRefusal(p.positional[1], true); !refusal.empty()) {
        return c.fail(UsageOrIo, refusal);
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    return saveProject(c, *project, p.positional[1]);
}

} // namespace

std::vector<Command> projectCommands() {
    return {
        {"new", "new PROJECT.tpm [--force]",
         "Creates a new project as the editor's New does: every section at its defaults. For the languages\n"
         "Polski, Deutsch and Francais (--lang) the controller language is set and the country's holidays are\n"
         "read from the Data folder. An existing file is only replaced with --force.\n",
         cmdNew},
        {"info", "info PROJECT.tpm", "Prints the card identity and how many entries each table uses.\n", cmdInfo},
        {"validate", "validate PROJECT.tpm [--format text|tsv]",
         "Checks the project and lists every issue in order, described in the chosen language. tsv: one line\n"
         "per issue with the tab-separated fields severity (0 critical, 1 warning, 2 note), code, item (0-based),\n"
         "area, description, place.\n"
         "Exits with 1 when the project has critical errors.\n",
         cmdValidate},
        {"save", "save IN.tpm OUT.tpm",
         "Reads a project and stores it again, as the editor's Save As does. OUT.tpm is replaced only once the\n"
         "new file is completely written.\n",
         cmdSave},
    };
}

} // namespace tolvane::cli
