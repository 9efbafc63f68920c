#include "schedules/ScheduleProgram.h"

#include "ringing/BellTable.h"
#include "schedules/HolidayTable.h"
#include "schedules/ProgramEditing.h"

#include <algorithm>
#include <bitset>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

constexpr std::uint32_t AllBits = 0xFFFFFFFFu;
constexpr std::uint16_t MaxEntryId = 512;

// The kind a number names; a number that names none throws std::out_of_range.
ProgramKind checkedKind(int kind) {
    if (kind < Weekly || kind > SpecialTolling) {
        throw std::out_of_range("schedule kind outside 0-5");
    }
    return static_cast<ProgramKind>(kind);
}

std::size_t capacityOf(ProgramKind kind) {
    switch (kind) {
    case Funeral:
        return 8;
    case SpecialTolling:
        return 3;
    default:
        return 128;
    }
}

bool outside(int v, int lo, int hi) {
    return v < lo || v > hi;
}

// The mark of the n-th of `count` consecutive fields (bells 1-5, funeral times 1-3).
EntryField nthField(EntryField first, int n, int count) {
    if (n < 0 || n >= count) {
        throw std::out_of_range("field number outside its range");
    }
    return static_cast<EntryField>(static_cast<int>(first) + n);
}

std::uint8_t reverseBits(std::uint8_t b) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r = static_cast<std::uint8_t>((r << 1) | ((b >> i) & 1u));
    }
    return r;
}

} // namespace

ScheduleProgram::ScheduleProgram(int kind)
    : kind_(checkedKind(kind)), entries_(capacityOf(kind_)), marks_(capacityOf(kind_)) {
    reset();
}

void ScheduleProgram::setReferences(const BellTable* bells, const HolidayTable* holidays,
                                    std::function<std::uint16_t()> nextFreeEntryId) {
    bells_ = bells;
    holidays_ = holidays;
    nextFreeEntryId_ = std::move(nextFreeEntryId);
}

const ProgramEntry& ScheduleProgram::entry(int i) const {
    if (i < 0 || i >= capacity()) {
        throw std::out_of_range("program entry index outside the capacity");
    }
    return entries_[static_cast<std::size_t>(i)];
}

ProgramEntry& ScheduleProgram::at(int i) {
    return const_cast<ProgramEntry&>(std::as_const(*this).entry(i));
}

// ---- section operations ----

void ScheduleProgram::resetItem(int index) {
    at(index) = ProgramEntry::defaultFor(kind_);
    marks_[static_cast<std::size_t>(index)] = {AllBits, AllBits};
}

void ScheduleProgram::reset() {
    clearModified();
    usedCount_ = isTolling() ? capacity() : 0;
    for (int i = 0; i < capacity(); ++i) {
        resetItem(i);
    }
}

int ScheduleProgram::addItem() {
    if (usedCount_ >= capacity()) {
        return -1;
    }
    const int index = usedCount_;
    resetItem(index);
    at(index).setFree(false);
    at(index).setIdentifier(newIdentifier());
    ++usedCount_;
    return index;
}

void ScheduleProgram::swapByteOrder(std::span<std::uint8_t> image) const {
    const std::size_t count = std::min<std::size_t>(entries_.size(), image.size() / EntrySize);
    for (std::size_t i = 0; i < count; ++i) {
        ProgramEntry::swapByteOrder(image.subspan(i * EntrySize).first<EntrySize>());
    }
}

void ScheduleProgram::unpackImage(std::span<const std::uint8_t> image) {
    reset();
    // Funeral and special tolling take every position: their entries are always all in use. The calendar
    // kinds stop at the first free entry.
    const std::size_t count = std::min<std::size_t>(entries_.size(), image.size() / EntrySize);
    int taken = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ProgramEntry e;
        const auto src = image.subspan(i * EntrySize, EntrySize);
        std::copy(src.begin(), src.end(), e.bytes().begin());
        ProgramEntry::swapByteOrder(e.bytes());
        if (!isTolling() && e.isFree()) {
            break;
        }
        at(taken++) = e;
    }
    usedCount_ = isTolling() ? capacity() : taken;
}

