#include "settings/AstroPlaces.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(AstroPlaces, TableSpotChecks) {
    const auto& p = AstroPlaces::table();
    EXPECT_EQ(p[13].longitudeDegrees, 0x86); // 6 deg 15' W
    EXPECT_EQ(p[18].longitudeDegrees, 0x89); // 9 deg 08' W
    EXPECT_EQ(p[18].longitudeMinutes, 8);
    EXPECT_EQ(p[22].longitudeDegrees, 0x83); // 3 deg 43' W
    EXPECT_EQ(p[25].longitudeDegrees, 30);
    EXPECT_EQ(p[25].latitudeMinutes, 28);
    EXPECT_EQ(p[8].latitudeDegrees, 60);
    EXPECT_EQ(p[8].latitudeMinutes, 8);
    for (const auto& place : p) {
        EXPECT_EQ(place.latitudeDegrees & 0x80, 0); // every place lies north
        EXPECT_LT(place.longitudeMinutes, 60);
        EXPECT_LT(place.latitudeMinutes, 60);
    }
}

} // namespace
} // namespace tolvane
