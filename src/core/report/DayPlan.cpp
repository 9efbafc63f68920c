#include "report/DayPlan.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/ProgramEntryText.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

namespace tolvane::dayplan {

namespace {

using calendar::dayNumber;

constexpr std::array<ProgramKind, 4> calendarKinds{Weekly, HolidayDay, Annual, OneTime};

bool validTime(const ProgramEntry& e) {
    return e.hour() <= 23 && e.minute() <= 59 && e.second() <= 59;
}

bool validDayMonth(int day, int month) {
    return day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

// The first and last day number of each time a holiday falls within the planned years.
using Spans = std::vector<std::pair<std::int64_t, std::int64_t>>;

// What stays the same for every day of one plan: the programs that can ring at all and the days of each
// holiday in the years around the planned range (a holiday may begin up to 366 days before or after its
// reference day and last up to 366 days, so it can reach into the next year or the one after).
class Planner {
public:
    Planner(const ProjectData& project, const Date& from, int days) : project_(project) {
        if (days < 1 || days > MaxDays) {
            throw std::invalid_argument("a day plan covers 1 to 366 days");
        }
        if (!calendar::isValid(from)) {
            throw std::invalid_argument("a day plan begins on a day that exists");
        }
        first_ = dayNumber(from);
        days_ = days;
        const Date last = calendar::fromDayNumber(first_ + days - 1);
        collectPrograms();
        collectHolidays(from.year - 2, last.year + 1);
    }

    // Fills `out` with the programs of the day `offset` days after the first, in time order, collisions marked.
    void programsOn(int offset, std::vector<PlannedProgram>& out) const {
        out.clear();
        const std::int64_t number = first_ + offset;
        const Date date = calendar::fromDayNumber(number);
        const int weekday = calendar::weekday(date);
        const bool summer = calendar::isEuropeanSummerDay(date);
        const bool oddWeek = calendar::isOddIsoWeek(date);
        const bool oddMonth = calendar::isOddMonth(date);
        for (const Candidate& c : candidates_) {
            const ProgramEntry& e = *c.entry;
            if (!(summer ? e.summer() : e.winter())) {
                continue;
            }
            bool rings = false;
            switch (c.kind) {
            case Weekly:
                rings = e.onWeekday(weekday) && (oddWeek ? e.oddWeeks() : e.evenWeeks()) &&
                        (oddMonth ? e.oddMonths() : e.evenMonths()) &&
                        calendar::inYearlyWindow(date, e.startDay(), e.startMonth(), e.endDay(), e.endMonth());
                break;
            case HolidayDay:
                rings = e.onWeekday(weekday) && inHoliday(e.holidayIndex(), number);
                break;
            case Annual:
                rings = e.startDay() == date.day && e.startMonth() == date.month;
                break;
            case OneTime:
                rings = e.startDay() == date.day && e.startMonth() == date.month && 2000 + e.year() == date.year;
                break;
            default:
                break;
            }
            if (rings) {
                out.push_back({c.kind, c.index, e.timeOfDaySeconds(), e.priority(), false});
            }
        }
        // Candidates are in kind and entry order, so a stable sort keeps that order within one time.
        std::stable_sort(out.begin(), out.end(),
                         [](const PlannedProgram& a, const PlannedProgram& b) { return a.time < b.time; });
        for (std::size_t i = 0; i < out.size();) {
            std::size_t end = i + 1;
            while (end < out.size() && out[end].time / 60 == out[i].time / 60) {
                ++end;
            }
            for (std::size_t k = i; end - i > 1 && k < end; ++k) {
                out[k].collision = true;
            }
            i = end;
        }
    }

    Date dateOf(int offset) const { return calendar::fromDayNumber(first_ + offset); }
    int days() const { return days_; }

private:
    struct Candidate {
        ProgramKind kind;
        int index;
        const ProgramEntry* entry;
    };

    void collectPrograms() {
        const HolidayTable& holidays = project_.holidays();
        for (ProgramKind kind : calendarKinds) {
            const ScheduleProgram& program = project_.program(kind);
            for (int i = 0; i < program.usedCount(); ++i) {
                const ProgramEntry& e = program.entry(i);
                bool usable = validTime(e) && (e.summer() || e.winter());
                if (kind == Weekly) {
                    usable = usable && validDayMonth(e.startDay(), e.startMonth()) &&
                             validDayMonth(e.endDay(), e.endMonth());
                } else if (kind == HolidayDay) {
                    usable = usable && e.holidayIndex() < HolidayTable::Count && !holidays.isFree(e.holidayIndex());
                }
                if (usable) {
                    candidates_.push_back({kind, i, &e});
                }
            }
        }
    }

    void collectHolidays(int firstYear, int lastYear) {
        const HolidayTable& holidays = project_.holidays();
        for (int slot = 0; slot < HolidayTable::Count; ++slot) {
            const Holiday& h = holidays.record(slot);
            if (h.isFree() || h.days() < 1 || h.days() > 366) {
                continue;
            }
            for (int year = firstYear; year <= lastYear; ++year) {
                Date start{year, h.month(), h.day()};
                if (h.isMovable()) {
                    start = calendar::addDays(calendar::westernEasterSunday(year), h.offset());
                } else if (!calendar::isValid(start)) {
                    continue;
                }
                const std::int64_t begin = dayNumber(start);
                spans_[static_cast<std::size_t>(slot)].emplace_back(begin, begin + h.days() - 1);
            }
        }
    }

    bool inHoliday(int slot, std::int64_t number) const {
        for (const auto& [begin, end] : spans_[static_cast<std::size_t>(slot)]) {
            if (number >= begin && number <= end) {
                return true;
            }
        }
        return false;
    }

    const ProjectData& project_;
    std::int64_t first_ = 0;
    int days_ = 0;
    std::vector<Candidate> candidates_;
    std::array<Spans, HolidayTable::Count> spans_;
};

std::string clockTime(int hour, int minute, int second) {
    return formatText("%.2d:%.2d:%.2d", {hour, minute, second});
}

} // namespace

bool PlanDay::hasCollision() const {
    return std::any_of(programs.begin(), programs.end(), [](const PlannedProgram& p) { return p.collision; });
}

std::vector<PlanDay> plan(const ProjectData& project, const Date& from, int days) {
    const Planner planner(project, from, days);
    std::vector<PlanDay> out(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) {
        PlanDay& day = out[static_cast<std::size_t>(i)];
        day.date = planner.dateOf(i);
        planner.programsOn(i, day.programs);
    }
    return out;
}

PlanDay planDay(const ProjectData& project, const Date& date) {
    return plan(project, date, 1).front();
}

std::vector<DayMark> marks(const ProjectData& project, const Date& from, int days) {
    const Planner planner(project, from, days);
    std::vector<DayMark> out;
    out.reserve(static_cast<std::size_t>(days));
    std::vector<PlannedProgram> programs;
    for (int i = 0; i < days; ++i) {
        planner.programsOn(i, programs);
        const bool collision =
            std::any_of(programs.begin(), programs.end(), [](const PlannedProgram& p) { return p.collision; });
        out.push_back({planner.dateOf(i), !programs.empty(), collision});
    }
    return out;
}

std::vector<PlannedProgram> onDemand(const ProjectData& project) {
    std::vector<PlannedProgram> out;
    for (ProgramKind kind : {Funeral, SpecialTolling}) {
        const ScheduleProgram& program = project.program(kind);
        for (int i = 0; i < program.usedCount(); ++i) {
            const ProgramEntry& e = program.entry(i);
            if (kind == Funeral && e.action() == ProgramEntry::ActionNone && !e.funeralRelayUsed()) {
                continue; // rings nothing and switches nothing
            }
            out.push_back({kind, i, e.timeOfDaySeconds(), e.priority(), false});
        }
    }
    return out;
}

bool seasonsFollowEuropeanRule(const ProjectData& project) {
    return project.timeCorrection().autoTimeChange();
}

const ProgramEntry& entryOf(const ProjectData& project, const PlannedProgram& program) {
    return project.program(program.kind).entry(program.entry);
}

std::string kindText(ProgramKind kind, const TextSource& texts) {
    return texts.text(FirstKindText + static_cast<int>(kind));
}

const char* kindWord(ProgramKind kind) {
    static constexpr const char* words[] = {"weekly", "holiday-day", "annual", "one-time", "funeral", "special"};
    return words[static_cast<int>(kind)];
}

std::string numberText(const ProjectData& project, const PlannedProgram& program) {
    if (isTollingKind(program.kind)) {
        return std::to_string(program.entry + 1);
    }
    return ProgramEntryText::identifier(entryOf(project, program));
}

std::string timeText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts) {
    const ProgramEntry& e = entryOf(project, program);
    if (program.kind == Funeral) {
        return ProgramEntryText::funeralTime(e, texts);
    }
    if (program.kind == SpecialTolling) {
        return ProgramEntryText::time(e) + "-" + clockTime(e.time2Hour(), e.time2Minute(), e.time2Second());
    }
    return ProgramEntryText::time(e);
}

std::string actionText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts) {
    const ProgramEntry& e = entryOf(project, program);
    const std::string name = ProgramEntryText::actionName(e.action(), texts);
    const std::string description = ProgramEntryText::actionDescription(e);
    if (name.empty() || description.empty()) {
        return name + description;
    }
    return name + " " + description;
}