void ScheduleProgram::packImage(std::span<std::uint8_t> image) const {
    bytes::check(image.size(), 0, entries_.size() * EntrySize);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        ProgramEntry e = entries_[i];
        e.setSeconds(e.timeOfDaySeconds());
        e.setU8(ProgramEntry::Reserved19Offset, 0);
        e.setU8(ProgramEntry::Reserved23Offset, 0);
        if (kind_ == Weekly || kind_ == Annual) {
            e.setDateByteA(0);
            e.setDateByteB(0);
        } else if (kind_ == HolidayDay) {
            e.setStartMonth(0);
            e.setStartDay(0);
            e.setEndMonth(0);
            e.setEndDay(0);
            e.setDateByteB(ProgramEntry::NoHoliday);
        }
        ProgramEntry::swapByteOrder(e.bytes());
        std::copy(e.bytes().begin(), e.bytes().end(), image.begin() + static_cast<std::ptrdiff_t>(i * EntrySize));
    }
}

void ScheduleProgram::validate(IssueList& issues) const {
    const bool calendarWeekdays = kind_ == Weekly || kind_ == HolidayDay;
    for (int i = 0; i < usedCount_; ++i) {
        const ProgramEntry& e = entry(i);
        auto add = [&](std::int32_t code, std::int32_t sev) { issues.push_back({code, i, kind_, sev}); };

        if (calendarWeekdays && e.days() == 0) {
            add(IssueNoWeekday, severity::Warning);
        }
        if (kind_ == HolidayDay && e.holidayIndex() != ProgramEntry::NoHoliday) {
            const int h = e.holidayIndex();
            if (h >= 128 || (holidays_ != nullptr && holidays_->isFree(h))) {
                add(IssueBadHoliday, severity::Critical);
            }
        }
        if ((kind_ == Weekly || kind_ == Annual) && (outside(e.startDay(), 1, 31) || outside(e.startMonth(), 1, 12))) {
            add(IssueBadStartDate, severity::Critical);
        }
        if (kind_ == Weekly && (outside(e.endDay(), 1, 31) || outside(e.endMonth(), 1, 12))) {
            add(IssueBadEndDate, severity::Critical);
        }
        if (kind_ == OneTime && (outside(e.startDay(), 1, 31) || outside(e.startMonth(), 1, 12))) {
            add(IssueBadDate, severity::Critical);
        }
        if (kind_ == Funeral && outside(e.days(), 1, 9)) {
            add(IssueBadDayCount, severity::Critical);
        }
        if (e.hour() > 23 || e.minute() > 59 || e.second() > 59) {
            add(IssueBadTime, severity::Critical);
        }
        if (kind_ != Funeral && e.priority() > 15) {
            add(IssueBadPriority, severity::Critical);
        }
        if (!e.summer() && !e.winter()) {
            add(IssueNoSeason, severity::Note);
        }
        if (e.action() == ProgramEntry::ActionBells && bells_ != nullptr) {
            for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
                if (e.bellRung(bell) && bells_->bellDisabled(bell)) {
                    add(IssueDisabledBell, severity::Warning);
                    break;
                }
            }
        }
        if (e.action() == ProgramEntry::ActionMelody) {
            if (outside(e.melodyNumber(), 1, 1000)) {
                add(IssueBadMelody, severity::Critical);
            }
            if (outside(e.repetitions(), 1, 9)) {
                add(IssueBadRepetitions, severity::Critical);
            }
        }
    }
}

