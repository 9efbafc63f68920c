#include "card/CardImages.h"
#include "FullProject.h"
#include "card/Crc16.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The coordinates config.dat carries for each place of the astronomical clock's list, as the installer reads them
// in the list: degrees and minutes, E or W, N or S. The card holds degrees with the hemisphere in the top bit.
struct PlaceCase {
    int place;
    int longitudeDegrees;
    int longitudeMinutes;
    char eastWest;
    int latitudeDegrees;
    int latitudeMinutes;
    char northSouth;
};

class ConfigPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

// A project that names place `index` while its coordinate bytes hold something else: a new project (all 0) or one
// whose time-corrections page was never shown after the place was set.
void setPlace(ProjectData& p, std::uint8_t index, const Image& coordinateBytes) {
    Image general(GeneralSettings::ImageSize, 0xFF);
    p.general().packImage(general);
    std::copy(coordinateBytes.begin(), coordinateBytes.end(), general.begin() + 0x3C);
    general[0x41] = index;
    p.general().unpackImage(general);
}

std::uint8_t degreesByte(int degrees, char hemisphere) {
    return static_cast<std::uint8_t>(degrees | (hemisphere == 'W' || hemisphere == 'S' ? 0x80 : 0));
}

TEST_P(ConfigPlaceTest, ConfigCarriesTheCoordinatesOfTheChosenPlace) {
    const PlaceCase& c = GetParam();
    const Image expected{degreesByte(c.longitudeDegrees, c.eastWest), static_cast<std::uint8_t>(c.longitudeMinutes),
                         degreesByte(c.latitudeDegrees, c.northSouth), static_cast<std::uint8_t>(c.latitudeMinutes)};
    const bool byHand = c.place == GeneralSettings::CityByHand;
    // By hand the typed coordinates are the ones to go out; a built-in place starts from the bytes of a new project.
    ProjectData p;
    setPlace(p, static_cast<std::uint8_t>(c.place), byHand ? expected : Image{0, 0, 0, 0});
    const SectionState before = p.general().state();

    const Image image = packed(p, card::packConfigImage);
    EXPECT_EQ(bytesAt(image, 0x3C, 4), expected);
    EXPECT_EQ(image[0x41], c.place);
    EXPECT_TRUE(card::checksumMatches(full(image)));
    // Packing leaves the project's own bytes (and its project file) as they were.
    EXPECT_EQ(p.general().state(), before);

    // Every other byte is what the project packs when its bytes already hold the place's coordinates.
    ProjectData settled;
    setPlace(settled, static_cast<std::uint8_t>(c.place), expected);
    EXPECT_EQ(packed(settled, card::packConfigImage), image);

    // A card read back shows the same place and coordinates.
    ProjectData read;
    card::unpackConfigImage(read, full(image));
    EXPECT_EQ(read.general().cityIndex(), c.place);
    EXPECT_EQ(read.general().longitudeDegrees(), c.longitudeDegrees);
    EXPECT_EQ(read.general().longitudeMinutes(), c.longitudeMinutes);
    EXPECT_EQ(read.general().longitudeWest(), c.eastWest == 'W');
    EXPECT_EQ(read.general().latitudeDegrees(), c.latitudeDegrees);
    EXPECT_EQ(read.general().latitudeMinutes(), c.latitudeMinutes);
    EXPECT_EQ(read.general().latitudeSouth(), c.northSouth == 'S');
}

INSTANTIATE_TEST_SUITE_P(
    EveryPlace, ConfigPlaceTest,
    ::testing::Values(PlaceCase{0, 19, 56, 'E', 50, 4, 'N'}, PlaceCase{1, 21, 0, 'E', 52, 13, 'N'},
                      PlaceCase{2, 18, 38, 'E', 54, 22, 'N'}, PlaceCase{3, 19, 28, 'E', 51, 49, 'N'},
                      PlaceCase{4, 16, 22, 'E', 48, 13, 'N'}, PlaceCase{5, 4, 21, 'E', 50, 50, 'N'},
                      PlaceCase{6, 14, 25, 'E', 50, 5, 'N'}, PlaceCase{7, 12, 34, 'E', 55, 43, 'N'},
                      PlaceCase{8, 25, 0, 'E', 60, 8, 'N'}, PlaceCase{9, 2, 20, 'E', 48, 52, 'N'},
                      PlaceCase{10, 13, 26, 'E', 52, 30, 'N'}, PlaceCase{11, 23, 44, 'E', 38, 0, 'N'},
                      PlaceCase{12, 19, 0, 'E', 47, 30, 'N'}, PlaceCase{13, 6, 15, 'W', 53, 20, 'N'},
                      PlaceCase{14, 12, 30, 'E', 41, 53, 'N'}, PlaceCase{15, 24, 8, 'E', 56, 53, 'N'},
                      PlaceCase{16, 4, 54, 'E', 52, 21, 'N'}, PlaceCase{17, 10, 17, 'E', 59, 56, 'N'},
                      PlaceCase{18, 9, 8, 'W', 38, 44, 'N'}, PlaceCase{19, 26, 7, 'E', 44, 25, 'N'},
                      PlaceCase{20, 37, 35, 'E', 55, 45, 'N'}, PlaceCase{21, 17, 10, 'E', 48, 10, 'N'},
                      PlaceCase{22, 3, 43, 'W', 40, 25, 'N'}, PlaceCase{23, 7, 26, 'E', 46, 57, 'N'},
                      PlaceCase{24, 0, 10, 'W', 51, 30, 'N'}, PlaceCase{25, 30, 29, 'E', 50, 28, 'N'},
                      // Coordinates typed by hand (a place in the south-west) go out as they are.
                      PlaceCase{GeneralSettings::CityByHand, 70, 40, 'W', 33, 27, 'S'}),
    [](const ::testing::TestParamInfo<PlaceCase>& row) {
        return row.param.place == GeneralSettings::CityByHand ? std::string("ByHand")
                                                              : "Place" + std::to_string(row.param.place);
    });

} // namespace
} // namespace tolvane
