#include "cli/Cli.h"

#include "cli/CliSupport.h"
#include "platform/AppPaths.h"
#include "platform/AppSettings.h"
#include "platform/Languages.h"
#include "platform/ProgramInformation.h"

#include <QSettings>

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace tolvane::cli {

// Every command, grouped as the usage text lists them.
std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (auto group : {projectCommands, cardCommands, printCommands, planCommands, detectCommands, diffCommands}) {
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
           "The user guide (HTML, in the four languages) is installed in the Help folder of the version folder,\n"
           "/usr/lib/tolvane/1.41/Help/<Language>/index.html (in the editor: F1).\n"
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
std::string chosenLanguage(const std::optional<std::string>& requested, std::ostream& err) {
    if (requested && !requested->empty()) {
        return *requested;
    }
    QString warning;
    auto settings = programSettings(&warning);
    if (!warning.isEmpty()) {
        err << "tolvane-cli: warning: " << printable(warning.toStdString()) << '\n';
    }
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

// Whether the command line names a command that lays out pages. Only the command's own check decides; a command
// line that will be refused needs nothing.
bool needsGraphics(Args args) {
    std::optional<std::string> language;
    if (!takeLanguage(args, language) || args.empty()) {
        return false;
    }
    for (const Command& cmd : allCommands()) {
        if (args[0] == cmd.name) {
            return cmd.needsGraphics != nullptr && cmd.needsGraphics(Args(args.begin() + 1, args.end()));
        }
    }
    return false;
}

// The application object of the run. Most commands need Qt Core alone. Laying out a PDF needs fonts and so a
// QGuiApplication: on Windows its own window system, which is always there; elsewhere always the offscreen
// platform, so the tool works the same on a server without a display (or with a stale DISPLAY) as on a desktop.
// Qt is then given only the program's name and the platform: it reads its own options (-platform, -reverse, ...)
// from the arguments it gets, and a file named like one of them must stay a file name (we read argv ourselves).
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
#ifdef Q_OS_WIN
    return std::make_unique<QGuiApplication>(argc, argv);
#else
    if (!needsGraphics(Args(argv + std::min(argc, 1), argv + argc))) {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    // Qt keeps these for the application's life.
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char fallbackName[] = "tolvane-cli";
    static char* qtArguments[4] = {};
    static int qtCount = 0;
    qtArguments[0] = argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    qtArguments[1] = platformOption;
    qtArguments[2] = offscreen;
    qtArguments[3] = nullptr;
    qtCount = 3;
    // Starting the platform may note things that concern a desktop session (no XDG_RUNTIME_DIR on a server, say),
    // which mean nothing for a PDF; errors still show.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::fprintf(stderr, "tolvane-cli: %s\n", qPrintable(text));
            }
        });
    auto application = std::make_unique<QGuiApplication>(qtCount, qtArguments);
    qInstallMessageHandler(previous);
    return application;
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
        const std::string language = chosenLanguage(requestedLanguage, err);
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
        app = makeApplication(argc, argv);
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
