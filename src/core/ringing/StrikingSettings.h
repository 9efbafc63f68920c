#pragma once

#include "device/ByteIO.h"
#include "device/TypedNumber.h"
#include "ringing/OutputMap.h"
#include "section/ProjectSection.h"
#include "section/TextSource.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

class SequenceTable;

// The three night periods in which the controller keeps silent: hour striking, quarter striking and the
// repetition of the hour. Each is four bytes: start minute, start hour, end minute, end hour.
enum class NightBlock { Hour, Quarter, Repeat };

// The 196 bytes of hour and quarter striking: night blocks, the hour-striking mode with its hammer and stroke
// interval, the four quarters with their series of sequences, and the two heralds.
class StrikingRecord : public ByteRecord<196> {
public:
    static constexpr std::size_t HourModeOffset = 4;
    static constexpr std::size_t HourHammerSingleOffset = 6;
    static constexpr std::size_t HourHammerRepeatOffset = 7;
    static constexpr std::size_t RepeatDelayOffset = 8;
    static constexpr std::size_t StrokeIntervalSingleOffset = 10;
    static constexpr std::size_t StrokeIntervalRepeatOffset = 12;
    static constexpr std::size_t QuarterFlagsOffset = 48;
    static constexpr std::size_t QuartersOffset = 50;
    static constexpr std::size_t QuarterSize = 6;
    static constexpr std::size_t QuarterSeriesOffset = 2;
    static constexpr std::size_t Quarter4AdvanceOffset = 74;
    static constexpr std::size_t HeraldFlagsOffset = 90;
    static constexpr std::size_t HourHeraldAdvanceOffset = 92;
    static constexpr std::size_t QuarterHeraldAdvanceOffset = 94;
    static constexpr std::size_t HourHeraldHoldOffset = 96;
    static constexpr std::size_t QuarterHeraldHoldOffset = 98;
    // The 16-bit fields that the controller reads big-endian.
    static constexpr std::array<std::size_t, 8> WordOffsets{8, 10, 12, 74, 92, 94, 96, 98};

    static constexpr std::uint8_t ModeOffBit = 0x01;    // hourModeFlags bit 0
    static constexpr std::uint8_t ModeRepeatBit = 0x02; // hourModeFlags bit 1
    static constexpr std::uint8_t QuarterOffBit = 0x01; // quarterFlags bit 0
    static constexpr std::uint8_t QuarterHeraldOffBit = 0x01;
    static constexpr std::uint8_t HourHeraldOffBit = 0x02;
    static constexpr int Quarters = 4;
    static constexpr int SeriesPerQuarter = 4;
    static constexpr std::uint8_t NoSequence = 0xFF;

    // All bytes 0xFF, then the defaults: everything off, 2.0 s between strokes, 5.0 s repetition delay, hammer 2,
    // quarter n playing sequence 1 n times, heralds 10 s ahead and 10 s long, night blocks 21:55 to 05:55.
    void resetDefaults();

    static std::size_t blockOffset(NightBlock b);
    std::uint8_t blockStartMinute(NightBlock b) const { return u8(blockOffset(b)); }
    std::uint8_t blockStartHour(NightBlock b) const { return u8(blockOffset(b) + 1); }
    std::uint8_t blockEndMinute(NightBlock b) const { return u8(blockOffset(b) + 2); }
    std::uint8_t blockEndHour(NightBlock b) const { return u8(blockOffset(b) + 3); }

    std::uint8_t hourModeFlags() const { return u8(HourModeOffset); }
    // 0 off, 1 striking without repetition, 2 striking with repetition.
    int hourMode() const;
    std::uint8_t hourHammerSingle() const { return u8(HourHammerSingleOffset); }
    std::uint8_t hourHammerRepeat() const { return u8(HourHammerRepeatOffset); }
    std::uint16_t repeatDelayTenths() const { return u16(RepeatDelayOffset); }
    std::uint16_t strokeIntervalSingle() const { return u16(StrokeIntervalSingleOffset); }
    std::uint16_t strokeIntervalRepeat() const { return u16(StrokeIntervalRepeatOffset); }

