#pragma once

#include "report/IssueTarget.h"
#include "section/TextSource.h"

#include <string>
#include <vector>

namespace tolvane {

class ProjectData;

// One difference between two projects, in the words of the pages: a record that only the second project has
// (added), one that only the first has (removed), or one field of a record that both have with its two values as
// the pages show them.
struct Difference {
    enum class Kind { Added, Removed, Changed };

    Kind kind = Kind::Changed;
    IssuePage page = IssuePage::None; // the page that edits it; also the area the filter groups by
    IssueRecord recordKind = IssueRecord::None;
    int recordBefore = -1; // the record's number in the first project, -1 when it has none there
    int recordAfter = -1;  // ... and in the second
    std::string area;      // the area's heading
    std::string record;    // the record ("Program 12", a holiday's name, "Bell 2"); empty for an area's own settings
    std::string field;     // the field's label; empty for an added or removed record
    std::string before;    // the value in the first project; for a removed record its values
    std::string after;     // the value in the second project; for an added record its values

    friend bool operator==(const Difference&, const Difference&) = default;
};

// Compares two projects field by field: the ringing programs matched by their program number (funeral programs
// by their place), holidays by name, sequences, bells, hammers, clocks and chime names by number, the
// cross-connection by terminal, and every setting. The order is the navigation tree's, records in the order their
// page lists them; texts come from the catalog. Access codes are never shown, only that one changed.
class ProjectDifference {
public:
    // Catalog numbers of our own texts.
    static constexpr int AddedText = 2500;
    static constexpr int RemovedText = 2501;
    static constexpr int ProgramText = 2502; // "%d": a program by its number
    static constexpr int CodeChangedText = 2503;
    static constexpr int NoDifferenceText = 2504;
    static constexpr int CountText = 2505; // "%d": how many differences
    static constexpr int AreaHeadText = 2506;
    static constexpr int RecordHeadText = 2507;
    static constexpr int FieldHeadText = 2508;
    static constexpr int BeforeHeadText = 2509;
    static constexpr int AfterHeadText = 2510;
    static constexpr int ChangeHeadText = 2511;
    static constexpr int TitleText = 2512;

    static std::vector<Difference> between(const ProjectData& before, const ProjectData& after,
                                           const TextSource& texts);

    // The word for a kind of difference: added, removed, or empty for a changed field.
    static std::string kindText(Difference::Kind kind, const TextSource& texts);

    // Readable lines, one per difference, grouped under their area ("No differences." when there are none).
    static std::string text(const std::vector<Difference>& differences, const TextSource& texts);
    // Tab-separated: a head line, then one line per difference (area, record, field, change, before, after);
    // tabs and line breaks inside a value become spaces.
    static std::string tsv(const std::vector<Difference>& differences, const TextSource& texts);
    // An HTML document in the printout's style: the style sheet's text inside the document when one is given
    // (a document that stands alone), else a link to print/style.css beside it. Every text is escaped.
    static std::string html(const std::vector<Difference>& differences, const TextSource& texts,
                            const std::string& beforeName, const std::string& afterName,
                            const std::string& styleSheet = {});
};

} // namespace tolvane
