#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tolvane::testing_support {

// The tools of poppler-utils (installed by scripts/install-deps) read the PDFs back. Tests that need them skip
// with a clear message when they are missing.
inline bool hasPdfTools() {
    return std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}
inline constexpr const char* NoPdfTools = "pdftotext and pdfinfo (poppler-utils) are not installed: the PDF's "
                                          "content is not checked";

// The standard output of `command` run on `pdf`, followed by `after`.
inline std::string runOnPdf(const std::string& command, const std::filesystem::path& pdf,
                            const std::string& after = {}) {
    std::string out;
    FILE* pipe = popen((command + " '" + pdf.string() + "' " + after + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return out;
    }
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
        out.append(buffer, n);
    }
    pclose(pipe);
    return out;
}

// The text of a PDF in reading order, each table row on a line of its own, pages ended by a form feed.
inline std::string pdfText(const std::filesystem::path& pdf) {
    // "-" as the output file: the text goes to standard output.
    return runOnPdf("pdftotext -layout -enc UTF-8", pdf, "-");
}

// What pdfinfo says about it ("Pages:", "Page size:", "Title:", ...).
inline std::string pdfInfo(const std::filesystem::path& pdf) {
    return runOnPdf("pdfinfo -enc UTF-8", pdf);
}

} // namespace tolvane::testing_support
