#include "cli/Cli.h"

#include "card/CardFiles.h"
#include "platform/SafeFile.h"
#include "project/NewProject.h"
#include "project/ProjectFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tolvane::cli {

namespace {

using Args = std::vector<std::string>;

struct Context {
    std::ostream& out;
    std::ostream& err;
    NoTexts texts;

    // An error of the command: "tolvane-cli: <what>" on standard error.
    int fail(int code, const std::string& what) {
        err << "tolvane-cli: " << what << '\n';
        return code;
    }
};

struct Command {
    const char* name;
    const char* synopsis;
    const char* help;
    std::function<int(Context&, const Args&)> run;
};

// Splits a command's arguments into positional ones and --options (with or without a value).
struct Parsed {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::string error;
};

Parsed parse(const Args& args, const std::vector<std::string>& valueOptions, const std::vector<std::string>& flags) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            p.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (std::find(flags.begin(), flags.end(), name) != flags.end() && !value) {
            p.options[name] = "";
        } else if (std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end()) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    p.error = "option --" + name + " needs a value";
                    return p;
                }
                value = args[++i];
            }
            p.options[name] = *value;
        } else {
            p.error = "unknown option " + a;
            return p;
        }
    }
    return p;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Reads and opens a project file; on failure reports why and returns the exit status through `exitCode`.
std::unique_ptr<ProjectData> openProject(Context& c, const std::string& path, int& exitCode) {
    QString error;
    const auto data = readWholeFile(qs(path), &error);
    if (!data) {
        exitCode = c.fail(UsageOrIo, "cannot read " + path + ": " + error.toStdString());
        return nullptr;
    }
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(data->constData()),
                                 static_cast<std::size_t>(data->size()));
    auto result = projectfile::open(bytes, &c.texts);
    if (!result.project) {
        exitCode = c.fail(Refused, path + ": " + c.texts.text(result.errorText) + " (text " +
                                       std::to_string(result.errorText) + ")");
        return nullptr;
    }
    return std::move(result.project);
}

int saveProject(Context& c, ProjectData& project, const std::string& path) {
    const auto bytes = projectfile::store(project);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    const FileResult written = writeFileAtomically(qs(path), data);
    if (!written.ok) {
        return c.fail(UsageOrIo, "cannot write " + path + ": " + written.error.toStdString());
    }
    return Success;
}

// The folder that holds the program's data folders: beside the program, or in the editor's version folder.
QString dataFolder() {
    const QDir appDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("Data"), QStringLiteral("1.41/Data")}) {
        if (appDir.exists(candidate)) {
            return appDir.filePath(candidate);
        }
    }
    return appDir.filePath(QStringLiteral("Data"));
}

// What a new project takes from the editor's language: the controller language and the country's holidays.
void applyLanguageDefaults(Context& c, ProjectData& project, const std::string& lang) {
    const NewProjectLanguage defaults = newProjectLanguage(lang);
    if (!defaults.known) {
        return;
    }
    project.general().setControllerLanguage(defaults.controllerLanguage);
    const QString holidayFile = QDir(dataFolder()).filePath(qs(defaults.holidayFile));
    if (const auto data = readWholeFile(holidayFile)) {
        const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(data->constData()),
                                     static_cast<std::size_t>(data->size()));
        if (readHolidayFile(project.holidays(), bytes) != 0) {
            c.err << "tolvane-cli: " << holidayFile.toStdString() << " is not a holiday file; no holidays set\n";
        }
    }
}

