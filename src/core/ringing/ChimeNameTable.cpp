#include "ringing/ChimeNameTable.h"

#include "device/DeviceText.h"

#include <algorithm>
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
void ChimeNameTable::packImage(std::span<std::uint8_t> image) {
    if (image.size() < ImageSize) {
        throw std::out_of_range("chime image too short");
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        std::vector<std::uint8_t> device = textToDevice(names_[i], MaxNameChars);
        // The conversion ends with its zero byte; the terminator is written below, where it always fits.
        if (!device.empty()) {
            device.pop_back();
        }
        if (device.size() > MaxNameChars) {
            device.resize(MaxNameChars);
        }
        const auto slot = image.subspan(i * SlotSize, SlotSize);
        std::copy(device.begin(), device.end(), slot.begin());
        slot[device.size()] = 0;
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

void ChimeNameTable::serialize(SectionArchive& archive) {
    std::vector<std::uint8_t> image(ImageSize, 0xFF);
    if (archive.isStoring()) {
        packImage(image);
        archive.writeBody(image);
        return;
    }
    const auto body = archive.readBody(BodySize);
    std::copy(body.begin(), body.end(), image.begin());
    unpackImage(image);
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
