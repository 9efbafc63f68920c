#include "cli/CliSupport.h"

#include "platform/FirmwareDetection.h"

namespace tolvane::cli {

namespace {

int cmdDetect(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {});
    if (!p.error.empty() || p.positional.size() != 1) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli detect PATH" : p.error);
    }
    const NativePath& path = p.positional[0];
    const PathKind kind = pathKind(path);
    if (kind == PathKind::Missing) {
        return c.fail(UsageOrIo, path + ": no such file or folder");
    }
    // Only regular files are read, so neither a FIFO given here nor one in the folder is waited on.
    const QString folder = kind == PathKind::Folder ? firmware::detectFolder(path) : firmware::detectProjectFile(path);
    c.out << printable(folder.toStdString()) << '\n';
    return folder == firmware::NotRecognised ? Refused : Success;
}

} // namespace

std::vector<Command> detectCommands() {
    return {
        {"detect", "detect PATH",
         "Prints the editor version folder that fits PATH, as the launcher chooses it. For a folder (a card's root\n"
         "or a folder of card files): the tag of all.dat when it is there, which alone decides; otherwise the tag\n"
         "of the first of programs.dat, config.dat and seq.dat that is recognised. For a file: the format number of\n"
         "a project file (.tpm). Prints 1.00 with exit status 3 when nothing is recognised.\n",
         cmdDetect},
    };
}

} // namespace tolvane::cli
