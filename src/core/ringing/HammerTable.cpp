#include "ringing/HammerTable.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

constexpr std::array<std::size_t, 3> WordOffsets{HammerRecord::FirstWordOffset, HammerRecord::SecondWordOffset,
                                                 HammerRecord::PulseOffset};

// The byte ranges of a hammer that the card image carries: 0-2 and 34-39.
constexpr std::array<std::pair<std::size_t, std::size_t>, 2> ImageRanges{{{0, 3}, {34, 40}}};

void requireImage(std::size_t size) {
    if (size < HammerTable::ImageSize) {
        throw std::out_of_range("hammer image too short");
    }
}

} // namespace

void HammerRecord::resetDefaults() {
    setU16(FirstWordOffset, 0xFFFF);
    setU8(ZeroByteOffset, 0);
    setU16(SecondWordOffset, 0xFFFF);
    setPulseTenths(2);
    setU8(SpareByteOffset, 0);
    setLinkedBell(NoBell);
}

HammerTable::HammerTable() {
    reset();
}

const HammerRecord& HammerTable::record(int i) const {
    if (i < 0 || i >= Count) {
        throw std::out_of_range("hammer index");
    }
    return records_[static_cast<std::size_t>(i)];
}

HammerRecord& HammerTable::rec(int i) {
    return const_cast<HammerRecord&>(std::as_const(*this).record(i));
}

std::uint32_t HammerTable::changeMark(int i) const {
    (void)record(i);
    return marks_[static_cast<std::size_t>(i)];
}

void HammerTable::resetItem(int index) {
    rec(index).resetDefaults();
    marks_[static_cast<std::size_t>(index)] = 0;
}

void HammerTable::reset() {
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
}

void HammerTable::swapByteOrder(std::span<std::uint8_t> image) const {
    requireImage(image.size());
    for (std::size_t h = 0; h < Count; ++h) {
        for (std::size_t off : WordOffsets) {
            bytes::swap16(image, h * HammerRecord::Size + off);
        }
    }
}

void HammerTable::packImage(std::span<std::uint8_t> image) {
    requireImage(image.size());
    for (std::size_t h = 0; h < Count; ++h) {
        auto slot = image.subspan(h * HammerRecord::Size, HammerRecord::Size);
        std::fill(slot.begin(), slot.end(), std::uint8_t{0xFF});
        const auto src = std::as_const(records_[h]).bytes();
        for (const auto& [from, to] : ImageRanges) {
            std::copy(src.begin() + static_cast<std::ptrdiff_t>(from), src.begin() + static_cast<std::ptrdiff_t>(to),
                      slot.begin() + static_cast<std::ptrdiff_t>(from));
        }
        slot[HammerRecord::ZeroByteOffset] = 0;
    }
    swapByteOrder(image.first(ImageSize));
}

void HammerTable::unpackImage(std::span<const std::uint8_t> image) {
    requireImage(image.size());
    std::array<std::uint8_t, ImageSize> local{};
    std::copy_n(image.begin(), ImageSize, local.begin());
    swapByteOrder(local);
    for (std::size_t h = 0; h < Count; ++h) {
        auto dst = records_[h].bytes();
        const auto* slot = local.data() + h * HammerRecord::Size;
        for (const auto& [from, to] : ImageRanges) {
            std::copy(slot + from, slot + to, dst.begin() + static_cast<std::ptrdiff_t>(from));
        }
        dst[HammerRecord::ZeroByteOffset] = 0;
    }
}

void HammerTable::validate(IssueList& issues) const {
    for (int i = 0; i < Count; ++i) {
        const auto pulse = records_[static_cast<std::size_t>(i)].pulseTenths();
        if (pulse < 1 || pulse > 20) {
            issues.push_back({IssuePulse, i, Area, severity::Critical});
        }
    }
}

void HammerTable::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        std::array<std::uint8_t, BodySize> body{};
        for (std::size_t h = 0; h < Count; ++h) {
            const auto src = std::as_const(records_[h]).bytes();
            std::copy(src.begin(), src.end(), body.begin() + static_cast<std::ptrdiff_t>(h * HammerRecord::Size));
        }
        archive.writeBody(body);
        return;
    }
    const auto body = archive.readBody(BodySize);
    for (std::size_t pos = 0; pos < body.size(); ++pos) {
        records_[pos / HammerRecord::Size].bytes()[pos % HammerRecord::Size] = body[pos];
    }
}

void HammerTable::clearModified() {
    marks_.fill(0);
}

bool HammerTable::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](std::uint32_t m) { return m != 0; });
}

void HammerTable::setPulseTenths(int i, int tenths) {
    HammerRecord& r = rec(i);
    const auto v = static_cast<std::uint16_t>(std::clamp(tenths, 0, 0xFFFF));
    if (v != r.pulseTenths()) {
        r.setPulseTenths(v);
        mark(i, MarkPulse);
    }
}

void HammerTable::setPulseSeconds(int i, double seconds) {
    // A small tolerance keeps values such as 2.3 (22.999... tenths in binary) at 23; NaN counts as 0.
    const double tenths = seconds * 10.0 + 1e-6;
    const double limited = std::isnan(tenths) ? 0.0 : std::clamp(tenths, 0.0, 65535.0);
    setPulseTenths(i, static_cast<int>(std::trunc(limited)));
}

int HammerTable::hammerLinkedTo(std::uint8_t bell, int except) const {
    if (bell == HammerRecord::NoBell) {
        return -1;
    }
    for (int h = 0; h < Count; ++h) {
        if (h != except && records_[static_cast<std::size_t>(h)].linkedBell() == bell) {
            return h;
        }
    }
    return -1;
}

bool HammerTable::setLinkedBell(int i, std::uint8_t bell) {
    HammerRecord& r = rec(i);
    if (bell != HammerRecord::NoBell && bell >= 5) {
        return false;
    }
    if (bell == r.linkedBell()) {
        return true;
    }
    if (hammerLinkedTo(bell, i) >= 0) {
        return false;
    }
    r.setLinkedBell(bell);
    mark(i, MarkLinkedBell);
    return true;
}

void HammerTable::markRelayChanged(int i) {
    (void)rec(i);
    mark(i, MarkRelay);
}

void HammerTable::acceptEdit(int i, const HammerRecord& edited, std::uint32_t changeBits) {
    rec(i) = edited;
    mark(i, changeBits);
}

SectionState HammerTable::state() const {
    return sectionstate::tableState<HammerRecord, std::uint32_t>(records_, marks_);
}

void HammerTable::setState(const SectionState& state) {
    sectionstate::setTableState<HammerRecord, std::uint32_t>(state, records_, marks_);
}

void HammerTable::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<HammerRecord, std::uint32_t>(from, to, marks_, 0xFFFFFFFFu);
}

} // namespace tolvane