void ScheduleProgram::serialize(SectionArchive& archive) {
    const std::size_t capacityBytes = entries_.size() * EntrySize;
    if (archive.isStoring()) {
        auto body = archive.appendBody(capacityBytes).begin();
        for (const ProgramEntry& e : entries_) {
            body = std::copy(e.bytes().begin(), e.bytes().end(), body);
        }
        return;
    }
    // A shorter body overwrites only the leading bytes of the table.
    const auto body = archive.readBody(capacityBytes);
    for (std::size_t start = 0, e = 0; start < body.size(); start += EntrySize, ++e) {
        const std::size_t n = std::min(EntrySize, body.size() - start);
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(start), n, entries_[e].bytes().begin());
    }
    recountUsed();
}

void ScheduleProgram::recountUsed() {
    if (isTolling()) {
        usedCount_ = capacity();
        return;
    }
    usedCount_ = 0;
    while (usedCount_ < capacity() && !entry(usedCount_).isFree()) {
        ++usedCount_;
    }
}

void ScheduleProgram::clearModified() {
    std::fill(marks_.begin(), marks_.end(), Marks{0, 0});
}

bool ScheduleProgram::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](const Marks& m) { return m[0] != 0 || m[1] != 0; });
}

// ---- change marks ----

std::uint32_t ScheduleProgram::markWord(int i, int word) const {
    (void)entry(i);
    return marks_[static_cast<std::size_t>(i)].at(static_cast<std::size_t>(word));
}

bool ScheduleProgram::isMarked(int i, EntryField field) const {
    const int bit = static_cast<int>(field);
    return ((markWord(i, bit / 32) >> (bit % 32)) & 1u) != 0;
}

void ScheduleProgram::setMark(int i, EntryField field) {
    const int bit = static_cast<int>(field);
    marks_[static_cast<std::size_t>(i)][static_cast<std::size_t>(bit / 32)] |= 1u << (bit % 32);
}

void ScheduleProgram::edit(int i, EntryField field, const std::function<void(ProgramEntry&)>& change) {
    ProgramEntry& e = at(i);
    const ProgramEntry before = e;
    change(e);
    if (!(e == before)) {
        setMark(i, field);
    }
}

// ---- editing operations ----

std::uint16_t ScheduleProgram::newIdentifier() const {
    if (nextFreeEntryId_) {
        return nextFreeEntryId_();
    }
    std::bitset<MaxEntryId + 1> taken;
    for (const ProgramEntry& e : entries_) {
        if (e.identifier() >= 1 && e.identifier() <= MaxEntryId) {
            taken.set(e.identifier());
        }
    }
    for (std::uint16_t id = 1; id <= MaxEntryId; ++id) {
        if (!taken.test(id)) {
            return id;
        }
    }
    return 1;
}

int ScheduleProgram::addEntry() {
    const int index = addItem();
    if (index >= 0) {
        marks_[static_cast<std::size_t>(index)] = {AllBits, 0};
    }
    return index;
}

