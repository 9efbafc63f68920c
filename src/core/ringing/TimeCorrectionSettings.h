#pragma once

#include "section/BlockSection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// The controller's time keeping: summer and winter offsets against the received time, the daily synchronisation
// window, the synchronisation flags and the weekly drift correction. A plain block without byte-order change;
// only the first nine bytes carry meaning, the rest are kept as they are. The astronomical-clock fields that the
// same page edits belong to GeneralSettings, which owns their bytes and change marks.
//
// The block is its bytes in the card image and the project file alike, and carries one change mask of its own:
// the editing setters set their field's bit when the value differs.
class TimeCorrectionSettings : public BlockSection<72> {
public:
    static constexpr std::size_t SummerOffset = 0;
    static constexpr std::size_t WinterOffset = 1;
    static constexpr std::size_t SyncStartMinute = 2;
    static constexpr std::size_t SyncStartHour = 3;
    static constexpr std::size_t SyncStopMinute = 4;
    static constexpr std::size_t SyncStopHour = 5;
    static constexpr std::size_t SyncFrameCount = 6;
    static constexpr std::size_t SyncFlags = 7;
    static constexpr std::size_t WeeklyDrift = 8;

    static constexpr std::uint8_t PowerOnSyncBit = 0x02;
    static constexpr std::uint8_t ActivityMask = 0x0C; // bits 2-3: correction activity 1-3
    static constexpr std::uint8_t SourceBit = 0x10;
    static constexpr std::uint8_t AutoChangeBit = 0x20;

    // Bits of the change mask, one per control group of the page.
    static constexpr std::uint32_t MarkSource = 1u << 0;
    static constexpr std::uint32_t MarkSummerOffset = 1u << 1;
    static constexpr std::uint32_t MarkWinterOffset = 1u << 2;
    static constexpr std::uint32_t MarkActivity = 1u << 3;
    static constexpr std::uint32_t MarkStartHour = 1u << 4;
    static constexpr std::uint32_t MarkStartMinute = 1u << 5;
    static constexpr std::uint32_t MarkStopHour = 1u << 6;
    static constexpr std::uint32_t MarkStopMinute = 1u << 7;
    static constexpr std::uint32_t MarkFrameCount = 1u << 8;
    static constexpr std::uint32_t MarkAutoChange = 1u << 9;
    static constexpr std::uint32_t MarkPowerOnSync = 1u << 10;
    static constexpr std::uint32_t MarkWeeklyDrift = 1u << 11;

    TimeCorrectionSettings() { reset(); }

    // BlockSection. The block has no rule of its own to check.
    // All 72 bytes 0xFF, then summer +2.0 h, winter +1.0 h, window 01:00 to 04:00, 4 frames, flags 0xEB
    // (power-on synchronisation, activity 2, first source, automatic time change), no weekly drift. The marks
    // stay as they are.
    void resetItem(int index) override;

    std::int8_t summerOffsetHalfHours() const { return static_cast<std::int8_t>(u8(SummerOffset)); }
    void setSummerOffsetHalfHours(std::int8_t v) { setU8(SummerOffset, static_cast<std::uint8_t>(v)); }
    std::int8_t winterOffsetHalfHours() const { return static_cast<std::int8_t>(u8(WinterOffset)); }
    void setWinterOffsetHalfHours(std::int8_t v) { setU8(WinterOffset, static_cast<std::uint8_t>(v)); }
    std::uint8_t syncStartMinute() const { return u8(SyncStartMinute); }
    std::uint8_t syncStartHour() const { return u8(SyncStartHour); }
    std::uint8_t syncStopMinute() const { return u8(SyncStopMinute); }
    std::uint8_t syncStopHour() const { return u8(SyncStopHour); }
    std::uint8_t syncFrameCount() const { return u8(SyncFrameCount); }
    std::uint8_t syncFlags() const { return u8(SyncFlags); }
    void setSyncFlags(std::uint8_t v) { setU8(SyncFlags, v); }
    std::int8_t weeklyDriftSeconds() const { return static_cast<std::int8_t>(u8(WeeklyDrift)); }
    void setWeeklyDriftSeconds(std::int8_t v) { setU8(WeeklyDrift, static_cast<std::uint8_t>(v)); }

    bool syncAfterPowerOn() const { return (syncFlags() & PowerOnSyncBit) != 0; }
    // 0-3 as stored; the page's radios store 1-3.
    int correctionActivity() const { return (syncFlags() & ActivityMask) >> 2; }
    // 0 = first source, 1 = second source.
    int syncSource() const { return (syncFlags() & SourceBit) != 0 ? 1 : 0; }
    bool autoTimeChange() const { return (syncFlags() & AutoChangeBit) != 0; }

    // Editing as the page does it. Offsets are typed in hours with a sign and stored in half hours, truncated
    // (1.5 with "-" gives -3); values beyond a signed byte are held at its limits. Each marks its bit when the
    // stored value changes.
    void setSummerOffset(double hours, bool negative);
    void setWinterOffset(double hours, bool negative);
    void setSyncStartHour(int hour);
    void setSyncStartMinute(int minute);
    void setSyncStopHour(int hour);
    void setSyncStopMinute(int minute);
    void setSyncFrameCount(int frames);
    void setSyncSource(int source);
    // The radio index 0-2, stored as activity 1-3.
    void setCorrectionActivityRadio(int radio);
    void setAutoTimeChange(bool on);
    void setSyncAfterPowerOn(bool on);
    void setWeeklyDrift(int seconds, bool negative);

private:
    void setByte(std::size_t off, std::uint8_t v, std::uint32_t bit);
    void setFlagBits(std::uint8_t mask, std::uint8_t value, std::uint32_t bit);
};

} // namespace tolvane
