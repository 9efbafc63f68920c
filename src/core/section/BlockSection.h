#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// A section that is one block of N bytes with one 32-bit change mask: the amplifier and the time corrections.
// The project file holds the bytes as they are; the card holds them in the controller's byte order, which
// swapByteOrder() gives (the same bytes unless a derived block reverses some words). Editing setters of the
// derived block set their bits with mark().
template <std::size_t N> class BlockSection : public ProjectSection, public ByteRecord<N> {
public:
    using Block = ByteRecord<N>;

    // The derived block's defaults; `index` is 0, the one record.
    virtual void resetItem(int index) = 0;
    void reset() { resetItem(0); }
    // Reverses the words the card holds in the controller's byte order, in place; the block's own bytes are the
    // same in both orders unless the derived block says otherwise.
    virtual void swapByteOrder(std::span<std::uint8_t> image) const { (void)image; }
    // The block in card form; the block itself is not changed. `image` must hold at least N bytes.
    void packImage(std::span<std::uint8_t> image) const {
        bytes::check(image.size(), 0, N);
        std::copy(this->bytes_.begin(), this->bytes_.end(), image.begin());
        swapByteOrder(image.first(N));
    }
    // Takes the block from its card form (the inverse of packImage).
    void unpackImage(std::span<const std::uint8_t> image) {
        bytes::check(image.size(), 0, N);
        std::copy_n(image.begin(), N, this->bytes_.begin());
        swapByteOrder(this->bytes_);
    }
    void serialize(SectionArchive& archive) override { archive.transferBytes(this->bytes()); }
    void clearModified() override { marks_ = 0; }
    bool isModified() const override { return marks_ != 0; }

    SectionState state() const override {
        const Block* block = this;
        return sectionstate::tableState<Block, std::uint32_t>(std::span(block, 1), std::span(&marks_, 1));
    }
    void setState(const SectionState& state) override {
        Block* block = this;
        sectionstate::setTableState<Block, std::uint32_t>(state, std::span(block, 1), std::span(&marks_, 1));
    }
    void markChanges(const SectionState& from, const SectionState& to) override {
        sectionstate::markTableChanges<Block, std::uint32_t>(from, to, std::span(&marks_, 1), 0xFFFFFFFFu);
    }

    std::uint32_t changeMask() const { return marks_; }

protected:
    void mark(std::uint32_t bits) { marks_ |= bits; }

private:
    std::uint32_t marks_ = 0;
};

} // namespace tolvane
