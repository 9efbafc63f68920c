#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"
#include "section/TextSource.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tolvane {

// The kinds of a sequence step, held in bits 5-7 of the step's first byte.
enum class StepKind : std::uint8_t {
    Pause = 0,
    BellsA = 1,
    BellsB = 2,
    Hammers = 3,
    RepeatCount = 4,
    RepeatTime = 5,
    Unused6 = 6, // never created; counts as a defined step of no duration
    End = 7,     // a free slot; the first one ends the sequence
};

// One 10-byte step of a sequence: ring bells, strike hammers, pause, or repeat a range of earlier steps.
// Bytes 6-7 are a duration in tenths for the timed kinds and the repeated range (last, first) for the repeat kinds.
class SequenceStep : public ByteRecord<10> {
public:
    static constexpr std::size_t KindOffset = 0;
    static constexpr std::size_t UnitMaskOffset = 2;
    static constexpr std::size_t CountOffset = 4;
    static constexpr std::size_t TenthsOffset = 6;
    static constexpr std::size_t LastStepOffset = 6;
    static constexpr std::size_t FirstStepOffset = 7;
    static constexpr std::size_t HundredthsOffset = 8;
    // The 16-bit words that the controller reads big-endian (bytes 6-7 also for the repeat kinds).
    static constexpr std::array<std::size_t, 3> WordOffsets{2, 4, 6};

    // A fresh step: the kind byte and byte 1 become 0xFF (kind End), count 600, 1.00 s; bytes 2-3 and 9 stay.
    void makeFresh();

    std::uint8_t kindByte() const { return u8(KindOffset); }
    StepKind kind() const { return static_cast<StepKind>(kindByte() >> 5); }
    // Changes bits 5-7 only; the low five bits of the kind byte carry no meaning and are kept as found.
    void setKind(StepKind k);

    std::uint16_t unitMask() const { return u16(UnitMaskOffset); }
    void setUnitMask(std::uint16_t v) { setU16(UnitMaskOffset, v); }
    std::uint16_t count() const { return u16(CountOffset); }
    void setCount(std::uint16_t v) { setU16(CountOffset, v); }
    std::uint16_t tenths() const { return u16(TenthsOffset); }
    void setTenths(std::uint16_t v) { setU16(TenthsOffset, v); }
    std::uint8_t hundredths() const { return u8(HundredthsOffset); }
    void setHundredths(std::uint8_t v) { setU8(HundredthsOffset, v); }
    std::uint8_t firstStep() const { return u8(FirstStepOffset); }
    void setFirstStep(std::uint8_t v) { setU8(FirstStepOffset, v); }
    std::uint8_t lastStep() const { return u8(LastStepOffset); }
    void setLastStep(std::uint8_t v) { setU8(LastStepOffset, v); }

    bool isRepeat() const { return kind() == StepKind::RepeatCount || kind() == StepKind::RepeatTime; }
    bool isBell() const { return kind() == StepKind::BellsA || kind() == StepKind::BellsB; }
    bool isTimed() const { return static_cast<std::uint8_t>(kind()) <= static_cast<std::uint8_t>(StepKind::Hammers); }
    // Duration of a pause, bell or hammer step in hundredths of a second (0 for the other kinds).
    std::uint32_t ownHundredths() const;
};

// One sequence: the in-use byte, the total playing time in tenths and 155 step slots.
class Sequence : public ByteRecord<1560> {
public:
    static constexpr int MaxSteps = 155;
    static constexpr std::size_t InUseOffset = 0;
    static constexpr std::size_t TotalOffset = 4;
    static constexpr std::size_t StepsOffset = 8;
    static constexpr std::uint8_t InUse = 0x00;
    static constexpr std::uint8_t Free = 0xFF;

    bool inUse() const { return u8(InUseOffset) == InUse; }
    std::uint8_t inUseByte() const { return u8(InUseOffset); }
    void setInUseByte(std::uint8_t v) { setU8(InUseOffset, v); }
    std::uint32_t totalTenths() const { return u32(TotalOffset); }
    void setTotalTenths(std::uint32_t v) { setU32(TotalOffset, v); }

    // A copy of step slot `j` (0-154).
    SequenceStep step(int j) const;
    void setStep(int j, const SequenceStep& s);
    StepKind stepKind(int j) const { return static_cast<StepKind>(u8(stepOffset(j)) >> 5); }
    // Slots before the first End slot.
    int stepCount() const;

    static std::size_t stepOffset(int j);
};

