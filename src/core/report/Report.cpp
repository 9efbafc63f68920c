#include "report/Report.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/HolidayTable.h"

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

namespace tolvane {

namespace {

struct CodeText {
    int code;
    int text;
};

// Issue code -> catalog text of its description.
// Codes 6, 7 and 8 (bad start, end and one-time dates, all critical) have texts of their own, 900-902, so that
// a critical error is never described as an unknown problem.
constexpr std::array<CodeText, 58> DescriptionTexts{{
    {2, 413},  {3, 414},  {4, 415},  {5, 416},  {6, 900},  {7, 901},  {8, 902},  {9, 418},  {10, 419}, {11, 420},
    {12, 421}, {13, 422}, {14, 423}, {15, 424}, {16, 427}, {17, 428}, {18, 426}, {19, 429}, {20, 425}, {21, 430},
    {22, 431}, {23, 432}, {24, 433}, {25, 434}, {26, 435}, {27, 436}, {28, 437}, {29, 438}, {30, 439}, {31, 440},
    {32, 441}, {33, 442}, {34, 443}, {35, 444}, {36, 445}, {37, 446}, {38, 447}, {39, 448}, {40, 449}, {41, 450},
    {42, 451}, {43, 452}, {44, 454}, {45, 498}, {46, 501}, {47, 500}, {48, 502}, {49, 528}, {50, 649}, {51, 650},
    {53, 651}, {54, 652}, {55, 664}, {56, 667}, {57, 666}, {58, 684}, {59, 694}, {60, 695},
}};

enum class PlaceArg { None, Number, HolidayName };

struct AreaPlace {
    int area;
    int text;
    PlaceArg arg;
};

// Area -> place text and what fills it. Area 10 is handled apart: its text depends on the item.
constexpr std::array<AreaPlace, 18> PlaceTexts{{
    {0, 400, PlaceArg::Number},
    {1, 402, PlaceArg::Number},
    {2, 401, PlaceArg::Number},
    {3, 403, PlaceArg::Number},
    {4, 404, PlaceArg::None},
    {5, 405, PlaceArg::HolidayName},
    {6, 110, PlaceArg::Number},
    {7, 111, PlaceArg::Number},
    {8, 406, PlaceArg::None},
    {9, 407, PlaceArg::None},
    {11, 409, PlaceArg::None},
    {12, 410, PlaceArg::None},
    {13, 411, PlaceArg::None},
    {14, 412, PlaceArg::None},
    {15, 499, PlaceArg::None},
    {16, 534, PlaceArg::Number}, // hammer pulse: "Hammer %d"
    {17, 535, PlaceArg::Number},
    {19, 2651, PlaceArg::Number}, // a section of the project file, by its number in file order
}};

constexpr int SwitchArea = 10;

// Area 5 is both the holiday table and the special tolling program (its kind). Issues raised by program entries
// (codes 2-13) name the special tolling entry, not a holiday.
constexpr int HolidayOrSpecialArea = 5;
constexpr int SpecialTollingText = 879;
bool isProgramEntryCode(int code) {
    return code >= 2 && code <= 13;
}
constexpr int FirstSwitchPlaceText = 393; // items 0-3: texts 393-396

// Our own code 100: an access code still at its factory default (text 2200). Its area 18 names the code: item 0
// the user code (text 514), item 1 the service code (515).
constexpr int DefaultCodeIssue = 100;
constexpr int DefaultCodeText = 2200;
constexpr int CodesArea = 18;
constexpr int FirstCodePlaceText = 514;

// Our own code 120: a section the opened project file lacked (text 2650).
constexpr int SectionMissingIssue = 120;
constexpr int SectionMissingText = 2650;

std::string holidayName(const HolidayTable* holidays, int index) {
    if (holidays == nullptr || index < 0 || index >= HolidayTable::Count) {
        return {};
    }
    return holidays->name(index);
}

} // namespace

int Report::descriptionText(int code) {
    if (code == FixedTextCode) {
        return 0;
    }
    if (code == DefaultCodeIssue) {
        return DefaultCodeText;
    }
    if (code == SectionMissingIssue) {
        return SectionMissingText;
    }
    const auto it = std::find_if(DescriptionTexts.begin(), DescriptionTexts.end(),
                                 [code](const CodeText& c) { return c.code == code; });
    return it == DescriptionTexts.end() ? UnknownIssueText : it->text;
}

std::string Report::description(const ValidationIssue& issue, const TextSource& texts) {
    try {
        const int id = descriptionText(issue.code);
        return id == 0 ? std::string(FixedText) : texts.text(id);
    } catch (const std::exception&) {
        try {
            return texts.text(BuildErrorText);
        } catch (const std::exception&) {
            return "---";
        }
    }
}

std::string Report::place(const ValidationIssue& issue, const HolidayTable* holidays, const TextSource& texts) {
    try {
        if (issue.area == SwitchArea) {
            if (issue.item < 0 || issue.item > 3) {
                return {};
            }
            return formatText(texts.text(FirstSwitchPlaceText + issue.item), std::span<const TextArg>{});
        }
        if (issue.area == CodesArea) {
            if (issue.item < 0 || issue.item > 1) {
                return {};
            }
            return formatText(texts.text(FirstCodePlaceText + issue.item), std::span<const TextArg>{});
        }
        if (issue.area == HolidayOrSpecialArea && isProgramEntryCode(issue.code)) {
            return formatText(texts.text(SpecialTollingText), std::span<const TextArg>{}) + " " +
                   std::to_string(issue.item + 1);
        }
        const auto it = std::find_if(PlaceTexts.begin(), PlaceTexts.end(),
                                     [&](const AreaPlace& p) { return p.area == issue.area; });
        if (it == PlaceTexts.end()) {
            return {};
        }
        const std::string format = texts.text(it->text);
        switch (it->arg) {
        case PlaceArg::Number:
            return formatText(format, {TextArg{static_cast<long long>(issue.item) + 1}});
        case PlaceArg::HolidayName:
            return formatText(format, {TextArg{holidayName(holidays, issue.item)}});
        case PlaceArg::None:
            break;
        }
        return formatText(format, std::span<const TextArg>{});
    } catch (const std::exception&) {
        return {};
    }
}

bool Report::hasProblems(const IssueList& issues) {
    return std::any_of(issues.begin(), issues.end(), [](const ValidationIssue& issue) {
        return issue.severity == severity::Critical || issue.severity == severity::Warning;
    });
}

std::array<int, 3> Report::severityCounts(const IssueList& issues) {
    std::array<int, 3> counts{};
    for (const ValidationIssue& issue : issues) {
        if (issue.severity >= severity::Critical && issue.severity <= severity::Note) {
            ++counts[static_cast<std::size_t>(issue.severity)];
        }
    }
    return counts;
}

std::vector<Report::Row> Report::rows(const IssueList& issues, const HolidayTable* holidays, const TextSource& texts) {
    std::vector<Row> out;
    out.reserve(issues.size());
    for (const ValidationIssue& issue : issues) {
        out.push_back({issue.severity, description(issue, texts), place(issue, holidays, texts)});
    }
    return out;
}

} // namespace tolvane