CopyResult ScheduleProgram::copyEntries(std::span<const int> selected) {
    CopyResult result;
    if (usedCount_ >= capacity()) {
        return result;
    }
    std::vector<int> rows;
    for (int r : selected) {
        if (r >= 0 && r < usedCount_) {
            rows.push_back(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        return result;
    }
    result.focus = rows.front();
    for (int r : rows) {
        const int dest = usedCount_;
        at(dest) = entry(r);
        at(dest).setIdentifier(newIdentifier());
        marks_[static_cast<std::size_t>(dest)] = {AllBits, 0};
        ++usedCount_;
        ++result.copies;
        if (usedCount_ >= capacity()) {
            result.tableFull = true;
            break;
        }
    }
    return result;
}

int ScheduleProgram::deleteEntries(std::span<const int> selected) {
    if (isTolling() || usedCount_ == 0) {
        return 0;
    }
    std::vector<int> rows;
    for (int r : selected) {
        if (r >= 0 && r < usedCount_) {
            rows.push_back(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        return 0;
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const auto r = static_cast<std::size_t>(*it);
        const auto last = static_cast<std::size_t>(usedCount_ - 1);
        std::move(entries_.begin() + static_cast<std::ptrdiff_t>(r + 1),
                  entries_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  entries_.begin() + static_cast<std::ptrdiff_t>(r));
        std::move(marks_.begin() + static_cast<std::ptrdiff_t>(r + 1),
                  marks_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  marks_.begin() + static_cast<std::ptrdiff_t>(r));
        entries_[last].fill(0xFF);
        marks_[last] = {0, 0};
        --usedCount_;
    }
    if (usedCount_ == 0) {
        return 0;
    }
    return std::max(rows.front() - 1, 0);
}

int ScheduleProgram::appendEntry(const ProgramEntry& source) {
    if (isTolling() || usedCount_ >= capacity()) {
        return -1;
    }
    const int dest = usedCount_;
    at(dest) = source;
    at(dest).setFree(false);
    // The number the program had in its own project says nothing here: it must not count as taken.
    at(dest).setIdentifier(0);
    at(dest).setIdentifier(newIdentifier());
    marks_[static_cast<std::size_t>(dest)] = {AllBits, 0};
    ++usedCount_;
    return dest;
}

bool ScheduleProgram::storeShownValues(int i) {
    ProgramEntry& e = at(i);
    const ProgramEntry shown = programediting::shownEntry(e);
    if (shown == e) {
        return false;
    }
    e = shown;
    return true;
}

std::int64_t ScheduleProgram::sortKey(int i, SortKey key) const {
    const ProgramEntry& e = entry(i);
    const std::int64_t t = e.hour() * 65536LL + e.minute() * 256LL + e.second();
    switch (key) {
    case SortKey::Time:
        return t;
    case SortKey::StartDate:
        return (std::int64_t{e.startMonth()} << 32) + (std::int64_t{e.startDay()} << 24) + t;
    case SortKey::EndDate:
        return (std::int64_t{e.endMonth()} << 32) + (std::int64_t{e.endDay()} << 24) + t;
    case SortKey::Action:
        return e.action() * 65536LL + (e.action() == ProgramEntry::ActionMelody ? e.melodyNumber() : 0);
    case SortKey::Holiday:
        return HolidayTable::sortKeyOf(holidays_, e.holidayIndex());
    case SortKey::OneTimeDate:
        return (std::int64_t{e.year()} << 40) + (std::int64_t{e.startMonth()} << 32) +
               (std::int64_t{e.startDay()} << 24) + t;
    case SortKey::Priority:
        return (std::int64_t{e.priority()} << 24) + t;
    case SortKey::Weekdays:
        return (std::int64_t{reverseBits(e.weekdayMask())} << 24) + t;
    case SortKey::Identifier:
        return (std::int64_t{e.identifier()} << 24) + t;
    }
    return t;
}

int ScheduleProgram::sortEntries(SortKey key, int focused) {
    if (isTolling() || usedCount_ < 2) {
        return focused;
    }
    std::vector<std::int64_t> keys(static_cast<std::size_t>(usedCount_));
    for (int i = 0; i < usedCount_; ++i) {
        keys[static_cast<std::size_t>(i)] = sortKey(i, key);
    }
    int limit = usedCount_ - 1;
    while (limit > 0) {
        int lastSwap = -1;
        for (int i = 0; i < limit; ++i) {
            const auto a = static_cast<std::size_t>(i);
            if (keys[a] > keys[a + 1]) {
                std::swap(keys[a], keys[a + 1]);
                std::swap(entries_[a], entries_[a + 1]);
                std::swap(marks_[a], marks_[a + 1]);
                if (focused == i) {
                    focused = i + 1;
                } else if (focused == i + 1) {
                    focused = i;
                }
                lastSwap = i;
            }
        }
        if (lastSwap < 0) {
            break;
        }
        limit = lastSwap;
    }
    return focused;
}

// ---- setters ----

void ScheduleProgram::setAction(int i, std::uint8_t action) {
    edit(i, EntryField::Action, [&](ProgramEntry& e) { e.setAction(action); });
}

void ScheduleProgram::setTime(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second) {
    edit(i, EntryField::Hour, [&](ProgramEntry& e) { e.setHour(hour); });
    edit(i, EntryField::Minute, [&](ProgramEntry& e) { e.setMinute(minute); });
    edit(i, EntryField::Second, [&](ProgramEntry& e) { e.setSecond(second); });
}

void ScheduleProgram::setStartDate(int i, std::uint8_t day, std::uint8_t month) {
    edit(i, EntryField::StartDay, [&](ProgramEntry& e) { e.setStartDay(day); });
    edit(i, EntryField::StartMonth, [&](ProgramEntry& e) { e.setStartMonth(month); });
}

void ScheduleProgram::setEndDate(int i, std::uint8_t day, std::uint8_t month) {
    edit(i, EntryField::EndDay, [&](ProgramEntry& e) { e.setEndDay(day); });
    edit(i, EntryField::EndMonth, [&](ProgramEntry& e) { e.setEndMonth(month); });
}

void ScheduleProgram::setYear(int i, std::uint8_t year) {
    edit(i, EntryField::Year, [&](ProgramEntry& e) { e.setYear(year); });
}

void ScheduleProgram::setPriority(int i, std::uint8_t priority) {
    edit(i, EntryField::Priority, [&](ProgramEntry& e) { e.setPriority(priority); });
}

void ScheduleProgram::setRingingTime(int i, std::uint16_t seconds) {
    edit(i, EntryField::RingingTime, [&](ProgramEntry& e) { e.setRingingTime(seconds); });
}

void ScheduleProgram::setBellDelay(int i, int bell, std::uint16_t seconds) {
    edit(i, nthField(EntryField::BellDelay1, bell, ProgramEntry::BellCount),
         [&](ProgramEntry& e) { e.setBellDelay(bell, seconds); });
}

void ScheduleProgram::setBellSecondTime(int i, int bell, std::uint16_t seconds) {
    edit(i, nthField(EntryField::SecondTime1, bell, ProgramEntry::BellCount),
         [&](ProgramEntry& e) { e.setSecondTime(bell, seconds); });
}

void ScheduleProgram::setMelodyNumber(int i, std::uint16_t number) {
    edit(i, EntryField::MelodyNumber, [&](ProgramEntry& e) { e.setMelodyNumber(number); });
}

void ScheduleProgram::setRepetitions(int i, std::uint8_t count) {
    edit(i, EntryField::Repetitions, [&](ProgramEntry& e) { e.setRepetitions(count); });
}

void ScheduleProgram::setDays(int i, std::uint8_t maskOrCount) {
    edit(i, EntryField::Days, [&](ProgramEntry& e) { e.setDays(maskOrCount); });
}

void ScheduleProgram::setHolidayIndex(int i, std::uint8_t index) {
    edit(i, EntryField::Holiday, [&](ProgramEntry& e) { e.setHolidayIndex(index); });
}

void ScheduleProgram::setSummer(int i, bool on) {
    edit(i, EntryField::Summer, [&](ProgramEntry& e) { e.setSummer(on); });
}

void ScheduleProgram::setWinter(int i, bool on) {
    edit(i, EntryField::Winter, [&](ProgramEntry& e) { e.setWinter(on); });
}

// At least one parity stays on: with both off, even weeks (months) is switched on again.
void ScheduleProgram::setWeekParity(int i, bool odd, bool even) {
    edit(i, EntryField::WeekParity, [&](ProgramEntry& e) {
        e.setOddWeeks(odd);
        e.setEvenWeeks(even || !odd);
    });
}

void ScheduleProgram::setMonthParity(int i, bool odd, bool even) {
    edit(i, EntryField::MonthParity, [&](ProgramEntry& e) {
        e.setOddMonths(odd);
        e.setEvenMonths(even || !odd);
    });
}

void ScheduleProgram::setAngelus(int i, bool on) {
    edit(i, EntryField::Angelus, [&](ProgramEntry& e) { e.setAngelus(on); });
}

void ScheduleProgram::setStartMode(int i, FuneralStartMode mode) {
    edit(i, EntryField::StartMode, [&](ProgramEntry& e) { e.setStartMode(mode); });
}

void ScheduleProgram::setSilenceDuration(int i, std::uint32_t seconds) {
    edit(i, EntryField::SilenceDuration, [&](ProgramEntry& e) { e.setSilenceSeconds(seconds); });
}

// A silence applies to something: with both off, it applies to the bells again.
void ScheduleProgram::setSilenceTargets(int i, bool bells, bool gongs) {
    edit(i, EntryField::SilenceTargets, [&](ProgramEntry& e) {
        e.setSilenceForBells(bells || !gongs);
        e.setSilenceForGongs(gongs);
    });
}

void ScheduleProgram::setSequenceIndex(int i, std::uint8_t index) {
    edit(i, EntryField::Sequence, [&](ProgramEntry& e) { e.setSequenceIndex(index); });
}

void ScheduleProgram::setHammerBits(int i, std::uint8_t bits) {
    edit(i, EntryField::Hammers, [&](ProgramEntry& e) { e.setHammerBits(bits); });
}

void ScheduleProgram::setTime2(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second) {
    edit(i, EntryField::Time2Hour, [&](ProgramEntry& e) { e.setTime2(hour, e.time2Minute(), e.time2Second()); });
    edit(i, EntryField::Time2Minute, [&](ProgramEntry& e) { e.setTime2(e.time2Hour(), minute, e.time2Second()); });
    edit(i, EntryField::Time2Second, [&](ProgramEntry& e) { e.setTime2(e.time2Hour(), e.time2Minute(), second); });
}

void ScheduleProgram::setTime3(int i, std::uint8_t hour, std::uint8_t minute, std::uint8_t second) {
    edit(i, EntryField::Time3Hour, [&](ProgramEntry& e) { e.setTime3(hour, e.time3Minute(), e.time3Second()); });
    edit(i, EntryField::Time3Minute, [&](ProgramEntry& e) { e.setTime3(e.time3Hour(), minute, e.time3Second()); });
    edit(i, EntryField::Time3Second, [&](ProgramEntry& e) { e.setTime3(e.time3Hour(), e.time3Minute(), second); });
}

void ScheduleProgram::setTimeOn(int i, int which, bool on) {
    edit(i, nthField(EntryField::Time1On, which - 1, 3), [&](ProgramEntry& e) { e.setTimeOn(which, on); });
}

void ScheduleProgram::setFuneralRelayUsed(int i, bool on) {
    edit(i, EntryField::FuneralRelay, [&](ProgramEntry& e) { e.setFuneralRelayUsed(on); });
}

void ScheduleProgram::setRelayDelay(int i, std::uint8_t seconds) {
    edit(i, EntryField::RelayDelay, [&](ProgramEntry& e) { e.setRelayDelay(seconds); });
}

void ScheduleProgram::setSteps(int i, std::uint8_t halfSteps) {
    edit(i, EntryField::Steps, [&](ProgramEntry& e) { e.setSteps(halfSteps); });
}

void ScheduleProgram::setIdentifier(int i, std::uint16_t id) {
    edit(i, EntryField::Identifier, [&](ProgramEntry& e) { e.setIdentifier(id); });
}

SectionState ScheduleProgram::state() const {
    return sectionstate::tableState<ProgramEntry, Marks>(entries_, marks_, static_cast<std::uint32_t>(usedCount_));
}

void ScheduleProgram::setState(const SectionState& state) {
    usedCount_ = static_cast<int>(sectionstate::setTableState<ProgramEntry, Marks>(state, entries_, marks_));
}

void ScheduleProgram::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<ProgramEntry, Marks>(from, to, marks_, Marks{AllBits, AllBits});
}

} // namespace tolvane
