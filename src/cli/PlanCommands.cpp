#include "cli/CliSupport.h"

#include "platform/SafeFile.h"
#include "project/TextFormat.h"
#include "report/DayPlan.h"
#include "report/DayPlanCalendar.h"

#include <QDate>
#include <QDateTime>

#include <optional>
#include <sstream>

namespace tolvane::cli {

namespace {

constexpr const char* PlanUsage =
    "usage: tolvane-cli plan PROJECT.tpm [--from YYYY-MM-DD] [--days N] [--format text|tsv|ics] [--output FILE] "
    "[--force]";

std::string tsvField(std::string text) {
    for (char& ch : text) {
        if (ch == '\t' || ch == '\n' || ch == '\r') {
            ch = ' ';
        }
    }
    return text;
}

// "--days" as a whole number from 1 to the plan's limit.
std::optional<int> dayCount(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int days = std::stoi(text);
    if (days < 1 || days > dayplan::MaxDays) {
        return std::nullopt;
    }
    return days;
}

calendar::Date today() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

dayplan::UtcTime utcNow() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const QTime t = now.time();
    return {{d.year(), d.month(), d.day()}, t.hour(), t.minute(), t.second()};
}

struct PlanPrinter {
    Context& c;
    const ProjectData& project;
    std::ostream& out;

    // "HH:MM:SS  Weekly 007  Bell ringing 1_3__  Priority 5  All year"
    std::string line(const dayplan::PlannedProgram& p) const {
        return dayplan::timeText(project, p, c.texts) + "  " + dayplan::kindText(p.kind, c.texts) + " " +
               dayplan::numberText(project, p) + "  " + dayplan::actionText(project, p, c.texts) + "  " +
               c.texts.text(dayplan::PriorityText) + " " + dayplan::priorityText(p) + "  " +
               dayplan::seasonText(project, p, c.texts);
    }

    // "Funeral 3  12:00:00  Bell ringing 1____  Priority 16"
    std::string onDemandLine(const dayplan::PlannedProgram& p) const {
        return dayplan::kindText(p.kind, c.texts) + " " + dayplan::numberText(project, p) + "  " +
               dayplan::timeText(project, p, c.texts) + "  " + dayplan::actionText(project, p, c.texts) + "  " +
               c.texts.text(dayplan::PriorityText) + " " + dayplan::priorityText(p);
    }

    void text(const std::string& path, const std::vector<dayplan::PlanDay>& days) const {
        const dayplan::Date first = days.front().date;
        const dayplan::Date last = days.back().date;
        out << c.texts.text(dayplan::TitleText) << ": " << printable(path) << '\n'
            << formatText(c.texts.text(dayplan::RangeText),
                          {calendar::isoText(first), calendar::isoText(last), static_cast<long long>(days.size())})
            << "\n\n"
            << c.texts.text(dayplan::ReadingsText) << '\n';
        for (const std::string& reading : dayplan::readingLines(project, c.texts, first.year, last.year)) {
            out << "  " << reading << '\n';
        }
        out << '\n' << c.texts.text(dayplan::OnDemandText) << '\n';
        for (const dayplan::PlannedProgram& p : dayplan::onDemand(project)) {
            out << "  " << onDemandLine(p) << '\n';
        }
        for (const dayplan::PlanDay& day : days) {
            out << '\n' << dayplan::dayTitle(day.date, c.texts) << '\n';
            if (!day.hasPrograms()) {
                out << "  " << c.texts.text(dayplan::NothingText) << '\n';
            }
            const auto& programs = day.programs;
            for (std::size_t i = 0; i < programs.size(); ++i) {
                if (programs[i].collision &&
                    (i == 0 || !programs[i - 1].collision || programs[i - 1].time / 60 != programs[i].time / 60)) {
                    std::size_t group = 1;
                    while (i + group < programs.size() && programs[i + group].time / 60 == programs[i].time / 60) {
                        ++group;
                    }
                    out << "  ! " << formatText(c.texts.text(dayplan::CollisionText), {static_cast<long long>(group)})
                        << '\n';
                }
                out << (programs[i].collision ? "  ! " : "    ") << line(programs[i]) << '\n';
            }
        }
    }

