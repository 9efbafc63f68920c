#include "report/PrintDocument.h"

#include "TextNumbers.h"
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
    static constexpr Column weekly[] = {
        {text::PrintAction, 200},    {text::ProgramNumber, 60}, {text::TimeColumn, 80},
        {text::StartDateColumn, 85}, {text::EndDateColumn, 85}, {text::WeekdaysColumn, 80},
        {text::PriorityColumn, 70},  {text::SeasonColumn, 90},  {text::DescriptionColumn, 80}};
    static constexpr Column holidayDay[] = {{text::PrintAction, 200},   {text::ProgramNumber, 60},
                                            {text::TimeColumn, 80},     {text::HolidayColumn, 85},
                                            {text::WeekdaysColumn, 80}, {text::PriorityColumn, 70},
                                            {text::SeasonColumn, 90},   {text::DescriptionColumn, 80}};
    static constexpr Column dated[] = {
        {text::PrintAction, 200},   {text::ProgramNumber, 60}, {text::TimeColumn, 80},       {text::DateColumn, 85},
        {text::PriorityColumn, 70}, {text::SeasonColumn, 90},  {text::DescriptionColumn, 80}};
    static constexpr Column funeral[] = {
        {text::PrintAction, 200}, {text::ProgramNumber, 60}, {text::TimeColumn, 80}, {text::DescriptionColumn, 80}};
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
    put("<td width=\"200\">%s:</td><td><b>%d</b></td></tr>",
        {text(text::ProgramNumber), num(identifier(e, kind, index))});
    put("<tr><td>%s:</td><td><b><img src=\"print/%d.png\" border=0> %s</b></td></tr>",
        {text(text::PrintAction), num(ProgramEntryText::actionIcon(e.action())),
         str(ProgramEntryText::actionName(e.action(), texts_))});
    put("<tr><td>%s:</td><td><b>%s</b></td></tr>", {text(text::TimeColumn), str(timeText(e, kind))});
    switch (kind) {
    case Weekly:
        put(row, {text(text::StartDateColumn), str(ProgramEntryText::startDate(e))});
        put(row, {text(text::EndDateColumn), str(ProgramEntryText::endDate(e))});
        break;
    case HolidayDay:
        put(row, {text(text::HolidayColumn), str(ProgramEntryText::holiday(e, &project_.holidays(), texts_))});
        break;
    case Annual:
        put(row, {text(text::DateColumn), str(ProgramEntryText::startDate(e))});
        break;
    case OneTime:
        put(row, {text(text::DateColumn), str(ProgramEntryText::oneTimeDate(e))});
        break;
    case Funeral:
        put(row, {text(text::FuneralTimes), str(funeralTimes(e))});
        put(row, {text(text::FuneralDays), str(formatText("%d", {num(e.days())}))});
        break;
    default:
        break;
    }
    if (kind != Funeral) {
        put("<tr><td>%s</td><td><b>%d</b></td></tr>", {text(text::PriorityColumn), num(e.priority() + 1)});
    }
    if (kind == Weekly || kind == HolidayDay) {
        put(row, {text(text::WeekdaysColumn), str(ProgramEntryText::weekdays(e, texts_))});
    }
    if (kind != Funeral) {
        put("<tr><td>%s</td><td><b></b></td></tr>", {text(text::SeasonColumn)});
        if (e.summer()) {
            put(unlabelled, {text(ProgramEntryText::SeasonSummerText)});
        }
        if (e.winter()) {
            put(unlabelled, {text(ProgramEntryText::SeasonWinterText)});
        }
    }
    if (kind == Weekly) {
        const std::pair<bool, int> parities[] = {{e.evenWeeks(), text::EvenWeeks},
                                                 {e.oddWeeks(), text::OddWeeks},
                                                 {e.evenMonths(), text::EvenMonths},
                                                 {e.oddMonths(), text::OddMonths}};
        for (const auto& [set, id] : parities) {
            if (set) {
                put(unlabelled, {text(id)});
            }
        }
    }
    put(e.angelus() ? "<tr><td>%s</td><td><b>+</b></td></tr>" : "<tr><td>%s</td><td><b>-</b></td></tr>",
        {text(text::Angelus)});
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
            {text(text::RingingTime), num(ringing / 60), num(ringing % 60), text(text::MinutesSecondsUnit)});
        for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
            if (!e.bellRung(bell)) {
                continue;
            }
            const int delay = e.bellDelay(bell);
            const int second = e.secondTime(bell);
            put("<tr><td>%s %d:</td><td><b>%.2d:%.2d - %.2d:%.2d %s</b></td></tr>",
                {text(text::BellWord), num(bell + 1), num(delay / 60), num(delay % 60), num(second / 60),
                 num(second % 60), text(text::MinutesSecondsUnit)});
        }
        break;
    }
    case ProgramEntry::ActionMelody:
        put("<tr><td width=\"200\">%s:</td><td><b>%d</b></td></tr>", {text(text::Melody), num(e.melodyNumber())});
        put("<tr><td>%s:</td><td><b>%d</b></td></tr>", {text(text::MelodyRepetitions), num(e.repetitions())});
        break;
    case ProgramEntry::ActionSequence:
        put("<tr><td width=\"200\">%s:</td><td><b>%s %d</b></td></tr>",
            {text(text::Sequence), text(text::Sequence), num(e.sequenceIndex() + 1)});
        break;
    case ProgramEntry::ActionSilence:
        put("<tr><td width=\"200\">%s:</td><td><b>%s %s</b></td></tr>",
            {text(text::SilenceDuration), str(ProgramEntryText::actionDescription(e)), text(text::SilenceUnit)});
        if (e.silenceForBells()) {
            put("<tr><td></td><td><b>%s</b></td></tr>", {text(text::SilenceForBells)});
        }
        if (e.silenceForGongs()) {
            put("<tr><td></td><td><b>%s</b></td></tr>", {text(text::SilenceForGongs)});
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
