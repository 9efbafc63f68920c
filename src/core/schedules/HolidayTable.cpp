#include "schedules/HolidayTable.h"

#include "device/DeviceText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

constexpr std::uint8_t FileMark = 81; // 'Q'
constexpr std::uint8_t FileVersionMajor = 1;
constexpr std::uint8_t FileVersionMinor = 2;
constexpr std::size_t FileHeaderSize = 3;
constexpr int MaxOffset = 366;

bool outside(int v, int lo, int hi) {
    return v < lo || v > hi;
}

std::string format2(const char* fmt, int a, int b) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

std::string format1(const char* fmt, int a) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

} // namespace

HolidayTable::HolidayTable() {
    reset();
}

const Holiday& HolidayTable::record(int i) const {
    if (i < 0 || i >= Count) {
        throw std::out_of_range("holiday index outside 0-127");
    }
    return holidays_[static_cast<std::size_t>(i)];
}

Holiday& HolidayTable::at(int i) {
    return const_cast<Holiday&>(std::as_const(*this).record(i));
}

std::uint32_t HolidayTable::changeMark(int i) const {
    (void)record(i);
    return marks_[static_cast<std::size_t>(i)];
}

void HolidayTable::mark(int i, std::uint32_t bits) {
    marks_[static_cast<std::size_t>(i)] |= bits;
}

void HolidayTable::recount() {
    usedCount_ = static_cast<int>(
        std::count_if(holidays_.begin(), holidays_.end(), [](const Holiday& h) { return !h.isFree(); }));
}

// ---- section operations ----

void HolidayTable::resetItem(int index) {
    Holiday& h = at(index);
    h.fill(0);
    h.setFlags(Holiday::MovableBit | Holiday::FreeBit);
    h.setDays(1);
    h.setName({});
    marks_[static_cast<std::size_t>(index)] = 0;
}

void HolidayTable::reset() {
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
    usedCount_ = 0;
}

void HolidayTable::swapByteOrder(std::span<std::uint8_t> image) const {
    const std::size_t count = std::min<std::size_t>(Count, image.size() / EntryImageSize);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t base = i * EntryImageSize;
        bytes::swap16(image, base + Holiday::DaysOffset);
        // The flags word itself is never reversed, so it reads the same on both sides of the swap.
        if ((bytes::getU16LE(image, base + Holiday::FlagsOffset) & Holiday::MovableBit) != 0) {
            bytes::swap16(image, base + Holiday::DateOffset);
        }
    }
}

void HolidayTable::unpackImage(std::span<const std::uint8_t> image) {
    reset();
    // Work on a full-size copy: the caller's bytes stay untouched and a short image reads as erased slots.
    std::array<std::uint8_t, ImageSize> buf;
    buf.fill(0xFF);
    std::copy_n(image.begin(), std::min(image.size(), ImageSize), buf.begin());
    swapByteOrder(buf);
    for (int i = 0; i < Count; ++i) {
        const std::size_t base = static_cast<std::size_t>(i) * EntryImageSize;
        Holiday& h = at(i);
        std::copy_n(buf.begin() + static_cast<std::ptrdiff_t>(base), Holiday::Size, h.bytes().begin());
        if (h.isFree()) {
            continue;
        }
        const auto nameField = std::span<const std::uint8_t>(buf).subspan(base + NameOffset, NameBytes);
        const auto end = std::find(nameField.begin(), nameField.end(), std::uint8_t{0});
        h.setName(deviceToText(nameField.first(static_cast<std::size_t>(end - nameField.begin())), TextMode::Latin));
    }
    recount();
}

void HolidayTable::packImage(std::span<std::uint8_t> image) const {
    bytes::check(image.size(), 0, ImageSize);
    std::fill_n(image.begin(), ImageSize, std::uint8_t{0xFF});
    for (int i = 0; i < Count; ++i) {
        const std::size_t base = static_cast<std::size_t>(i) * EntryImageSize;
        const Holiday& h = record(i);
        std::copy(h.bytes().begin(), h.bytes().end(), image.begin() + static_cast<std::ptrdiff_t>(base));
        // At most 79 name bytes and the zero byte: the name never runs into the next holiday.
        const auto nameField = image.subspan(base + NameOffset, NameBytes);
        nameField[fittedTextToDevice(h.name(), NamePixelLimit, nameField.first(NameBytes - 1))] = 0;
    }
    swapByteOrder(image.first(ImageSize));
}

