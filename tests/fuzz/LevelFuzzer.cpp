// Feeds arbitrary bytes to the level reader and checks that the grids it builds stay sound.
#include "game/GameState.h"
#include "game/Level.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    LoadLevelFrom(text);
    std::int32_t snow = 0;
    for (const auto& column : LevelMap.snow) {
        for (std::uint8_t point : column) {
            if (point > 1) {
                std::abort();
            }
            snow += point;
        }
    }
    for (const auto& column : LevelMap.walls) {
        for (std::uint8_t cell : column) {
            if (cell > 1) {
                std::abort();
            }
        }
    }
    if (snow != GameState.snowTotal || snow > 2491) {
        std::abort();
    }
    return 0;
}
