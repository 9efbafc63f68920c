#include "device/TypedNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tolvane {
namespace {

TEST(TypedNumber, TenthsAreCutAfterTheFirstDecimalWithCommaOrPoint) {
    const struct {
        const char* text;
        long long tenths;
    } cases[] = {
        {"2.55", 25},  {"0.4", 4}, {"4.1", 41}, {"2,3", 23}, {"9", 90},     {" 0.7", 7},
        {"-1.5", -15}, {"abc", 0}, {"", 0},     {"1.", 10},  {"12,5", 125}, {"+3.2x", 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(typedTenths(c.text), c.tenths) << c.text;
    }
}

TEST(TypedNumber, IntegersStopAtTheFirstOtherCharacterAndNeverWrap) {
    EXPECT_EQ(typedInteger(" 23x"), 23);
    EXPECT_EQ(typedInteger("-4"), -4);
    EXPECT_EQ(typedInteger("7.9"), 7);
    EXPECT_EQ(typedInteger("x7"), 0);
    const char* huge = "99999999999999999999999999";
    EXPECT_GT(typedInteger(huge), 0) << "held, never wrapped";
    EXPECT_GT(typedTenths(huge), 0) << "held, never wrapped";
    EXPECT_LT(typedTenths("-99999999999999999999999999"), 0);
}

TEST(TypedNumber, RealsKeepEveryDecimal) {
    EXPECT_DOUBLE_EQ(typedReal("12,25"), 12.25);
    EXPECT_DOUBLE_EQ(typedReal("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(typedReal("3"), 3.0);
    EXPECT_DOUBLE_EQ(typedReal("."), 0.0);
}

TEST(TypedNumber, TypedUnitsBecomeTruncatedTenthsWithinSixteenBits) {
    const struct {
        double units;
        int tenths;
    } cases[] = {{0.3, 3}, {2.3, 23}, {0.05, 0}, {-1.0, 0}, {7000.0, 65535}};
    for (const auto& c : cases) {
        EXPECT_EQ(tenthsFromTyped(c.units), c.tenths) << c.units;
    }
    EXPECT_EQ(tenthsFromTyped(std::numeric_limits<double>::quiet_NaN()), 0);
}

} // namespace
} // namespace tolvane