// The 42 ringing sequences of the installation. Records in use need not be contiguous: deleting a sequence leaves
// the others where they are, because schedule entries and the quarter striking refer to them by index.
// Each record has a 32-bit change mark (bit 0: changed; a newly created sequence is marked with all bits).
class SequenceTable : public ProjectSection {
public:
    static constexpr int Count = 42;
    static constexpr int MaxSteps = Sequence::MaxSteps;
    static constexpr std::size_t ImageSize = Count * Sequence::Size;
    static constexpr std::size_t BodySize = ImageSize;

    // Validation codes and area.
    static constexpr std::int32_t IssueRangeReversed = 55;
    static constexpr std::int32_t IssueRangeHoldsRepeat = 56;
    static constexpr std::int32_t IssueRangeHoldsUndefined = 57;
    static constexpr std::int32_t Area = 17;

    // The text a sequence is named by, filled with its number (index + 1).
    static constexpr int NameText = 535;
    // Language texts of the step kinds, indexed by kind code 0-5.
    static constexpr std::array<int, 6> KindLabelTexts{660, 883, 884, 553, 661, 662};

    // The default-constructed table is the factory state: sequence 1 strikes hammer 1 once and lasts 0.5 s.
    SequenceTable();

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

    const Sequence& record(int i) const;
    int usedCount() const { return usedCount_; }
    std::int32_t changeMark(int i) const;
    bool isChanged(int i) const { return (changeMark(i) & 1) != 0; }
    // Marks every sequence as changed (all bits), as after reading the sequences from a card.
    void markAllChanged();

    bool isUsed(int i) const;
    // A step of a used sequence before its first End slot.
    bool isStepDefined(int i, int j) const;
    bool isRepeatStep(int i, int j) const;
    static bool isBellStep(StepKind kind) { return kind == StepKind::BellsA || kind == StepKind::BellsB; }
    bool hasBellSteps(int i) const;
    bool hasFreeRecord() const { return usedCount_ < Count; }
    // The lowest free record, or -1 when all 42 are in use.
    int firstFreeRecord() const;
    int stepCount(int i) const;
    bool hasFreeStep(int i) const { return isUsed(i) && stepCount(i) < MaxSteps; }

    // Editing. Each operation keeps the used count, the total and the change mark consistent.
    // A new empty sequence in the lowest free record, marked with all bits; -1 (nothing changed) when full.
    int createSequence();
    // A new sequence holding a copy of used sequence `source`; -1 when full or when `source` is not in use.
    int copySequence(int source);
    // Frees a used sequence; false when it was not in use.
    bool deleteSequence(int i);
    // Writes `step` into the first free slot, or at `position` (moving the steps from there up one slot) when
    // `position` lies inside the sequence and is not 0. Returns the 1-based slot written, 0 when nothing was
    // written (sequence full or not in use, or an End step, which would cut the sequence).
    int insertStep(int i, const SequenceStep& step, int position);
    // Removes defined step `j`, moving the later steps down; false when there is no such step.
    bool deleteStep(int i, int j);
    // Replaces defined step `j` (the step editor's result); false when there is no such step or `step` is End.
    bool replaceStep(int i, int j, const SequenceStep& step);
    void recomputeTotal(int i);

    // Duration in hundredths of step `j` of sequence `i`, repeats included.
    std::uint64_t stepHundredths(int i, int j) const;

    // Mapping between rows of a list of the used sequences (in index order) and record indices; -1 when none.
    int rowToRecord(int row) const;
    int recordToRow(int i) const;
    // The used record at `i` or the nearest before it, down to record 1 (record 0 is not examined); -1 when none.
    int previousUsedRecord(int i) const;

    // Display texts.
    // "hh:mm:ss.t" of the total, or "--:--:--.--" for an index beyond the table.
    std::string totalText(int i) const;
    // The number of steps, or "-" when there are none or the index lies beyond the table.
    std::string stepCountText(int i) const;
    // The kind's label, and for bell and hammer steps the five units as digits or "_".
    static std::string stepText(const SequenceStep& step, const TextSource& texts);
    // "mm:ss.hh" of the step's duration.
    std::string stepDurationText(int i, int j) const;

private:
    Sequence& rec(int i);
    void setChanged(int i) { marks_[static_cast<std::size_t>(i)] |= 1; }
    void recountUsed();
    std::uint64_t rangeHundredths(const Sequence& s, const SequenceStep& repeat) const;

    int usedCount_ = 0;
    std::array<Sequence, Count> records_{};
    std::array<std::int32_t, Count> marks_{};
};

} // namespace tolvane
