#include "card/CardImages.h"
#include "FullProject.h"
#include "card/Crc16.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

using Image = std::vector<std::uint8_t>;

Image packed(ProjectData& p, void (*packer)(ProjectData&, std::span<std::uint8_t, card::ImageSize>)) {
    Image image(card::ImageSize, 0xFF);
    packer(p, std::span<std::uint8_t, card::ImageSize>(image.data(), card::ImageSize));
    return image;
}

std::span<const std::uint8_t, card::ImageSize> full(const Image& image) {
    return std::span<const std::uint8_t, card::ImageSize>(image.data(), card::ImageSize);
}

// Payload and checksum: everything but the identity trailer, which the unpackers leave to the card reader.
Image body(const Image& image) {
    return {image.begin(), image.begin() + static_cast<std::ptrdiff_t>(card::TrailerOffset)};
}

Image bytesAt(const Image& image, std::size_t offset, std::size_t length) {
    return {image.begin() + static_cast<std::ptrdiff_t>(offset),
            image.begin() + static_cast<std::ptrdiff_t>(offset + length)};
}

TEST(Crc16, CheckValue) {
    const std::string text = "123456789";
    EXPECT_EQ(Crc16::compute({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}), 0x4B37);
    EXPECT_EQ(Crc16::compute({}), 0xFFFF);
    // Continuing the running value over two halves gives the same result as one pass.
    const auto* d = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(Crc16::update(Crc16::compute({d, 4}), {d + 4, 5}), 0x4B37);
}

TEST(CardImages, EmptyProjectPacksProgramsWithResetEntriesChecksumAndIdentity) {
    ProjectData p;
    const Image image = packed(p, card::packProgramsImage);
    EXPECT_TRUE(card::checksumMatches(full(image)));
    const std::uint16_t crc = card::imageChecksum(image);
    EXPECT_EQ(image[0xFFFE], crc >> 8);
    EXPECT_EQ(image[0xFFFF], crc & 0xFF);
    EXPECT_EQ(std::string(image.begin() + 0x10000, image.begin() + 0x10005), "V1_06");
    EXPECT_EQ(std::string(image.begin() + 0x10005, image.begin() + 0x10015), "V1_4100000000000");

    // The funeral slot holds its eight reset entries, normalised and in the controller's order.
    Image funeral(p.program(Funeral).capacity() * 64, 0xFF);
    p.program(Funeral).packImage(funeral);
    EXPECT_EQ(bytesAt(image, 0xBC00, 512), funeral);
    EXPECT_EQ(bytesAt(image, 0xBC00 + 28, 4), (Image{0x00, 0x00, 0xA8, 0xC0}));
    // Gaps between the slots and the area after the holidays are 0xFF.
    EXPECT_EQ(bytesAt(image, 0x2000, 0xF00), Image(0xF00, 0xFF));
    EXPECT_EQ(bytesAt(image, 0xBE00, 0x80), Image(0x80, 0xFF));
    EXPECT_EQ(bytesAt(image, 0xBF40, 0xC0), Image(0xC0, 0xFF));
    EXPECT_EQ(bytesAt(image, 0xEC00, 0xFFFE - 0xEC00), Image(0xFFFE - 0xEC00, 0xFF));
}

TEST(CardImages, EntryTimeInSecondsIsBigEndianAtOffset28) {
    ProjectData p;
    const int e = p.program(Weekly).addItem();
    ASSERT_EQ(e, 0);
    const Image image = packed(p, card::packProgramsImage);
    EXPECT_EQ(bytesAt(image, 28, 4), (Image{0x00, 0x00, 0xA8, 0xC0}));
}

TEST(CardImages, ConfigCarriesTheSignatureAndTheAmplifierInControllerOrder) {
    ProjectData p;
    const Image image = packed(p, card::packConfigImage);
    EXPECT_EQ(bytesAt(image, 0x10, 4), (Image{0xAA, 0x55, 0xA5, 0xA5}));
    EXPECT_EQ(bytesAt(image, 854, 2), (Image{0x00, 0x0A}));
    EXPECT_EQ(bytesAt(image, 856, 2), (Image{0x00, 0x0A}));
    EXPECT_EQ(bytesAt(image, 1564, 0xFFFE - 1564), Image(0xFFFE - 1564, 0xFF));
    EXPECT_TRUE(card::checksumMatches(full(image)));
    // The project's own amplifier block stays in the PC's order.
    EXPECT_EQ(p.amplifier().u16(2), 10);
}

