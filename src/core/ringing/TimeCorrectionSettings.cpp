#include "ringing/TimeCorrectionSettings.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

std::uint8_t signedByte(long long magnitude, bool negative) {
    const long long v = std::clamp<long long>(negative ? -magnitude : magnitude, -128, 127);
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(v));
}

std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 0xFF));
}

// Hours typed with one decimal as half hours, truncated; a small tolerance keeps exact halves exact.
long long halfHoursFromTyped(double hours) {
    const double halves = std::fabs(hours) * 2.0 + 1e-6;
    return std::isnan(halves) ? 0 : static_cast<long long>(std::trunc(std::min(halves, 1000.0)));
}

constexpr std::uint8_t E(int degrees) {
    return static_cast<std::uint8_t>(degrees);
}
constexpr std::uint8_t W(int degrees) {
    return static_cast<std::uint8_t>(degrees | AstroClockFields::HemisphereBit);
}
constexpr std::uint8_t N(int degrees) {
    return static_cast<std::uint8_t>(degrees);
}

} // namespace

void TimeCorrectionSettings::resetDefaults() {
    fill(0xFF);
    constexpr std::array<std::uint8_t, 9> defaults{4, 2, 0, 1, 0, 4, 4, 0xEB, 0};
    std::copy(defaults.begin(), defaults.end(), bytes_.begin());
}

void TimeCorrectionSettings::setByte(std::size_t off, std::uint8_t v, std::uint32_t bit, std::uint32_t& modified) {
    if (u8(off) != v) {
        setU8(off, v);
        modified |= bit;
    }
}

void TimeCorrectionSettings::setFlagBits(std::uint8_t mask, std::uint8_t value, std::uint32_t bit,
                                         std::uint32_t& modified) {
    setByte(SyncFlags, static_cast<std::uint8_t>((syncFlags() & ~mask) | (value & mask)), bit, modified);
}

void TimeCorrectionSettings::setSummerOffset(double hours, bool negative, std::uint32_t& modified) {
    setByte(SummerOffset, signedByte(halfHoursFromTyped(hours), negative), MarkSummerOffset, modified);
}

void TimeCorrectionSettings::setWinterOffset(double hours, bool negative, std::uint32_t& modified) {
    setByte(WinterOffset, signedByte(halfHoursFromTyped(hours), negative), MarkWinterOffset, modified);
}

void TimeCorrectionSettings::setSyncStartHour(int hour, std::uint32_t& modified) {
    setByte(SyncStartHour, clampByte(hour), MarkStartHour, modified);
}

void TimeCorrectionSettings::setSyncStartMinute(int minute, std::uint32_t& modified) {
    setByte(SyncStartMinute, clampByte(minute), MarkStartMinute, modified);
}

void TimeCorrectionSettings::setSyncStopHour(int hour, std::uint32_t& modified) {
    setByte(SyncStopHour, clampByte(hour), MarkStopHour, modified);
}

void TimeCorrectionSettings::setSyncStopMinute(int minute, std::uint32_t& modified) {
    setByte(SyncStopMinute, clampByte(minute), MarkStopMinute, modified);
}

void TimeCorrectionSettings::setSyncFrameCount(int frames, std::uint32_t& modified) {
    setByte(SyncFrameCount, clampByte(frames), MarkFrameCount, modified);
}

void TimeCorrectionSettings::setSyncSource(int source, std::uint32_t& modified) {
    setFlagBits(SourceBit, source != 0 ? SourceBit : 0, MarkSource, modified);
}

void TimeCorrectionSettings::setCorrectionActivityRadio(int radio, std::uint32_t& modified) {
    const int activity = std::clamp(radio, 0, 2) + 1;
    setFlagBits(ActivityMask, static_cast<std::uint8_t>(activity << 2), MarkActivity, modified);
}

void TimeCorrectionSettings::setAutoTimeChange(bool on, std::uint32_t& modified) {
    setFlagBits(AutoChangeBit, on ? AutoChangeBit : 0, MarkAutoChange, modified);
}

void TimeCorrectionSettings::setSyncAfterPowerOn(bool on, std::uint32_t& modified) {
    setFlagBits(PowerOnSyncBit, on ? PowerOnSyncBit : 0, MarkPowerOnSync, modified);
}

void TimeCorrectionSettings::setWeeklyDrift(int seconds, bool negative, std::uint32_t& modified) {
    setByte(WeeklyDrift, signedByte(std::abs(static_cast<long long>(seconds)), negative), MarkWeeklyDrift, modified);
}

// --- Astronomical clock ---