    void tsv(const std::vector<dayplan::PlanDay>& days) const {
        const auto row = [&](const std::string& date, const dayplan::PlannedProgram& p) {
            out << date << '\t' << tsvField(dayplan::timeText(project, p, c.texts)) << '\t' << dayplan::kindWord(p.kind)
                << '\t' << dayplan::numberText(project, p) << '\t' << tsvField(dayplan::actionText(project, p, c.texts))
                << '\t' << dayplan::priorityText(p) << '\t' << (p.collision ? 1 : 0) << '\n';
        };
        for (const dayplan::PlanDay& day : days) {
            for (const dayplan::PlannedProgram& p : day.programs) {
                row(calendar::isoText(day.date), p);
            }
        }
        for (const dayplan::PlannedProgram& p : dayplan::onDemand(project)) {
            row("", p);
        }
    }
};

int cmdPlan(Context& c, const Args& args) {
    const Parsed p = parse(args, {"from", "days", "format", "output"}, {"force"});
    const std::string format = p.options.count("format") ? p.options.at("format") : "text";
    if (!p.error.empty() || p.positional.size() != 1 || (format != "text" && format != "tsv" && format != "ics")) {
        return c.fail(UsageOrIo, p.error.empty() ? PlanUsage : p.error);
    }
    std::optional<calendar::Date> from = today();
    if (p.options.count("from")) {
        from = calendar::parseIsoDate(p.options.at("from"));
        if (!from) {
            return c.fail(UsageOrIo, "--from takes a date that exists, written YYYY-MM-DD: " + p.options.at("from"));
        }
    }
    std::optional<int> days = 7;
    if (p.options.count("days")) {
        days = dayCount(p.options.at("days"));
        if (!days) {
            return c.fail(UsageOrIo, "--days takes a number from 1 to 366: " + p.options.at("days"));
        }
    }
    const NativePath& input = p.positional[0];
    // Without --output, or with "-", the plan goes to standard output.
    const NativePath output = p.options.count("output") ? p.options.at("output") : "-";
    const bool toFile = output != "-";
    if (toFile && output.empty()) {
        return c.fail(UsageOrIo, "--output takes a file name, or - for standard output");
    }
    if (toFile && pathExists(output)) {
        // Never the project being planned, not even with --force.
        if (isSameFile(output, input)) {
            return c.fail(UsageOrIo, output + " is the project being planned; choose another name for the plan");
        }
        if (!p.options.count("force")) {
            return c.fail(UsageOrIo, output + " already exists (use --force to replace it)");
        }
    }
    int exitCode = Success;
    auto project = openProject(c, input, exitCode);
    if (!project) {
        return exitCode;
    }
    if (format != "text" && !dayplan::seasonsFollowEuropeanRule(*project)) {
        c.err << "tolvane-cli: warning: " << c.texts.text(dayplan::NoAutoChangeText) << '\n';
    }
    std::ostringstream file;
    std::ostream& out = toFile ? file : c.out;
    if (format == "ics") {
        const dayplan::CalendarFile calendar = dayplan::calendarFile(*project, c.texts, *from, *days, utcNow());
        if (calendar.errorText != 0) {
            return c.fail(CriticalErrors, input + ": " + textWithNumber(c, calendar.errorText));
        }
        out << calendar.text;
    } else {
        const PlanPrinter printer{c, *project, out};
        const auto planned = dayplan::plan(*project, *from, *days);
        if (format == "tsv") {
            printer.tsv(planned);
        } else {
            printer.text(input, planned);
        }
    }
    if (toFile) {
        const std::string bytes = file.str();
        const FileResult written =
            writeFileAtomically(output, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (!written.ok) {
            return c.fail(UsageOrIo, "cannot write " + output + ": " + written.error.toStdString());
        }
        c.out << output << '\n';
    }
    return Success;
}

} // namespace

std::vector<Command> planCommands() {
    return {
        {"plan", "plan PROJECT.tpm [--from YYYY-MM-DD] [--days N] [--format text|tsv|ics] [--output FILE] [--force]",
         "What rings when: for each day from --from (default today) on, for --days days (default 7, at most\n"
         "366), the weekly, holiday-day, annual and one-time programs whose calendar asks for that day, in time\n"
         "order, in the chosen language. Programs that start in the same minute are marked as a collision with\n"
         "their priorities; the plan does not say which one the controller plays. Funeral and special tolling are\n"
         "listed apart: they are started at the controller. The header states how the plan reads the calendar\n"
         "(Western Easter, European summer time, ISO 8601 weeks, windows over the new year).\n"
         "tsv: one line per program and day with the tab-separated fields date, time, kind (weekly, holiday-day,\n"
         "annual, one-time, funeral, special), number, action, priority (1-16), collision (1 or 0); funeral and\n"
         "special tolling follow with an empty date.\n"
         "ics: an iCalendar file (RFC 5545) to import into a calendar program: one event per program and day in\n"
         "the tower's local time, with the time zone of the project's time corrections (winter and summer offset,\n"
         "changed on the last Sundays of March and October at 01:00 UTC); the same program on the same day keeps\n"
         "its event identifier, so importing a later export updates the events. Funeral and special tolling are\n"
         "not in it. Exit status 1 when an offset of the time corrections lies beyond 12 hours.\n"
         "--output FILE writes the plan to FILE instead of standard output (- is standard output); an existing\n"
         "FILE is only replaced with --force, and never when it is the project itself.\n",
         cmdPlan},
    };
}

} // namespace tolvane::cli
