#pragma once

#include "device/ByteIO.h"
#include "schedules/ProgramKind.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// How a funeral tolling program is started (flags bits 6 and 5).
enum class FuneralStartMode { ByClock, BeforeAngelus, AfterAngelus };

// One ringing program: the 64-byte entry shared by all six schedule kinds. Multi-byte fields are little-endian
// here and in the project file; the card image holds them big-endian (swapByteOrder). Which bytes a field
// occupies depends partly on the kind (byte 16 is the year of a one-time entry, the holiday of a holiday-day
// entry and the hour of time 2 of a funeral entry), so several accessors name the same bytes.
class ProgramEntry : public ByteRecord<64> {
public:
    // Field offsets.
    static constexpr std::size_t HourOffset = 0;
    static constexpr std::size_t MinuteOffset = 1;
    static constexpr std::size_t SecondOffset = 2;
    static constexpr std::size_t ActionOffset = 3;
    static constexpr std::size_t ParamOffset = 4;
    static constexpr std::size_t RingingTimeOffset = 14;
    static constexpr std::size_t RepetitionsOffset = 7;
    static constexpr std::size_t DateAOffset = 16;
    static constexpr std::size_t StartMonthOffset = 17;
    static constexpr std::size_t StartDayOffset = 18;
    static constexpr std::size_t Reserved19Offset = 19;
    static constexpr std::size_t DateBOffset = 20;
    static constexpr std::size_t EndMonthOffset = 21;
    static constexpr std::size_t EndDayOffset = 22;
    static constexpr std::size_t Reserved23Offset = 23;
    static constexpr std::size_t DaysOffset = 24;
    static constexpr std::size_t FlagsOffset = 25;
    static constexpr std::size_t PriorityOffset = 26;
    static constexpr std::size_t Flags2Offset = 27;
    static constexpr std::size_t SecondsOffset = 28;
    static constexpr std::size_t IdentifierOffset = 32;
    static constexpr std::size_t RelayDelayOffset = 34;
    static constexpr std::size_t SecondTimeOffset = 36;

    // Action codes.
    static constexpr std::uint8_t ActionBells = 1;
    static constexpr std::uint8_t ActionMelody = 2;
    static constexpr std::uint8_t ActionHammers = 3;
    static constexpr std::uint8_t ActionSequence = 5;
    static constexpr std::uint8_t ActionOutputUp = 6;
    static constexpr std::uint8_t ActionOutputDown = 7;
    static constexpr std::uint8_t ActionSilence = 11;
    static constexpr std::uint8_t ActionNone = 255;

    // Bits of the flags byte (25).
    static constexpr std::uint8_t FreeBit = 0x01;
    static constexpr std::uint8_t WinterBit = 0x04;
    static constexpr std::uint8_t SummerBit = 0x08;
    static constexpr std::uint8_t NotAngelusBit = 0x10;
    static constexpr std::uint8_t BeforeAngelusBit = 0x20;
    static constexpr std::uint8_t ByClockBit = 0x40;
    static constexpr std::uint8_t NoFuneralRelayBit = 0x80;
    // Bits of flags 2 (27).
    static constexpr std::uint8_t OddWeeksBit = 0x01;
    static constexpr std::uint8_t EvenWeeksBit = 0x02;
    static constexpr std::uint8_t OddMonthsBit = 0x04;
    static constexpr std::uint8_t EvenMonthsBit = 0x08;
    static constexpr std::uint8_t Time3OffBit = 0x10;
    static constexpr std::uint8_t Time2OffBit = 0x20;
    static constexpr std::uint8_t Time1OffBit = 0x40;

    static constexpr int BellCount = 5;
    static constexpr std::uint16_t BellNotRung = 0xFFFF;
    static constexpr std::uint8_t NoHoliday = 254;

    // Start time.
    std::uint8_t hour() const { return u8(HourOffset); }
    void setHour(std::uint8_t v) { setU8(HourOffset, v); }
    std::uint8_t minute() const { return u8(MinuteOffset); }
    void setMinute(std::uint8_t v) { setU8(MinuteOffset, v); }
    std::uint8_t second() const { return u8(SecondOffset); }
    void setSecond(std::uint8_t v) { setU8(SecondOffset, v); }
    // hour x 3600 + minute x 60 + second, computed from the time bytes.
    std::uint32_t timeOfDaySeconds() const { return hour() * 3600u + minute() * 60u + second(); }

    std::uint8_t action() const { return u8(ActionOffset); }
    void setAction(std::uint8_t v) { setU8(ActionOffset, v); }

