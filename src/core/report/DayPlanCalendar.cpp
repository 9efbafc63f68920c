#include "report/DayPlanCalendar.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/ProgramEntryText.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

namespace tolvane::dayplan {

namespace {

constexpr std::string_view Crlf = "\r\n";
// The column header "Holiday" of the program lists, before a holiday program's holiday.
constexpr int HolidayLabelText = 232;

// The next UTF-8 character of `text` at `at`: its length in bytes, 0 when the bytes there are no character
// (a stray continuation byte, a cut or overlong sequence, a surrogate, a code point beyond U+10FFFF).
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

std::string twoDigits(int n) {
    return formatText("%.2d", {n});
}

std::string dateText(const Date& d) {
    return formatText("%.4d%.2d%.2d", {d.year, d.month, d.day});
}

std::string localTime(const Date& d, std::uint32_t secondsOfDay) {
    return dateText(d) + "T" + twoDigits(static_cast<int>(secondsOfDay / 3600)) +
           twoDigits(static_cast<int>(secondsOfDay / 60 % 60)) + twoDigits(static_cast<int>(secondsOfDay % 60));
}

// "UTC+01:00", the name a calendar program may show for an offset.
std::string offsetName(int halfHours) {
    const std::string plain = ics::utcOffset(halfHours);
    return "UTC" + plain.substr(0, 3) + ":" + plain.substr(3);
}

// A short, stable key of the tower: FNV-1a of its name, so that two towers in one calendar keep apart.
std::string towerKey(const std::string& name) {
    std::uint32_t hash = 2166136261u;
    for (const char ch : name) {
        hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
    }
    return formatText("%.8x", {static_cast<long long>(hash)});
}

// Writes content lines, folded, into one text.
class Writer {
public:
    void line(std::string_view name, std::string_view value) {
        std::string content(name);
        content += ':';
        content += value;
        out_ += ics::foldLine(content);
    }
    void text(std::string_view name, std::string_view value) { line(name, ics::escapeText(value)); }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// One observance of the zone: the change at 01:00 UTC on the last Sunday of `month`, written in the local time
// it leaves (`fromHalfHours`), which may be the Saturday before for a zone far west of UTC.
void observance(Writer& w, const char* kind, int month, int fromHalfHours, int toHalfHours) {
    int minutes = 60 + fromHalfHours * 30;
    int dayShift = 0;
    if (minutes < 0) {
        minutes += 24 * 60;
        dayShift = -1;
    }
    const Date first = calendar::addDays(calendar::lastSunday(1970, month), dayShift);
    const std::string monthRule = "FREQ=YEARLY;BYMONTH=" + std::to_string(month);
    w.line("BEGIN", kind);
    w.line("DTSTART", localTime(first, static_cast<std::uint32_t>(minutes) * 60));
    // March and October have 31 days: their last Sunday is the 25th to the 31st, the Saturday before it the
    // 24th to the 30th.
    w.line("RRULE",
           dayShift == 0 ? monthRule + ";BYDAY=-1SU" : monthRule + ";BYDAY=SA;BYMONTHDAY=24,25,26,27,28,29,30");
    w.line("TZOFFSETFROM", ics::utcOffset(fromHalfHours));
    w.line("TZOFFSETTO", ics::utcOffset(toHalfHours));
    w.text("TZNAME", offsetName(toHalfHours));
    w.line("END", kind);
}

void timeZone(Writer& w, const std::string& id, int winter, int summer) {
    w.line("BEGIN", "VTIMEZONE");
    w.line("TZID", id);
    if (winter == summer) {
        w.line("BEGIN", "STANDARD");
        w.line("DTSTART", "19700101T000000");
        w.line("TZOFFSETFROM", ics::utcOffset(winter));
        w.line("TZOFFSETTO", ics::utcOffset(winter));
        w.text("TZNAME", offsetName(winter));
        w.line("END", "STANDARD");
    } else {
        observance(w, "STANDARD", 10, summer, winter);
        observance(w, "DAYLIGHT", 3, winter, summer);
    }
    w.line("END", "VTIMEZONE");
}

// How long the program sounds, in seconds: a bell ringing its ringing time, a sequence in use its playing time
// (whole seconds, rounded up); nothing for the other actions.
unsigned soundingSeconds(const ProjectData& project, const ProgramEntry& e) {
    if (e.action() == ProgramEntry::ActionBells) {
        return e.ringingTime();
    }
    if (e.action() == ProgramEntry::ActionSequence && e.sequenceIndex() < SequenceTable::Count &&
        project.sequences().isUsed(e.sequenceIndex())) {
        return (project.sequences().record(e.sequenceIndex()).totalTenths() + 9) / 10;
    }
    return 0;
}

struct EventTexts {
    const ProjectData& project;
    const TextSource& texts;

    std::string program(const PlannedProgram& p) const {
        return kindText(p.kind, texts) + " " + numberText(project, p);
    }
    std::string priority(const PlannedProgram& p) const { return texts.text(PriorityText) + " " + priorityText(p); }

    // "Bell ringing — Weekly 004"; an action without a name (the hammers) shows what it does.
    std::string summary(const PlannedProgram& p) const {
        const ProgramEntry& e = entryOf(project, p);
        std::string action = ProgramEntryText::actionName(e.action(), texts);
        if (action.empty()) {
            action = ProgramEntryText::actionDescription(e);
        }
        return action.empty() ? program(p) : action + " — " + program(p);
    }

