// Runs the update step from arbitrary game states, inputs and mazes (any float, not a number
// and infinities included) and checks that the ball stays on the floor with a sound state.
#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace {

// Bytes of the input, read front to back; zeros once it runs out.
struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    template <typename Value> Value Take() {
        Value value{};
        const std::size_t count = size < sizeof value ? size : sizeof value;
        std::memcpy(&value, data, count);
        data += count;
        size -= count;
        return value;
    }
};

bool OnFloor(float coordinate) {
    return coordinate >= -2.5f && coordinate <= 122.5f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader reader{data, size};
    GameState = GameStateRecord{};
    InputState = InputTables{};
    // A maze of 25 rows from the first 625 bits, as level text for the game's reader.
    std::string maze;
    for (int cell = 0, bits = 0; cell < MazeCells * MazeCells; ++cell) {
        bits = cell % 8 == 0 ? reader.Take<std::uint8_t>() : bits;
        maze += (bits >> (cell % 8)) & 1 ? '1' : '0';
        maze += cell % MazeCells == MazeCells - 1 ? "\n" : "";
    }
    std::istringstream text(maze);
    LoadLevelFrom(text);
    for (float* value : {&GameState.ballX, &GameState.ballZ, &GameState.velocityX,
                         &GameState.velocityZ, &GameState.ballHeading, &GameState.ballSize,
                         &GameState.yawTarget, &GameState.pitchTarget, &GameState.cameraYaw}) {
        *value = reader.Take<float>();
    }
    GameState.level = reader.Take<std::int32_t>();
    GameState.snowCollected = reader.Take<std::int32_t>();
    const int frames = 1 + reader.Take<std::uint8_t>() % 32;
    for (int frame = 0; frame < frames; ++frame) {
        const int keys[8] = {273, 274, 275, 276, 119, 115, 97, 100};
        const std::uint8_t down = reader.Take<std::uint8_t>();
        for (int k = 0; k < 8; ++k) {
            InputState.keys[keys[k]] = (down >> k) & 1 ? ButtonState::Held : ButtonState::Up;
        }
        InputState.mouseX = reader.Take<std::int32_t>();
        InputState.mouseY = reader.Take<std::int32_t>();
        UpdateGame(reader.Take<float>());
        if (!OnFloor(GameState.ballX) || !OnFloor(GameState.ballZ) ||
            !(GameState.ballSize >= 0.0f && GameState.ballSize <= 1.0f) ||
            !std::isfinite(GameState.velocityX) || !std::isfinite(GameState.velocityZ)) {
            std::abort();
        }
    }
    return 0;
}
