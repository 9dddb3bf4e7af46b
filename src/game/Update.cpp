#include "game/Update.h"

#include "app/Input.h"
#include "game/Collision.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Snow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr float LowestTimeScale = 0.5f;
constexpr float HighestTimeScale = 3.0f;
constexpr int MouseCentreX = 320;
constexpr int MouseCentreY = 240;
constexpr float MouseLookGain = 0.00005f;
constexpr float LowestPitch = -1.5707964f;   // straight down
constexpr float HighestPitch = -0.08726646f; // 5 degrees down
constexpr float CameraAngleEasing = 0.1f;
constexpr float Acceleration = 0.035f;
constexpr float DrivePerSize = 0.5f;
constexpr float DriveAtSizeZero = 0.5f;
constexpr float HeadingBlendPerSpeed = 0.25f;
constexpr float Friction = 0.09f;
constexpr float CameraDistanceAtSizeZero = 30.0f;
constexpr float CameraDistancePerSize = 50.0f;
constexpr float OrbitHeightAtSizeZero = 5.75f;
constexpr float OrbitHeightPerSize = 15.0f;
constexpr float CameraEasing = 0.075f;
// The ball's centre never leaves the floor of the grid.
constexpr float FloorLow = -2.5f;
constexpr float FloorHigh = 122.5f;

constexpr double Pi = 3.1415926169185964;
constexpr double Turn = 6.283185233837193;
// A heading more turns than this from its target is first reduced by a remainder: a game keeps its
// heading within a turn or two of the direction of travel, so only a state thrown far off gets
// there, and the turn-by-turn wrap stays short.
constexpr double LongestWrap = 1024.0 * Turn;

float ClampTimeScale(float t) {
    if (!(t >= LowestTimeScale)) {
        return LowestTimeScale;
    }
    return t > HighestTimeScale ? HighestTimeScale : t;
}

// Steers the camera targets by the pointer's distance from the window centre.
void LookWithMouse(float t) {
    float dx = static_cast<float>(std::int64_t{InputState.mouseX} - MouseCentreX);
    float dy = static_cast<float>(std::int64_t{InputState.mouseY} - MouseCentreY);
    GameState.pitchTarget -= dy * MouseLookGain * t;
    GameState.yawTarget += dx * MouseLookGain * t;
    if (GameState.pitchTarget < LowestPitch) {
        GameState.pitchTarget = LowestPitch;
    }
    if (GameState.pitchTarget > HighestPitch) {
        GameState.pitchTarget = HighestPitch;
    }
}

// The products are taken left to right: grouping the rate with t first changes the last bit.
void EaseCameraAngles(float t) {
    GameState.cameraPitch +=
        (GameState.pitchTarget - GameState.cameraPitch) * CameraAngleEasing * t;
    GameState.cameraYaw += (GameState.yawTarget - GameState.cameraYaw) * CameraAngleEasing * t;
    GameState.cameraRoll += (GameState.rollTarget - GameState.cameraRoll) * CameraAngleEasing * t;
}

// Accelerates the ball by the keys, relative to the camera, and moves it.
void DriveBall(float t) {
    int forward = EitherDown(KeyUp, KeyW) ? 1 : 0;
    int back = EitherDown(KeyDown, KeyS) ? 1 : 0;
    int left = EitherDown(KeyLeft, KeyA) ? 1 : 0;
    int right = EitherDown(KeyRight, KeyD) ? 1 : 0;
    float f = static_cast<float>(forward - back);
    float s = static_cast<float>(right - left);
    float angle = std::atan2(s, f);
    float magnitude = std::fmin(std::sqrt(s * s + f * f), 1.0f);
    float drive = (DrivePerSize * GameState.ballSize + DriveAtSizeZero) * magnitude;
    float direction = GameState.cameraYaw + angle;
    float vx = GameState.velocityX + std::cos(direction) * drive * Acceleration * t;
    float vz = GameState.velocityZ + std::sin(direction) * drive * Acceleration * t;
    float x = GameState.ballX + vx * t;
    float z = GameState.ballZ + vz * t;
    // A state thrown out of all bounds moves nowhere rather than to infinity.
    if (std::isfinite(x) && std::isfinite(z)) {
        GameState.ballX = x;
        GameState.ballZ = z;
    }
}

float ClampToFloor(float coordinate) {
    return coordinate < FloorLow ? FloorLow : (coordinate > FloorHigh ? FloorHigh : coordinate);
}