void HolidayTable::validate(IssueList& issues) const {
    for (int i = 0; i < Count; ++i) {
        const Holiday& h = record(i);
        if (h.isFree()) {
            continue;
        }
        if (outside(h.days(), 1, 366)) {
            issues.push_back({IssueBadDays, i, Area, severity::Warning});
        }
        if (!h.isMovable()) {
            if (outside(h.day(), 1, 31)) {
                issues.push_back({IssueBadDate, i, Area, severity::Warning});
            }
            if (outside(h.month(), 1, 12)) {
                issues.push_back({IssueBadDate, i, Area, severity::Warning});
            }
        }
    }
    // Each holiday that has a twin later in the table is reported once; the last of a group is not.
    for (int p = 0; p < Count; ++p) {
        const Holiday& a = record(p);
        if (a.isFree()) {
            continue;
        }
        for (int q = p + 1; q < Count; ++q) {
            const Holiday& b = record(q);
            if (b.isFree() || b.isMovable() != a.isMovable()) {
                continue;
            }
            const bool same = a.isMovable() ? a.offset() == b.offset() : (a.day() == b.day() && a.month() == b.month());
            if (same) {
                issues.push_back(
                    {a.isMovable() ? IssueDuplicateMovable : IssueDuplicateFixed, p, Area, severity::Warning});
                break;
            }
        }
    }
}

void HolidayTable::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        packImage(archive.appendBody(ImageSize));
        return;
    }
    // unpackImage reads a short body as erased slots after its end.
    unpackImage(archive.readBody(ImageSize));
}

void HolidayTable::clearModified() {
    marks_.fill(0);
}

bool HolidayTable::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](std::uint32_t m) { return m != 0; });
}

// ---- editing ----

int HolidayTable::addHoliday(const TextSource& texts) {
    for (int i = 0; i < Count; ++i) {
        if (record(i).isFree()) {
            resetItem(i);
            Holiday& h = at(i);
            h.setName(texts.text(NewHolidayNameText));
            h.setFree(false);
            marks_[static_cast<std::size_t>(i)] = 0xFFFFFFFFu;
            ++usedCount_;
            return i;
        }
    }
    return -1;
}

int HolidayTable::deleteHolidays(std::span<const int> slots) {
    std::vector<int> sorted;
    for (int s : slots) {
        if (s >= 0 && s < Count && !record(s).isFree()) {
            sorted.push_back(s);
        }
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        resetItem(*it);
        --usedCount_;
    }
    return sorted.empty() ? -1 : lastUsedAtOrBefore(sorted.front());
}

int HolidayTable::slotOfPosition(int n) const {
    if (n < 0) {
        return -1;
    }
    for (int i = 0; i < Count; ++i) {
        if (!record(i).isFree() && n-- == 0) {
            return i;
        }
    }
    return -1;
}

int HolidayTable::positionOfSlot(int index) const {
    if (index < 0 || index >= Count || record(index).isFree()) {
        return -1;
    }
    int rank = 0;
    for (int i = 0; i < index; ++i) {
        rank += record(i).isFree() ? 0 : 1;
    }
    return rank;
}

int HolidayTable::lastUsedAtOrBefore(int index) const {
    for (int i = std::min(index, Count - 1); i >= 0; --i) {
        if (!record(i).isFree()) {
            return i;
        }
    }
    return -1;
}

std::uint8_t HolidayTable::choiceToIndex(int position) const {
    if (position == 0) {
        return NoHoliday;
    }
    if (position < 0) {
        return 255;
    }
    const int slot = slotOfPosition(position - 1);
    return slot < 0 ? std::uint8_t{255} : static_cast<std::uint8_t>(slot);
}

int HolidayTable::indexToChoice(int index) const {
    if (index == NoHoliday) {
        return 0;
    }
    const int rank = positionOfSlot(index);
    return rank < 0 ? -1 : rank + 1;
}

std::vector<std::string> HolidayTable::choiceList(const TextSource& texts) const {
    std::vector<std::string> list{texts.text(NoHolidayText)};
    for (const Holiday& h : holidays_) {
        if (!h.isFree()) {
            list.push_back(h.name());
        }
    }
    return list;
}

int HolidayTable::readHolidayFile(std::span<const std::uint8_t> file) {
    if (file.empty() || file[0] != FileMark) {
        return FileBadMark;
    }
    if (file.size() < FileHeaderSize || file[1] != FileVersionMajor || file[2] != FileVersionMinor) {
        return FileBadVersion;
    }
    unpackImage(file.subspan(FileHeaderSize));
    return FileRead;
}

