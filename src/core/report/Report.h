#pragma once

#include "section/TextSource.h"
#include "section/ValidationIssue.h"

#include <array>
#include <string>
#include <vector>

namespace tolvane {

class HolidayTable;
class ProjectData;

// The error report: each issue of the project check as one row of readable text — its severity (the icon), what
// is wrong and where. Texts come from the language catalog; catalog texts that take an argument are filled
// through formatText, so a damaged catalog gives a wrong text, never a crash.
class Report {
public:
    struct Row {
        int severity = 0; // 0 critical error, 1 warning, 2 note: also the icon's index in the severity strip
        std::string description;
        std::string place;

        friend bool operator==(const Row&, const Row&) = default;
    };

    // Catalog numbers of the report page.
    static constexpr int TitleText = 164;
    static constexpr int DescriptionHeaderText = 398;
    static constexpr int PlaceHeaderText = 399;
    static constexpr int UnknownIssueText = 417;
    static constexpr int BuildErrorText = 453;
    // Code 52 has a fixed Polish description that is not in the catalog.
    static constexpr int FixedTextCode = 52;
    static constexpr const char* FixedText = "Niewłaściwy czas ???";

    // Catalog number of the description of `code`: 0 for code 52 (the fixed text), UnknownIssueText for codes
    // without one.
    static int descriptionText(int code);
    // What is wrong: the catalog text of the issue's code, text 417 for an unknown code, text 453 when the text
    // cannot be built.
    static std::string description(const ValidationIssue& issue, const TextSource& texts);
    // Where it is: the place text of the issue's area filled with its argument (the 1-based record number or a
    // holiday's name); empty for an unknown area. `holidays` may be null: holiday places then name nothing.
    static std::string place(const ValidationIssue& issue, const HolidayTable* holidays, const TextSource& texts);

    // Whether the project has problems the report item of the tree points at: a critical error or a warning.
    // Notes (a missing location name, the factory access codes) are reminders and do not count, so a new project
    // is quiet.
    static bool hasProblems(const IssueList& issues);
    // How many issues there are of each severity (critical errors, warnings, notes); other severities are not
    // counted.
    static std::array<int, 3> severityCounts(const IssueList& issues);

    // One row per issue, in list order.
    static std::vector<Row> rows(const IssueList& issues, const HolidayTable* holidays, const TextSource& texts);
};

} // namespace tolvane
