#pragma once

#include "device/ByteIO.h"
#include "section/RecordTable.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// One swinging bell: its switches and the five times of a ringing (run-up, stabilisation, ringing, damping,
// swinging out). Bytes that no editor changes are kept as they are.
class BellRecord : public ByteRecord<64> {
public:
    static constexpr std::size_t FlagsOffset = 32;
    static constexpr std::size_t RingingOffset = 40;
    static constexpr std::size_t RunUpOffset = 42;
    static constexpr std::size_t SettleOffset = 43;
    static constexpr std::size_t DampOffset = 44;
    static constexpr std::size_t SwingOffset = 46;
    // The 16-bit fields that the controller reads big-endian.
    static constexpr std::array<std::size_t, 4> WordOffsets{34, 36, 40, 46};

    static constexpr std::uint8_t FeedbackOffBit = 0x01;
    static constexpr std::uint8_t BellOffBit = 0x02;
    static constexpr std::uint8_t SecondFeedbackOffBit = 0x04;

    // All bytes 0xFF, then the defaults: feedback off, bell on, second feedback option off, 180 s ringing,
    // 1 s run-up, stabilisation and damping, 5 s swinging out.
    void resetDefaults();

    std::uint8_t bellFlags() const { return u8(FlagsOffset); }
    void setBellFlags(std::uint8_t v) { setU8(FlagsOffset, v); }
    bool feedbackOff() const { return (bellFlags() & FeedbackOffBit) != 0; }
    bool bellOff() const { return (bellFlags() & BellOffBit) != 0; }
    bool secondFeedbackOff() const { return (bellFlags() & SecondFeedbackOffBit) != 0; }

    std::uint16_t ringingSeconds() const { return u16(RingingOffset); }
    void setRingingSeconds(std::uint16_t v) { setU16(RingingOffset, v); }
    std::uint8_t runUpSeconds() const { return u8(RunUpOffset); }
    void setRunUpSeconds(std::uint8_t v) { setU8(RunUpOffset, v); }
    std::uint8_t settleSeconds() const { return u8(SettleOffset); }
    void setSettleSeconds(std::uint8_t v) { setU8(SettleOffset, v); }
    std::uint8_t dampSeconds() const { return u8(DampOffset); }
    void setDampSeconds(std::uint8_t v) { setU8(DampOffset, v); }
    std::uint16_t swingSeconds() const { return u16(SwingOffset); }
    void setSwingSeconds(std::uint16_t v) { setU16(SwingOffset, v); }
};

// The five bells of the installation. Each bell carries a 32-bit change mark whose bits follow the controls of
// the bell editor; the editor works on a copy of this table and hands its record and bits back with acceptEdit().
class BellTable : public RecordTable<BellRecord, 5> {
public:
    // Change-mark bits of one bell.
    static constexpr std::uint32_t MarkEnabled = 0x1;
    static constexpr std::uint32_t MarkRelay = 0x2;
    static constexpr std::uint32_t MarkFeedback = 0x4;
    static constexpr std::uint32_t MarkSecondFeedback = 0x8;
    static constexpr std::uint32_t MarkRunUp = 0x10;
    static constexpr std::uint32_t MarkSettle = 0x20;
    static constexpr std::uint32_t MarkRingingMinutes = 0x40;
    static constexpr std::uint32_t MarkRingingSeconds = 0x80;
    static constexpr std::uint32_t MarkDamp = 0x100;
    static constexpr std::uint32_t MarkSwing = 0x200;

    // Validation: codes and area.
    static constexpr std::int32_t IssueRunUp = 16;
    static constexpr std::int32_t IssueSettle = 17;
    static constexpr std::int32_t IssueRinging = 18;
    static constexpr std::int32_t IssueDamp = 19;
    static constexpr std::int32_t IssueSwing = 20;
    static constexpr std::int32_t Area = 6;

    BellTable();

    void validate(IssueList& issues) const;

    // True when bell `bell` is switched off (bit 1 of its flag byte); false for an index that names no bell.
    bool bellDisabled(int bell) const;

    // Setters of the bell editor. Each writes the field and sets its change bit only when the value differs.
    void setBellEnabled(int i, bool enabled);
    // The two feedback options exclude each other: switching one on switches the other off (and marks it).
    void setFeedbackOn(int i, bool on);
    void setSecondFeedbackOn(int i, bool on);
    void setRunUpSeconds(int i, int seconds);
    void setSettleSeconds(int i, int seconds);
    void setDampSeconds(int i, int seconds);
    // Ringing time as typed in minutes and seconds; values are stored as typed (saturated to 16 bits) and
    // checked by validation. The minutes bit or the seconds bit is set by which part differs.
    void setRingingTime(int i, int minutes, int seconds);
    void setRingingSeconds(int i, int totalSeconds);
    // Swinging-out time as typed; never stored below 1 second.
    void setSwingTime(int i, int minutes, int seconds);
    // Marks that the bell's relay (held in the output map) was changed.
    void markRelayChanged(int i);
};

} // namespace tolvane
