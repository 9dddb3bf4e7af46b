// Reads a level file with the game's own reader and reports what a ball of size 0 can gather
// from the start: the piles it reaches and those it cannot, the open cells, and the narrowest
// place it must pass. Exits with 1 when a pile cannot be reached, the ring of trees on the border
// is broken or the start is walled in, and with 2 when the file cannot be read.
// Usage: levelcheck LEVEL_FILE...
#include "Reachability.h"
#include "game/GameState.h"
#include "game/Level.h"

#include <cstdio>
#include <fstream>

namespace {

// The largest ball size whose radius is below `room`; negative when even size 0 does not fit.
float LargestSizeFor(float room) {
    return (room - BallRadius(0.0f)) / 7.5f;
}

constexpr int StartCell = 12;

bool BorderWhole() {
    for (int n = 0; n < MazeCells; ++n) {
        if (!LevelMap.walls[n][0] || !LevelMap.walls[n][MazeCells - 1] || !LevelMap.walls[0][n] ||
            !LevelMap.walls[MazeCells - 1][n]) {
            return false;
        }
    }
    return true;
}

// The start cell and the eight around it are open.
bool StartOpen() {
    for (int i = StartCell - 1; i <= StartCell + 1; ++i) {
        for (int j = StartCell - 1; j <= StartCell + 1; ++j) {
            if (LevelMap.walls[i][j]) {
                return false;
            }
        }
    }
    return true;
}

int CheckFile(const char* path) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "%s: cannot be read\n", path);
        return 2;
    }
    LoadLevelFrom(file);
    static RoomGrid grid;
    MeasureRoom(grid);
    ReachReport report = CheckReach(grid, 0.0f);
    std::printf("%s: %d piles reachable, %d unreachable, %d open cells, narrowest passage %.1f "
                "wide (a ball below size %.3f passes)\n",
                path, report.reachablePiles, report.unreachablePiles, report.openCells,
                2.0f * report.narrowestRoom, LargestSizeFor(report.narrowestRoom));
    bool border = BorderWhole();
    bool start = StartOpen();
    if (!border) {
        std::printf("%s: the ring of trees on the border is broken\n", path);
    }
    if (!start) {
        std::printf("%s: a tree stands on or next to the start cell\n", path);
    }
    return report.unreachablePiles > 0 || !border || !start ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: levelcheck LEVEL_FILE...\n");
        return 2;
    }
    int status = 0;
    for (int n = 1; n < argc; ++n) {
        int result = CheckFile(argv[n]);
        status = result > status ? result : status;
    }
    return status;
}
