#include "game/Level.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string Rows(int count, const std::string& row) {
    std::string text;
    for (int r = 0; r < count; ++r) {
        text += row + "\n";
    }
    return text;
}

const std::string OpenRow(25, '0');

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

// One wall in cell (i, j) of an otherwise open level.
std::string SingleWall(int i, int j) {
    std::string text = Rows(25, OpenRow);
    text[j * 26 + i] = '1';
    return text;
}

struct LevelTest : ::testing::Test {
    void SetUp() override { ResetGlobalRecords(); }
    void TearDown() override { ResetGlobalRecords(); }
};

TEST_F(LevelTest, OpenAndFullLevelsCountTheirSnow) {
    BuildFrom(Rows(25, OpenRow));
    EXPECT_EQ(GameState.snowTotal, 2491);
    EXPECT_EQ(CountWalls(), 0);
    for (int a = 23; a <= 25; ++a) {
        for (int b = 23; b <= 25; ++b) {
            EXPECT_EQ(LevelMap.snow[a][b], 0);
        }
    }
    BuildFrom(Rows(25, std::string(25, '1')));
    EXPECT_EQ(GameState.snowTotal, 0);
    EXPECT_EQ(CountWalls(), 625);
}

TEST_F(LevelTest, WallsClearTheSnowOfTheirCells) {
    BuildFrom(SingleWall(0, 0));
    EXPECT_EQ(LevelMap.walls[0][0], 1);
    EXPECT_EQ(GameState.snowTotal, 2491 - 4);
    EXPECT_EQ(LevelMap.snow[1][1], 0);
    EXPECT_EQ(LevelMap.snow[2][1], 1);

    BuildFrom(SingleWall(24, 24));
    EXPECT_EQ(GameState.snowTotal, 2491 - 9);
    EXPECT_EQ(LevelMap.snow[47][47], 0);
    EXPECT_EQ(LevelMap.snow[49][49], 0);
    EXPECT_EQ(LevelMap.snow[46][49], 1);

    std::string pair = SingleWall(3, 5);
    pair[5 * 26 + 4] = '1';
    BuildFrom(pair);
    EXPECT_EQ(LevelMap.walls[3][5], 1);
    EXPECT_EQ(LevelMap.walls[4][5], 1);
    EXPECT_EQ(GameState.snowTotal, 2491 - 15);

    // A tree on the start cell stands; its snow is cleared either way.
    BuildFrom(SingleWall(12, 12));
    EXPECT_EQ(LevelMap.walls[12][12], 1);
    EXPECT_EQ(GameState.snowTotal, 2491);
}

TEST_F(LevelTest, WordsMapToRowsWhateverTheLayout) {
    std::string maze;
    for (int r = 0; r < 25; ++r) {
        std::string row = OpenRow;
        row[(r * 7) % 25] = '1';
        row[(r * 3 + 1) % 25] = '1';
        maze += row + (r % 3 == 0 ? " " : "\n");
    }
    BuildFrom(maze);
    LevelGrids reference = LevelMap;
    std::string crlf;
    std::string onePerLine;
    for (char c : maze) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        onePerLine += c == ' ' ? '\n' : c;
    }
    BuildFrom("\t\t" + crlf);
    EXPECT_EQ(0, std::memcmp(reference.walls, LevelMap.walls, sizeof reference.walls));
    EXPECT_EQ(0, std::memcmp(reference.snow, LevelMap.snow, sizeof reference.snow));
    BuildFrom(onePerLine);
    EXPECT_EQ(0, std::memcmp(reference.walls, LevelMap.walls, sizeof reference.walls));
}