TEST(CardImages, ProgramsRoundTripKeepsTheUsedEntriesAndHolidays) {
    ProjectData source;
    testing_support::fillProject(source);
    source.program(Annual).deleteEntries(std::vector<int>{5, 6, 7});
    const Image image = packed(source, card::packProgramsImage);

    ProjectData target;
    card::unpackProgramsImage(target, full(image));
    EXPECT_EQ(target.programsFromCard, 1);
    EXPECT_FALSE(target.isModifiedAll());
    const Image again = packed(target, card::packProgramsImage);
    for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
        SCOPED_TRACE(kind);
        ASSERT_EQ(target.program(kind).usedCount(), source.program(kind).usedCount());
        // The used run comes back byte for byte: packing what was read gives the same entry images.
        const std::size_t used = static_cast<std::size_t>(source.program(kind).usedCount()) * 64;
        EXPECT_EQ(bytesAt(again, card::ProgramSlotOffsets[kind], used),
                  bytesAt(image, card::ProgramSlotOffsets[kind], used));
    }
    EXPECT_EQ(target.program(Annual).usedCount(), 125);
    EXPECT_EQ(target.holidays().usedCount(), 128);
    EXPECT_EQ(target.holidays().name(3), source.holidays().name(3));
    EXPECT_EQ(bytesAt(again, card::HolidaysOffset, HolidayTable::ImageSize),
              bytesAt(image, card::HolidaysOffset, HolidayTable::ImageSize));
}

TEST(CardImages, ReadingStopsAtTheFirstFreeSlotExceptForFuneralTolling) {
    ProjectData source;
    for (int i = 0; i < 5; ++i) {
        source.program(Weekly).addItem();
    }
    Image image = packed(source, card::packProgramsImage);
    image[2 * 64 + 25] |= 0x01;          // the third entry becomes a free slot
    image[0xBC00 + 3 * 64 + 25] |= 0x01; // a funeral entry marked free is still read

    ProjectData target;
    card::unpackProgramsImage(target, full(image));
    EXPECT_EQ(target.program(Weekly).usedCount(), 2);
    EXPECT_EQ(target.program(Funeral).usedCount(), 8);
    EXPECT_EQ(target.program(SpecialTolling).usedCount(), 3);
}

TEST(CardImages, SequencesRoundTripIncludingAFullSequence) {
    ProjectData source;
    testing_support::fillProject(source);
    const Image image = packed(source, card::packSequencesImage);
    EXPECT_TRUE(card::checksumMatches(full(image)));
    EXPECT_EQ(bytesAt(image, 0xFFF0, 14), Image(14, 0xFF));

    ProjectData target;
    card::unpackSequencesImage(target, full(image));
    EXPECT_EQ(target.sequencesFromCard, 1);
    EXPECT_EQ(target.sequences().usedCount(), 42);
    EXPECT_EQ(target.sequences().stepCount(41), 155);
    EXPECT_EQ(body(packed(target, card::packSequencesImage)), body(image));
}

TEST(CardImages, ConfigRoundTripAndItsEffectOnChimes) {
    ProjectData source;
    testing_support::fillProject(source);
    source.amplifier().setU16(2, 25);
    const Image config = packed(source, card::packConfigImage);
    Image chimes(card::ChimesImageSize, 0xFF);
    card::packChimesImage(source, std::span<std::uint8_t, card::ChimesImageSize>(chimes.data(), chimes.size()));

    ProjectData target;
    target.chimes().setName(0, "Stays until the configuration is read");
    card::unpackConfigImage(target, full(config));
    EXPECT_EQ(target.configFromCard, 1);
    EXPECT_EQ(target.general().locationName(), "Parafia św. Jana");
    EXPECT_EQ(target.amplifier().u16(2), 25);
    EXPECT_EQ(target.chimes().name(0), "");
    EXPECT_FALSE(target.isModifiedAll());
    EXPECT_EQ(body(packed(target, card::packConfigImage)), body(config));

    card::unpackChimesImage(target, std::span<const std::uint8_t, card::ChimesImageSize>(chimes.data(), chimes.size()));
    EXPECT_EQ(target.chimesFromCard, 1);
    EXPECT_EQ(target.chimes().name(299), source.chimes().name(299));
}

TEST(CardImages, ChimeSlotsHoldAtMost31BytesAndATerminator) {
    ProjectData p;
    p.chimes().setName(0, std::string(31, 'A'));
    p.chimes().setName(1, std::string(40, 'B'));
    p.chimes().setName(2, "Ą");
    Image image(card::ChimesImageSize, 0xFF);
    card::packChimesImage(p, std::span<std::uint8_t, card::ChimesImageSize>(image.data(), image.size()));

    Image first = bytesAt(image, 0, 32);
    EXPECT_EQ(Image(first.begin(), first.begin() + 31), Image(31, 'A'));
    EXPECT_EQ(first[31], 0);
    Image second = bytesAt(image, 32, 32);
    EXPECT_EQ(Image(second.begin(), second.begin() + 31), Image(31, 'B'));
    EXPECT_EQ(second[31], 0);
    EXPECT_EQ(bytesAt(image, 64, 3), (Image{0xA5, 0x00, 0xFF}));
    // An empty name is its terminator alone.
    Image empty(32, 0xFF);
    empty[0] = 0;
    EXPECT_EQ(bytesAt(image, 96, 32), empty);
}

} // namespace
} // namespace tolvane
