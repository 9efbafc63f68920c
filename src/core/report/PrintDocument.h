#pragma once

#include "section/TextSource.h"

#include <string>
#include <string_view>

namespace tolvane {

class ProjectData;

enum class PrintFormat : int { List = 0, Details = 1 };
// What the document holds: the ringing programs alone, or after them everything else an installer set up (see
// ConfigurationDocument).
enum class PrintContent : int { Programs = 0, WholeConfiguration = 1 };

// The printable summary of the ringing programs: an HTML document (UTF-8) with one section each for the weekly,
// annual, holiday-day, one-time and funeral programs, as a table per section (list format) or as one block per
// program (detail format). It refers to print/style.css and to the action icons print/<icon>.png, which the
// writer copies beside it. Every text placed into the markup is escaped, so names typed into the project or
// catalog texts can never change the document's structure.
class PrintDocument {
public:
    // Catalog numbers used beside the display helpers of the program entries.
    static constexpr int NoProgramsText = 109;

    static std::string html(const ProjectData& project, const TextSource& texts, PrintFormat format);
    // The same document; with WholeConfiguration the sections of the rest of the configuration follow the
    // programs, which stay exactly as html() prints them.
    static std::string html(const ProjectData& project, const TextSource& texts, PrintFormat format,
                            PrintContent content);

    // `text` with & < > " ' replaced by their character references.
    static std::string escape(std::string_view text);
};

} // namespace tolvane
