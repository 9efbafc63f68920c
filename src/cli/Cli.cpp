#include "cli/Cli.h"

#include "cli/CliSupport.h"
#include "platform/AppPaths.h"
#include "platform/AppSettings.h"
#include "platform/Languages.h"
#include "platform/ProgramInformation.h"

#include <QSettings>

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace tolvane::cli {

// Every command, grouped as the usage text lists them.
std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (auto group : {projectCommands, cardCommands, printCommands, planCommands, detectCommands}) {
        auto commands = group();
        all.insert(all.end(), commands.begin(), commands.end());
    }
    return all;
}

namespace {

void printUsage(std::ostream& out) {
    out << "usage: tolvane-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& cmd : allCommands()) {
        out << "  tolvane-cli " << cmd.synopsis << '\n';
    }
    out << "\nEvery command takes --lang NAME: the language of texts and of new projects (Polski, English, Deutsch,\n"
           "Francais); without it the editor's last language is used, else Polski.\n"
           "'tolvane-cli COMMAND --help' describes a command; 'tolvane-cli --version' prints the version.\n"
           "Exit status: 0 success, 1 critical errors in the project, 2 usage error or a file that cannot be\n"
           "read or written, 3 a file refused as damaged, foreign or with a bad checksum.\n";
}

// Takes --lang NAME (or --lang=NAME) out of the arguments wherever it stands. False when its value is missing.
bool takeLanguage(Args& args, std::optional<std::string>& language) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang") {
            if (i + 1 >= args.size()) {
                return false;
            }
            language = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            --i;
        } else if (args[i].rfind("--lang=", 0) == 0) {
            language = args[i].substr(7);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            --i;
        }
    }
    return true;
}

// The language named on the command line, else the editor's last language, else Polish.
std::string chosenLanguage(const std::optional<std::string>& requested) {
    if (requested && !requested->empty()) {
        return *requested;
    }
    auto settings = programSettings();
    const QString last = SettingsStore(*settings).read().lastLang;
    return last.isEmpty() ? std::string(Languages::FallbackLanguage) : last.toStdString();
}

// The arguments after the program name as the system gave them: on POSIX the bytes of argv, so that a file name
// that is not UTF-8 still names its file; on Windows the wide-character command line in UTF-8.
Args commandLine(int argc, char** argv) {
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    Args args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return args;
#else
    return Args(argv + std::min(argc, 1), argv + argc);
#endif
}

int dispatch(Args args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> requestedLanguage;
    if (!takeLanguage(args, requestedLanguage)) {
        err << "tolvane-cli: option --lang needs a value\n";
        return UsageOrIo;
    }
    if (args.empty()) {
        printUsage(err);
        return UsageOrIo;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(out);
        return Success;
    }
    if (args[0] == "--version") {
        out << versionLine("tolvane-cli");
        return Success;
    }
    for (const Command& cmd : allCommands()) {
        if (args[0] != cmd.name) {
            continue;
        }
        const Args rest(args.begin() + 1, args.end());
        if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
            out << "usage: tolvane-cli " << cmd.synopsis << "\n\n" << cmd.help;
            return Success;
        }
        const std::string language = chosenLanguage(requestedLanguage);
        Languages texts(AppPaths::forApplication().languageFolder());
        const LanguageChoice choice = texts.setLanguage(QString::fromStdString(language));
        if (!choice.message.isEmpty()) {
            err << "tolvane-cli: " << choice.message.toStdString() << '\n';
        }
        Context context{out, err, texts, language};
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

} // namespace

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const int code = dispatch(commandLine(argc, argv), out, err);
    // Output that never arrived (a full disk, a closed pipe) is a failure, whatever the command found.
    errno = 0;
    out.flush();
    if (!out) {
        const int reason = errno;
        err << "tolvane-cli: cannot write the output" << (reason != 0 ? std::string(": ") + std::strerror(reason) : "")
            << '\n';
        return UsageOrIo;
    }
    return code;
}

} // namespace tolvane::cli
