#pragma once

#include "schedules/ProgramEntry.h"
#include "section/ProjectSection.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tolvane {

class BellTable;
class HolidayTable;

// The change-mark bit of each editable field of a program entry. Fields 0-31 live in the first mark word,
// 32-63 in the second.
enum class EntryField : int {
    Action = 0,
    Hour,
    Minute,
    Second,
    StartDay,
    StartMonth,
    Year,
    EndDay,
    EndMonth,
    Priority,
    RingingTime,
    BellDelay1,                   // 11-15: bells 1-5
    SecondTime1 = BellDelay1 + 5, // 16-20: bells 1-5
    MelodyNumber = SecondTime1 + 5,
    Repetitions,
    Days, // weekday mask or number of days
    Holiday,
    Summer,
    Winter,
    WeekParity,
    MonthParity,
    Angelus,
    StartMode,
    SilenceTargets, // for bells / for gongs
    Sequence = 32,
    Hammers,
    Time2Hour,
    Time2Minute,
    Time2Second,
    Time3Hour,
    Time3Minute,
    Time3Second,
    Time1On,
    Time2On,
    Time3On,
    FuneralRelay,
    RelayDelay,
    Steps,
    SilenceDuration,
    Identifier,
};

// The column keys by which the list of a schedule is sorted. Key 8 does not exist.
enum class SortKey : int {
    Time = 0,
    StartDate = 1,
    EndDate = 2,
    Action = 3,
    Holiday = 4,
    OneTimeDate = 5,
    Priority = 6,
    Weekdays = 7,
    Identifier = 9,
};

// What a copy of selected entries did: where the focus goes and whether the table became full on the way
// (the caller then shows text 196).
struct CopyResult {
    int focus = 0;
    int copies = 0;
    bool tableFull = false;
};

// The ringing programs of one calendar kind (weekly, holiday-day, annual, one-time, funeral tolling, special
// tolling). Used entries are contiguous from entry 0; funeral and special tolling always have all their
// entries in use. Every entry carries two 32-bit change-mark words, one bit per EntryField.
class ScheduleProgram : public ProjectSection {
public:
    static constexpr std::size_t EntrySize = ProgramEntry::Size;
    static constexpr int TableFullText = 196;

    // Validation codes, in the order one entry is checked.
    static constexpr std::int32_t IssueNoWeekday = 2;
    static constexpr std::int32_t IssueBadHoliday = 9;
    static constexpr std::int32_t IssueBadStartDate = 6;
    static constexpr std::int32_t IssueBadEndDate = 7;
    static constexpr std::int32_t IssueBadDate = 8;
    static constexpr std::int32_t IssueBadDayCount = 10;
    static constexpr std::int32_t IssueBadTime = 11;
    static constexpr std::int32_t IssueBadPriority = 12;
    static constexpr std::int32_t IssueNoSeason = 13;
    static constexpr std::int32_t IssueDisabledBell = 3;
    static constexpr std::int32_t IssueBadMelody = 4;
    static constexpr std::int32_t IssueBadRepetitions = 5;

    // `kind` is a ProgramKind; a number that names no kind throws std::out_of_range.
    explicit ScheduleProgram(int kind);

    // The bell table and the holiday table are consulted by validation, sorting and the holiday text; the id
    // source gives new entries their number (without one, the smallest number not used in this section).
    void setReferences(const BellTable* bells, const HolidayTable* holidays,
                       std::function<std::uint16_t()> nextFreeEntryId);

    ProgramKind kind() const { return kind_; }
    int capacity() const { return static_cast<int>(entries_.size()); }
    int usedCount() const { return usedCount_; }
    const ProgramEntry& entry(int i) const;
    const HolidayTable* holidayTable() const { return holidays_; }

    // The section operations.
    void resetItem(int index);
    void reset();
    // Appends a default entry in use with a new identifier; -1 when the table is full.
    int addItem();
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

    // Change marks.
    std::uint32_t markWord(int i, int word) const;
    bool isMarked(int i, EntryField field) const;

    // Editing operations of the schedule pages.
    // Add button: a new entry with the marks of an added entry; -1 when the table is full (text 196).
    int addEntry();
    // Copy button: the selected used entries, in index order, appended with new identifiers until the table is
    // full. Does nothing (and reports nothing) when the table is already full.
    CopyResult copyEntries(std::span<const int> selected);
    // Delete button: removes the selected used entries; returns the index to focus. Never removes funeral or
    // special tolling entries.
    int deleteEntries(std::span<const int> selected);
    // Paste: appends a copy of `entry` in use, with a new identifier and the marks of an added entry; -1 when the
    // table is full or the kind has no Add.
    int appendEntry(const ProgramEntry& entry);
    // Writes the values the editor shows for entry i where they differ from the stored ones (see
    // programediting::shownEntry), without marks: done as part of the user's next edit of that entry, so that
    // merely looking at an entry never changes the project. Returns whether a byte changed.
    bool storeShownValues(int i);
    // Stable bubble sort of the used entries by `key`; returns where the entry at `focused` ended up.
    // Funeral and special tolling programs keep their order.
    int sortEntries(SortKey key, int focused);
    std::int64_t sortKey(int i, SortKey key) const;

    // Setters of the entry editor: each writes the value and sets the field's mark only when it differs.
    void setAction(int i, std::uint8_t action);
    void setTime(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second);
    void setStartDate(int i, std::uint8_t day, std::uint8_t month);
    void setEndDate(int i, std::uint8_t day, std::uint8_t month);
    void setYear(int i, std::uint8_t year);
    void setPriority(int i, std::uint8_t priority);
    void setRingingTime(int i, std::uint16_t seconds);
    void setBellDelay(int i, int bell, std::uint16_t seconds);
    void setBellSecondTime(int i, int bell, std::uint16_t seconds);
    void setMelodyNumber(int i, std::uint16_t number);
    void setRepetitions(int i, std::uint8_t count);
    void setDays(int i, std::uint8_t maskOrCount);
    void setHolidayIndex(int i, std::uint8_t index);
    void setSummer(int i, bool on);
    void setWinter(int i, bool on);
    void setWeekParity(int i, bool odd, bool even);
    void setMonthParity(int i, bool odd, bool even);
    void setAngelus(int i, bool on);
    void setStartMode(int i, FuneralStartMode mode);
    void setSilenceDuration(int i, std::uint32_t seconds);
    void setSilenceTargets(int i, bool bells, bool gongs);
    void setSequenceIndex(int i, std::uint8_t index);
    void setHammerBits(int i, std::uint8_t bits);
    void setTime2(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second);
    void setTime3(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second);
    void setTimeOn(int i, int which, bool on);
    void setFuneralRelayUsed(int i, bool on);
    void setRelayDelay(int i, std::uint8_t seconds);
    void setSteps(int i, std::uint8_t halfSteps);
    void setIdentifier(int i, std::uint16_t id);

private:
    using Marks = std::array<std::uint32_t, 2>;

    ProgramEntry& at(int i);
    void setMark(int i, EntryField field);
    // Applies `change` to entry i and marks `field` when any byte changed.
    void edit(int i, EntryField field, const std::function<void(ProgramEntry&)>& change);
    std::uint16_t newIdentifier() const;
    bool isTolling() const { return isTollingKind(kind_); }
    void recountUsed();

    ProgramKind kind_;
    std::vector<ProgramEntry> entries_;
    std::vector<Marks> marks_;
    int usedCount_ = 0;
    const BellTable* bells_ = nullptr;
    const HolidayTable* holidays_ = nullptr;
    std::function<std::uint16_t()> nextFreeEntryId_;
};

} // namespace tolvane
