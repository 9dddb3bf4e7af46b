// The level reader and the level build: trees, snow, offsets, and the start of a level.
#include "game/Level.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string OpenRow(25, '0');

std::string Rows(int count, const std::string& row) {
    std::string text;
    for (int r = 0; r < count; ++r) {
        text += row + "\n";
    }
    return text;
}

// An open level with trees in the cells i * 100 + j.
std::string WithWalls(const std::vector<int>& cells) {
    std::string text = Rows(25, OpenRow);
    for (int cell : cells) {
        text[cell % 100 * 26 + cell / 100] = '1';
    }
    return text;
}

void BuildFrom(const std::string& text) {
    std::istringstream stream(text);
    LoadLevelFrom(stream);
}

int CountWalls() {
    int count = 0;
    for (const auto& column : LevelMap.walls) {
        for (auto cell : column) {
            count += cell;
        }
    }
    return count;
}

struct LevelTest : ::testing::Test {
    void SetUp() override { ResetGlobalRecords(); }
    void TearDown() override { ResetGlobalRecords(); }
};

// Snow lies on every point but those of the tree cells and of the start cell; "1" is a tree, the
// first word the first row (z), its first character the first column (x).
TEST_F(LevelTest, TreesClearTheSnowOfTheirCells) {
    const struct {
        std::string text;
        int walls, snow;
        std::vector<int> treeCells, bare, snowy; // cells i * 100 + j, snow points a * 100 + b
    } cases[] = {
        {Rows(25, OpenRow), 0, 2491, {}, {2323, 2424, 2525, 2325}, {2222, 2626}},
        {Rows(25, std::string(25, '1')), 625, 0, {}, {}, {}},
        {WithWalls({0}), 1, 2491 - 4, {0}, {101}, {201}},
        {WithWalls({2424}), 1, 2491 - 9, {2424}, {4747, 4949}, {4649}},
        {WithWalls({305, 405}), 2, 2491 - 15, {305, 405}, {}, {}},
        {WithWalls({1212}), 1, 2491, {1212}, {}, {}}, // a tree on the start cell stands
        {"1\n01\n", 2, 2491 - 12, {0, 101}, {}, {}},  // short and missing rows are open
        {WithWalls({709}), 1, 2491 - 9, {709}, {1418}, {1218}},
    };
    for (const auto& c : cases) {
        BuildFrom(c.text);
        EXPECT_EQ(CountWalls(), c.walls) << &c - cases;
        EXPECT_EQ(GameState.snowTotal, c.snow) << &c - cases;
        for (int cell : c.treeCells) {
            EXPECT_EQ(LevelMap.walls[cell / 100][cell % 100], 1) << &c - cases << ": " << cell;
        }
        for (int point : c.bare) {
            EXPECT_EQ(LevelMap.snow[point / 100][point % 100], 0) << &c - cases << ": " << point;
        }
        for (int point : c.snowy) {
            EXPECT_EQ(LevelMap.snow[point / 100][point % 100], 1) << &c - cases << ": " << point;
        }
    }
}

TEST_F(LevelTest, WordsMapToRowsWhateverTheLayoutAndStrangeTextIsReadSafely) {
    std::string maze;
    for (int r = 0; r < 25; ++r) {
        std::string row = OpenRow;
        row[(r * 7) % 25] = row[(r * 3 + 1) % 25] = '1';
        maze += row + (r % 3 == 0 ? " " : "\n");
    }
    BuildFrom(maze);
    const LevelGrids reference = LevelMap;
    std::string crlf = "\t\t";
    std::string onePerLine;
    for (char c : maze) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        onePerLine += c == ' ' ? '\n' : c;
    }
    for (const std::string& text : {crlf, onePerLine}) {
        BuildFrom(text);
        EXPECT_EQ(std::memcmp(reference.walls, LevelMap.walls, sizeof reference.walls), 0);
        EXPECT_EQ(std::memcmp(reference.snow, LevelMap.snow, sizeof reference.snow), 0);
    }
    // Only the first 25 characters of a word count, however long; words after the 25th are not
    // read; junk and NUL bytes build some level.
    BuildFrom(OpenRow + std::string(1 << 20, '1') + "\n" + OpenRow + "1\n");
    EXPECT_EQ(CountWalls(), 0);
    BuildFrom(Rows(25, OpenRow) + std::string(25, '1'));
    EXPECT_EQ(CountWalls(), 0);
    std::string junk;
    for (int k = 0; k < 5000; ++k) {
        junk += static_cast<char>((k * 131 + 7) % 256);
    }
    BuildFrom(junk);
    EXPECT_LE(CountWalls(), 625);
    BuildFrom(std::string(4096, '\0'));
    EXPECT_EQ(CountWalls(), 0);
    EXPECT_EQ(GameState.snowTotal, 2491);
}

TEST_F(LevelTest, OffsetsAreWholeStepsInRangeAndChangeBetweenBuilds) {
    BuildFrom(WithWalls({304}));
    const LevelGrids first = LevelMap;
    const auto expectSteps = [](const auto& offsets, float step, float lowest) {
        for (const auto& column : offsets) {
            for (float offset : column) {
                ASSERT_TRUE(offset <= 0.0f && offset >= lowest) << offset;
                ASSERT_EQ(offset, -std::round(-offset / step) * step);
            }
        }
    };
    expectSteps(LevelMap.wallOffsets, 0.01f, -0.99f);
    expectSteps(LevelMap.snowOffsets, 0.005f, -0.495f);
    BuildFrom(WithWalls({304}));
    EXPECT_EQ(std::memcmp(first.snow, LevelMap.snow, sizeof first.snow), 0);
    EXPECT_NE(std::memcmp(first.snowOffsets, LevelMap.snowOffsets, sizeof first.snowOffsets), 0);
}

TEST_F(LevelTest, NewGameReadsTheFileOfTheLevelAndStartsAtTheCentre) {
    ScratchFolder folder;
    folder.Write("Media/level10.txt", WithWalls({709}));
    // A folder named like a level file reads as no words at all; a missing file too.
    std::filesystem::create_directory(folder.path + "/Media/level3.txt");
    for (const auto& [level, walls] : {std::pair{10, 1}, {2, 0}, {3, 0}}) {
        GameState.level = level;
        GameState.ballSize = 0.7f;
        GameState.snowCollected = 12;
        GameState.velocityX = 0.25f;
        GameState.ballHeading = 1.5f;
        GameState.cameraYaw = GameState.yawTarget = GameState.cameraRoll = 1.0f;
        NewGame();
        EXPECT_EQ(CountWalls(), walls) << LevelFileName(level);
        EXPECT_EQ(GameState.snowTotal, 2491 - 9 * walls);
        EXPECT_EQ(GameState.snowCollected, 0);
        EXPECT_EQ(GameState.ballSize, 0.0f);
        const float start[] = {StartX,     StartZ,     StartX, 0.0f, StartZ,
                               StartPitch, StartPitch, 0,      0,    0};
        const float now[] = {GameState.ballX,       GameState.ballZ,     GameState.cameraX,
                             GameState.cameraY,     GameState.cameraZ,   GameState.cameraPitch,
                             GameState.pitchTarget, GameState.cameraYaw, GameState.yawTarget,
                             GameState.cameraRoll};
        EXPECT_EQ(std::memcmp(start, now, sizeof now), 0) << "ball and camera at the start";
        // What a level does not reset carries over from the level before.
        EXPECT_EQ(GameState.velocityX, 0.25f);
        EXPECT_EQ(GameState.ballHeading, 1.5f);
    }
    EXPECT_EQ(LevelFileName(10), "Media/level10.txt");
}

} // namespace
