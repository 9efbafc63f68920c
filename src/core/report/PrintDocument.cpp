#include "report/PrintDocument.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "report/ConfigurationDocument.h"
#include "schedules/ProgramEntryText.h"

#include <array>
#include <initializer_list>
#include <span>
#include <utility>

namespace tolvane {

namespace {

// Catalog numbers of the printout's headings and labels.
constexpr int ActionLabel = 213;
constexpr int IdentifierLabel = 508;
constexpr int TimeLabel = 231;
constexpr int HolidayLabel = 232;
constexpr int StartDateLabel = 233;
constexpr int EndDateLabel = 234;
constexpr int DateLabel = 235;
constexpr int WeekdaysLabel = 236;
constexpr int PriorityLabel = 237;
constexpr int DescriptionLabel = 238;
constexpr int SeasonLabel = 239;
constexpr int FuneralTimesLabel = 566;
constexpr int FuneralDaysLabel = 227;
constexpr int EvenWeeksText = 561;
constexpr int OddWeeksText = 562;
constexpr int EvenMonthsText = 678;
constexpr int OddMonthsText = 679;
constexpr int AngelusLabel = 560;
constexpr int RingingTimeLabel = 281;
constexpr int BellLabel = 226;
constexpr int MinutesUnitText = 208;
constexpr int MelodyLabel = 223;
constexpr int RepetitionsLabel = 224;
constexpr int SequenceText = 554;
constexpr int SilenceLabel = 222;
constexpr int SilenceUnitText = 209;
constexpr int SilenceBellsText = 503;
constexpr int SilenceGongsText = 504;

struct Section {
    int kind;
    int heading;
};

// The printed sections, in print order.
constexpr std::array<Section, 5> Sections{{
    {Weekly, 175},
    {Annual, 181},
    {HolidayDay, 180},
    {OneTime, 182},
    {Funeral, 183},
}};

struct Column {
    int text;
    int width;
};

std::span<const Column> headerColumns(int kind) {
    static constexpr Column weekly[] = {{ActionLabel, 200},   {IdentifierLabel, 60}, {TimeLabel, 80},
                                        {StartDateLabel, 85}, {EndDateLabel, 85},    {WeekdaysLabel, 80},
                                        {PriorityLabel, 70},  {SeasonLabel, 90},     {DescriptionLabel, 80}};
    static constexpr Column holidayDay[] = {{ActionLabel, 200}, {IdentifierLabel, 60}, {TimeLabel, 80},
                                            {HolidayLabel, 85}, {WeekdaysLabel, 80},   {PriorityLabel, 70},
                                            {SeasonLabel, 90},  {DescriptionLabel, 80}};
    static constexpr Column dated[] = {{ActionLabel, 200},    {IdentifierLabel, 60}, {TimeLabel, 80},
                                       {DateLabel, 85},       {PriorityLabel, 70},   {SeasonLabel, 90},
                                       {DescriptionLabel, 80}};
    static constexpr Column funeral[] = {
        {ActionLabel, 200}, {IdentifierLabel, 60}, {TimeLabel, 80}, {DescriptionLabel, 80}};
    switch (kind) {
    case Weekly:
        return weekly;
    case HolidayDay:
        return holidayDay;
    case Funeral:
        return funeral;
    default:
        return dated;
    }
}

TextArg num(long long v) {
    return TextArg{v};
}

// The document under construction. Every string argument is escaped on its way into the markup.
class Writer {
public:
    Writer(const ProjectData& project, const TextSource& texts) : project_(project), texts_(texts) {}

    void put(std::string_view markup) { out_ += markup; }
    void put(std::string_view format, std::initializer_list<TextArg> args) { out_ += formatText(format, args); }
    TextArg str(std::string_view text) const { return TextArg{PrintDocument::escape(text)}; }
    TextArg text(int id) const { return str(texts_.text(id)); }

    void section(const Section& s, PrintFormat format);
    std::string take() { return std::move(out_); }

private:
    void listRow(const ProgramEntry& e, int kind, int index);
    void detailBlock(const ProgramEntry& e, int kind, int index);
    void actionValues(const ProgramEntry& e);
    std::string timeText(const ProgramEntry& e, int kind) const {
        return kind == Funeral ? ProgramEntryText::funeralTime(e, texts_) : ProgramEntryText::time(e);
    }
    long long identifier(const ProgramEntry& e, int kind, int index) const {
        return kind == Funeral ? index + 1 : e.identifier();
    }
    std::string funeralTimes(const ProgramEntry& e) const;

