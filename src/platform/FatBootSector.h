#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tolvane {

// The three kinds of FAT. The kind follows from the number of data clusters alone, never from the type text in
// the boot sector: fewer than 4085 clusters is FAT12, fewer than 65525 is FAT16, anything more is FAT32.
enum class FatKind { Fat12, Fat16, Fat32 };

FatKind fatKindFromClusterCount(std::uint64_t clusters);

// What the boot sector of a FAT volume says about its layout.
struct FatBootInfo {
    std::uint64_t clusters = 0;
    FatKind kind = FatKind::Fat12;
    std::string label; // label of the boot record with trailing spaces removed; empty for "NO NAME"
};

// Reads the BIOS parameter block of a FAT boot sector (the first 512 bytes of the volume). Returns nothing when the
// bytes do not describe a FAT volume (too short, no 0x55 0xAA signature, impossible sector or cluster sizes, a
// layout larger than the volume).
std::optional<FatBootInfo> readFatBootSector(std::span<const std::uint8_t> sector);

} // namespace tolvane
