// The time-corrections page's rules: signed fields shown as magnitude and sign, the coordinates a place shows,
// and the relay of the astronomical clock.

#include "project/CorrectionsEditing.h"
#include "project/ProjectData.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Mark = GeneralSettings::Mark;
namespace ce = correctionsedit;

TEST(CorrectionsSignedFields, AStoredByteShowsItsMagnitudeAndSignAndATypedOneComesBack) {
    struct Case {
        std::int8_t stored;
        int magnitude;
        bool negative;
    };
    const Case cases[] = {{-7, 7, true}, {7, 7, false}, {0, 0, false}, {-128, 128, true}, {127, 127, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stored));
        EXPECT_EQ(ce::shownSigned(c.stored), (ce::SignedShown{c.magnitude, c.negative}));
        EXPECT_EQ(ce::signedFromTyped(c.magnitude, c.negative), c.stored);
    }
    // Typed magnitudes beyond a signed byte are held at its limits; "-" with 0 is plain 0.
    EXPECT_EQ(ce::signedFromTyped(99999999999LL, false), 127);
    EXPECT_EQ(ce::signedFromTyped(500, true), -128);
    EXPECT_EQ(ce::signedFromTyped(0, true), 0);
}

TEST(CorrectionsSignedFields, HalfHoursShowAsHoursWithOneDecimalWithoutTheirSign) {
    const std::pair<std::int8_t, const char*> cases[] = {
        {4, "2.0"}, {2, "1.0"}, {-3, "1.5"}, {0, "0.0"}, {-128, "64.0"}};
    for (const auto& [halves, text] : cases) {
        EXPECT_EQ(ce::halfHoursText(halves), text) << static_cast<int>(halves);
    }
}

TEST(CorrectionsCoordinates, APlaceShowsItsTableEntryByHandShowsTheStoredBytes) {
    ProjectData project;
    GeneralSettings& g = project.general();
    // A new project: place 0, shown with its coordinates although the bytes are still 0.
    EXPECT_EQ(g.latitudeDegrees(), 0);
    EXPECT_FALSE(ce::coordinatesEditable(g));
    EXPECT_EQ(ce::shownCoordinates(g), (ce::Coordinates{false, 50, 4, false, 19, 56}));

    ASSERT_TRUE(g.choosePlace(13)); // 6 deg 15' W, 53 deg 20' N
    EXPECT_EQ(ce::shownCoordinates(g), (ce::Coordinates{false, 53, 20, true, 6, 15}));

    // The last entry: the coordinates stay and become editable.
    ASSERT_TRUE(g.choosePlace(GeneralSettings::PlaceListByHand));
    EXPECT_TRUE(ce::coordinatesEditable(g));
    EXPECT_EQ(ce::shownCoordinates(g), (ce::Coordinates{false, 53, 20, true, 6, 15}));
    ASSERT_TRUE(g.setLatitude(true, 33, 55));
    ASSERT_TRUE(g.setLongitude(false, 127, 0));
    EXPECT_EQ(ce::shownCoordinates(g), (ce::Coordinates{true, 33, 55, false, 127, 0}));
}

TEST(CorrectionsCoordinates, APlaceNumberWithoutAPlaceIsShownAsCoordinatesByHand) {
    ProjectData project;
    std::array<std::uint8_t, GeneralSettings::ImageSize> image{};
    project.general().packImage(image);
    image[GeneralSettings::CityIndexOffset] = 40;
    image[GeneralSettings::LatitudeDegreesOffset] = 0x80 | 12;
    image[GeneralSettings::LatitudeMinutesOffset] = 30;
    project.general().unpackImage(image);
    EXPECT_TRUE(ce::coordinatesEditable(project.general()));
    EXPECT_EQ(ce::shownCoordinates(project.general()), (ce::Coordinates{true, 12, 30, false, 0, 0}));
}

TEST(CorrectionsRelay, TheChosenRelayGoesToByteTwentyTwoAndIsMarked) {
    ProjectData project;
    EXPECT_EQ(ce::astroRelayLabel(project), (LabelText{109}));

    ASSERT_TRUE(ce::chooseAstroRelay(project, 6)); // PK7
    EXPECT_EQ(project.outputs().record().relay(22), 6);
    EXPECT_EQ(ce::astroRelayLabel(project), (LabelText{300, 7}));
    EXPECT_TRUE(project.general().isMarked(Mark::AstroRelay));
    EXPECT_EQ(project.outputs().changeMask(), 1u << 6) << "the cross-connection shows PK7 as changed";
    EXPECT_EQ(project.outputs().relayUserByte(6), 22);

    // Back to none: the relay that lost the function is marked too.
    project.clearModifiedAll();
    ASSERT_TRUE(ce::chooseAstroRelay(project, OutputMapRecord::NoRelay));
    EXPECT_EQ(project.outputs().record().relay(22), 0xFF);
    EXPECT_EQ(project.outputs().changeMask(), 1u << 6);
    EXPECT_TRUE(project.general().isMarked(Mark::AstroRelay));

    // The same relay again changes nothing and marks nothing.
    project.clearModifiedAll();
    ASSERT_TRUE(ce::chooseAstroRelay(project, OutputMapRecord::NoRelay));
    EXPECT_FALSE(project.general().isMarked(Mark::AstroRelay));
    EXPECT_EQ(project.outputs().changeMask(), 0u);
}

TEST(CorrectionsRelay, ARelayAnotherFunctionUsesIsRefused) {
    ProjectData project;
    ASSERT_TRUE(project.outputs().chooseRelay(OutputMapRecord::AmplifierRelay, 2));
    const SectionState before = project.outputs().state();
    EXPECT_FALSE(ce::chooseAstroRelay(project, 2));
    EXPECT_EQ(project.outputs().state().content, before.content);
    EXPECT_FALSE(project.general().isMarked(Mark::AstroRelay));
}

} // namespace
} // namespace tolvane