std::string priorityText(const PlannedProgram& program) {
    return std::to_string(program.priority + 1);
}

std::string seasonText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts) {
    return ProgramEntryText::season(entryOf(project, program), texts);
}

std::string dayTitle(const Date& date, const TextSource& texts) {
    return texts.text(FirstWeekdayText + calendar::weekday(date)) + " " + calendar::isoText(date);
}

std::vector<std::string> readingLines(const ProjectData& project, const TextSource& texts, int firstYear,
                                      int lastYear) {
    std::vector<std::string> lines{texts.text(EasterReadingText), texts.text(SeasonReadingText)};
    for (int year = firstYear; year <= lastYear; ++year) {
        lines.push_back(formatText(texts.text(SummerDatesText),
                                   {year, calendar::dayMonthText(calendar::firstSummerDay(year)),
                                    calendar::dayMonthText(calendar::addDays(calendar::firstWinterDay(year), -1))}));
    }
    for (int id : {WeekReadingText, MonthReadingText, WindowReadingText, HolidayReadingText, MissingDateReadingText}) {
        lines.push_back(texts.text(id));
    }
    if (!seasonsFollowEuropeanRule(project)) {
        lines.push_back(texts.text(NoAutoChangeText));
    }
    return lines;
}

} // namespace tolvane::dayplan