int cmdNew(Context& c, const Args& args) {
    const Parsed p = parse(args, {"lang"}, {"force"});
    if (!p.error.empty() || p.positional.size() != 1) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli new PROJECT.tpm [--lang NAME]" : p.error);
    }
    const std::string& path = p.positional[0];
    if (QFileInfo::exists(qs(path)) && !p.options.count("force")) {
        return c.fail(UsageOrIo, path + " already exists (use --force to replace it)");
    }
    ProjectData project;
    project.setTextSource(&c.texts);
    applyLanguageDefaults(c, project, p.options.count("lang") ? p.options.at("lang") : "Polski");
    project.clearModifiedAll();
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
    c.out << "firmware: " << id.firmware() << '\n' << "boot: " << id.boot() << '\n' << "serial: " << id.serial() << '\n';
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
    const bool critical = project->validate();
    // Descriptions and places come from the language catalogs; without one they read "---".
    const std::string description = "---";
    const std::string place = "---";
    int counts[3] = {0, 0, 0};
    for (const ValidationIssue& issue : project->issues()) {
        if (issue.severity >= 0 && issue.severity <= 2) {
            ++counts[issue.severity];
        }
        if (format == "tsv") {
            c.out << issue.severity << '\t' << issue.code << '\t' << issue.item << '\t' << issue.area << '\t'
                  << description << '\t' << place << '\n';
        } else {
            c.out << severityWord(issue.severity) << ": code " << issue.code << ", area " << issue.area << ", item "
                  << issue.item + 1 << ": " << description << " (" << place << ")\n";
        }
    }
    if (format == "text") {
        c.out << project->issueCount() << " issues: " << counts[0] << " critical, " << counts[1] << " warnings, "
              << counts[2] << " notes\n";
    }
    return critical ? CriticalErrors : Success;
}

int cmdSave(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli save IN.tpm OUT.tpm" : p.error);
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    return saveProject(c, *project, p.positional[1]);
}

std::optional<card::FileKind> kindFromName(const std::string& name) {
    static const std::pair<const char*, card::FileKind> names[] = {{"programs", card::FileKind::Programs},
                                                                   {"config", card::FileKind::Config},
                                                                   {"sequences", card::FileKind::Sequences},
                                                                   {"chimes", card::FileKind::Chimes}};
    for (const auto& [n, kind] : names) {
        if (name == n) {
            return kind;
        }
    }
    return std::nullopt;
}

int cmdWriteCard(Context& c, const Args& args) {
    const Parsed p = parse(args, {"only"}, {});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli write-card PROJECT.tpm FOLDER "
                                                   "[--only programs,config,sequences,chimes]"
                                                 : p.error);
    }
    std::vector<card::FileKind> kinds;
    if (p.options.count("only")) {
        std::stringstream list(p.options.at("only"));
        std::string name;
        while (std::getline(list, name, ',')) {
            const auto kind = kindFromName(name);
            if (!kind) {
                return c.fail(UsageOrIo, "unknown card file '" + name + "' (programs, config, sequences, chimes)");
            }
            if (std::find(kinds.begin(), kinds.end(), *kind) == kinds.end()) {
                kinds.push_back(*kind);
            }
        }
    } else {
        kinds.assign(std::begin(card::AllKinds), std::end(card::AllKinds));
    }
    const std::string& folder = p.positional[1];
    if (!QFileInfo(qs(folder)).isDir()) {
        return c.fail(UsageOrIo, folder + " is not a folder");
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    QTemporaryDir temp;
    if (!temp.isValid()) {
        return c.fail(UsageOrIo, "cannot create a temporary folder: " + temp.errorString().toStdString());
    }
    StdCardFileSystem files;
    int result = Success;
    for (card::FileKind kind : kinds) {
        const std::string name(card::fileName(kind));
        const card::WriteResult written =
            card::writeCardFile(*project, kind, folder, temp.path().toStdString(), files);
        if (written.ok) {
            c.out << name << ": written (" << c.texts.text(written.text) << ")\n";
            continue;
        }
        c.err << "tolvane-cli: " << name << ": not written: " << c.texts.text(written.text) << " (text "
              << written.text << ")\n";
        const int code = written.text == card::TextCriticalErrors ? CriticalErrors : UsageOrIo;
        result = std::max(result, code);
    }
    return result;
}