TEST_F(LevelTest, ShortLongAndStrangeWordsAreReadSafely) {
    // Short rows and missing rows are open.
    BuildFrom("1\n01\n");
    EXPECT_EQ(LevelMap.walls[0][0], 1);
    EXPECT_EQ(LevelMap.walls[1][1], 1);
    EXPECT_EQ(CountWalls(), 2);

    // Only the first 25 characters of a word count; the rest is skipped, however long.
    std::string text = std::string(25, '0') + std::string(1 << 20, '1') + "\n" + OpenRow + "1\n";
    BuildFrom(text);
    EXPECT_EQ(CountWalls(), 0);

    // Binary junk and NUL bytes build some level, never more than 25 rows of walls.
    std::string junk;
    for (int k = 0; k < 5000; ++k) {
        junk += static_cast<char>((k * 131 + 7) % 256);
    }
    BuildFrom(junk);
    EXPECT_LE(CountWalls(), 625);
    BuildFrom(std::string(4096, '\0'));
    EXPECT_EQ(CountWalls(), 0);
    EXPECT_EQ(GameState.snowTotal, 2491);

    // Words after the 25th are not read.
    BuildFrom(Rows(25, OpenRow) + std::string(25, '1'));
    EXPECT_EQ(CountWalls(), 0);
}

TEST_F(LevelTest, OffsetsAreWholeStepsInRangeAndChangeBetweenBuilds) {
    BuildFrom(SingleWall(3, 4));
    LevelGrids first = LevelMap;
    const auto expectSteps = [](const auto& offsets, float step, float lowest) {
        for (const auto& column : offsets) {
            for (float offset : column) {
                EXPECT_LE(offset, 0.0f);
                EXPECT_GE(offset, lowest);
                EXPECT_EQ(offset, -std::round(-offset / step) * step);
            }
        }
    };
    expectSteps(LevelMap.wallOffsets, 0.01f, -0.99f);
    expectSteps(LevelMap.snowOffsets, 0.005f, -0.495f);
    BuildFrom(SingleWall(3, 4));
    EXPECT_EQ(0, std::memcmp(first.walls, LevelMap.walls, sizeof first.walls));
    EXPECT_EQ(0, std::memcmp(first.snow, LevelMap.snow, sizeof first.snow));
    EXPECT_NE(0, std::memcmp(first.snowOffsets, LevelMap.snowOffsets, sizeof first.snowOffsets));
}

TEST_F(LevelTest, LoadLevelReadsTheFileOfTheCurrentLevel) {
    EXPECT_EQ(LevelFileName(10), "Media/level10.txt");
    ScratchFolder folder;
    folder.Write("Media/level10.txt", SingleWall(7, 9));
    GameState.level = 10;
    LoadLevel();
    EXPECT_EQ(LevelMap.walls[7][9], 1);
    EXPECT_EQ(CountWalls(), 1);

    // A missing file: no walls and snow everywhere but on the start cell.
    GameState.level = 2;
    LoadLevel();
    EXPECT_EQ(CountWalls(), 0);
    EXPECT_EQ(GameState.snowTotal, 2491);

    // A folder named like a level file reads as no words at all.
    std::filesystem::create_directory(folder.path + "/Media/level3.txt");
    GameState.level = 3;
    LoadLevel();
    EXPECT_EQ(CountWalls(), 0);
    EXPECT_EQ(GameState.snowTotal, 2491);
}

TEST_F(LevelTest, NewGameStartsTheLevelAtTheCentre) {
    ScratchFolder folder;
    folder.Write("Media/level1.txt", SingleWall(0, 0));
    GameState.ballSize = 0.7f;
    GameState.snowCollected = 12;
    GameState.velocityX = 0.25f;
    GameState.ballHeading = 1.5f;
    NewGame();
    EXPECT_EQ(GameState.level, 1);
    EXPECT_EQ(GameState.snowCollected, 0);
    EXPECT_EQ(GameState.snowTotal, 2491 - 4);
    EXPECT_EQ(GameState.ballSize, 0.0f);
    EXPECT_EQ(GameState.ballX, 60.0f);
    EXPECT_EQ(GameState.ballZ, 60.0f);
    EXPECT_EQ(GameState.cameraX, 60.0f);
    EXPECT_EQ(GameState.cameraY, 0.0f);
    EXPECT_EQ(GameState.cameraZ, 60.0f);
    EXPECT_EQ(GameState.cameraPitch, -0.43633232f);
    EXPECT_EQ(GameState.pitchTarget, -0.43633232f);
    EXPECT_EQ(GameState.yawTarget, 0.0f);
    EXPECT_EQ(GameState.cameraRoll, 0.0f);
    // What a level does not reset carries over from the level before.
    EXPECT_EQ(GameState.velocityX, 0.25f);
    EXPECT_EQ(GameState.ballHeading, 1.5f);
}

} // namespace
