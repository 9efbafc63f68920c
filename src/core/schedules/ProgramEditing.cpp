#include "schedules/ProgramEditing.h"

#include "schedules/HolidayTable.h"
#include "schedules/ProgramEntryText.h"
#include "schedules/ScheduleProgram.h"

#include <algorithm>
#include <cstdio>

namespace tolvane::programediting {

namespace {

constexpr std::string_view HeaderLine = "tolvane-program\tnumber\ttime\taction\tdescription\tstart\tend\tyear\t"
                                        "days\tpriority\tsummer\twinter\tangelus\tweeks\tmonths\tholiday\tbytes";
constexpr std::size_t FieldCount = 17;
constexpr std::array<std::string_view, 4> KindNames{"weekly", "holiday-day", "annual", "one-time"};

std::string twoDigits(unsigned v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2u", v);
    return buffer;
}

std::string actionWord(std::uint8_t action) {
    switch (action) {
    case ProgramEntry::ActionBells:
        return "bells";
    case ProgramEntry::ActionMelody:
        return "melody";
    case ProgramEntry::ActionHammers:
        return "hammer";
    case ProgramEntry::ActionSequence:
        return "sequence";
    case ProgramEntry::ActionOutputUp:
        return "output-on";
    case ProgramEntry::ActionOutputDown:
        return "output-off";
    case ProgramEntry::ActionSilence:
        return "silence";
    case ProgramEntry::ActionNone:
        return "none";
    default:
        return std::to_string(action);
    }
}

std::string parityWord(bool odd, bool even) {
    return odd && even ? "all" : odd ? "odd" : even ? "even" : "none";
}

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(separator, start);
        parts.push_back(line.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

int actionCount(bool funeralList) {
    return funeralList ? FuneralActionCount : static_cast<int>(ActionCodes.size());
}

std::uint8_t actionCodeAt(int position, bool funeralList) {
    if (position < 0 || position >= actionCount(funeralList)) {
        return ProgramEntry::ActionNone;
    }
    return ActionCodes[static_cast<std::size_t>(position)];
}

int actionPosition(std::uint8_t code, bool funeralList) {
    for (int i = 0; i < actionCount(funeralList); ++i) {
        if (ActionCodes[static_cast<std::size_t>(i)] == code) {
            return i;
        }
    }
    return 0;
}

ProgramEntry shownEntry(const ProgramEntry& stored) {
    ProgramEntry e = stored;
    switch (e.action()) {
    case ProgramEntry::ActionBells:
        for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
            if (e.bellDelay(bell) > MaxBellSeconds) {
                e.setBellDelay(bell, ProgramEntry::BellNotRung);
            }
            if (e.secondTime(bell) > MaxBellSeconds) {
                e.setSecondTime(bell, MaxBellSeconds);
            }
        }
        if (e.ringingTime() > MaxBellSeconds) {
            e.setRingingTime(MaxBellSeconds);
        }
        break;
    case ProgramEntry::ActionMelody:
        if (e.melodyNumber() > MaxMelody) {
            e.setMelodyNumber(1);
        }
        if (e.repetitions() > MaxRepetitions) {
            e.setRepetitions(1);
        }
        break;
    case ProgramEntry::ActionSilence:
        if (e.silenceSeconds() > MaxSilenceSeconds) {
            e.setSilenceSeconds(SilenceReplacement);
        }
        break;
    default:
        break;
    }
    return e;
}

std::uint8_t yearByte(long typedYear) {
    return static_cast<std::uint8_t>(static_cast<unsigned long>(typedYear - 2000) & 0xFFu);
}

std::string yearText(std::uint8_t stored) {
    return "20" + twoDigits(stored);
}

std::string programsToText(const ScheduleProgram& programs, std::span<const int> rows) {
    static constexpr char Hex[] = "0123456789abcdef";
    std::string out(HeaderLine);
    out += '\n';
    const int kind = programs.kind();
    const bool dated = kind >= Weekly && kind <= OneTime;
    for (int row : rows) {
        if (!dated || row < 0 || row >= programs.usedCount()) {
            continue;
        }
        const ProgramEntry& e = programs.entry(row);
        std::string days;
        for (int day = 0; day < 7; ++day) {
            days += e.onWeekday(day) ? static_cast<char>('1' + day) : '_';
        }
        const std::vector<std::string> fields{
            std::string(KindNames[static_cast<std::size_t>(kind)]),
            std::to_string(e.identifier()),
            ProgramEntryText::time(e),
            actionWord(e.action()),
            ProgramEntryText::actionDescription(e),
            kind == HolidayDay ? std::string() : ProgramEntryText::startDate(e),
            kind == Weekly ? ProgramEntryText::endDate(e) : std::string(),
            kind == OneTime ? yearText(e.year()) : std::string(),
            kind == Weekly || kind == HolidayDay ? days : std::string(),
            std::to_string(e.priority() + 1),
            e.summer() ? "yes" : "no",
            e.winter() ? "yes" : "no",
            e.angelus() ? "yes" : "no",
            kind == Weekly ? parityWord(e.oddWeeks(), e.evenWeeks()) : std::string(),
            kind == Weekly ? parityWord(e.oddMonths(), e.evenMonths()) : std::string(),
            kind == HolidayDay ? std::to_string(e.holidayIndex()) : std::string(),
        };
        for (const std::string& field : fields) {
            out += field;
            out += '\t';
        }
        for (std::uint8_t b : e.bytes()) {
            out += Hex[b >> 4];
            out += Hex[b & 0xF];
        }
        out += '\n';
    }
    return out;
}

std::optional<ClipboardPrograms> programsFromText(std::string_view text) {
    std::vector<std::string_view> lines = split(text, '\n');
    while (!lines.empty() && trimmed(lines.back()).empty()) {
        lines.pop_back();
    }
    if (lines.size() < 2 || trimmed(lines.front()) != HeaderLine) {
        return std::nullopt;
    }
    ClipboardPrograms result;
    result.kind = -1;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::vector<std::string_view> fields = split(trimmed(lines[n]), '\t');
        if (fields.size() != FieldCount) {
            return std::nullopt;
        }
        int kind = -1;
        for (std::size_t k = 0; k < KindNames.size(); ++k) {
            if (fields[0] == KindNames[k]) {
                kind = static_cast<int>(k);
            }
        }
        if (kind < 0 || (result.kind >= 0 && kind != result.kind)) {
            return std::nullopt;
        }
        result.kind = kind;
        const std::string_view hex = fields.back();
        if (hex.size() != 2 * ProgramEntry::Size) {
            return std::nullopt;
        }
        ProgramEntry e;
        for (std::size_t i = 0; i < ProgramEntry::Size; ++i) {
            const int hi = hexDigit(hex[2 * i]);
            const int lo = hexDigit(hex[2 * i + 1]);
            if (hi < 0 || lo < 0) {
                return std::nullopt;
            }
            e.setU8(i, static_cast<std::uint8_t>(hi * 16 + lo));
        }
        if (e.isFree()) {
            return std::nullopt;
        }
        result.entries.push_back(e);
    }
    return result;
}

PasteResult pastePrograms(ScheduleProgram& programs, std::span<const ProgramEntry> entries) {
    PasteResult result;
    for (const ProgramEntry& e : entries) {
        const int index = programs.appendEntry(e);
        if (index < 0) {
            result.tableFull = true;
            break;
        }
        if (result.first < 0) {
            result.first = index;
        }
        ++result.added;
        // As Copy does: the table filling up on the way is reported, the programs added so far are kept.
        if (programs.usedCount() >= programs.capacity()) {
            result.tableFull = true;
            break;
        }
    }
    return result;
}

std::uint8_t holidayForNewProgram(const HolidayTable* holidays, int remembered) {
    if (remembered == ProgramEntry::NoHoliday) {
        return ProgramEntry::NoHoliday;
    }
    if (holidays == nullptr || remembered < 0 || remembered >= HolidayTable::Count || holidays->isFree(remembered)) {
        return ProgramEntry::NoHoliday;
    }
    return static_cast<std::uint8_t>(remembered);
}

int programsReferringTo(const ScheduleProgram& programs, std::span<const int> slots) {
    int count = 0;
    for (int i = 0; i < programs.usedCount(); ++i) {
        const int index = programs.entry(i).holidayIndex();
        count += std::find(slots.begin(), slots.end(), index) != slots.end() ? 1 : 0;
    }
    return count;
}

bool funeralTimeBoxesEnabled(const ProgramEntry& e) {
    return e.startMode() == FuneralStartMode::ByClock;
}

bool funeralTimeFieldsEnabled(const ProgramEntry& e, int which) {
    return funeralTimeBoxesEnabled(e) && e.timeOn(which);
}

} // namespace tolvane::programediting