std::int64_t HolidayTable::sortKey(int index) const {
    const Holiday& h = record(index);
    if (h.isMovable()) {
        return 65536 + std::int64_t{h.offset()} * 256;
    }
    return std::int64_t{h.month()} * 256 + h.day();
}

std::int64_t HolidayTable::sortKeyOf(const HolidayTable* table, int index) {
    if (table == nullptr || index < 0 || index >= Count) {
        return NoHolidaySortKey;
    }
    return table->sortKey(index);
}

std::string HolidayTable::dateText(int i) const {
    const Holiday& h = record(i);
    if (!h.isMovable()) {
        return format2("%.2d.%.2d", h.day(), h.month());
    }
    return format1(h.offset() >= 0 ? "+%.2d" : "%.2d", h.offset());
}

std::string HolidayTable::offsetText(int i) const {
    const int offset = record(i).offset();
    return format1(offset >= 0 ? "+%d" : "%d", offset);
}

std::string HolidayTable::setName(int i, const std::string& name) {
    std::string fitted = fitToWidth(name, NamePixelLimit);
    if (fitted != record(i).name()) {
        at(i).setName(fitted);
        mark(i, MarkName);
    }
    return fitted;
}

void HolidayTable::setDays(int i, std::uint16_t days) {
    if (record(i).days() != days) {
        at(i).setDays(days);
        mark(i, MarkDays);
    }
}

void HolidayTable::setMovable(int i, bool movable) {
    Holiday& h = at(i);
    if (h.isMovable() == movable) {
        return;
    }
    h.setMovable(movable);
    if (movable) {
        if (outside(h.offset(), -MaxOffset, MaxOffset)) {
            h.setOffset(0);
        }
    } else if (outside(h.day(), 1, 31) || outside(h.month(), 1, 12)) {
        h.setDay(1);
        h.setMonth(1);
    }
    mark(i, MarkDate);
}

void HolidayTable::setFixedDate(int i, std::uint8_t day, std::uint8_t month) {
    if (record(i).day() != day || record(i).month() != month) {
        at(i).setDay(day);
        at(i).setMonth(month);
        mark(i, MarkDate);
    }
}

int HolidayTable::setOffset(int i, int offset) {
    if (outside(offset, -MaxOffset, MaxOffset)) {
        offset = 0;
    }
    if (record(i).offset() != offset) {
        at(i).setOffset(static_cast<std::int16_t>(offset));
        mark(i, MarkDate);
    }
    return offset;
}

// The numeric bytes of every holiday and the used count at fixed places, then the names, each with its length.
SectionState HolidayTable::state() const {
    SectionState s =
        sectionstate::tableState<Holiday, std::uint32_t>(holidays_, marks_, static_cast<std::uint32_t>(usedCount_));
    StateWriter content(s.content);
    for (const Holiday& h : holidays_) {
        content.varText(h.name());
    }
    return s;
}

void HolidayTable::setState(const SectionState& state) {
    constexpr std::size_t FixedSize = Count * Holiday::Size + 4;
    if (state.content.size() < FixedSize) {
        throw std::invalid_argument("state of another section");
    }
    std::array<std::string, Count> names;
    StateReader tail(std::span(state.content).subspan(FixedSize));
    for (std::string& name : names) {
        name = tail.varText();
    }
    if (!tail.atEnd()) {
        throw std::invalid_argument("state of another section");
    }
    const SectionState fixed{std::vector<std::uint8_t>(state.content.begin(), state.content.begin() + FixedSize),
                             state.marks};
    usedCount_ = static_cast<int>(sectionstate::setTableState<Holiday, std::uint32_t>(fixed, holidays_, marks_));
    for (int i = 0; i < Count; ++i) {
        holidays_[static_cast<std::size_t>(i)].setName(std::move(names[static_cast<std::size_t>(i)]));
    }
}

void HolidayTable::markChanges(const SectionState& from, const SectionState& to) {
    HolidayTable before;
    HolidayTable after;
    before.setState(from);
    after.setState(to);
    for (int i = 0; i < Count; ++i) {
        const Holiday& a = before.record(i);
        const Holiday& b = after.record(i);
        std::uint32_t& mark = marks_[static_cast<std::size_t>(i)];
        if (mark == 0 && (a.name() != b.name() || !std::equal(a.bytes().begin(), a.bytes().end(), b.bytes().begin()))) {
            mark = 0xFFFFFFFFu;
        }
    }
}

} // namespace tolvane
