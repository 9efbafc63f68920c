#include "cli/CliSupport.h"

#include "TextNumbers.h"
#include "card/CardFiles.h"
#include "platform/CardBackups.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/RemoveOnSignal.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <bit>
#include <optional>

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

// The card files that --only names: every value of every --only, a comma-separated list of names; an empty
// value or name is a usage error, and a name given twice counts once.
bool takeOnly(Context& c, const Parsed& p, std::vector<card::FileKind>& kinds, int& exitCode) {
    const auto only = p.values.find("only");
    if (only == p.values.end()) {
        kinds.assign(std::begin(card::AllKinds), std::end(card::AllKinds));
        return true;
    }
    for (const std::string& list : only->second) {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = list.find(',', start);
            const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (name.empty()) {
                exitCode = c.fail(UsageOrIo, "--only '" + list +
                                                 "' names no card file where one is due (programs, config, "
                                                 "sequences, chimes)");
                return false;
            }
            const auto kind = kindFromName(name);
            if (!kind) {
                exitCode = c.fail(UsageOrIo, "unknown card file '" + name + "' (programs, config, sequences, chimes)");
                return false;
            }
            if (std::find(kinds.begin(), kinds.end(), *kind) == kinds.end()) {
                kinds.push_back(*kind);
            }
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
    }
    return true;
}

int cmdWriteCard(Context& c, const Args& args) {
    const Parsed p = parse(args, {"only"}, {"force"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli write-card PROJECT.tpm FOLDER "
                                                   "[--only programs,config,sequences,chimes] [--force]"
                                                 : p.error);
    }
    std::vector<card::FileKind> kinds;
    int exitCode = Success;
    if (!takeOnly(c, p, kinds, exitCode)) {
        return exitCode;
    }
    const NativePath& folder = p.positional[1];
    if (pathKind(folder) != PathKind::Folder) {
        return c.fail(UsageOrIo, folder + " is not a folder");
    }
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    // A file cut short opens with defaults in place of what it lost; written, they would replace what the tower's
    // card holds.
    if (const int missing = std::popcount(project->sectionsMissingFromFile); missing > 0 && !p.options.count("force")) {
        return c.fail(Refused, printable(p.positional[0]) + " lacks " + std::to_string(missing) +
                                   " of its sections (a file cut short, or an older one), which would be written "
                                   "with their default settings; 'validate' names them; use --force to write it");
    }
    // The images are prepared in a folder of this run alone, removed on every way out, a signal included.
    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/tolvane-cli-XXXXXX"));
    if (!temp.isValid()) {
        return c.fail(UsageOrIo, "cannot create a temporary folder: " + temp.errorString().toStdString());
    }
    const NativePath tempFolder = toNativePath(temp.path());
    const RemoveOnSignal tempGuard(tempFolder, RemoveOnSignal::Kind::Folder);
    CardBackups backups(CardBackups::defaultRoot());
    PlatformCardFileSystem files(&backups);
    const std::vector<card::WriteResult> results = card::writeCardFiles(*project, kinds, folder, tempFolder, files);
    if (!results.empty() && results.front().text == text::CardBusy) {
        return c.fail(UsageOrIo, printable(folder) + ": the card is busy: another program is writing to it; "
                                                     "nothing was written");
    }
    int result = Success;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const std::string name(card::fileName(kinds[i]));
        const card::WriteResult& written = results[i];
        if (written.ok) {
            c.out << name << ": written (" << c.texts.text(written.text) << ")\n";
            continue;
        }
        if (written.text == text::CardNotConfirmed) {
            c.err << "tolvane-cli: " << name << ": written and read back, but the card did not confirm that it is "
                  << "stored for good" << (written.reason.empty() ? "" : ": " + written.reason)
                  << "; the previous file is kept in the backups\n";
            result = std::max(result, static_cast<int>(UsageOrIo));
            continue;
        }
        if (written.inTemporaryFolder) {
            // The card was never touched: what is full or refused is the temporary folder.
            c.err << "tolvane-cli: " << name << ": not written: the image cannot be prepared in the temporary folder "
                  << printable(tempFolder)
                  << (written.reason.empty() ? "" : ": " + written.reason) << "; the card is unchanged\n";
            result = std::max(result, static_cast<int>(UsageOrIo));
            continue;
        }
        c.err << "tolvane-cli: " << name << ": not written: " << textWithNumber(c, written.text)
              << (written.reason.empty() ? "" : ": " + printable(written.reason)) << "\n";
        const int code = written.text == text::CriticalErrors ? CriticalErrors : UsageOrIo;
        result = std::max(result, code);
    }
    if (!backups.folder().isEmpty()) {
        c.out << "previous files kept in " << printable(QDir::toNativeSeparators(backups.folder()).toStdString())
              << "\n";
    }
    return result;
}

int cmdReadCard(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"force"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli read-card FOLDER PROJECT.tpm" : p.error);
    }
    const NativePath& folder = p.positional[0];
    const NativePath& path = p.positional[1];
    if (pathKind(folder) != PathKind::Folder) {
        return c.fail(UsageOrIo, folder + " is not a folder");
    }
    if (const std::string refusal = outputRefusal(path, p.options.count("force") != 0); !refusal.empty()) {
        return c.fail(UsageOrIo, refusal);
    }
    // Never one of the files being read: it would be replaced by a project before the card was read.
    for (card::FileKind kind : card::AllKinds) {
        if (isSameFile(path, card::joinPath(folder, card::fileName(kind)))) {
            return c.fail(UsageOrIo, path + " is one of the card files being read; choose another name");
        }
    }
    ProjectData project;
    startNewProject(c, project);
    project.projectOpened = 0;
    PlatformCardFileSystem files;
    for (card::FileKind kind :
         {card::FileKind::Programs, card::FileKind::Sequences, card::FileKind::Config, card::FileKind::Chimes}) {
        const std::string file = card::joinPath(folder, card::fileName(kind));
        const bool optional = kind == card::FileKind::Programs || kind == card::FileKind::Sequences;
        if (optional && !files.exists(file)) {
            continue;
        }
        // A file that is there but cannot be opened or read (no permission, an I/O error) is an input that cannot be
        // read, with the system's reason, not a damaged card file.
        if (const FileContent probe = readRegularPrefix(file, 1);
            probe.failure == ReadFailure::CannotOpen || probe.failure == ReadFailure::ReadError) {
            if (pathExists(file)) {
                return c.fail(UsageOrIo, "cannot read " + file + ": " + probe.error.toStdString());
            }
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
        {"write-card", "write-card PROJECT.tpm FOLDER [--only programs,config,sequences,chimes] [--force]",
         "Writes the controller's card files into FOLDER (a card's root or any folder): programs.dat, config.dat,\n"
         "seq.dat and kur.bin, or those named with --only (a list, or the option repeated). Each file is written\n"
         "to a temporary file beside it, put on the card, put in place and read back from the card to check it:\n"
         "once the command returns the card may be removed. The files it replaces are kept first in the folder\n"
         "card-backups of the user's data folder (the last 20 writes). A project with critical errors gets none of\n"
         "programs.dat, config.dat and seq.dat (exit status 1); run 'validate' to see why. A project file that\n"
         "lacks some of its sections (cut short, or older) is refused (exit status 3) unless --force is given.\n",
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
