#include "cli/CliSupport.h"

#include "platform/FirmwareDetection.h"

#include <QFileInfo>

namespace tolvane::cli {

namespace {

int cmdDetect(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {});
    if (!p.error.empty() || p.positional.size() != 1) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli detect PATH" : p.error);
    }
    const std::string& path = p.positional[0];
    const QFileInfo info(qs(path));
    if (!info.exists()) {
        return c.fail(UsageOrIo, path + ": no such file or folder");
    }
    const QString folder =
        info.isDir() ? firmware::detectFolder(info.filePath()) : firmware::detectProjectFile(info.filePath());
    c.out << folder.toStdString() << '\n';
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
