#pragma once

#include "device/ByteIO.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// The controller's time keeping: summer and winter offsets against the received time, the daily synchronisation
// window, the synchronisation flags and the weekly drift correction. A plain block without byte-order change;
// only the first nine bytes carry meaning, the rest are kept as they are.
//
// Its change marks live in the project's `projectModified` word; the setters taking `modified` set the field's
// bit there when the value differs.
class TimeCorrectionSettings : public ByteRecord<72> {
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

    // Bits of `projectModified`.
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

    TimeCorrectionSettings() { resetDefaults(); }

    // All 72 bytes 0xFF, then summer +2.0 h, winter +1.0 h, window 01:00 to 04:00, 4 frames, flags 0xEB
    // (power-on synchronisation, activity 2, first source, automatic time change), no weekly drift.
    void resetDefaults();

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
    // (1.5 with "-" gives -3); values beyond a signed byte are held at its limits.
    void setSummerOffset(double hours, bool negative, std::uint32_t& modified);
    void setWinterOffset(double hours, bool negative, std::uint32_t& modified);
    void setSyncStartHour(int hour, std::uint32_t& modified);
    void setSyncStartMinute(int minute, std::uint32_t& modified);
    void setSyncStopHour(int hour, std::uint32_t& modified);
    void setSyncStopMinute(int minute, std::uint32_t& modified);
    void setSyncFrameCount(int frames, std::uint32_t& modified);
    void setSyncSource(int source, std::uint32_t& modified);
    // The radio index 0-2, stored as activity 1-3.
    void setCorrectionActivityRadio(int radio, std::uint32_t& modified);
    void setAutoTimeChange(bool on, std::uint32_t& modified);
    void setSyncAfterPowerOn(bool on, std::uint32_t& modified);
    void setWeeklyDrift(int seconds, bool negative, std::uint32_t& modified);

private:
    void setByte(std::size_t off, std::uint8_t v, std::uint32_t bit, std::uint32_t& modified);
    void setFlagBits(std::uint8_t mask, std::uint8_t value, std::uint32_t bit, std::uint32_t& modified);
};

// The eight astronomical-clock bytes that the general settings carry (sunrise and sunset shifts, coordinates,
// flags and the chosen place), edited on the time-corrections page. A view over those bytes: it owns nothing.
// Their change marks are bits of the high word of the general settings' 64-bit mask.
class AstroClockFields {
public:
    static constexpr std::size_t Size = 8;
    static constexpr std::size_t SunriseShift = 0;
    static constexpr std::size_t SunsetShift = 1;
    static constexpr std::size_t LongitudeDegrees = 2;
    static constexpr std::size_t LongitudeMinutes = 3;
    static constexpr std::size_t LatitudeDegrees = 4;
    static constexpr std::size_t LatitudeMinutes = 5;
    static constexpr std::size_t Flags = 6;
    static constexpr std::size_t CityIndex = 7;
    // Defaults of the eight bytes.
    static constexpr std::array<std::uint8_t, Size> Defaults{0, 0, 0, 0, 0, 0, 0xFF, 0};

    static constexpr std::uint8_t HemisphereBit = 0x80; // west, or south
    static constexpr std::uint8_t HiddenOptionBit = 0x01;
    static constexpr std::uint8_t GpsBit = 0x02;
    static constexpr std::uint8_t OnWhenDarkBit = 0x04;
    static constexpr std::uint8_t ByHand = 0xFF;
    static constexpr int PlaceCount = 26;
    // The place list has one more entry: coordinates entered by hand.
    static constexpr int ByHandListPosition = 26;

    // Bits of the general settings' 64-bit change mask (high word bits 6-13).
    static constexpr std::uint64_t MarkRelay = 1ull << (32 + 6);
    static constexpr std::uint64_t MarkSunrise = 1ull << (32 + 7);
    static constexpr std::uint64_t MarkSunset = 1ull << (32 + 8);
    static constexpr std::uint64_t MarkLatitude = 1ull << (32 + 9);
    static constexpr std::uint64_t MarkLongitude = 1ull << (32 + 10);
    static constexpr std::uint64_t MarkPolarity = 1ull << (32 + 11);
    static constexpr std::uint64_t MarkHiddenOption = 1ull << (32 + 12);
    static constexpr std::uint64_t MarkGps = 1ull << (32 + 13);

    // A built-in place as its four coordinate bytes (degrees with the hemisphere bit, minutes).
    struct Place {
        std::uint8_t longitudeDegrees, longitudeMinutes, latitudeDegrees, latitudeMinutes;
    };
    static const std::array<Place, PlaceCount>& places();

    explicit AstroClockFields(std::span<std::uint8_t, Size> bytes) : bytes_(bytes) {}

    void resetDefaults();

    std::int8_t sunriseShiftMinutes() const { return static_cast<std::int8_t>(bytes_[SunriseShift]); }
    std::int8_t sunsetShiftMinutes() const { return static_cast<std::int8_t>(bytes_[SunsetShift]); }
    int longitudeDegrees() const { return bytes_[LongitudeDegrees] & 0x7F; }
    bool longitudeWest() const { return (bytes_[LongitudeDegrees] & HemisphereBit) != 0; }
    int longitudeMinutes() const { return bytes_[LongitudeMinutes]; }
    int latitudeDegrees() const { return bytes_[LatitudeDegrees] & 0x7F; }
    bool latitudeSouth() const { return (bytes_[LatitudeDegrees] & HemisphereBit) != 0; }
    int latitudeMinutes() const { return bytes_[LatitudeMinutes]; }
    std::uint8_t astroFlags() const { return bytes_[Flags]; }
    bool useGps() const { return (astroFlags() & GpsBit) != 0; }
    bool onWhenDark() const { return (astroFlags() & OnWhenDarkBit) != 0; }
    // The hidden check box is ticked when its bit is clear.
    bool hiddenOptionTicked() const { return (astroFlags() & HiddenOptionBit) == 0; }
    std::uint8_t cityIndex() const { return bytes_[CityIndex]; }
    // Position in the place list: the place, or the by-hand entry for 0xFF (and for any unknown value).
    int placeListPosition() const;

    void setSunriseShift(int minutes, bool negative, std::uint64_t& modified);
    void setSunsetShift(int minutes, bool negative, std::uint64_t& modified);
    // Degrees share their byte with the hemisphere bit, so only 0-127 fit: larger degrees are refused (false,
    // nothing changes) rather than stored as a different place. 90 degrees of latitude and 180 of longitude
    // force the minutes to 0.
    bool setLatitude(int degrees, int minutes, bool south, std::uint64_t& modified);
    bool setLongitude(int degrees, int minutes, bool west, std::uint64_t& modified);
    void setOnWhenDark(bool on, std::uint64_t& modified);
    void setUseGps(bool on, std::uint64_t& modified);
    void setHiddenOptionTicked(bool ticked, std::uint64_t& modified);
    // Place list position 0-25 chooses a place and copies its coordinates; position 26 switches to coordinates
    // by hand and keeps the present ones. Marks latitude and longitude when the stored place differs.
    bool choosePlace(int position, std::uint64_t& modified);
    // Copies the chosen place's coordinates into the coordinate bytes (as the page does when it is shown);
    // nothing for coordinates by hand.
    void applyPlaceCoordinates();

private:
    void setFlag(std::uint8_t bit, bool set, std::uint64_t markBit, std::uint64_t& modified);
    void setShift(std::size_t off, int minutes, bool negative, std::uint64_t markBit, std::uint64_t& modified);

    std::span<std::uint8_t, Size> bytes_;
};

} // namespace tolvane