    std::uint8_t quarterFlags() const { return u8(QuarterFlagsOffset); }
    bool quarterStrikingOn() const { return (quarterFlags() & QuarterOffBit) == 0; }
    static std::size_t quarterOffset(int quarter);
    std::uint8_t seriesCount(int quarter) const { return u8(quarterOffset(quarter)); }
    static std::size_t seriesOffset(int quarter, int series);
    std::uint8_t seriesSequence(int quarter, int series) const { return u8(seriesOffset(quarter, series)); }
    // The series a quarter plays: its count, but never more than the four slots.
    int activeSeries(int quarter) const;
    std::uint16_t quarter4AdvanceTenths() const { return u16(Quarter4AdvanceOffset); }

    std::uint8_t heraldFlags() const { return u8(HeraldFlagsOffset); }
    bool hourHeraldOn() const { return (heraldFlags() & HourHeraldOffBit) == 0; }
    bool quarterHeraldOn() const { return (heraldFlags() & QuarterHeraldOffBit) == 0; }
    std::uint16_t hourHeraldAdvance() const { return u16(HourHeraldAdvanceOffset); }
    std::uint16_t quarterHeraldAdvance() const { return u16(QuarterHeraldAdvanceOffset); }
    std::uint16_t hourHeraldHold() const { return u16(HourHeraldHoldOffset); }
    std::uint16_t quarterHeraldHold() const { return u16(QuarterHeraldHoldOffset); }
};

// The change bits of the striking settings, one per control of the striking page.
enum class StrikingField : int {
    HourBlockStartHour = 0,
    HourBlockStartMinute = 1,
    HourBlockEndHour = 2,
    HourBlockEndMinute = 3,
    QuarterBlockStartHour = 4,
    QuarterBlockStartMinute = 5,
    QuarterBlockEndHour = 6,
    QuarterBlockEndMinute = 7,
    RepeatBlockStartHour = 8,
    RepeatBlockStartMinute = 9,
    RepeatBlockEndHour = 10,
    RepeatBlockEndMinute = 11,
    RepeatDelay = 12,
    StrokeIntervalSingle = 13,
    StrokeIntervalRepeat = 15,
    HourHammerSingle = 19,
    HourHammerRepeat = 20,
    HourHerald = 21,
    HourHeraldAdvance = 22,
    HourHeraldHold = 23,
    HourHeraldRelay = 24,
    SeriesCount1 = 25, // 25-28: series count of quarters 1-4
    Series1 = 29,      // 29-32: series sequences of quarters 1-4
    QuarterStriking = 33,
    QuarterHerald = 34,
    QuarterHeraldAdvance = 35,
    QuarterHeraldHold = 36,
    QuarterHeraldRelay = 37,
    Quarter4Advance = 38,
    HourMode = 39,
};

// Hour and quarter striking of the installation, edited by the striking page. Every setter stores the value as
// typed (validation reports values out of range) and sets the field's change bit when the stored value differs;
// the on/off and mode setters mark on every call. The herald relays themselves live in the output map.
class StrikingSettings : public ProjectSection {
public:
    static constexpr std::size_t ImageSize = StrikingRecord::Size;
    static constexpr std::size_t BodySize = StrikingRecord::Size;
    static constexpr std::uint16_t MinRepeatDelay = 10;

    // Validation codes and areas; every issue is critical.
    static constexpr std::int32_t IssueSequenceMissing = 53;
    static constexpr std::int32_t IssueSequenceHasBells = 54;
    static constexpr std::int32_t IssueStrokeInterval = 31;
    static constexpr std::int32_t IssueHeraldAdvance = 35;
    static constexpr std::int32_t IssueHeraldHold = 32;
    static constexpr std::int32_t IssueQuarter4Advance = 44;
    static constexpr std::int32_t IssueSeriesCount = 36;
    static constexpr std::int32_t IssueBlockStart = 59;
    static constexpr std::int32_t IssueBlockEnd = 60;
    static constexpr std::int32_t AreaHours = 8;
    static constexpr std::int32_t AreaHourHerald = 9;
    static constexpr std::int32_t AreaQuarters = 10;
    static constexpr std::int32_t AreaQuarterHerald = 11;
    static constexpr std::int32_t AreaBlocks = 12;