const std::array<AstroClockFields::Place, AstroClockFields::PlaceCount>& AstroClockFields::places() {
    static const std::array<Place, PlaceCount> table{{
        {E(19), 56, N(50), 4},  {E(21), 0, N(52), 13},  {E(18), 38, N(54), 22}, {E(19), 28, N(51), 49},
        {E(16), 22, N(48), 13}, {E(4), 21, N(50), 50},  {E(14), 25, N(50), 5},  {E(12), 34, N(55), 43},
        {E(25), 0, N(60), 8},   {E(2), 20, N(48), 52},  {E(13), 26, N(52), 30}, {E(23), 44, N(38), 0},
        {E(19), 0, N(47), 30},  {W(6), 15, N(53), 20},  {E(12), 30, N(41), 53}, {E(24), 8, N(56), 53},
        {E(4), 54, N(52), 21},  {E(10), 17, N(59), 56}, {W(9), 8, N(38), 44},   {E(26), 7, N(44), 25},
        {E(37), 35, N(55), 45}, {E(17), 10, N(48), 10}, {W(3), 43, N(40), 25},  {E(7), 26, N(46), 57},
        {W(0), 10, N(51), 30},  {E(30), 29, N(50), 28},
    }};
    return table;
}

void AstroClockFields::resetDefaults() {
    std::copy(Defaults.begin(), Defaults.end(), bytes_.begin());
}

int AstroClockFields::placeListPosition() const {
    return cityIndex() < PlaceCount ? cityIndex() : ByHandListPosition;
}

void AstroClockFields::setShift(std::size_t off, int minutes, bool negative, std::uint64_t markBit,
                                std::uint64_t& modified) {
    const auto v = signedByte(std::abs(static_cast<long long>(minutes)), negative);
    if (bytes_[off] != v) {
        bytes_[off] = v;
        modified |= markBit;
    }
}

void AstroClockFields::setSunriseShift(int minutes, bool negative, std::uint64_t& modified) {
    setShift(SunriseShift, minutes, negative, MarkSunrise, modified);
}

void AstroClockFields::setSunsetShift(int minutes, bool negative, std::uint64_t& modified) {
    setShift(SunsetShift, minutes, negative, MarkSunset, modified);
}

namespace {

bool setCoordinate(std::span<std::uint8_t, AstroClockFields::Size> b, std::size_t degreesOff, int degrees, int minutes,
                   bool otherHemisphere, int fullCircle, std::uint64_t markBit, std::uint64_t& modified) {
    if (degrees < 0 || degrees > 0x7F) {
        return false;
    }
    const auto deg = static_cast<std::uint8_t>(degrees | (otherHemisphere ? AstroClockFields::HemisphereBit : 0));
    const auto min = degrees == fullCircle ? std::uint8_t{0} : clampByte(minutes);
    if (b[degreesOff] != deg || b[degreesOff + 1] != min) {
        b[degreesOff] = deg;
        b[degreesOff + 1] = min;
        modified |= markBit;
    }
    return true;
}

} // namespace

bool AstroClockFields::setLatitude(int degrees, int minutes, bool south, std::uint64_t& modified) {
    return setCoordinate(bytes_, LatitudeDegrees, degrees, minutes, south, 90, MarkLatitude, modified);
}

bool AstroClockFields::setLongitude(int degrees, int minutes, bool west, std::uint64_t& modified) {
    return setCoordinate(bytes_, LongitudeDegrees, degrees, minutes, west, 180, MarkLongitude, modified);
}

void AstroClockFields::setFlag(std::uint8_t bit, bool set, std::uint64_t markBit, std::uint64_t& modified) {
    const auto next = static_cast<std::uint8_t>(set ? bytes_[Flags] | bit : bytes_[Flags] & ~bit);
    if (next != bytes_[Flags]) {
        bytes_[Flags] = next;
        modified |= markBit;
    }
}

void AstroClockFields::setOnWhenDark(bool on, std::uint64_t& modified) {
    setFlag(OnWhenDarkBit, on, MarkPolarity, modified);
}

void AstroClockFields::setUseGps(bool on, std::uint64_t& modified) {
    setFlag(GpsBit, on, MarkGps, modified);
}

void AstroClockFields::setHiddenOptionTicked(bool ticked, std::uint64_t& modified) {
    setFlag(HiddenOptionBit, !ticked, MarkHiddenOption, modified);
}

bool AstroClockFields::choosePlace(int position, std::uint64_t& modified) {
    if (position < 0 || position > ByHandListPosition) {
        return false;
    }
    const auto index = position == ByHandListPosition ? ByHand : static_cast<std::uint8_t>(position);
    if (bytes_[CityIndex] != index) {
        bytes_[CityIndex] = index;
        modified |= MarkLatitude | MarkLongitude;
    }
    applyPlaceCoordinates();
    return true;
}

void AstroClockFields::applyPlaceCoordinates() {
    if (cityIndex() >= PlaceCount) {
        return;
    }
    const Place& p = places()[cityIndex()];
    bytes_[LongitudeDegrees] = p.longitudeDegrees;
    bytes_[LongitudeMinutes] = p.longitudeMinutes;
    bytes_[LatitudeDegrees] = p.latitudeDegrees;
    bytes_[LatitudeMinutes] = p.latitudeMinutes;
}

} // namespace tolvane
