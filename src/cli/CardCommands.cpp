#include "cli/CliSupport.h"

#include "card/CardFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <sstream>

namespace tolvane::cli {

namespace {

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
        const card::WriteResult written = card::writeCardFile(*project, kind, folder, temp.path().toStdString(), files);
        if (written.ok) {
            c.out << name << ": written (" << c.texts.text(written.text) << ")\n";
            continue;
        }
        c.err << "tolvane-cli: " << name << ": not written: " << textWithNumber(c, written.text) << "\n";
        const int code = written.text == card::TextCriticalErrors ? CriticalErrors : UsageOrIo;
        result = std::max(result, code);
    }
    return result;
}

int cmdReadCard(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"force"});
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
    startNewProject(c, project);
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
            return c.fail(Refused, file + ": " + textWithNumber(c, read.text));
        }
    }
    return saveProject(c, project, path);
}

} // namespace

std::vector<Command> cardCommands() {
    return {
        {"write-card", "write-card PROJECT.tpm FOLDER [--only programs,config,sequences,chimes]",
         "Writes the controller's card files into FOLDER (a card's root or any folder): programs.dat, config.dat,\n"
         "seq.dat and kur.bin, or those named with --only. Each file is written to a temporary file first, put in\n"
         "place and read back to check it. A project with critical errors gets none of programs.dat, config.dat\n"
         "and seq.dat (exit status 1); run 'validate' to see why.\n",
         cmdWriteCard},
        {"read-card", "read-card FOLDER PROJECT.tpm [--force]",
         "Builds a new project from the card files in FOLDER, as the editor does when it starts from a card:\n"
         "programs.dat and seq.dat when present, then config.dat (required), then kur.bin when present, and saves\n"
         "it as PROJECT.tpm. A damaged, foreign or missing file stops the command (exit status 3) and nothing is\n"
         "written. An existing PROJECT.tpm is only replaced with --force.\n",
         cmdReadCard},
    };
}

} // namespace tolvane::cli
