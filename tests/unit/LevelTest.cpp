// The level reader and the level build: trees, snow, and text of any layout or content.
#include "game/Level.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string OpenRow(25, '0');

// An open level with trees in the cells i * 100 + j, each row ended by `end`.
std::string WithWalls(const std::vector<int>& cells, const std::string& end = "\n") {
    std::string text;
    for (int r = 0; r < 25; ++r) {
        text += OpenRow + end;
    }
    for (int cell : cells) {
        text[cell % 100 * (25 + end.size()) + cell / 100] = '1';
    }
    return text;
}

// Snow lies on every point but those of the tree cells and of the start cell; "1" is a tree, the
// first word the first row (z), its first character the first column (x). Rows are words, however
// they are separated; only the first 25 characters of a word and the first 25 words count; NUL
// bytes are open ground.
TEST(LevelTest, TreesClearTheSnowOfTheirCellsWhateverTheLayout) {
    const struct {
        std::string text;
        int walls, snow;
        std::vector<int> bare, snowy; // snow points a * 100 + b
    } cases[] = {
        {WithWalls({}), 0, 2491, {2323, 2424, 2525, 2325}, {2222, 2626}},
        {WithWalls({0}), 1, 2491 - 4, {101}, {201}},
        {WithWalls({305, 405}), 2, 2491 - 15, {}, {}},
        {WithWalls({1212}), 1, 2491, {}, {}},    // a tree on the start cell stands
        {"1\n01\n", 2, 2491 - 12, {202}, {402}}, // short and missing rows are open
        {WithWalls({709, 2224}, " "), 2, 2491 - 18, {1418, 4448}, {1218, 4848}},
        {"\t\t" + WithWalls({709, 2224}, "\r\n\t\v\f "), 2, 2491 - 18, {1418, 4448}, {1218, 4848}},
        {OpenRow + std::string(1 << 20, '1') + "\n" + WithWalls({}) + "1", 0, 2491, {}, {}},
        {std::string(4096, '\0'), 0, 2491, {}, {}},
    };
    for (const auto& c : cases) {
        std::istringstream stream(c.text);
        LoadLevelFrom(stream);
        EXPECT_EQ(std::count(&LevelMap.walls[0][0], &LevelMap.walls[0][0] + 625, 1), c.walls)
            << &c - cases;
        EXPECT_EQ(GameState.snowTotal, c.snow) << &c - cases;
        for (int point : c.bare) {
            EXPECT_EQ(LevelMap.snow[point / 100][point % 100], 0) << &c - cases << ": " << point;
        }
        for (int point : c.snowy) {
            EXPECT_EQ(LevelMap.snow[point / 100][point % 100], 1) << &c - cases << ": " << point;
        }
    }
    // Each tree sinks by 0 to 0.99 and each pile by 0 to 0.495, in a hundred steps: both ends show.
    const auto [lowTree, highTree] =
        std::minmax_element(&LevelMap.wallOffsets[0][0], &LevelMap.wallOffsets[0][0] + 625);
    const auto [lowPile, highPile] =
        std::minmax_element(&LevelMap.snowOffsets[0][0], &LevelMap.snowOffsets[0][0] + 2500);
    EXPECT_TRUE(*lowTree >= -0.991f && *lowTree < -0.9f && *highTree <= 0 && *highTree > -0.1f);
    EXPECT_TRUE(*lowPile >= -0.496f && *lowPile < -0.45f && *highPile <= 0 && *highPile > -0.05f);
    ResetGlobalRecords();
}

} // namespace