    // The action with its bells, melody or sequence, the priority, the holiday, and who else starts in the same
    // minute.
    std::string description(const PlanDay& day, const PlannedProgram& p) const {
        std::string out = actionText(project, p, texts) + "\n" + priority(p);
        if (p.kind == HolidayDay) {
            out += "\n" + texts.text(HolidayLabelText) + ": " +
                   ProgramEntryText::holiday(entryOf(project, p), &project.holidays(), texts);
        }
        if (p.collision) {
            std::vector<const PlannedProgram*> together;
            for (const PlannedProgram& other : day.programs) {
                if (other.time / 60 == p.time / 60) {
                    together.push_back(&other);
                }
            }
            out += "\n\n" + formatText(texts.text(CollisionText), {static_cast<long long>(together.size())}) + ":";
            for (const PlannedProgram* other : together) {
                out += "\n" + timeText(project, *other, texts) + "  " + program(*other) + "  " +
                       actionText(project, *other, texts) + "  " + priority(*other);
            }
        }
        return out;
    }
};

} // namespace

CalendarFile calendarFile(const ProjectData& project, const TextSource& texts, const Date& from, int days,
                          const UtcTime& stamp) {
    const TimeCorrectionSettings& corrections = project.timeCorrection();
    const int winter = corrections.winterOffsetHalfHours();
    const int summer = corrections.summerOffsetHalfHours();
    if (std::abs(winter) > MaxOffsetHalfHours || std::abs(summer) > MaxOffsetHalfHours) {
        return {{}, 0, NoTimeZoneText};
    }
    const std::vector<PlanDay> planned = plan(project, from, days);
    const std::string location = project.general().locationName();
    const std::string zone =
        "Tolvane " + ics::utcOffset(winter) + (summer != winter ? " " + ics::utcOffset(summer) : std::string());
    const std::string stampText =
        localTime(stamp.date, static_cast<std::uint32_t>(stamp.hour * 3600 + stamp.minute * 60 + stamp.second)) + "Z";
    const std::string tower = towerKey(location);
    const EventTexts eventTexts{project, texts};

    Writer w;
    w.line("BEGIN", "VCALENDAR");
    w.line("VERSION", "2.0");
    w.line("PRODID", "-//Tolvane//Day plan//EN");
    w.line("CALSCALE", "GREGORIAN");
    w.line("METHOD", "PUBLISH");
    w.text("X-WR-CALNAME", location.empty() ? texts.text(TitleText) : texts.text(TitleText) + ": " + location);
    timeZone(w, zone, winter, summer);
    int events = 0;
    for (const PlanDay& day : planned) {
        // Two programs of one calendar with the same number (the project check warns of it) on one day keep
        // apart by their order in the day.
        std::map<std::string, int> seen;
        for (const PlannedProgram& p : day.programs) {
            std::string uid = dateText(day.date) + "-" + kindWord(p.kind) + "-" + numberText(project, p);
            if (const int repeat = ++seen[uid]; repeat > 1) {
                uid += "-" + std::to_string(repeat);
            }
            const ProgramEntry& e = entryOf(project, p);
            w.line("BEGIN", "VEVENT");
            w.text("UID", uid + "-" + tower + "@tolvane");
            w.line("DTSTAMP", stampText);
            w.line("DTSTART;TZID=" + zone, localTime(day.date, p.time));
            w.line("DURATION", ics::duration(soundingSeconds(project, e)));
            w.text("SUMMARY", eventTexts.summary(p));
            w.text("DESCRIPTION", eventTexts.description(day, p));
            if (!location.empty()) {
                w.text("LOCATION", location);
            }
            w.text("CATEGORIES", kindText(p.kind, texts));
            // Bells ringing do not make the parish office busy.
            w.line("TRANSP", "TRANSPARENT");
            w.line("END", "VEVENT");
            ++events;
        }
    }
    w.line("END", "VCALENDAR");
    return {w.take(), events, 0};
}

namespace ics {

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size();) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            out += "\\n";
            i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (ch == '\\' || ch == ';' || ch == ',') {
            out += '\\';
            out += ch;
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte < 0x20 && ch != '\t') || byte == 0x7F) {
            out += ' ';
            ++i;
            continue;
        }
        const std::size_t length = characterLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string foldLine(std::string_view line) {
    constexpr std::size_t FirstLine = 75;
    std::string out;
    out.reserve(line.size() + line.size() / 37 + 2);
    std::size_t limit = FirstLine;
    while (line.size() > limit) {
        std::size_t cut = limit;
        // Back to the start of the character that would be cut (at most three continuation bytes).
        for (int back = 0; back < 3 && (static_cast<unsigned char>(line[cut]) & 0xC0u) == 0x80u; ++back) {
            --cut;
        }
        out.append(line.substr(0, cut));
        out += Crlf;
        out += ' ';
        line.remove_prefix(cut);
        limit = FirstLine - 1; // the space counts
    }
    out.append(line);
    out += Crlf;
    return out;
}

std::string utcOffset(int halfHours) {
    const int minutes = std::abs(halfHours) * 30;
    return (halfHours < 0 ? "-" : "+") + twoDigits(minutes / 60) + twoDigits(minutes % 60);
}

std::string duration(unsigned seconds) {
    if (seconds == 0) {
        return "PT0S";
    }
    const unsigned hours = seconds / 3600;
    const unsigned minutes = seconds / 60 % 60;
    const unsigned rest = seconds % 60;
    std::string out = "PT";
    if (hours != 0) {
        out += std::to_string(hours) + "H";
    }
    if (minutes != 0 || (hours != 0 && rest != 0)) {
        out += std::to_string(minutes) + "M";
    }
    if (rest != 0) {
        out += std::to_string(rest) + "S";
    }
    return out;
}

} // namespace ics
} // namespace tolvane::dayplan