    const ProjectData& project_;
    const TextSource& texts_;
    std::string out_;
};

void Writer::section(const Section& s, PrintFormat format) {
    const ScheduleProgram& program = project_.program(s.kind);
    put("<h1>%s</h1><br>", {text(s.heading)});
    const int used = program.usedCount();
    if (used <= 0) {
        put("%s<br><br>", {text(PrintDocument::NoProgramsText)});
        return;
    }
    if (format == PrintFormat::Details) {
        for (int i = 0; i < used; ++i) {
            detailBlock(program.entry(i), s.kind, i);
        }
        return;
    }
    put("<table id=\"tabela\">");
    put("<tr align=\"center\">");
    for (const Column& c : headerColumns(s.kind)) {
        put("<td width=\"%d\"><b>%s</b></td>", {num(c.width), text(c.text)});
    }
    put("</tr>");
    for (int i = 0; i < used; ++i) {
        listRow(program.entry(i), s.kind, i);
    }
    put("</table><br>");
}

void Writer::listRow(const ProgramEntry& e, int kind, int index) {
    constexpr std::string_view centred = "<td align=\"center\">%s</td>";
    constexpr std::string_view centredNumber = "<td align=\"center\">%d</td>";
    put("<tr>");
    put("<td><img src=\"print/%d.png\" border=0> %s</td>",
        {num(ProgramEntryText::actionIcon(e.action())), str(ProgramEntryText::actionName(e.action(), texts_))});
    put("<td>%d</td>", {num(identifier(e, kind, index))});
    put(centred, {str(timeText(e, kind))});
    switch (kind) {
    case Weekly:
        put(centred, {str(ProgramEntryText::startDate(e))});
        put(centred, {str(ProgramEntryText::endDate(e))});
        put(centred, {str(ProgramEntryText::weekdays(e, texts_))});
        break;
    case HolidayDay:
        put("<td >%s</td>", {str(ProgramEntryText::holiday(e, &project_.holidays(), texts_))});
        put(centred, {str(ProgramEntryText::weekdays(e, texts_))});
        break;
    case Annual:
        put(centred, {str(ProgramEntryText::startDate(e))});
        break;
    case OneTime:
        put(centred, {str(ProgramEntryText::oneTimeDate(e))});
        break;
    default:
        break;
    }
    if (kind == Funeral) {
        put("<td >%s</td>", {str(ProgramEntryText::actionDescription(e))});
    } else {
        put(centredNumber, {num(e.priority() + 1)});
        put(centred, {str(ProgramEntryText::season(e, texts_))});
        put("<td>%s</td>", {str(ProgramEntryText::actionDescription(e))});
    }
    put("</tr>");
}

std::string Writer::funeralTimes(const ProgramEntry& e) const {
    return ProgramEntryText::funeralStartTimes(e, texts_);
}

void Writer::detailBlock(const ProgramEntry& e, int kind, int index) {
    constexpr std::string_view row = "<tr><td>%s</td><td><b>%s</b></td></tr>";
    constexpr std::string_view unlabelled = "<tr><td></td><td><b>%s</b></td></tr>";
    put("<table border=0>");
    put("<tr><td width=\"600\">");
    put("<table border=0>");
    put("<tr>");
    put("<td width=\"200\">%s:</td><td><b>%d</b></td></tr>", {text(IdentifierLabel), num(identifier(e, kind, index))});
    put("<tr><td>%s:</td><td><b><img src=\"print/%d.png\" border=0> %s</b></td></tr>",
        {text(ActionLabel), num(ProgramEntryText::actionIcon(e.action())),
         str(ProgramEntryText::actionName(e.action(), texts_))});
    put("<tr><td>%s:</td><td><b>%s</b></td></tr>", {text(TimeLabel), str(timeText(e, kind))});
    switch (kind) {
    case Weekly:
        put(row, {text(StartDateLabel), str(ProgramEntryText::startDate(e))});
        put(row, {text(EndDateLabel), str(ProgramEntryText::endDate(e))});
        break;
    case HolidayDay:
        put(row, {text(HolidayLabel), str(ProgramEntryText::holiday(e, &project_.holidays(), texts_))});
        break;
    case Annual:
        put(row, {text(DateLabel), str(ProgramEntryText::startDate(e))});
        break;
    case OneTime:
        put(row, {text(DateLabel), str(ProgramEntryText::oneTimeDate(e))});
        break;
    case Funeral:
        put(row, {text(FuneralTimesLabel), str(funeralTimes(e))});
        put(row, {text(FuneralDaysLabel), str(formatText("%d", {num(e.days())}))});
        break;
    default:
        break;
    }
    if (kind != Funeral) {
        put("<tr><td>%s</td><td><b>%d</b></td></tr>", {text(PriorityLabel), num(e.priority() + 1)});
    }
    if (kind == Weekly || kind == HolidayDay) {
        put(row, {text(WeekdaysLabel), str(ProgramEntryText::weekdays(e, texts_))});
    }
    if (kind != Funeral) {
        put("<tr><td>%s</td><td><b></b></td></tr>", {text(SeasonLabel)});
        if (e.summer()) {
            put(unlabelled, {text(ProgramEntryText::SeasonSummerText)});
        }
        if (e.winter()) {
            put(unlabelled, {text(ProgramEntryText::SeasonWinterText)});
        }
    }
    if (kind == Weekly) {
        const std::pair<bool, int> parities[] = {{e.evenWeeks(), EvenWeeksText},
                                                 {e.oddWeeks(), OddWeeksText},
                                                 {e.evenMonths(), EvenMonthsText},
                                                 {e.oddMonths(), OddMonthsText}};
        for (const auto& [set, id] : parities) {
            if (set) {
                put(unlabelled, {text(id)});
            }
        }
    }
    put(e.angelus() ? "<tr><td>%s</td><td><b>+</b></td></tr>" : "<tr><td>%s</td><td><b>-</b></td></tr>",
        {text(AngelusLabel)});
    put("</table>");
    put("</td><td>");
    put("<table border=0>");
    actionValues(e);
    put("</table>");
    put("</td></tr></table>");
    put("<hr><br>");
}

void Writer::actionValues(const ProgramEntry& e) {
    switch (e.action()) {
    case ProgramEntry::ActionBells: {
        const int ringing = e.ringingTime();
        put("<tr><td width=\"200\">%s:</td><td><b>%.2d:%.2d %s</b><br><br></td></tr>",
            {text(RingingTimeLabel), num(ringing / 60), num(ringing % 60), text(MinutesUnitText)});
        for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
            if (!e.bellRung(bell)) {
                continue;
            }
            const int delay = e.bellDelay(bell);
            const int second = e.secondTime(bell);
            put("<tr><td>%s %d:</td><td><b>%.2d:%.2d - %.2d:%.2d %s</b></td></tr>",
                {text(BellLabel), num(bell + 1), num(delay / 60), num(delay % 60), num(second / 60), num(second % 60),
                 text(MinutesUnitText)});
        }
        break;
    }
    case ProgramEntry::ActionMelody:
        put("<tr><td width=\"200\">%s:</td><td><b>%d</b></td></tr>", {text(MelodyLabel), num(e.melodyNumber())});
        put("<tr><td>%s:</td><td><b>%d</b></td></tr>", {text(RepetitionsLabel), num(e.repetitions())});
        break;
    case ProgramEntry::ActionSequence:
        put("<tr><td width=\"200\">%s:</td><td><b>%s %d</b></td></tr>",
            {text(SequenceText), text(SequenceText), num(e.sequenceIndex() + 1)});
        break;
    case ProgramEntry::ActionSilence:
        put("<tr><td width=\"200\">%s:</td><td><b>%s %s</b></td></tr>",
            {text(SilenceLabel), str(ProgramEntryText::actionDescription(e)), text(SilenceUnitText)});
        if (e.silenceForBells()) {
            put("<tr><td></td><td><b>%s</b></td></tr>", {text(SilenceBellsText)});
        }
        if (e.silenceForGongs()) {
            put("<tr><td></td><td><b>%s</b></td></tr>", {text(SilenceGongsText)});
        }
        break;
    default:
        break;
    }
}

} // namespace

std::string PrintDocument::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string PrintDocument::html(const ProjectData& project, const TextSource& texts, PrintFormat format) {
    return html(project, texts, format, PrintContent::Programs);
}

std::string PrintDocument::html(const ProjectData& project, const TextSource& texts, PrintFormat format,
                                PrintContent content) {
    Writer w(project, texts);
    w.put("<html><head>");
    w.put("<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />");
    w.put("<title>Tolvane PC - Print</title>");
    w.put("<link href=\"print/style.css\" rel=\"stylesheet\" type=\"text/css\" />");
    w.put("</head><body>");
    for (const Section& s : Sections) {
        w.section(s, format);
    }
    if (content == PrintContent::WholeConfiguration) {
        w.put(ConfigurationDocument::sections(project, texts));
    }
    w.put("</body>");
    w.put("</html>");
    return w.take();
}

} // namespace tolvane
