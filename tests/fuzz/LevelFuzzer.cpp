// Feeds arbitrary bytes to the level reader and checks that the grids it builds stay sound.
#include "game/GameState.h"
#include "game/Level.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    LoadLevelFrom(text);
    std::int32_t snow = 0;
    // Each tree cell is checked with the four snow points of its square.
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            snow += LevelMap.snow[a][b];
            if (LevelMap.snow[a][b] > 1 || LevelMap.walls[a / 2][b / 2] > 1) {
                std::abort();
            }
        }
    }
    if (snow != GameState.snowTotal || snow > 2491) {
        std::abort();
    }
    return 0;
}