// The ball faces the way it really travelled, then slows down.
void TurnAndSlow(float t) {
    float speed = std::sqrt(GameState.velocityX * GameState.velocityX +
                            GameState.velocityZ * GameState.velocityZ);
    if (speed > 0.0f) {
        GameState.ballHeading = BlendAngle(std::atan2(GameState.velocityZ, GameState.velocityX),
                                           HeadingBlendPerSpeed * speed);
    }
    GameState.velocityX -= GameState.velocityX * Friction * t;
    GameState.velocityZ -= GameState.velocityZ * Friction * t;
}

// Eases the camera toward its place behind and above the ball, on the far side of the view.
void FollowBall(float t) {
    float size = GameState.ballSize;
    float pitch = GameState.cameraPitch;
    float yaw = GameState.cameraYaw;
    float distance = -CameraDistanceAtSizeZero - CameraDistancePerSize * size;
    float across = std::cos(pitch) * distance;
    float goalX = GameState.ballX + std::cos(yaw) * across;
    float goalY = std::sin(pitch) * distance + (OrbitHeightPerSize * size + OrbitHeightAtSizeZero);
    float goalZ = GameState.ballZ + std::sin(yaw) * across;
    GameState.cameraX += (goalX - GameState.cameraX) * CameraEasing * t;
    GameState.cameraY += (goalY - GameState.cameraY) * CameraEasing * t;
    GameState.cameraZ += (goalZ - GameState.cameraZ) * CameraEasing * t;
}

// A state that no frame of the game can produce (a centre off the floor or not a number, a
// velocity that is not a number, a size or a count beyond its range) is brought back to one it can.
void SettleState() {
    GameState.snowTotal = std::clamp(GameState.snowTotal, 0, SnowPoints * SnowPoints);
    GameState.snowCollected = std::clamp(GameState.snowCollected, 0, GameState.snowTotal);
    if (!std::isfinite(GameState.ballX) || !std::isfinite(GameState.ballZ)) {
        GameState.ballX = StartX;
        GameState.ballZ = StartZ;
    }
    GameState.ballX = ClampToFloor(GameState.ballX);
    GameState.ballZ = ClampToFloor(GameState.ballZ);
    if (!std::isfinite(GameState.velocityX) || !std::isfinite(GameState.velocityZ)) {
        GameState.velocityX = 0.0f;
        GameState.velocityZ = 0.0f;
    }
    ClampBallSize();
}

// Brings `heading` within half a turn of `goal` one turn at a time, rounded to float after each
// turn. False where the float is too coarse for a turn to change it, `heading` left part-way.
bool WrapTurnByTurn(float& heading, double goal) {
    while (heading < goal - Pi) {
        float next = static_cast<float>(heading + Turn);
        if (next == heading) {
            return false;
        }
        heading = next;
    }
    while (heading > goal + Pi) {
        float next = static_cast<float>(heading - Turn);
        if (next == heading) {
            return false;
        }
        heading = next;
    }
    return true;
}

} // namespace

float BlendAngle(float target, float fraction) {
    float heading = GameState.ballHeading;
    if (!std::isfinite(heading) || !std::isfinite(target) || !std::isfinite(fraction)) {
        return heading;
    }
    const double goal = target;
    float wrapped = heading;
    if (std::fabs(heading - goal) > LongestWrap || !WrapTurnByTurn(wrapped, goal)) {
        wrapped = static_cast<float>(goal + std::fmod(heading - goal, Turn));
        WrapTurnByTurn(wrapped, goal);
    }
    // Rounded once, so that the whole way lands on the target itself.
    return static_cast<float>(double{wrapped} + (double{target} - wrapped) * fraction);
}

void UpdateGame(float timeScale) {
    float t = ClampTimeScale(timeScale);
    SettleState();
    LookWithMouse(t);
    EaseCameraAngles(t);
    float startX = GameState.ballX;
    float startZ = GameState.ballZ;
    DriveBall(t);
    ResolveWallCollisions(CollisionRadius());
    GameState.ballX = ClampToFloor(GameState.ballX);
    GameState.ballZ = ClampToFloor(GameState.ballZ);
    GameState.velocityX = (GameState.ballX - startX) / t;
    GameState.velocityZ = (GameState.ballZ - startZ) / t;
    TurnAndSlow(t);
    MeltBall(t);
    GatherSnow();
    ClampBallSize();
    AdvanceLevelWhenGathered();
    FollowBall(t);
}
