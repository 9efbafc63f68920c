#include "ringing/ChimeNameTable.h"

#include "device/DeviceText.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tolvane {

namespace {

// What reading a name from the card and writing it back does to each device byte: reading turns the byte into a
// character (Latin mode), writing turns that character into a byte again. Worked out once from the conversions
// themselves, so a name read as bytes is written exactly as converting it to text and back would write it.
struct ByteReadBack {
    // Reading a name stops at this byte (it reads as character 255).
    std::array<bool, 256> ends{};
    // The byte the character read from this byte is written as.
    std::array<std::uint8_t, 256> written{};
    // Reading the written byte gives the character that reading this byte gave.
    std::array<bool, 256> faithful{};
};

ByteReadBack makeByteReadBack() {
    ByteReadBack table;
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<std::size_t>(v);
        const char32_t c = deviceToChar(static_cast<std::uint8_t>(v), TextMode::Latin);
        table.ends[b] = c == 255;
        std::array<std::uint8_t, 1> out{};
        fittedTextToDevice(codePointsToUtf8(std::u32string(1, c)), std::numeric_limits<int>::max(), out);
        table.written[b] = out[0];
        table.faithful[b] = out[0] != 0xFF && deviceToChar(out[0], TextMode::Latin) == c;
    }
    return table;
}

const ByteReadBack& byteReadBack() {
    static const ByteReadBack table = makeByteReadBack();
    return table;
}

} // namespace

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
    bytes_[i].fill(0);
    lengths_[i] = 0;
    texts_[i].clear();
    marks_[i] = 0;
}

void ChimeNameTable::reset() {
    for (auto& slot : bytes_) {
        slot.fill(0);
    }
    lengths_.fill(0);
    for (std::string& text : texts_) {
        text.clear();
    }
    marks_.fill(0);
}

std::string ChimeNameTable::readName(std::size_t i) const {
    return deviceToText(std::span<const std::uint8_t>(bytes_[i]).first(lengths_[i]), TextMode::Latin);
}

// Each slot: the name as device bytes (at most 31), a zero byte, then the 0xFF the caller filled in.
void ChimeNameTable::packImage(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("chime image too short");
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        const auto slot = image.subspan(i * SlotSize, SlotSize);
        // A slot holds the first 31 bytes of a name read without terminator.
        const std::size_t length = std::min<std::size_t>(lengths_[i], MaxNameChars);
        std::copy_n(bytes_[i].begin(), length, slot.begin());
        slot[length] = 0;
    }
}

// A slot reads up to its zero byte; erased memory (a first byte 0xFF) and a byte that reads as character 255 end
// it too. Each byte is kept as it will be written back. Where reading a written byte would give another character
// than the card's byte gave, the name keeps the text read from the card.
void ChimeNameTable::unpackImage(std::span<const std::uint8_t> image) {
    reset();
    const ByteReadBack& table = byteReadBack();
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        const std::size_t start = i * SlotSize;
        if (start >= image.size()) {
            break;
        }
        const auto slot = image.subspan(start, std::min(SlotSize, image.size() - start));
        if (slot[0] == 0xFF) {
            continue; // erased memory
        }
        std::array<std::uint8_t, SlotSize>& bytes = bytes_[i];
        std::size_t length = 0;
        bool faithful = true;
        for (const std::uint8_t b : slot) {
            if (b == 0 || table.ends[b]) {
                break;
            }
            bytes[length++] = table.written[b];
            faithful = faithful && table.faithful[b];
        }
        lengths_[i] = static_cast<std::uint8_t>(length);
        if (!faithful) {
            std::string read = deviceToText(slot.first(length), TextMode::Latin);
            if (read != readName(i)) {
                texts_[i] = std::move(read);
            }
        }
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
    const std::size_t at = checked(i);
    return texts_[at].empty() ? readName(at) : texts_[at];
}

void ChimeNameTable::setName(int i, std::string_view name) {
    const std::size_t at = checked(i);
    std::u32string chars = utf8ToCodePoints(name);
    if (chars.size() > MaxNameChars) {
        chars.resize(MaxNameChars);
    }
    std::string stored = codePointsToUtf8(chars);
    if (stored == this->name(i)) {
        return;
    }
    std::array<std::uint8_t, SlotSize> bytes{};
    // No width limit: a slot holds its first 31 characters.
    const std::size_t length =
        fittedTextToDevice(stored, std::numeric_limits<int>::max(), std::span<std::uint8_t>(bytes).first(MaxNameChars));
    bytes_[at] = bytes;
    lengths_[at] = static_cast<std::uint8_t>(length);
    if (readName(at) == stored) {
        texts_[at].clear();
    } else {
        texts_[at] = std::move(stored);
    }
    marks_[at] |= 1;
}

std::int32_t ChimeNameTable::changeMark(int i) const {
    return marks_[checked(i)];
}

void ChimeNameTable::markAllChanged() {
    marks_.fill(-1);
}

// Each name in a record of its own (its bytes, then the text it keeps: 31 characters take at most 124 bytes of
// UTF-8), so the names keep their places and two states differ in a record exactly where the names differ.
SectionState ChimeNameTable::state() const {
    SectionState s;
    s.content.reserve(Count * StateSlot);
    StateWriter content(s.content);
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        content.bytes(std::span<const std::uint8_t>(&lengths_[i], 1));
        content.bytes(bytes_[i]);
        content.text(texts_[i], TextSlot);
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
    std::array<std::array<std::uint8_t, SlotSize>, Count> bytes{};
    std::array<std::uint8_t, Count> lengths{};
    std::array<std::string, Count> texts;
    StateReader content(state.content);
    for (std::size_t i = 0; i < static_cast<std::size_t>(Count); ++i) {
        content.bytes(std::span<std::uint8_t>(&lengths[i], 1));
        if (lengths[i] > SlotSize) {
            throw std::invalid_argument("name length of a state");
        }
        content.bytes(bytes[i]);
        texts[i] = content.text(TextSlot);
    }
    bytes_ = bytes;
    lengths_ = lengths;
    texts_ = std::move(texts);
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