int cmdReadCard(Context& c, const Args& args) {
    const Parsed p = parse(args, {"lang"}, {"force"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli read-card FOLDER PROJECT.tpm" : p.error);
    }
    const std::string& folder = p.positional[0];
    const std::string& path = p.positional[1];
    if (!QFileInfo(qs(folder)).isDir()) {
        return c.fail(UsageOrIo, folder + " is not a folder");
    }
    if (QFileInfo::exists(qs(path)) && !p.options.count("force")) {
        return c.fail(UsageOrIo, path + " already exists (use --force to replace it)");
    }
    ProjectData project;
    project.setTextSource(&c.texts);
    applyLanguageDefaults(c, project, p.options.count("lang") ? p.options.at("lang") : "Polski");
    project.clearModifiedAll();
    project.projectOpened = 0;
    StdCardFileSystem files;
    for (card::FileKind kind :
         {card::FileKind::Programs, card::FileKind::Sequences, card::FileKind::Config, card::FileKind::Chimes}) {
        const std::string file = card::joinPath(folder, card::fileName(kind));
        const bool optional = kind == card::FileKind::Programs || kind == card::FileKind::Sequences;
        if (optional && !files.exists(file)) {
            continue;
        }
        const card::ReadResult read = card::readCardFile(project, kind, file, files);
        if (!read.ok) {
            return c.fail(Refused, file + ": " + c.texts.text(read.text) + " (text " + std::to_string(read.text) + ")");
        }
    }
    return saveProject(c, project, path);
}

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"new", "new PROJECT.tpm [--lang NAME] [--force]",
         "Creates a new project as the editor's New does: every section at its defaults. With --lang Polski,\n"
         "Deutsch or Francais the controller language is set and the country's holiday file from the Data\n"
         "folder is read when it exists. An existing file is only replaced with --force.\n",
         cmdNew},
        {"info", "info PROJECT.tpm",
         "Prints the card identity and how many entries each table uses.\n", cmdInfo},
        {"validate", "validate PROJECT.tpm [--format text|tsv]",
         "Checks the project and lists every issue in order. tsv: one line per issue with the tab-separated\n"
         "fields severity (0 critical, 1 warning, 2 note), code, item, area, description, place.\n"
         "Exits with 1 when the project has critical errors.\n",
         cmdValidate},
        {"save", "save IN.tpm OUT.tpm",
         "Reads a project and stores it again, as the editor's Save As does. OUT.tpm is replaced only once the\n"
         "new file is completely written.\n",
         cmdSave},
        {"write-card", "write-card PROJECT.tpm FOLDER [--only programs,config,sequences,chimes]",
         "Writes the controller's card files into FOLDER (a card's root or any folder): programs.dat, config.dat,\n"
         "seq.dat and kur.bin, or those named with --only. Each file is written to a temporary file first, put in\n"
         "place and read back to check it. A project with critical errors gets none of programs.dat, config.dat\n"
         "and seq.dat (exit status 1); run 'validate' to see why.\n",
         cmdWriteCard},
        {"read-card", "read-card FOLDER PROJECT.tpm [--lang NAME] [--force]",
         "Builds a new project from the card files in FOLDER, as the editor does when it starts from a card:\n"
         "programs.dat and seq.dat when present, then config.dat (required), then kur.bin when present, and saves\n"
         "it as PROJECT.tpm. A damaged, foreign or missing file stops the command (exit status 3) and nothing is\n"
         "written. An existing PROJECT.tpm is only replaced with --force.\n",
         cmdReadCard},
    };
    return list;
}

void printUsage(std::ostream& out) {
    out << "usage: tolvane-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& cmd : commands()) {
        out << "  tolvane-cli " << cmd.synopsis << '\n';
    }
    out << "\n'tolvane-cli COMMAND --help' describes a command.\n"
           "Exit status: 0 success, 1 critical errors in the project, 2 usage error or a file that cannot be\n"
           "read or written, 3 a file refused as damaged, foreign or with a bad checksum.\n";
}

} // namespace

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    Args args(argv + std::min(argc, 1), argv + argc);
    if (args.empty()) {
        printUsage(err);
        return UsageOrIo;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(out);
        return Success;
    }
    for (const Command& cmd : commands()) {
        if (args[0] != cmd.name) {
            continue;
        }
        const Args rest(args.begin() + 1, args.end());
        if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
            out << "usage: tolvane-cli " << cmd.synopsis << "\n\n" << cmd.help;
            return Success;
        }
        Context context{out, err, {}};
        try {
            return cmd.run(context, rest);
        } catch (const std::exception& e) {
            return context.fail(UsageOrIo, e.what());
        }
    }
    err << "tolvane-cli: unknown command '" << args[0] << "'\n\n";
    printUsage(err);
    return UsageOrIo;
}

} // namespace tolvane::cli