    // Bell action: per bell (0-4) the switch-on delay, 0xFFFF when the bell is not rung; the ringing time.
    std::uint16_t bellDelay(int bell) const { return u16(bellDelayOffset(bell)); }
    void setBellDelay(int bell, std::uint16_t v) { setU16(bellDelayOffset(bell), v); }
    bool bellRung(int bell) const { return bellDelay(bell) != BellNotRung; }
    std::uint16_t ringingTime() const { return u16(RingingTimeOffset); }
    void setRingingTime(std::uint16_t v) { setU16(RingingTimeOffset, v); }
    // Second time value of each bell (bytes 36-45).
    std::uint16_t secondTime(int bell) const { return u16(secondTimeOffset(bell)); }
    void setSecondTime(int bell, std::uint16_t v) { setU16(secondTimeOffset(bell), v); }

    // A bell time typed as minutes and seconds; a total of one hour or more (or below zero) wraps to 0.
    static std::uint16_t bellTimeFrom(int minutes, int seconds) {
        const long total = minutes * 60L + seconds;
        return total < 0 || total >= 3600 ? std::uint16_t{0} : static_cast<std::uint16_t>(total);
    }

    // Melody action.
    std::uint16_t melodyNumber() const { return u16(ParamOffset); }
    void setMelodyNumber(std::uint16_t v) { setU16(ParamOffset, v); }
    std::uint8_t repetitions() const { return u8(RepetitionsOffset); }
    void setRepetitions(std::uint8_t v) { setU8(RepetitionsOffset, v); }

    // Hammer action: the chosen hammer as one bit (bit n-1 for hammer n). Sequence action: sequence index.
    std::uint8_t hammerBits() const { return u8(ParamOffset); }
    void setHammerBits(std::uint8_t v) { setU8(ParamOffset, v); }
    std::uint8_t sequenceIndex() const { return u8(ParamOffset); }
    void setSequenceIndex(std::uint8_t v) { setU8(ParamOffset, v); }

    // Silence action: a 32-bit word whose bits 31-2 are the duration in seconds, bit 1 bells, bit 0 gongs.
    std::uint32_t silenceWord() const { return u32(ParamOffset); }
    void setSilenceWord(std::uint32_t v) { setU32(ParamOffset, v); }
    std::uint32_t silenceSeconds() const { return silenceWord() >> 2; }
    void setSilenceSeconds(std::uint32_t seconds) { setSilenceWord((seconds << 2) | (silenceWord() & 0x3u)); }
    bool silenceForBells() const { return (silenceWord() & 0x2u) != 0; }
    void setSilenceForBells(bool on) { setSilenceWord(on ? silenceWord() | 0x2u : silenceWord() & ~0x2u); }
    bool silenceForGongs() const { return (silenceWord() & 0x1u) != 0; }
    void setSilenceForGongs(bool on) { setSilenceWord(on ? silenceWord() | 0x1u : silenceWord() & ~0x1u); }

    // Byte 16 under its three names, and the dates.
    std::uint8_t dateByteA() const { return u8(DateAOffset); }
    void setDateByteA(std::uint8_t v) { setU8(DateAOffset, v); }
    std::uint8_t year() const { return dateByteA(); }
    void setYear(std::uint8_t v) { setDateByteA(v); }
    std::uint8_t holidayIndex() const { return dateByteA(); }
    void setHolidayIndex(std::uint8_t v) { setDateByteA(v); }
    std::uint8_t startMonth() const { return u8(StartMonthOffset); }
    void setStartMonth(std::uint8_t v) { setU8(StartMonthOffset, v); }
    std::uint8_t startDay() const { return u8(StartDayOffset); }
    void setStartDay(std::uint8_t v) { setU8(StartDayOffset, v); }
    std::uint8_t reserved19() const { return u8(Reserved19Offset); }
    std::uint8_t dateByteB() const { return u8(DateBOffset); }
    void setDateByteB(std::uint8_t v) { setU8(DateBOffset, v); }
    std::uint8_t endMonth() const { return u8(EndMonthOffset); }
    void setEndMonth(std::uint8_t v) { setU8(EndMonthOffset, v); }
    std::uint8_t endDay() const { return u8(EndDayOffset); }
    void setEndDay(std::uint8_t v) { setU8(EndDayOffset, v); }
    std::uint8_t reserved23() const { return u8(Reserved23Offset); }

    // Funeral times 2 (bytes 16-18) and 3 (bytes 20-22); the special tolling end time is time 2, its steps
    // (in half steps) byte 20.
    std::uint8_t time2Hour() const { return u8(DateAOffset); }
    std::uint8_t time2Minute() const { return u8(DateAOffset + 1); }
    std::uint8_t time2Second() const { return u8(DateAOffset + 2); }
    std::uint8_t time3Hour() const { return u8(DateBOffset); }
    std::uint8_t time3Minute() const { return u8(DateBOffset + 1); }
    std::uint8_t time3Second() const { return u8(DateBOffset + 2); }
    void setTime2(std::uint8_t h, std::uint8_t m, std::uint8_t s) { setTriple(DateAOffset, h, m, s); }
    void setTime3(std::uint8_t h, std::uint8_t m, std::uint8_t s) { setTriple(DateBOffset, h, m, s); }
    std::uint8_t steps() const { return u8(DateBOffset); }
    void setSteps(std::uint8_t halfSteps) { setU8(DateBOffset, halfSteps); }

