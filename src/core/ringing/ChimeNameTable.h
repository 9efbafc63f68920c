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
// see what each slot plays. The names travel to the card as 32-byte slots of device bytes; each name has a
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

    // Bytes of one name in the section's state: a length word and up to 124 bytes of UTF-8.
    static constexpr std::size_t StateSlot = 128;

    std::array<std::string, Count> names_{};
    std::array<std::int32_t, Count> marks_{};
};

} // namespace tolvane
