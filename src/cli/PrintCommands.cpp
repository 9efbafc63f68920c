#include "cli/CliSupport.h"

#include "platform/AppPaths.h"
#include "platform/PrintWriter.h"
#include "report/PrintDocument.h"

namespace tolvane::cli {

namespace {

int cmdPrint(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"details", "force"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo, p.error.empty() ? "usage: tolvane-cli print PROJECT.tpm OUT.html [--details] [--force]"
                                                 : p.error);
    }
    const NativePath& input = p.positional[0];
    const NativePath& output = p.positional[1];
    if (pathExists(output)) {
        // Never the project being printed, not even with --force: it would be lost for its own printout.
        if (isSameFile(output, input)) {
            return c.fail(UsageOrIo, output + " is the project being printed; choose another name for the printout");
        }
        if (!p.options.count("force")) {
            return c.fail(UsageOrIo, output + " already exists (use --force to replace it)");
        }
    }
    const QString printFolder = AppPaths::forApplication().printFolder();
    const NativePath outputFolder = parentFolder(output);
    if (isSameFile(outputFolder, toNativePath(printFolder))) {
        return c.fail(UsageOrIo, output + " would replace a file of the program's own print folder");
    }
    int exitCode = Success;
    auto project = openProject(c, input, exitCode);
    if (!project) {
        return exitCode;
    }
    const PrintFormat format = p.options.count("details") ? PrintFormat::Details : PrintFormat::List;
    const std::string html = PrintDocument::html(*project, c.texts, format);

    const PrintWriter writer(outputFolder, printFolder, fileNameOf(output));
    const PrintWriter::Result result = writer.write(html);
    if (!result.written) {
        return c.fail(UsageOrIo, "cannot write " + output + ": " + result.error.toStdString());
    }
    for (const QString& file : result.notCopied) {
        c.err << "tolvane-cli: warning: " << file.toStdString() << " was not copied beside the printout\n";
    }
    c.out << output << '\n';
    return Success;
}

} // namespace

std::vector<Command> printCommands() {
    return {
        {"print", "print PROJECT.tpm OUT.html [--details] [--force]",
         "Writes the printable summary of the ringing programs as an HTML file, in the chosen language, with the\n"
         "style sheet and icons it uses in a folder 'print' beside it (only those files are replaced there; other\n"
         "files in it stay). --details prints every program's settings in full instead of one line per program.\n"
         "An existing OUT.html is only replaced with --force, and never when it is the project itself. Open the\n"
         "file in a browser to print it.\n",
         cmdPrint},
    };
}

} // namespace tolvane::cli
