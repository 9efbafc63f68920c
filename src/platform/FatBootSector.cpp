#include "FatBootSector.h"

namespace tolvane {

namespace {

std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}

bool isPowerOfTwo(std::uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

std::string trimmedLabel(std::span<const std::uint8_t> b, std::size_t at) {
    std::string label;
    for (std::size_t i = 0; i < 11; ++i) {
        const auto c = b[at + i];
        label.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    while (!label.empty() && label.back() == ' ') {
        label.pop_back();
    }
    return label == "NO NAME" ? std::string() : label;
}

} // namespace

FatKind fatKindFromClusterCount(std::uint64_t clusters) {
    if (clusters < 4085) {
        return FatKind::Fat12;
    }
    if (clusters < 65525) {
        return FatKind::Fat16;
    }
    return FatKind::Fat32;
}

std::optional<FatBootInfo> readFatBootSector(std::span<const std::uint8_t> b) {
    if (b.size() < 512 || b[510] != 0x55 || b[511] != 0xAA) {
        return std::nullopt;
    }
    const std::uint32_t bytesPerSector = u16(b, 11);
    const std::uint32_t sectorsPerCluster = b[13];
    const std::uint32_t reservedSectors = u16(b, 14);
    const std::uint32_t fatCount = b[16];
    const std::uint32_t rootEntries = u16(b, 17);
    const std::uint32_t totalSectors16 = u16(b, 19);
    const std::uint32_t fatSize16 = u16(b, 22);
    const std::uint32_t totalSectors32 = u32(b, 32);
    const std::uint32_t fatSize32 = u32(b, 36);

    if (bytesPerSector < 512 || bytesPerSector > 4096 || !isPowerOfTwo(bytesPerSector) ||
        !isPowerOfTwo(sectorsPerCluster) || reservedSectors == 0 || fatCount == 0) {
        return std::nullopt;
    }
    const std::uint64_t fatSize = fatSize16 != 0 ? fatSize16 : fatSize32;
    const std::uint64_t totalSectors = totalSectors16 != 0 ? totalSectors16 : totalSectors32;
    const std::uint64_t rootDirSectors = (rootEntries * 32ULL + bytesPerSector - 1) / bytesPerSector;
    const std::uint64_t metaSectors = reservedSectors + fatCount * fatSize + rootDirSectors;
    if (fatSize == 0 || totalSectors <= metaSectors) {
        return std::nullopt;
    }

    FatBootInfo info;
    info.clusters = (totalSectors - metaSectors) / sectorsPerCluster;
    info.kind = fatKindFromClusterCount(info.clusters);
    // The extended boot record follows the FAT32 fields when the parameter block has them (16-bit FAT size 0) and
    // the common fields otherwise; its signature byte 0x29 says whether the label field is there at all.
    const std::size_t extended = fatSize16 == 0 ? 64 : 36;
    if (b[extended + 2] == 0x29) {
        info.label = trimmedLabel(b, extended + 7);
    }
    return info;
}

} // namespace tolvane
