#pragma once

#include "device/ByteIO.h"
#include "section/RecordTable.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

class OutputMap;

// One slave tower clock: its drive type, its shift against the controller's time and its pulse timing.
class ClockRecord : public ByteRecord<62> {
public:
    static constexpr std::size_t FlagsOffset = 32;
    static constexpr std::size_t TypeOffset = 33;
    static constexpr std::size_t OffsetMinutesOffset = 34;
    static constexpr std::size_t PulseOffset = 36;
    static constexpr std::size_t LongPulseOffset = 38;
    static constexpr std::size_t GapOffset = 40;
    static constexpr std::array<std::size_t, 4> WordOffsets{34, 36, 38, 40};

    static constexpr std::uint8_t ContactUnusedBit = 0x02;
    static constexpr std::uint8_t ClockOffBit = 0x04;
    static constexpr std::uint8_t LockBit = 0x08;
    static constexpr std::uint8_t TwelveHourBit = 0x10;
    static constexpr std::uint8_t Type5FirstModeBit = 0x20;

    // All bytes 0xFF, then type 1, no shift, 8 s pulse, 1.0 s lengthened pulse, 0.3 s gap; the flags stay 0xFF,
    // so a reset clock is switched off.
    void resetDefaults();

    std::uint8_t clockFlags() const { return u8(FlagsOffset); }
    void setClockFlags(std::uint8_t v) { setU8(FlagsOffset, v); }
    bool clockOff() const { return (clockFlags() & ClockOffBit) != 0; }
    bool correctionContactUnused() const { return (clockFlags() & ContactUnusedBit) != 0; }
    bool clockLock() const { return (clockFlags() & LockBit) != 0; }
    bool twelveHourMode() const { return (clockFlags() & TwelveHourBit) != 0; }
    bool type5FirstMode() const { return (clockFlags() & Type5FirstModeBit) != 0; }

    std::uint8_t clockType() const { return u8(TypeOffset); }
    void setClockType(std::uint8_t v) { setU8(TypeOffset, v); }
    std::int16_t offsetMinutes() const { return static_cast<std::int16_t>(u16(OffsetMinutesOffset)); }
    void setOffsetMinutes(std::int16_t v) { setU16(OffsetMinutesOffset, static_cast<std::uint16_t>(v)); }
    std::uint16_t pulseSeconds() const { return u16(PulseOffset); }
    void setPulseSeconds(std::uint16_t v) { setU16(PulseOffset, v); }
    std::uint16_t longPulseTenths() const { return u16(LongPulseOffset); }
    void setLongPulseTenths(std::uint16_t v) { setU16(LongPulseOffset, v); }
    std::uint16_t gapTenths() const { return u16(GapOffset); }
    void setGapTenths(std::uint16_t v) { setU16(GapOffset, v); }
};

// The two tower clocks. Each carries a 32-bit change mark with the bits of the clock editor. The clock's relays
// and inputs live in the output map, which validation consults through setReferences().
class TowerClockTable : public RecordTable<ClockRecord, 2> {
public:
    // The type with a single relay, a minute input and no pulse time.
    static constexpr std::uint8_t SingleRelayType = 4;

    static constexpr std::uint32_t MarkEnabled = 0x1;
    static constexpr std::uint32_t MarkType = 0x2;
    static constexpr std::uint32_t MarkOffsetHours = 0x4;
    static constexpr std::uint32_t MarkOffsetMinutes = 0x8;
    static constexpr std::uint32_t MarkContact = 0x10;
    static constexpr std::uint32_t MarkContactInput = 0x20;
    static constexpr std::uint32_t MarkGap = 0x40;
    static constexpr std::uint32_t MarkPulse = 0x80;
    static constexpr std::uint32_t MarkRelayA = 0x100;
    static constexpr std::uint32_t MarkRelayB = 0x200;
    static constexpr std::uint32_t MarkSingleRelay = 0x400;
    static constexpr std::uint32_t MarkMinuteInput = 0x800;
    static constexpr std::uint32_t MarkLongPulse = 0x1000;
    // The 12/24-hour and type-5 mode radios: highlighted by no control, but a change must still count as one.
    static constexpr std::uint32_t MarkMode = 0x2000;

    static constexpr std::int32_t IssuePulse = 24;
    static constexpr std::int32_t IssueNoRelayA = 25;
    static constexpr std::int32_t IssueNoRelayB = 26;
    static constexpr std::int32_t IssueGap = 48;
    static constexpr std::int32_t Area = 7;

    TowerClockTable();

    void setReferences(const OutputMap* outputs) { outputs_ = outputs; }

    // Checks switched-on clocks only. The relay rules need the output map and are skipped without it.
    void validate(IssueList& issues) const;

    // The type the editor shows: a stored type outside 2-5 is shown as type 1.
    int shownType(int i) const;
    // The editor's pulse range for a type: 1 to this maximum; 0 for the type without pulse time.
    static int pulseMaximum(int type);

    // Setters of the clock editor; each marks its bit only when the value differs.
    void setClockEnabled(int i, bool enabled);
    void setClockType(int i, int type);
    // The shift as shown: a sign and hours and minutes. A change of sign alone marks the hours bit.
    void setOffset(int i, bool negative, int hours, int minutes);
    void setCorrectionContactUsed(int i, bool used);
    void setPulseSeconds(int i, int seconds);
    void setGapTenths(int i, int tenths);
    void setLongPulseTenths(int i, int tenths);
    // Values typed in seconds with one decimal, stored as tenths, truncated.
    void setGapSeconds(int i, double seconds);
    void setLongPulseSeconds(int i, double seconds);
    void setTwelveHourMode(int i, bool on);
    void setType5FirstMode(int i, bool on);
    // The clock lock of the settings page (bit 3, set = locked). The settings page marks it in the general
    // settings, not in the clock's own mark; returns whether the bit changed.
    bool setClockLock(int i, bool locked);
    // Bits for the assignments the editor makes in the output map (relays and inputs).
    void addChangeBits(int i, std::uint32_t bits);

private:
    void setFlag(int i, std::uint8_t bit, bool set, std::uint32_t markBits);

    const OutputMap* outputs_ = nullptr;
};

} // namespace tolvane
