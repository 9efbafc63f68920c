#include "cli/CliSupport.h"

#include "platform/AppPaths.h"
#include "platform/PrintWriter.h"
#include "report/PrintDocument.h"

#include <QFileInfo>

namespace tolvane::cli {

namespace {

int cmdPrint(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"details"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo,
                      p.error.empty() ? "usage: tolvane-cli print PROJECT.tpm OUT.html [--details]" : p.error);
    }
    int exitCode = Success;
    auto project = openProject(c, p.positional[0], exitCode);
    if (!project) {
        return exitCode;
    }
    const PrintFormat format = p.options.count("details") ? PrintFormat::Details : PrintFormat::List;
    const std::string html = PrintDocument::html(*project, c.texts, format);

    const QFileInfo out(qs(p.positional[1]));
    const PrintWriter writer(out.absolutePath(), AppPaths::forApplication().printFolder(), out.fileName());
    const PrintWriter::Result result = writer.write(html);
    if (!result.written) {
        return c.fail(UsageOrIo, "cannot write " + p.positional[1]);
    }
    for (const QString& file : result.notCopied) {
        c.err << "tolvane-cli: warning: " << file.toStdString() << " was not copied beside the printout\n";
    }
    c.out << result.path.toStdString() << '\n';
    return Success;
}

} // namespace

std::vector<Command> printCommands() {
    return {
        {"print", "print PROJECT.tpm OUT.html [--details]",
         "Writes the printable summary of the ringing programs as an HTML file, in the chosen language, with the\n"
         "style sheet and icons it uses in a folder 'print' beside it. --details prints every program's settings\n"
         "in full instead of one line per program. Open the file in a browser to print it.\n",
         cmdPrint},
    };
}

} // namespace tolvane::cli
