// The one record the game keeps between frames, and the start of every level.
#pragma once

#include <cstdint>

struct _Mix_Music;

struct GameStateRecord {
    std::int32_t level;         // 1 to 10
    bool quitRequested;         // the window's close request has been seen
    std::uint32_t lastTicks;    // tick count at the start of the previous frame, ms
    std::int32_t frameMillis;   // ms between the last two frame starts
    float framesPerSecond;      // 1000 / frameMillis
    std::int32_t snowTotal;     // piles present when the level was built
    std::int32_t snowCollected; // piles gathered in this level
    float ballX;                // ball centre, world x
    float ballZ;                // ball centre, world z
    float ballHeading;          // radians, the way the figure faces
    float velocityX;            // world units per sixtieth of a second
    float velocityZ;            // world units per sixtieth of a second
    float ballSize;             // 0 (smallest) to 1 (largest)
    float cameraX;              // camera position, world units
    float cameraY;              //
    float cameraZ;              //
    float cameraPitch;          // radians, negative looks down
    float cameraYaw;            // radians
    float cameraRoll;           // radians, always 0
    float pitchTarget;          // the pitch the camera eases toward
    float yawTarget;            // the yaw the camera eases toward
    float rollTarget;           // the roll the camera eases toward, always 0
    std::uint32_t atlasTexture; // GL texture name of the atlas, 0 when it could not be loaded
    struct _Mix_Music* music;   // the background music, kept for the whole run
};

extern GameStateRecord GameState;

// Where the ball and the camera start on every level: the centre of cell (12, 12).
constexpr float StartX = 60.0f;
constexpr float StartZ = 60.0f;
// The camera starts looking 25 degrees down.
constexpr float StartPitch = -0.43633232f;

// Resets the counters, builds the level `GameState.level` and places the ball and the camera.
void NewGame();
// Puts the ball and the camera at the start of the level.
void ResetPlayer();
