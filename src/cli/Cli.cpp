#include "cli/Cli.h"

#include "cli/CliSupport.h"

#include <QCoreApplication>

#include <algorithm>

namespace tolvane::cli {

namespace {

// Every command, grouped as the usage text lists them.
std::vector<Command> commands() {
    std::vector<Command> all;
    for (auto group : {projectCommands, cardCommands, detectCommands}) {
        auto commands = group();
        all.insert(all.end(), commands.begin(), commands.end());
    }
    return all;
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
        NoTexts texts;
        Context context{out, err, texts};
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