    StrikingSettings();

    // The sequences (for validation and the sequence checks) and the output map (herald relays); either may be
    // null, and then the checks that need it are skipped.
    void setReferences(const SequenceTable* sequences, const OutputMap* outputs);

    void resetItem(int index);
    void reset();
    void swapByteOrder(std::span<std::uint8_t> image) const;
    void unpackImage(std::span<const std::uint8_t> image);
    void packImage(std::span<std::uint8_t> image) const;
    void validate(IssueList& issues) const;
    void serialize(SectionArchive& archive) override;
    void clearModified() override;
    bool isModified() const override;
    SectionState state() const override;
    void setState(const SectionState& state) override;
    void markChanges(const SectionState& from, const SectionState& to) override;

    const StrikingRecord& record() const { return record_; }
    std::uint64_t changeMask() const { return mask_; }
    bool isChanged(StrikingField f) const { return (mask_ & bit(f)) != 0; }
    // For the herald relays, which are stored in the output map but marked here.
    void markChanged(StrikingField f) { mask_ |= bit(f); }

    // Herald relays from the output map; 0xFF (none) without an output map.
    std::uint8_t hourHeraldRelay() const;
    std::uint8_t quarterHeraldRelay() const;

    // True when sequence `index` stands among the series that some quarter plays.
    bool usesSequence(int index) const;
    // A quarter may play only hammer sequences: false for a sequence that contains a bell step.
    bool canPlaySequence(int index) const;

    // Setters of the striking page.
    void setBlockStartHour(NightBlock b, long long hour);
    void setBlockStartMinute(NightBlock b, long long minute);
    void setBlockEndHour(NightBlock b, long long hour);
    void setBlockEndMinute(NightBlock b, long long minute);
    // Mode 0 off, 1 without repetition, 2 with repetition; other values are ignored.
    void setHourMode(int mode);
    // Mode 1 stores the interval of the mode without repetition, mode 2 that of the mode with repetition.
    void setStrokeIntervalTenths(long long tenths, int mode);
    void setStrokeInterval(std::string_view text, int mode) { setStrokeIntervalTenths(typedTenths(text), mode); }
    // Never stored below 1.0 s.
    void setRepeatDelayTenths(long long tenths);
    void setRepeatDelay(long long minutes, long long seconds) { setRepeatDelayTenths(minutes * 600 + seconds * 10); }
    void setHourHammer(int index, bool singleMode);
    void setQuarter4AdvanceTenths(long long tenths);
    void setQuarter4Advance(std::string_view text) { setQuarter4AdvanceTenths(typedTenths(text)); }
    void setHourHeraldAdvance(long long seconds);
    void setHourHeraldHold(long long seconds);
    void setQuarterHeraldAdvance(long long seconds);
    void setQuarterHeraldHold(long long seconds);
    void setHourHerald(bool on);
    void setQuarterHerald(bool on);
    void setQuarterStriking(bool on);
    // Lowering the count forgets the series beyond it (they become 0xFF).
    void setSeriesCount(int quarter, long long count);
    // Stores a sequence index (0-41, or 0xFF for none) in one of the series a quarter plays. False, with nothing
    // changed, for a series beyond the quarter's count, an index beyond the table, or a sequence with bell steps.
    bool setSeriesSequence(int quarter, int series, int index);

    // "S%d" of the sequence number, or text 109 for no sequence.
    std::string seriesText(int quarter, int series, const TextSource& texts) const;
    // The hour hammer of a mode: text 534 with the hammer number, or text 109 for none.
    LabelText hourHammerLabel(bool singleMode) const;

private:
    static std::uint64_t bit(StrikingField f) { return std::uint64_t{1} << static_cast<int>(f); }
    static StrikingField blockField(NightBlock b, int which);
    void storeByte(std::size_t offset, long long value, StrikingField f);
    void storeWord(std::size_t offset, long long value, StrikingField f);
    void setFlag(std::size_t offset, std::uint8_t flag, bool set, StrikingField f);

    StrikingRecord record_;
    std::uint64_t mask_ = 0;
    const SequenceTable* sequences_ = nullptr;
    const OutputMap* outputs_ = nullptr;
};

} // namespace tolvane
