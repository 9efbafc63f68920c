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

} // namespace

void TimeCorrectionSettings::resetItem(int) {
    fill(0xFF);
    constexpr std::array<std::uint8_t, 9> defaults{4, 2, 0, 1, 0, 4, 4, 0xEB, 0};
    std::copy(defaults.begin(), defaults.end(), bytes_.begin());
}

void TimeCorrectionSettings::setByte(std::size_t off, std::uint8_t v, std::uint32_t bit) {
    if (u8(off) != v) {
        setU8(off, v);
        mark(bit);
    }
}

void TimeCorrectionSettings::setFlagBits(std::uint8_t mask, std::uint8_t value, std::uint32_t bit) {
    setByte(SyncFlags, static_cast<std::uint8_t>((syncFlags() & ~mask) | (value & mask)), bit);
}

void TimeCorrectionSettings::setSummerOffset(double hours, bool negative) {
    setByte(SummerOffset, signedByte(halfHoursFromTyped(hours), negative), MarkSummerOffset);
}

void TimeCorrectionSettings::setWinterOffset(double hours, bool negative) {
    setByte(WinterOffset, signedByte(halfHoursFromTyped(hours), negative), MarkWinterOffset);
}

void TimeCorrectionSettings::setSyncStartHour(int hour) {
    setByte(SyncStartHour, clampByte(hour), MarkStartHour);
}

void TimeCorrectionSettings::setSyncStartMinute(int minute) {
    setByte(SyncStartMinute, clampByte(minute), MarkStartMinute);
}

void TimeCorrectionSettings::setSyncStopHour(int hour) {
    setByte(SyncStopHour, clampByte(hour), MarkStopHour);
}

void TimeCorrectionSettings::setSyncStopMinute(int minute) {
    setByte(SyncStopMinute, clampByte(minute), MarkStopMinute);
}

void TimeCorrectionSettings::setSyncFrameCount(int frames) {
    setByte(SyncFrameCount, clampByte(frames), MarkFrameCount);
}

void TimeCorrectionSettings::setSyncSource(int source) {
    setFlagBits(SourceBit, source != 0 ? SourceBit : 0, MarkSource);
}

void TimeCorrectionSettings::setCorrectionActivityRadio(int radio) {
    const int activity = std::clamp(radio, 0, 2) + 1;
    setFlagBits(ActivityMask, static_cast<std::uint8_t>(activity << 2), MarkActivity);
}

void TimeCorrectionSettings::setAutoTimeChange(bool on) {
    setFlagBits(AutoChangeBit, on ? AutoChangeBit : 0, MarkAutoChange);
}

void TimeCorrectionSettings::setSyncAfterPowerOn(bool on) {
    setFlagBits(PowerOnSyncBit, on ? PowerOnSyncBit : 0, MarkPowerOnSync);
}

void TimeCorrectionSettings::setWeeklyDrift(int seconds, bool negative) {
    setByte(WeeklyDrift, signedByte(std::abs(static_cast<long long>(seconds)), negative), MarkWeeklyDrift);
}

} // namespace tolvane
