// The user settings page's rules: the lighting-time slider and its text, the default ringing time's two fields and
// what a typed number field stores.

#include "settings/UserSettingsEditing.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

namespace us = usersettings;

TEST(UserSettingsDisplayTime, MinutesOfTheSliderAndTheTextBesideIt) {
    EXPECT_EQ(us::displayMinutes(300000), 5);
    EXPECT_EQ(us::displayMinutes(90000), 1) << "whole minutes";
    EXPECT_EQ(us::displayMinutes(0), 0);
    EXPECT_EQ(us::displayTimeMs(31), 1860000u);
    EXPECT_EQ(us::displayTimeMs(1), 60000u);
    EXPECT_EQ(us::displayTimeLabel(31), (LabelText{324}));
    EXPECT_EQ(us::displayTimeLabel(30), (LabelText{212, 30}));
    EXPECT_EQ(us::displayTimeLabel(1), (LabelText{212, 1}));
    // Stored values the slider cannot show (a card written elsewhere).
    EXPECT_FALSE(us::displayMinutesInRange(us::displayMinutes(0)));
    EXPECT_FALSE(us::displayMinutesInRange(us::displayMinutes(0xFFFFFFFF)));
    EXPECT_TRUE(us::displayMinutesInRange(us::displayMinutes(1860000)));
    EXPECT_TRUE(us::percentInRange(100));
    EXPECT_FALSE(us::percentInRange(101));
}

TEST(UserSettingsRingTime, MinutesAndSecondsBothWays) {
    struct Case {
        std::uint16_t stored;
        int minutes;
        int seconds;
    };
    const Case cases[] = {{180, 3, 0}, {125, 2, 5}, {0, 0, 0}, {1859, 30, 59}, {65535, 1092, 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(us::ringTimeFields(c.stored), (us::RingTimeFields{c.minutes, c.seconds}));
        EXPECT_EQ(us::ringTimeSeconds(c.minutes, c.seconds), c.stored);
    }
    EXPECT_EQ(us::ringTimeSeconds(99999, 0), 65535) << "held within 16 bits";
}

TEST(UserSettingsTypedNumbers, OnlyDigitsInsideTheFieldsRangeAreStored) {
    struct Case {
        const char* text;
        std::optional<int> stored;
    };
    const Case cases[] = {{"07", 7},
                          {"15", 15},
                          {"0", 0},
                          {"16", std::nullopt},
                          {"255", std::nullopt},
                          {"", std::nullopt},
                          {"1a", std::nullopt},
                          {"-1", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(us::typedInRange(c.text, 0, us::MaxStartInterval), c.stored);
    }
    EXPECT_EQ(us::typedInRange("99999999999999", 0, 15), std::nullopt);
}

} // namespace
} // namespace tolvane
