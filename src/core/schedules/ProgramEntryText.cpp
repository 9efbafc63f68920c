#include "schedules/ProgramEntryText.h"

#include "schedules/HolidayTable.h"

#include <array>
#include <cstdio>

namespace tolvane {

namespace {

// Formats with a format of our own and int arguments only.
template <typename... Args> std::string format(const char* fmt, Args... args) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, static_cast<int>(args)...);
    return buf;
}

std::string clockTime(int h, int m, int s) {
    return format("%.2d:%.2d:%.2d", h, m, s);
}

} // namespace

std::string ProgramEntryText::identifier(const ProgramEntry& e) {
    return format("%.3d", e.identifier());
}

std::string ProgramEntryText::time(const ProgramEntry& e) {
    return clockTime(e.hour(), e.minute(), e.second());
}

std::string ProgramEntryText::startDate(const ProgramEntry& e) {
    return format("%.2d.%.2d", e.startDay(), e.startMonth());
}

std::string ProgramEntryText::endDate(const ProgramEntry& e) {
    return format("%.2d.%.2d", e.endDay(), e.endMonth());
}

std::string ProgramEntryText::oneTimeDate(const ProgramEntry& e) {
    return format("%.2d.%.2d.20%.2d", e.startDay(), e.startMonth(), e.year());
}

std::string ProgramEntryText::priority(const ProgramEntry& e) {
    return format("%d", e.priority() + 1);
}

std::string ProgramEntryText::holiday(const ProgramEntry& e, const HolidayTable* holidays, const TextSource& texts) {
    const int index = e.holidayIndex();
    if (index == ProgramEntry::NoHoliday) {
        return texts.text(NoHolidayText);
    }
    if (index >= HolidayTable::Count) {
        return "Error";
    }
    return holidays != nullptr ? holidays->name(index) : std::string();
}

std::string ProgramEntryText::weekdays(const ProgramEntry& e, const TextSource& texts) {
    std::string out;
    for (int day = 0; day < 7; ++day) {
        out += e.onWeekday(day) ? texts.text(FirstWeekdayText + day) : std::string("_");
    }
    return out;
}

std::string ProgramEntryText::season(const ProgramEntry& e, const TextSource& texts) {
    if (e.summer() && e.winter()) {
        return texts.text(SeasonAllYearText);
    }
    if (e.summer()) {
        return texts.text(SeasonSummerText);
    }
    return texts.text(e.winter() ? SeasonWinterText : SeasonOffText);
}

int ProgramEntryText::actionNameText(std::uint8_t action) {
    switch (action) {
    case ProgramEntry::ActionBells:
        return 242;
    case ProgramEntry::ActionMelody:
        return 243;
    case ProgramEntry::ActionHammers:
        return -1;
    case ProgramEntry::ActionSequence:
        return 554;
    case ProgramEntry::ActionOutputUp:
        return 555;
    case ProgramEntry::ActionOutputDown:
        return 556;
    case ProgramEntry::ActionSilence:
        return 246;
    case ProgramEntry::ActionNone:
        return 241;
    default:
        return 0;
    }
}

std::string ProgramEntryText::actionName(std::uint8_t action, const TextSource& texts) {
    const int id = actionNameText(action);
    if (id < 0) {
        return {};
    }
    return id == 0 ? std::string("-") : texts.text(id);
}

int ProgramEntryText::actionIcon(std::uint8_t action) {
    switch (action) {
    case ProgramEntry::ActionBells:
        return 1;
    case ProgramEntry::ActionMelody:
        return 3;
    case ProgramEntry::ActionHammers:
        return 8;
    case ProgramEntry::ActionSequence:
        return 7;
    case ProgramEntry::ActionOutputUp:
        return 5;
    case ProgramEntry::ActionOutputDown:
        return 4;
    case ProgramEntry::ActionSilence:
        return 11;
    default:
        return CrossIcon;
    }
}

std::string ProgramEntryText::actionDescription(const ProgramEntry& e) {
    switch (e.action()) {
    case ProgramEntry::ActionBells: {
        std::string out;
        for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
            out += e.bellRung(bell) ? static_cast<char>('1' + bell) : '_';
        }
        return out;
    }
    case ProgramEntry::ActionMelody:
        return format("%d", e.melodyNumber());
    case ProgramEntry::ActionHammers: {
        std::string out;
        for (int hammer = 0; hammer < 5; ++hammer) {
            out += ((e.hammerBits() >> hammer) & 1u) != 0 ? static_cast<char>('1' + hammer) : '_';
        }
        return out;
    }
    case ProgramEntry::ActionSequence:
        return format("S%d", e.sequenceIndex() + 1);
    case ProgramEntry::ActionOutputUp:
    case ProgramEntry::ActionOutputDown:
        return "-";
    case ProgramEntry::ActionSilence: {
        const std::uint32_t s = e.silenceSeconds();
        return format("%.2d - %.2d:%.2d", s / 86400, s / 3600 % 24, s / 60 % 60);
    }
    case ProgramEntry::ActionNone:
        return {};
    default:
        return "???";
    }
}

std::string ProgramEntryText::funeralTime(const ProgramEntry& e, const TextSource& texts) {
    switch (e.startMode()) {
    case FuneralStartMode::BeforeAngelus:
        return texts.text(BeforeAngelusText);
    case FuneralStartMode::AfterAngelus:
        return texts.text(AfterAngelusText);
    case FuneralStartMode::ByClock:
        break;
    }
    const int on = int{e.timeOn(1)} + int{e.timeOn(2)} + int{e.timeOn(3)};
    if (on == 0) {
        return "--:--:--";
    }
    if (on > 1) {
        return format("Godzina (%d)", on);
    }
    if (e.timeOn(1)) {
        return clockTime(e.hour(), e.minute(), e.second());
    }
    if (e.timeOn(2)) {
        return clockTime(e.time2Hour(), e.time2Minute(), e.time2Second());
    }
    return clockTime(e.time3Hour(), e.time3Minute(), e.time3Second());
}

std::string ProgramEntryText::funeralStartTimes(const ProgramEntry& e, const TextSource& texts) {
    if (e.startMode() != FuneralStartMode::ByClock) {
        return funeralTime(e, texts);
    }
    const std::array<std::array<int, 3>, 3> times{{
        {e.hour(), e.minute(), e.second()},
        {e.time2Hour(), e.time2Minute(), e.time2Second()},
        {e.time3Hour(), e.time3Minute(), e.time3Second()},
    }};
    std::string out;
    for (int t = 0; t < 3; ++t) {
        if (!e.timeOn(t + 1)) {
            continue;
        }
        const auto& hms = times[static_cast<std::size_t>(t)];
        char text[16] = {};
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", hms[0], hms[1], hms[2]);
        out += (out.empty() ? "" : ", ") + std::string(text);
    }
    return out.empty() ? std::string("--:--:--") : out;
}

} // namespace tolvane
