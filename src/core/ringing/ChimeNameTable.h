#pragma once

#include "section/ProjectSection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

// The names of the 300 chime melodies on the controller's card, one per melody slot, so that the operator can
// see what each slot plays. The names travel to the card as 32-byte slots of device bytes and are kept in memory as
// those bytes, so saving and loading copy them; they become text only when a name is asked for. Each name has a
// 32-bit change mark (bit 0: changed).
class ChimeNameTable : public ProjectSection {
public:
    static constexpr int Count = 300;
    static constexpr std::size_t MaxNameChars = 31;
    static constexpr std::size_t SlotSize = 32;
    static constexpr std::size_t ImageSize = Count * SlotSize;
    static constexpr std::size_t BodySize = ImageSize;

    ChimeNameTable();

    void resetItem(int index);
    void reset();
    void unpackImage(std::span<const std::uint8_t> image);
    void packImage(std::span<std::uint8_t> image) const;
    void serialize(SectionArchive& archive) override;
    void clearModified() override;
    bool isModified() const override;
    SectionState state() const override;
    void setState(const SectionState& state) override;
    void markChanges(const SectionState& from, const SectionState& to) override;

    std::string name(int i) const;
    // Stores the name (cut to its first 31 characters, all a slot can hold) and marks it when it differs.
    void setName(int i, std::string_view name);
    std::int32_t changeMark(int i) const;
    // Marks every name as changed (all bits), as after reading the names from a card.
    void markAllChanged();
    bool isChanged(int i) const { return (changeMark(i) & 1) != 0; }

private:
    static std::size_t checked(int i);
    // The name as reading its bytes gives it.
    std::string readName(std::size_t i) const;

    // Bytes of one name in the section's state: its byte count, its 32 slot bytes, then its kept text in a slot of
    // a length word and up to 124 bytes of UTF-8 (empty unless the name keeps a text of its own).
    static constexpr std::size_t TextSlot = 128;
    static constexpr std::size_t StateSlot = 1 + SlotSize + TextSlot;

    // Each name as the device bytes it is written as: lengths_[i] bytes (31 at most from setName; 32 from a slot
    // read without terminator), zero after them.
    std::array<std::array<std::uint8_t, SlotSize>, Count> bytes_{};
    std::array<std::uint8_t, Count> lengths_{};
    // The name as set, where reading its bytes back would give another text (a character the device has no byte
    // for, a tab, a letter whose byte reads as another); empty where the bytes give the name.
    std::array<std::string, Count> texts_{};
    std::array<std::int32_t, Count> marks_{};
};

} // namespace tolvane
