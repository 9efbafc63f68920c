#include "cli/CliSupport.h"

#include "pdf/PdfWriter.h"
#include "platform/AppPaths.h"
#include "platform/PrintWriter.h"
#include "report/PrintDocument.h"

#include <QDate>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

namespace tolvane::cli {

namespace {

// Catalog text of the PDF's page numbers: "Page %d of %d".
constexpr int PageNumberText = 2359;

// A name ending in ".pdf" (any case) asks for a PDF; every other name for HTML, as before there was a PDF.
bool isPdfName(const std::string& name) {
    constexpr std::string_view suffix = ".pdf";
    if (name.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

int cmdPrint(Context& c, const Args& args) {
    const Parsed p = parse(args, {}, {"details", "all", "force"});
    if (!p.error.empty() || p.positional.size() != 2) {
        return c.fail(UsageOrIo,
                      p.error.empty()
                          ? "usage: tolvane-cli print PROJECT.tpm OUT.html|OUT.pdf [--details] [--all] [--force]"
                          : p.error);
    }
    const NativePath& input = p.positional[0];
    const NativePath& output = p.positional[1];
    // Never the project being printed, not even with --force: it would be lost for its own printout.
    if (pathExists(output) && isSameFile(output, input)) {
        return c.fail(UsageOrIo, output + " is the project being printed; choose another name for the printout");
    }
    if (const std::string refusal = outputRefusal(output, p.options.count("force") != 0); !refusal.empty()) {
        return c.fail(UsageOrIo, refusal);
    }
    const QString printFolder = AppPaths::forApplication().printFolder();
    const NativePath outputFolder = parentFolder(output);
    if (isSameFile(outputFolder, toNativePath(printFolder))) {
        return c.fail(UsageOrIo, output + " would replace a file of the program's own print folder");
    }
    // The style sheet and icons are copied into the folder "print" beside the printout: a project in there would
    // be overwritten by them.
    const NativePath assets = joinNative(outputFolder, PrintWriter::FolderName);
    if (!isPdfName(output) && pathKind(assets) == PathKind::Folder && isSameFile(parentFolder(input), assets)) {
        return c.fail(UsageOrIo, input + " is in " + assets +
                                     ", where the printout's style sheet and icons are copied; move it or print "
                                     "elsewhere");
    }
    int exitCode = Success;
    auto project = openProject(c, input, exitCode);
    if (!project) {
        return exitCode;
    }
    const PrintFormat format = p.options.count("details") ? PrintFormat::Details : PrintFormat::List;
    const bool pdf = isPdfName(output);
    // The PDF is the record left in the tower and sent to the parish: always the whole configuration.
    const PrintContent content =
        pdf || p.options.count("all") ? PrintContent::WholeConfiguration : PrintContent::Programs;
    const std::string html = PrintDocument::html(*project, c.texts, format, content);

    if (pdf) {
        const QString projectFile = QFileInfo(fromNativePath(input)).fileName();
        const QString location = QString::fromStdString(project->general().locationName());
        const PdfWriter::Footer footer{PdfWriter::footerText(location, projectFile, QDate::currentDate()),
                                       QString::fromStdString(c.texts.text(PageNumberText))};
        const PdfWriter::Result result = PdfWriter(QFileInfo(printFolder).absolutePath())
                                             .write(html, output, footer, location.isEmpty() ? projectFile : location);
        if (!result.written) {
            return c.fail(UsageOrIo, "cannot write " + output + ": " + result.error.toStdString());
        }
        c.out << printable(output) << '\n';
        return Success;
    }

    const PrintWriter writer(outputFolder, printFolder, fileNameOf(output));
    const PrintWriter::Result result = writer.write(html);
    if (!result.written) {
        return c.fail(UsageOrIo, "cannot write " + output + ": " + result.error.toStdString());
    }
    if (!result.notCopied.isEmpty()) {
        // The printout shows without its style sheet and icons: not what was asked for.
        return c.fail(UsageOrIo, output + " is written, but " + result.notCopied.join(QStringLiteral(", ")).toStdString() +
                                     " could not be copied beside it: " + result.copyError.toStdString());
    }
    c.out << printable(output) << '\n';
    return Success;
}

// Only a PDF needs pages laid out, and with them a graphics application (fonts).
bool printNeedsGraphics(const Args& args) {
    const Parsed p = parse(args, {}, {"details", "all", "force"});
    return p.error.empty() && p.positional.size() == 2 && isPdfName(p.positional[1]);
}

} // namespace

std::vector<Command> printCommands() {
    return {
        {"print", "print PROJECT.tpm OUT.html|OUT.pdf [--details] [--all] [--force]",
         "Writes the printable summary of the project in the chosen language. OUT.html: the ringing programs as an\n"
         "HTML file, with the style sheet and icons it uses in a folder 'print' beside it (only those files are\n"
         "replaced there; other files in it stay); open it in a browser to print it. --all adds everything else\n"
         "that was set up after the programs: special tolling, holidays, sequences, hour and quarter striking,\n"
         "bells, hammers, clocks and the other settings, the wiring table of relays and inputs, the named chimes,\n"
         "time corrections and the astronomical clock, and the user settings (the access codes only as set or\n"
         "factory default, never the codes). OUT.pdf (the name decides): the same whole configuration as an A4 PDF\n"
         "with the project's name, the date and page numbers in the footer; it needs no display.\n"
         "--details prints every program's settings in full instead of one line per program. An existing output\n"
         "file is only replaced with --force, and never when it is the project itself.\n",
         cmdPrint, printNeedsGraphics},
    };
}

} // namespace tolvane::cli
