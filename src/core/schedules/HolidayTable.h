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
#include <vector>

namespace tolvane {

// One holiday: a fixed date every year or a signed number of days from the movable feasts' reference day, how
// many days it lasts, and its name. The eight numeric bytes are kept as they are (flag bits nobody edits
// included); the name is text, converted to device bytes only in the image.
class Holiday : public ByteRecord<8> {
public:
    static constexpr std::size_t FlagsOffset = 0;
    static constexpr std::size_t DaysOffset = 2;
    static constexpr std::size_t DateOffset = 4; // movable: offset at 4-5; fixed: month at 5, day at 6
    static constexpr std::uint16_t MovableBit = 0x0100;
    static constexpr std::uint16_t FreeBit = 0x0200;

    std::uint16_t flags() const { return u16(FlagsOffset); }
    void setFlags(std::uint16_t v) { setU16(FlagsOffset, v); }
    bool isMovable() const { return (flags() & MovableBit) != 0; }
    void setMovable(bool on) { setFlagBit(MovableBit, on); }
    bool isFree() const { return (flags() & FreeBit) != 0; }
    void setFree(bool on) { setFlagBit(FreeBit, on); }

    std::uint16_t days() const { return u16(DaysOffset); }
    void setDays(std::uint16_t v) { setU16(DaysOffset, v); }

    // The movable offset and the fixed month share byte 5.
    std::int16_t offset() const { return static_cast<std::int16_t>(u16(DateOffset)); }
    void setOffset(std::int16_t v) { setU16(DateOffset, static_cast<std::uint16_t>(v)); }
    std::uint8_t month() const { return u8(DateOffset + 1); }
    void setMonth(std::uint8_t v) { setU8(DateOffset + 1, v); }
    std::uint8_t day() const { return u8(DateOffset + 2); }
    void setDay(std::uint8_t v) { setU8(DateOffset + 2, v); }

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    friend bool operator==(const Holiday&, const Holiday&) = default;

private:
    void setFlagBit(std::uint16_t bit, bool on) {
        setFlags(on ? static_cast<std::uint16_t>(flags() | bit) : static_cast<std::uint16_t>(flags() & ~bit));
    }

    std::string name_;
};

// The holiday calendar of the installation: 128 slots, used or free in any order, that holiday-day programs
// refer to by slot index. Each slot has a 32-bit change mark (bit 0 name, bit 1 days, bit 3 kind/date/offset).
class HolidayTable : public ProjectSection {
public:
    static constexpr int Count = 128;
    static constexpr std::size_t EntryImageSize = 88;
    static constexpr std::size_t ImageSize = Count * EntryImageSize; // 11,264
    static constexpr std::size_t NameOffset = 8;
    static constexpr std::size_t NameBytes = 80;
    static constexpr int NamePixelLimit = 192;

    static constexpr std::uint32_t MarkName = 0x1;
    static constexpr std::uint32_t MarkDays = 0x2;
    static constexpr std::uint32_t MarkDate = 0x8;

    static constexpr std::int32_t Area = 5;
    static constexpr std::int32_t IssueBadDays = 14;
    static constexpr std::int32_t IssueBadDate = 15;
    static constexpr std::int32_t IssueDuplicateFixed = 46;
    static constexpr std::int32_t IssueDuplicateMovable = 47;

    static constexpr int NewHolidayNameText = 252;
    static constexpr int NoHolidayText = 253;
    static constexpr int TableFullText = 196;
    static constexpr std::uint8_t NoHoliday = 254;
    static constexpr std::int64_t NoHolidaySortKey = 65536;

    // Results of readHolidayFile (1, "cannot be opened", belongs to whoever reads the file).
    static constexpr int FileRead = 0;
    static constexpr int FileCannotOpen = 1;
    static constexpr int FileBadMark = 2;
    static constexpr int FileBadVersion = 3;
    // The largest holiday file: its three header bytes and one whole image.
    static constexpr std::size_t MaxFileSize = 3 + ImageSize;

    HolidayTable();

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

    const Holiday& record(int i) const;
    int usedCount() const { return usedCount_; }
    bool isFree(int i) const { return record(i).isFree(); }
    std::string name(int i) const { return record(i).name(); }
    std::uint32_t changeMark(int i) const;

    // A new movable holiday of 1 day at offset 0, named with text 252, in the first free slot; -1 when all
    // 128 slots are used (text 196).
    int addHoliday(const TextSource& texts);
    // Frees the given slots; returns the used slot to focus (the last used one at or before the lowest freed
    // slot), or -1 when there is none.
    int deleteHolidays(std::span<const int> slots);

    // Positions among used slots (0-based) and back; -1 when there is none.
    int slotOfPosition(int n) const;
    int positionOfSlot(int index) const;
    int lastUsedAtOrBefore(int index) const;
    // The holiday list of a holiday-day program: position 0 is "no holiday", position k the k-th used slot.
    std::uint8_t choiceToIndex(int position) const;
    int indexToChoice(int index) const;
    std::vector<std::string> choiceList(const TextSource& texts) const;

    // A holiday file: 'Q', 1, 2, then the holiday image (a shorter image leaves the rest erased). Returns 0 and
    // replaces the table, or 2 (not a holiday file) / 3 (another version) and changes nothing.
    int readHolidayFile(std::span<const std::uint8_t> file);

    // Sort key of slot `index`: fixed month x 256 + day, movable 65536 + offset x 256.
    std::int64_t sortKey(int index) const;
    // The key a program's holiday byte sorts by: 65536 for no holiday, an index that names no slot, or no table.
    static std::int64_t sortKeyOf(const HolidayTable* table, int index);

    // List text of the date: "DD.MM" for a fixed holiday, the offset as "+NN" / "-NN" for a movable one.
    std::string dateText(int i) const;
    // Editor text of the offset: "+N" / "-N".
    std::string offsetText(int i) const;

    // Setters of the holiday page: each stores only a differing value and then sets the slot's mark bit.
    // The name is cut to what the controller can show (192 pixels); the stored name is returned.
    std::string setName(int i, const std::string& name);
    void setDays(int i, std::uint16_t days);
    // Switching kinds keeps the date bytes unless they make no sense for the new kind: an offset outside
    // -366..366 becomes 0, a day outside 1-31 or month outside 1-12 becomes 01.01.
    void setMovable(int i, bool movable);
    void setFixedDate(int i, std::uint8_t day, std::uint8_t month);
    // An offset outside -366..366 is stored as 0; returns the stored offset.
    int setOffset(int i, int offset);

private:
    Holiday& at(int i);
    void mark(int i, std::uint32_t bits);
    void recount();

    std::array<Holiday, Count> holidays_{};
    std::array<std::uint32_t, Count> marks_{};
    int usedCount_ = 0;
};

// Reads a holiday file's bytes into `table` (see HolidayTable::readHolidayFile).
inline int readHolidayFile(HolidayTable& table, std::span<const std::uint8_t> file) {
    return table.readHolidayFile(file);
}

} // namespace tolvane