    // Byte 24: weekday mask (bit 0 Monday ... bit 6 Sunday) or the funeral/special number of days.
    std::uint8_t days() const { return u8(DaysOffset); }
    void setDays(std::uint8_t v) { setU8(DaysOffset, v); }
    std::uint8_t weekdayMask() const { return days(); }
    bool onWeekday(int day) const { return ((days() >> day) & 1u) != 0; }

    std::uint8_t flags() const { return u8(FlagsOffset); }
    void setFlags(std::uint8_t v) { setU8(FlagsOffset, v); }
    bool isFree() const { return (flags() & FreeBit) != 0; }
    void setFree(bool on) { setFlagBit(FlagsOffset, FreeBit, on); }
    bool winter() const { return (flags() & WinterBit) != 0; }
    void setWinter(bool on) { setFlagBit(FlagsOffset, WinterBit, on); }
    bool summer() const { return (flags() & SummerBit) != 0; }
    void setSummer(bool on) { setFlagBit(FlagsOffset, SummerBit, on); }
    // An Angelus program has bit 4 clear.
    bool angelus() const { return (flags() & NotAngelusBit) == 0; }
    void setAngelus(bool on) { setFlagBit(FlagsOffset, NotAngelusBit, !on); }
    FuneralStartMode startMode() const;
    // By the clock sets bit 6 (bit 5 kept); before the Angelus clears bit 6 and sets bit 5; after clears both.
    void setStartMode(FuneralStartMode mode);
    // The funeral relay is used when bit 7 is clear.
    bool funeralRelayUsed() const { return (flags() & NoFuneralRelayBit) == 0; }
    void setFuneralRelayUsed(bool on) { setFlagBit(FlagsOffset, NoFuneralRelayBit, !on); }

    std::uint8_t priority() const { return u8(PriorityOffset); }
    void setPriority(std::uint8_t v) { setU8(PriorityOffset, v); }

    std::uint8_t flags2() const { return u8(Flags2Offset); }
    void setFlags2(std::uint8_t v) { setU8(Flags2Offset, v); }
    bool oddWeeks() const { return (flags2() & OddWeeksBit) != 0; }
    void setOddWeeks(bool on) { setFlagBit(Flags2Offset, OddWeeksBit, on); }
    bool evenWeeks() const { return (flags2() & EvenWeeksBit) != 0; }
    void setEvenWeeks(bool on) { setFlagBit(Flags2Offset, EvenWeeksBit, on); }
    bool oddMonths() const { return (flags2() & OddMonthsBit) != 0; }
    void setOddMonths(bool on) { setFlagBit(Flags2Offset, OddMonthsBit, on); }
    bool evenMonths() const { return (flags2() & EvenMonthsBit) != 0; }
    void setEvenMonths(bool on) { setFlagBit(Flags2Offset, EvenMonthsBit, on); }
    // Funeral times 1-3 are on when their "off" bit (6, 5, 4) is clear.
    bool timeOn(int which) const { return (flags2() & timeOffBit(which)) == 0; }
    void setTimeOn(int which, bool on) { setFlagBit(Flags2Offset, timeOffBit(which), !on); }

    std::uint32_t seconds() const { return u32(SecondsOffset); }
    void setSeconds(std::uint32_t v) { setU32(SecondsOffset, v); }
    std::uint16_t identifier() const { return u16(IdentifierOffset); }
    void setIdentifier(std::uint16_t v) { setU16(IdentifierOffset, v); }
    std::uint8_t relayDelay() const { return u8(RelayDelayOffset); }
    void setRelayDelay(std::uint8_t v) { setU8(RelayDelayOffset, v); }

    // The default entry of a schedule kind: every byte of it, ready for use (funeral and special) or free. A
    // number that names no kind throws std::out_of_range.
    static ProgramEntry defaultFor(int kind);

    // Reverses the multi-byte fields of one entry in place (PC order <-> controller order). Which parameter
    // words are numbers depends on the action in byte 3, a single byte that the reversal leaves alone.
    static void swapByteOrder(std::span<std::uint8_t, Size> entry);

private:
    static std::size_t bellDelayOffset(int bell) { return ParamOffset + 2 * checkedBell(bell); }
    static std::size_t secondTimeOffset(int bell) { return SecondTimeOffset + 2 * checkedBell(bell); }
    static std::size_t checkedBell(int bell);
    static std::uint8_t timeOffBit(int which);
    void setFlagBit(std::size_t off, std::uint8_t bit, bool on) {
        setU8(off, on ? static_cast<std::uint8_t>(u8(off) | bit) : static_cast<std::uint8_t>(u8(off) & ~bit));
    }
    void setTriple(std::size_t off, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
        setU8(off, a);
        setU8(off + 1, b);
        setU8(off + 2, c);
    }
};

} // namespace tolvane
