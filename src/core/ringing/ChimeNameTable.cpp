#include "ringing/ChimeNameTable.h"

#include "device/DeviceText.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tolvane {

ChimeNameTable::ChimeNameTable() {
    reset();
}

std::size_t ChimeNameTable::checked(int i) {
    if (i < 0 || i >= Count) {
        throw std::out_of_range("chime index");
    }
    return static_cast<std::size_t>(i);
}

void ChimeNameTable::resetItem(int index) {
    const std::size_t i = checked(index);
    names_[i].clear();
    marks_[i] = 0;
}

void ChimeNameTable::reset() {
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
}

// Each slot: the name as device bytes (at most 31), a zero byte, then the 0xFF the caller filled in.
void ChimeNameTable::packImage(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("chime image too short");
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        const auto slot = image.subspan(i * SlotSize, SlotSize);
        // No width limit: a slot holds its first 31 characters.
        const std::size_t length = fittedTextToDevice(names_[i], std::numeric_limits<int>::max(), slot.first(MaxNameChars));
        slot[length] = 0;
    }
}

void ChimeNameTable::unpackImage(std::span<const std::uint8_t> image) {
    reset();
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        const std::size_t start = i * SlotSize;
        if (start >= image.size()) {
            break;
        }
        auto slot = image.subspan(start, std::min(SlotSize, image.size() - start));
        const auto zero = std::find(slot.begin(), slot.end(), std::uint8_t{0});
        slot = slot.first(static_cast<std::size_t>(zero - slot.begin()));
        names_[i] = deviceToText(slot, TextMode::Latin);
    }
}

// The body is the card image, packed straight into the file and read straight from it (a short body reads as
// erased slots after its end).
void ChimeNameTable::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        const auto image = archive.appendBody(ImageSize);
        std::fill(image.begin(), image.end(), std::uint8_t{0xFF});
        packImage(image);
        return;
    }
    unpackImage(archive.readBody(BodySize));
}

void ChimeNameTable::clearModified() {
    marks_.fill(0);
}

bool ChimeNameTable::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](std::int32_t m) { return m != 0; });
}

std::string ChimeNameTable::name(int i) const {
    return names_[checked(i)];
}

void ChimeNameTable::setName(int i, std::string_view name) {
    const std::size_t at = checked(i);
    std::u32string chars = utf8ToCodePoints(name);
    if (chars.size() > MaxNameChars) {
        chars.resize(MaxNameChars);
    }
    std::string stored = codePointsToUtf8(chars);
    if (stored != names_[at]) {
        names_[at] = std::move(stored);
        marks_[at] |= 1;
    }
}

std::int32_t ChimeNameTable::changeMark(int i) const {
    return marks_[checked(i)];
}

void ChimeNameTable::markAllChanged() {
    marks_.fill(-1);
}

// Each name in a slot of its own (31 characters take at most 124 bytes of UTF-8), so the names keep their places.
SectionState ChimeNameTable::state() const {
    SectionState s;
    s.content.reserve(Count * StateSlot);
    StateWriter content(s.content);
    for (const std::string& name : names_) {
        content.text(name, StateSlot);
    }
    StateWriter marks(s.marks);
    for (std::int32_t mark : marks_) {
        sectionstate::writeMark(marks, mark);
    }
    return s;
}

void ChimeNameTable::setState(const SectionState& state) {
    if (state.content.size() != Count * StateSlot || state.marks.size() != Count * sizeof(std::int32_t)) {
        throw std::invalid_argument("state of another section");
    }
    std::array<std::string, Count> names;
    StateReader content(state.content);
    for (std::string& name : names) {
        name = content.text(StateSlot);
    }
    names_ = std::move(names);
    StateReader marks(state.marks);
    for (std::int32_t& mark : marks_) {
        sectionstate::readMark(marks, mark);
    }
}

void ChimeNameTable::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::forEachChangedRecord(from.content, to.content, StateSlot, Count, [this](int i) {
        std::int32_t& mark = marks_[static_cast<std::size_t>(i)];
        mark = mark == 0 ? 1 : mark;
    });
}

} // namespace tolvane
