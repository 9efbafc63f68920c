#include "schedules/ProgramEntry.h"

#include <stdexcept>

namespace tolvane {

std::size_t ProgramEntry::checkedBell(int bell) {
    if (bell < 0 || bell >= BellCount) {
        throw std::out_of_range("bell index outside 0-4");
    }
    return static_cast<std::size_t>(bell);
}

std::uint8_t ProgramEntry::timeOffBit(int which) {
    switch (which) {
    case 1:
        return Time1OffBit;
    case 2:
        return Time2OffBit;
    case 3:
        return Time3OffBit;
    default:
        throw std::out_of_range("funeral time outside 1-3");
    }
}

FuneralStartMode ProgramEntry::startMode() const {
    if ((flags() & ByClockBit) != 0) {
        return FuneralStartMode::ByClock;
    }
    return (flags() & BeforeAngelusBit) != 0 ? FuneralStartMode::BeforeAngelus : FuneralStartMode::AfterAngelus;
}

void ProgramEntry::setStartMode(FuneralStartMode mode) {
    switch (mode) {
    case FuneralStartMode::ByClock:
        setFlagBit(FlagsOffset, ByClockBit, true);
        break;
    case FuneralStartMode::BeforeAngelus:
        setFlagBit(FlagsOffset, ByClockBit, false);
        setFlagBit(FlagsOffset, BeforeAngelusBit, true);
        break;
    case FuneralStartMode::AfterAngelus:
        setFlagBit(FlagsOffset, ByClockBit, false);
        setFlagBit(FlagsOffset, BeforeAngelusBit, false);
        break;
    }
}

ProgramEntry ProgramEntry::defaultFor(int kind) {
    if (kind < Weekly || kind > SpecialTolling) {
        throw std::out_of_range("schedule kind outside 0-5");
    }
    const bool tolling = isTollingKind(kind);
    ProgramEntry e; // all bytes 0xFF
    e.setHour(12);
    e.setMinute(0);
    e.setSecond(0);
    e.setAction(kind == Funeral ? ActionNone : kind == SpecialTolling ? ActionSequence : ActionBells);
    // Bell 1 at 0 s, bells 2-5 not rung (already 0xFFFF); for special tolling byte 4 is sequence 0.
    e.setBellDelay(0, 0);
    e.setRingingTime(180);

    if (tolling) {
        e.setTime2(12, 0, 0);
        e.setTime3(kind == Funeral ? 12 : 1, 0, 0); // special tolling: time 3's hour is 0.5 steps
        e.setU8(Reserved23Offset, 0);               // byte 19 stays 0xFF
        e.setDays(3);
        e.setFlags(0xFE); // in use, by the clock, no funeral relay
        e.setPriority(15);
        e.setFlags2(0xBF); // time 1 on, times 2 and 3 off
        e.setIdentifier(0xFFFF);
    } else if (kind == HolidayDay) {
        e.setHolidayIndex(NoHoliday); // dates stay 0xFF
        e.setDays(1);
        e.setPriority(5);
        e.setIdentifier(0);
    } else {
        e.setDateByteA(kind == OneTime ? 8 : 0); // one-time: year 2008
        e.setStartMonth(1);
        e.setStartDay(1);
        e.setU8(Reserved19Offset, 0);
        e.setDateByteB(0);
        e.setEndMonth(12);
        e.setEndDay(31);
        e.setU8(Reserved23Offset, 0);
        e.setDays(1);
        e.setPriority(4);
        e.setIdentifier(0);
    }
    e.setSeconds(e.timeOfDaySeconds());
    e.setRelayDelay(0);
    for (int bell = 0; bell < BellCount; ++bell) {
        e.setSecondTime(bell, 0);
    }
    return e;
}

void ProgramEntry::swapByteOrder(std::span<std::uint8_t, Size> entry) {
    bytes::swap32(entry, SecondsOffset);
    bytes::swap16(entry, IdentifierOffset);
    for (std::size_t bell = 0; bell < BellCount; ++bell) {
        bytes::swap16(entry, SecondTimeOffset + 2 * bell);
    }
    switch (entry[ActionOffset]) {
    case ActionBells:
        for (std::size_t bell = 0; bell < BellCount; ++bell) {
            bytes::swap16(entry, ParamOffset + 2 * bell);
        }
        bytes::swap16(entry, RingingTimeOffset);
        break;
    case ActionMelody:
        bytes::swap16(entry, ParamOffset);
        break;
    case ActionSilence:
        bytes::swap32(entry, ParamOffset);
        break;
    default:
        break;
    }
}

} // namespace tolvane
