#include "game/Level.h"

#include "game/GameState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <istream>

LevelGrids LevelMap;
std::uint32_t LevelBuilds = 0;

namespace {

constexpr int StartCell = 12;
constexpr float WallOffsetStep = 0.01f;
constexpr float SnowOffsetStep = 0.005f;
constexpr int OffsetSteps = 100;

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next white-space separated word, keeping only its first `MazeCells` characters so
// that a word of any length costs no memory. Returns false when the text has no word left. The
// stream's own reads turn a failing file (a folder, say) into the end of the text.
bool ReadRowWord(std::istream& text, char (&row)[MazeCells]) {
    int c = text.get();
    while (c != EOF && IsBlank(c)) {
        c = text.get();
    }
    if (c == EOF) {
        return false;
    }
    int length = 0;
    while (c != EOF && !IsBlank(c)) {
        if (length < MazeCells) {
            row[length++] = static_cast<char>(c);
        }
        c = text.get();
    }
    for (int i = length; i < MazeCells; ++i) {
        row[i] = '\0';
    }
    return true;
}

void ReadWalls(std::istream& text) {
    for (int j = 0; j < MazeCells; ++j) {
        char row[MazeCells];
        if (!ReadRowWord(text, row)) {
            return;
        }
        for (int i = 0; i < MazeCells; ++i) {
            if (row[i] == '1') {
                LevelMap.walls[i][j] = 1;
            }
        }
    }
}

// Snow lies everywhere but in the wall cells and on the start cell.
void SpreadSnow() {
    for (auto& column : LevelMap.snow) {
        for (auto& point : column) {
            point = 1;
        }
    }
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            if (LevelMap.walls[i][j] == 0) {
                continue;
            }
            for (int a = std::max(2 * i - 1, 0); a <= std::min(2 * i + 1, SnowPoints - 1); ++a) {
                for (int b = std::max(2 * j - 1, 0); b <= std::min(2 * j + 1, SnowPoints - 1);
                     ++b) {
                    LevelMap.snow[a][b] = 0;
                }
            }
        }
    }
    for (int a = 2 * StartCell - 1; a <= 2 * StartCell + 1; ++a) {
        for (int b = 2 * StartCell - 1; b <= 2 * StartCell + 1; ++b) {
            LevelMap.snow[a][b] = 0;
        }
    }
}

// Each tree and pile sinks a little into the ground, so the rows do not look ruled.
void DrawOffsets() {
    for (auto& column : LevelMap.wallOffsets) {
        for (float& offset : column) {
            offset = -static_cast<float>(std::rand() % OffsetSteps) * WallOffsetStep;
        }
    }
    for (auto& column : LevelMap.snowOffsets) {
        for (float& offset : column) {
            offset = -static_cast<float>(std::rand() % OffsetSteps) * SnowOffsetStep;
        }
    }
}

std::int32_t CountSnow() {
    std::int32_t count = 0;
    for (const auto& column : LevelMap.snow) {
        for (std::uint8_t point : column) {
            count += point != 0 ? 1 : 0;
        }
    }
    return count;
}

void ClearWalls() {
    for (auto& column : LevelMap.walls) {
        for (auto& cell : column) {
            cell = 0;
        }
    }
}

void FinishLevel() {
    SpreadSnow();
    DrawOffsets();
    GameState.snowTotal = CountSnow();
    ++LevelBuilds;
}

} // namespace

std::string LevelFileName(std::int32_t level) {
    char name[256];
    std::snprintf(name, sizeof name, "%s%i%s", "Media/level", static_cast<int>(level), ".txt");
    return name;
}

void LoadLevelFrom(std::istream& text) {
    ClearWalls();
    ReadWalls(text);
    FinishLevel();
}

void LoadLevel() {
    ClearWalls();
    std::ifstream file(LevelFileName(GameState.level));
    ReadWalls(file);
    file.close();
    FinishLevel();
}
