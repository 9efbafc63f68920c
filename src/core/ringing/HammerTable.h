#pragma once

#include "device/ByteIO.h"
#include "section/RecordTable.h"
#include "section/ValidationIssue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace tolvane {

// One striking hammer: its pulse length and the bell it belongs to. Only a few fields travel to the card; the
// rest of the record is kept as it is, also by a reset.
class HammerRecord : public ByteRecord<56> {
public:
    static constexpr std::size_t FirstWordOffset = 0;
    static constexpr std::size_t ZeroByteOffset = 2;
    static constexpr std::size_t SecondWordOffset = 34;
    static constexpr std::size_t PulseOffset = 36;
    static constexpr std::size_t SpareByteOffset = 38;
    static constexpr std::size_t LinkedBellOffset = 39;
    static constexpr std::uint8_t NoBell = 0xFF;
    // The 16-bit words that the card holds high byte first.
    static constexpr std::array<std::size_t, 3> WordOffsets{FirstWordOffset, SecondWordOffset, PulseOffset};
    // The bytes that the card carries (0-2 and 34-39); byte 2 is always 0 there.
    static constexpr std::array<std::pair<std::size_t, std::size_t>, 2> CardRanges{{{0, 3}, {34, 40}}};
    static constexpr std::array<std::size_t, 1> ZeroCardBytes{ZeroByteOffset};

    // Writes only the defaults (pulse 0.2 s, no bell, the fixed bytes); every other byte keeps its content.
    void resetDefaults();

    std::uint16_t firstWord() const { return u16(FirstWordOffset); }
    std::uint16_t secondWord() const { return u16(SecondWordOffset); }
    std::uint16_t pulseTenths() const { return u16(PulseOffset); }
    void setPulseTenths(std::uint16_t v) { setU16(PulseOffset, v); }
    std::uint8_t linkedBell() const { return u8(LinkedBellOffset); }
    void setLinkedBell(std::uint8_t v) { setU8(LinkedBellOffset, v); }
};

// The five hammers. Each carries a 32-bit change mark with the bits of the hammer editor. The editor works on a
// copy of the whole table and hands the edited record and its bits back with acceptEdit().
class HammerTable : public RecordTable<HammerRecord, 5> {
public:
    static constexpr std::uint32_t MarkPulse = 0x8;
    static constexpr std::uint32_t MarkLinkedBell = 0x20;
    static constexpr std::uint32_t MarkRelay = 0x40;

    static constexpr std::int32_t IssuePulse = 51;
    static constexpr std::int32_t Area = 16;

    HammerTable();

    void validate(IssueList& issues) const;

    void setPulseTenths(int i, int tenths);
    // The pulse as typed in seconds with one decimal: stored as tenths, truncated (0.05 gives 0).
    void setPulseSeconds(int i, double seconds);
    // Links bell `bell` (0-4, or 0xFF for none) to hammer `i`. A bell belongs to one hammer at most: linking a
    // bell that another hammer already holds is refused (returns false, nothing changes).
    bool setLinkedBell(int i, std::uint8_t bell);
    // The hammer that links `bell`, other than `except`; -1 when none.
    int hammerLinkedTo(std::uint8_t bell, int except = -1) const;
    void markRelayChanged(int i);
};

} // namespace tolvane
