// The overlay's texts, as the player reads them.
#include "render/Hud.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string LevelText(std::int32_t level) {
    char line[HudTextSize];
    FormatLevelText(line, sizeof line, level);
    return line;
}

std::string SnowText(std::int32_t collected, std::int32_t total) {
    char line[HudTextSize];
    FormatSnowText(line, sizeof line, collected, total);
    return line;
}

TEST(HudText, LevelLineNamesTheLevelAfterOneSpace) {
    EXPECT_EQ(LevelText(1), " level: 1");
    EXPECT_EQ(LevelText(9).size(), 9u);
    EXPECT_EQ(LevelText(10), " level: 10");
    EXPECT_EQ(LevelText(INT_MIN), " level: -2147483648");
}

TEST(HudText, SnowLineShowsThePercentageWithSixDecimals) {
    EXPECT_EQ(SnowText(500, 2000), "  snow collected: 25.000000%");
    EXPECT_EQ(SnowText(1, 1234), "  snow collected: 0.081037%");
    EXPECT_EQ(SnowText(0, 2491), "  snow collected: 0.000000%");
    // The widest line the game can show fills the panel, 29 characters.
    EXPECT_EQ(SnowText(2491, 2491), "  snow collected: 100.000000%");
    EXPECT_EQ(SnowText(2491, 2491).size(), 29u);
}

// A level without snow is shown for one frame before it is replaced: it reads 0, never "nan".
TEST(HudText, ALevelWithoutSnowShowsZero) {
    EXPECT_EQ(SnowPercentage(0, 0), 0.0);
    EXPECT_EQ(SnowText(0, 0), "  snow collected: 0.000000%");
    EXPECT_EQ(SnowText(7, 0), "  snow collected: 0.000000%");
}

// Counts the game never produces still give a terminated text within the buffer.
TEST(HudText, StrangeCountsStayWithinTheBuffer) {
    const std::string huge = SnowText(INT_MAX, 1);
    EXPECT_EQ(huge, "  snow collected: 214748364700.000000%");
    EXPECT_LT(huge.size(), HudTextSize);
    EXPECT_EQ(SnowText(INT_MIN, -1), "  snow collected: 214748364800.000000%");

    char small[6];
    std::memset(small, 'x', sizeof small);
    FormatSnowText(small, sizeof small, 1, 2);
    EXPECT_STREQ(small, "  sno");
    FormatLevelText(small, sizeof small, 1000000);
    EXPECT_STREQ(small, " leve");
}

} // namespace
