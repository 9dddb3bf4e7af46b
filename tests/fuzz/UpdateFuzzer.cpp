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
    std::size_t used;
};

void Take(Reader& reader, void* target, std::size_t count) {
    std::memset(target, 0, count);
    std::size_t available = reader.size - reader.used < count ? reader.size - reader.used : count;
    std::memcpy(target, reader.data + reader.used, available);
    reader.used += available;
}

float TakeFloat(Reader& reader) {
    float value;
    Take(reader, &value, sizeof value);
    return value;
}

std::uint8_t TakeByte(Reader& reader) {
    std::uint8_t value;
    Take(reader, &value, 1);
    return value;
}

// A maze of 25 rows from the next 625 bits, as level text for the game's reader.
void TakeMaze(Reader& reader) {
    std::string text;
    std::uint8_t bits = 0;
    for (int cell = 0; cell < MazeCells * MazeCells; ++cell) {
        if (cell % 8 == 0) {
            bits = TakeByte(reader);
        }
        text += (bits >> (cell % 8)) & 1 ? '1' : '0';
        if (cell % MazeCells == MazeCells - 1) {
            text += '\n';
        }
    }
    std::istringstream stream(text);
    LoadLevelFrom(stream);
}

void TakeState(Reader& reader) {
    GameState.ballX = TakeFloat(reader);
    GameState.ballZ = TakeFloat(reader);
    GameState.velocityX = TakeFloat(reader);
    GameState.velocityZ = TakeFloat(reader);
    GameState.ballHeading = TakeFloat(reader);
    GameState.ballSize = TakeFloat(reader);
    GameState.yawTarget = TakeFloat(reader);
    GameState.pitchTarget = TakeFloat(reader);
    GameState.cameraYaw = TakeFloat(reader);
    std::int32_t counts[2];
    Take(reader, counts, sizeof counts);
    GameState.level = counts[0];
    GameState.snowCollected = counts[1];
}

void TakeInput(Reader& reader) {
    const int keys[8] = {273, 274, 275, 276, 119, 115, 97, 100};
    std::uint8_t down = TakeByte(reader);
    for (int k = 0; k < 8; ++k) {
        InputState.keys[keys[k]] = (down >> k) & 1 ? ButtonState::Held : ButtonState::Up;
    }
    std::int32_t mouse[2];
    Take(reader, mouse, sizeof mouse);
    InputState.mouseX = mouse[0];
    InputState.mouseY = mouse[1];
}

bool OnFloor(float coordinate) {
    return coordinate >= -2.5f && coordinate <= 122.5f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader reader{data, size, 0};
    GameState = GameStateRecord{};
    InputState = InputTables{};
    TakeMaze(reader);
    TakeState(reader);
    int frames = 1 + TakeByte(reader) % 32;
    for (int frame = 0; frame < frames; ++frame) {
        TakeInput(reader);
        UpdateGame(TakeFloat(reader));
        if (!OnFloor(GameState.ballX) || !OnFloor(GameState.ballZ) ||
            !(GameState.ballSize >= 0.0f && GameState.ballSize <= 1.0f) ||
            !std::isfinite(GameState.velocityX) || !std::isfinite(GameState.velocityZ)) {
            std::abort();
        }
    }
    return 0;
}
