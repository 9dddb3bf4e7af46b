// Runs the update step from arbitrary game states, inputs and mazes (any float, not a number
// and infinities included) and checks that the ball stays on the floor with a sound state.
#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input read front to back, zeros once it runs out; a maze, a state and 32 frames of input
    // take less than this.
    std::uint8_t input[1024] = {};
    std::memcpy(input, data, std::min(size, sizeof input));
    std::size_t at = 0;
    const auto take = [&](auto value) {
        std::memcpy(&value, input + at, sizeof value);
        at += sizeof value;
        return value;
    };
    GameState = GameStateRecord{};
    InputState = InputTables{};
    // A maze of 25 rows from the first 625 bits, as level text for the game's reader.
    std::string maze;
    for (int cell = 0; cell < MazeCells * MazeCells; ++cell) {
        maze += (input[cell / 8] >> (cell % 8)) & 1 ? '1' : '0';
        maze += cell % MazeCells == MazeCells - 1 ? "\n" : "";
    }
    at = (MazeCells * MazeCells + 7) / 8;
    std::istringstream text(maze);
    LoadLevelFrom(text);
    for (float* value : {&GameState.ballX, &GameState.ballZ, &GameState.velocityX,
                         &GameState.velocityZ, &GameState.ballHeading, &GameState.ballSize,
                         &GameState.yawTarget, &GameState.pitchTarget, &GameState.cameraYaw}) {
        *value = take(0.0f);
    }
    GameState.level = take(std::int32_t{});
    GameState.snowCollected = take(std::int32_t{});
    const int frames = 1 + take(std::uint8_t{}) % 32;
    for (int frame = 0; frame < frames; ++frame) {
        const int keys[8] = {KeyUp, KeyDown, KeyRight, KeyLeft, KeyW, KeyS, KeyA, KeyD};
        const std::uint8_t down = take(std::uint8_t{});
        for (int k = 0; k < 8; ++k) {
            InputState.keys[keys[k]] = (down >> k) & 1 ? ButtonState::Held : ButtonState::Up;
        }
        InputState.mouseX = take(std::int32_t{});
        InputState.mouseY = take(std::int32_t{});
        UpdateGame(take(0.0f));
        const auto onFloor = [](float c) { return c >= -2.5f && c <= 122.5f; };
        if (!onFloor(GameState.ballX) || !onFloor(GameState.ballZ) ||
            !(GameState.ballSize >= 0.0f && GameState.ballSize <= 1.0f) ||
            !std::isfinite(GameState.velocityX) || !std::isfinite(GameState.velocityZ)) {
            std::abort();
        }
    }
    return 0;
}
