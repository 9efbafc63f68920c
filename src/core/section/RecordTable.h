#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <utility>

namespace tolvane {

// A section that is a fixed number of byte records, each with a 32-bit change mark: the bells, hammers and tower
// clocks. The record type says what differs between them:
// - `resetDefaults()`: what a reset writes into one record;
// - `WordOffsets`: the 16-bit words that the card holds high byte first;
// - `CardRanges` (optional): the [from, to) byte ranges of a record that the card carries; without it the card
//   carries the whole record. A slot's other bytes go out as 0xFF and a card leaves the record's own untouched;
// - `ZeroCardBytes` (optional): bytes that are 0 on the card and become 0 in the record when it is read.
// The project file holds every record whole, in order.
template <typename Record, int N> class RecordTable : public ProjectSection {
public:
    static constexpr int Count = N;
    static constexpr std::size_t ImageSize = static_cast<std::size_t>(N) * Record::Size;
    static constexpr std::size_t BodySize = ImageSize;

    void resetItem(int index) {
        rec(index).resetDefaults();
        marks_[static_cast<std::size_t>(index)] = 0;
    }

    void reset() {
        for (int i = 0; i < Count; ++i) {
            resetItem(i);
        }
    }

    void swapByteOrder(std::span<std::uint8_t> image) const {
        requireImage(image.size());
        for (std::size_t r = 0; r < Count; ++r) {
            for (std::size_t off : Record::WordOffsets) {
                bytes::swap16(image, r * Record::Size + off);
            }
        }
    }

    void unpackImage(std::span<const std::uint8_t> image) {
        requireImage(image.size());
        std::array<std::uint8_t, ImageSize> local{};
        std::copy_n(image.begin(), ImageSize, local.begin());
        swapByteOrder(local);
        for (std::size_t r = 0; r < Count; ++r) {
            const auto slot = std::span<const std::uint8_t>(local).subspan(r * Record::Size, Record::Size);
            auto dst = records_[r].bytes();
            for (const auto& [from, to] : cardRanges()) {
                std::copy(slot.begin() + static_cast<std::ptrdiff_t>(from),
                          slot.begin() + static_cast<std::ptrdiff_t>(to),
                          dst.begin() + static_cast<std::ptrdiff_t>(from));
            }
            for (std::size_t off : zeroCardBytes()) {
                dst[off] = 0;
            }
        }
    }

    void packImage(std::span<std::uint8_t> image) const {
        requireImage(image.size());
        for (std::size_t r = 0; r < Count; ++r) {
            auto slot = image.subspan(r * Record::Size, Record::Size);
            const auto src = std::as_const(records_[r]).bytes();
            if (!carriesWholeRecord()) {
                std::fill(slot.begin(), slot.end(), std::uint8_t{0xFF});
            }
            for (const auto& [from, to] : cardRanges()) {
                std::copy(src.begin() + static_cast<std::ptrdiff_t>(from),
                          src.begin() + static_cast<std::ptrdiff_t>(to),
                          slot.begin() + static_cast<std::ptrdiff_t>(from));
            }
            for (std::size_t off : zeroCardBytes()) {
                slot[off] = 0;
            }
        }
        swapByteOrder(image.first(ImageSize));
    }

    void serialize(SectionArchive& archive) override {
        if (archive.isStoring()) {
            auto body = archive.appendBody(BodySize).begin();
            for (const Record& r : records_) {
                const auto src = r.bytes();
                body = std::copy(src.begin(), src.end(), body);
            }
            return;
        }
        // A shorter body overwrites only the bytes it holds.
        const auto body = archive.readBody(BodySize);
        for (std::size_t start = 0, r = 0; start < body.size(); start += Record::Size, ++r) {
            const std::size_t n = std::min(Record::Size, body.size() - start);
            std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(start), n, records_[r].bytes().begin());
        }
    }

    void clearModified() override { marks_.fill(0); }
    bool isModified() const override {
        return std::any_of(marks_.begin(), marks_.end(), [](std::uint32_t m) { return m != 0; });
    }

    SectionState state() const override { return sectionstate::tableState<Record, std::uint32_t>(records_, marks_); }
    void setState(const SectionState& state) override {
        sectionstate::setTableState<Record, std::uint32_t>(state, records_, marks_);
    }
    void markChanges(const SectionState& from, const SectionState& to) override {
        sectionstate::markTableChanges<Record, std::uint32_t>(from, to, marks_, 0xFFFFFFFFu);
    }

    // Record `i`; std::out_of_range for an index that names no record.
    const Record& record(int i) const {
        if (i < 0 || i >= Count) {
            throw std::out_of_range("record index");
        }
        return records_[static_cast<std::size_t>(i)];
    }
    std::uint32_t changeMark(int i) const {
        (void)record(i);
        return marks_[static_cast<std::size_t>(i)];
    }

    // Takes back a record edited on a copy, with the change bits the editor collected. The bits are added to the
    // record's mark so that marks set before the editor was opened are not lost.
    void acceptEdit(int i, const Record& edited, std::uint32_t changeBits) {
        rec(i) = edited;
        mark(i, changeBits);
    }

protected:
    Record& rec(int i) { return const_cast<Record&>(std::as_const(*this).record(i)); }
    void mark(int i, std::uint32_t bits) { marks_[static_cast<std::size_t>(i)] |= bits; }

    std::array<Record, Count> records_{};
    std::array<std::uint32_t, Count> marks_{};

private:
    static constexpr bool carriesWholeRecord() {
        return !requires {
            Record::CardRanges;
        };
    }
    static constexpr auto cardRanges() {
        if constexpr (requires { Record::CardRanges; }) {
            return Record::CardRanges;
        } else {
            return std::array<std::pair<std::size_t, std::size_t>, 1>{{{0, Record::Size}}};
        }
    }
    static constexpr auto zeroCardBytes() {
        if constexpr (requires { Record::ZeroCardBytes; }) {
            return Record::ZeroCardBytes;
        } else {
            return std::array<std::size_t, 0>{};
        }
    }
    static void requireImage(std::size_t size) {
        if (size < ImageSize) {
            throw std::out_of_range("record table image too short");
        }
    }
};

} // namespace tolvane
