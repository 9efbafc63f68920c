// The checksum of programs.dat, config.dat and seq.dat against a value worked out by hand from the file layout, not
// by the code under test.

#include "TestFiles.h"
#include "TextNumbers.h"
#include "card/CardFiles.h"
#include "card/CardImages.h"
#include "platform/PlatformCardFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Image = std::vector<std::uint8_t>;

// A 65,559-byte image whose payload (bytes 0x0000-0xFFFD) is FF FF, then 0x00 up to 0xFFFC, then 0x01 at 0xFFFD,
// the last byte the checksum covers. Its CRC-16/MODBUS, by the definition (each byte XORed into the low end of the
// running value, then eight times: shift right by one, and XOR 0xA001 when a 1 was shifted out):
//   0xFFFF ^ 0xFF = 0xFF00; eight shifts, every bit shifted out is 0        -> 0x00FF
//   0x00FF ^ 0xFF = 0x0000; a zero byte leaves 0x0000 as it is, to 0xFFFC   -> 0x0000
//   0x0000 ^ 0x01 = 0x0001; each shift drops a 1: A001 F001 D801 CC01 C601 C301 C181 -> 0xC0C1
// stored high byte first: C0 at 0xFFFE, C1 at 0xFFFF. A range that ends a byte early gives 0x0000 (the 0x01 is left
// out); one that starts at byte 1 (0x00FF left running into the zeros) or takes in the stored C0 gives another value.
// The trailer (tag "V1_06", then bytes that are not 0xFF) counts for nothing.
Image handImage() {
    Image image(card::ImageSize, 0x00);
    image[0x0000] = 0xFF;
    image[0x0001] = 0xFF;
    image[0xFFFD] = 0x01;
    image[0xFFFE] = 0xC0;
    image[0xFFFF] = 0xC1;
    const std::string trailer = "V1_06V1_41V1_00314159AB";
    std::copy(trailer.begin(), trailer.end(), image.begin() + 0x10000);
    return image;
}

constexpr std::uint16_t HandChecksum = 0xC0C1;

std::span<const std::uint8_t, card::ImageSize> full(const Image& image) {
    return std::span<const std::uint8_t, card::ImageSize>(image.data(), card::ImageSize);
}

// CRC-16/MODBUS bit by bit, as defined above: the check on what the packers store, apart from the table-driven code
// they use. It is itself held to the hand-worked value and the published check value.
std::uint16_t crcByDefinition(const Image& image, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= image[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc =
                (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

TEST(CardChecksum, TheHandWorkedImageChecksIn) {
    const Image image = handImage();
    EXPECT_EQ(card::imageChecksum(image), HandChecksum);
    EXPECT_TRUE(card::checksumMatches(full(image)));
    EXPECT_EQ(crcByDefinition(image, 0xFFFE), HandChecksum);
    const Image check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crcByDefinition(check, check.size()), 0x4B37);

    Image swapped = image; // the right value, low byte first
    swapped[0xFFFE] = 0xC1;
    swapped[0xFFFF] = 0xC0;
    EXPECT_FALSE(card::checksumMatches(full(swapped)));
}

// Which bytes the checksum covers: exactly 0x0000-0xFFFD. A changed byte inside makes the stored C0 C1 wrong; one
// outside (the stored checksum itself, the identity trailer) leaves it right.
TEST(CardChecksum, ItCoversExactlyThePayload) {
    struct Case {
        std::size_t offset;
        bool covered;
    };
    const Case cases[] = {
        {0x0000, true},  {0x0001, true},  {0x8000, true},   {0xFFFC, true},   {0xFFFD, true},
        {0xFFFE, false}, {0xFFFF, false}, {0x10000, false}, {0x10005, false}, {0x10016, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        Image image = handImage();
        image[c.offset] ^= 0x10;
        EXPECT_EQ(card::imageChecksum(image) == HandChecksum, !c.covered);
        if (c.offset < card::ChecksumOffset || c.offset >= card::TrailerOffset) {
            EXPECT_EQ(card::checksumMatches(full(image)), !c.covered);
        }
    }
}

// The reader takes the hand-made file for each of the three framed kinds and refuses it with text 584 when its
// checksum is stored the other way round.
TEST(CardChecksum, TheReaderTakesTheHandWorkedFileAndRefusesItByteSwapped) {
    const fs::path folder = fs::temp_directory_path() / ("tolvane-checksum-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    PlatformCardFileSystem files;
    for (card::FileKind kind : {card::FileKind::Programs, card::FileKind::Config, card::FileKind::Sequences}) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const fs::path file = folder / std::string(card::fileName(kind));
        Image image = handImage();
        testing_support::writeFile(file, image);
        ProjectData taken;
        const card::ReadResult read = card::readCardFile(taken, kind, file.string(), files);
        EXPECT_TRUE(read.ok);
        EXPECT_EQ(read.text, 0);

        std::swap(image[0xFFFE], image[0xFFFF]);
        testing_support::writeFile(file, image);
        ProjectData refused;
        const card::ReadResult refusal = card::readCardFile(refused, kind, file.string(), files);
        EXPECT_FALSE(refusal.ok);
        EXPECT_EQ(refusal.text, text::CardChecksum);
    }
    fs::remove_all(folder);
}

// Every packer stores, high byte first at 0xFFFE, the CRC of bytes 0x0000-0xFFFD of the image it made.
TEST(CardChecksum, PackersStoreTheChecksumOfTheirPayload) {
    using Packer = void (*)(ProjectData&, std::span<std::uint8_t, card::ImageSize>);
    const std::pair<const char*, Packer> packers[] = {
        {"programs", card::packProgramsImage}, {"config", card::packConfigImage}, {"seq", card::packSequencesImage}};
    for (const auto& [name, packer] : packers) {
        SCOPED_TRACE(name);
        ProjectData project;
        project.general().setLocationName("Lipnica");
        Image image(card::ImageSize, 0xFF);
        packer(project, std::span<std::uint8_t, card::ImageSize>(image.data(), card::ImageSize));
        const std::uint16_t crc = crcByDefinition(image, 0xFFFE);
        EXPECT_EQ(image[0xFFFE], crc >> 8);
        EXPECT_EQ(image[0xFFFF], crc & 0xFF);
    }
}

} // namespace
} // namespace tolvane
