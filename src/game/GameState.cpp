#include "game/GameState.h"

#include "game/Level.h"

GameStateRecord GameState = {1,    false, 0,    0,    0.0f, 0,    0,    0.0f,
                             0.0f, 0.0f,  0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                             0.0f, 0.0f,  0.0f, 0.0f, 0.0f, 0.0f, 0,    nullptr};

void NewGame() {
    GameState.ballSize = 0.0f;
    GameState.snowTotal = 0;
    GameState.snowCollected = 0;
    LoadLevel();
    ResetPlayer();
}

void ResetPlayer() {
    GameState.ballX = StartX;
    GameState.ballZ = StartZ;
    GameState.cameraX = StartX;
    GameState.cameraY = 0.0f;
    GameState.cameraZ = StartZ;
    GameState.cameraPitch = StartPitch;
    GameState.pitchTarget = StartPitch;
    GameState.cameraYaw = 0.0f;
    GameState.cameraRoll = 0.0f;
    GameState.yawTarget = 0.0f;
    GameState.rollTarget = 0.0f;
}
