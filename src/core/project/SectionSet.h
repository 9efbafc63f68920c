#pragma once

#include "project/ProjectData.h"

#include <cstdint>

namespace tolvane {

// A set of sections: which ones a change touched, which ones a page shows.
class SectionSet {
public:
    constexpr SectionSet() = default;
    static constexpr SectionSet all() { return SectionSet((1u << SectionIdCount) - 1u); }
    template <typename... Ids> static constexpr SectionSet of(Ids... ids) {
        return SectionSet(((1u << static_cast<unsigned>(ids)) | ... | 0u));
    }

    constexpr void add(SectionId id) { bits_ |= 1u << static_cast<unsigned>(id); }
    constexpr bool contains(SectionId id) const { return (bits_ & (1u << static_cast<unsigned>(id))) != 0; }
    constexpr bool intersects(SectionSet other) const { return (bits_ & other.bits_) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr SectionSet operator|(SectionSet other) const { return SectionSet(bits_ | other.bits_); }
    constexpr SectionSet without(SectionSet other) const { return SectionSet(bits_ & ~other.bits_); }
    friend constexpr bool operator==(SectionSet, SectionSet) = default;

private:
    constexpr explicit SectionSet(std::uint32_t bits) : bits_(bits) {}
    std::uint32_t bits_ = 0;
};

} // namespace tolvane
