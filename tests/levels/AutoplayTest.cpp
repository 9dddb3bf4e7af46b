// A bot plays the ten levels through the keys alone, as a player would: it steers with the
// camera-relative controls toward the nearest pile along a way its ball fits through, and waits
// for the ball to melt when the snow left lies beyond a passage too narrow for it.
#include "Reachability.h"
#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "game/Update.h"
#include "support/Scratch.h"

#include <SDL_keysym.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

constexpr float TimeLimit = 24000.0f; // sixtieths of a second of play per level at most
constexpr float Margin = 0.3f;        // room the bot leaves between the ball and the trees
constexpr int LookAhead = 2;          // path steps to the point the bot steers at

RoomGrid Room;
int Parent[SnowPoints * SnowPoints];
int Queue[SnowPoints * SnowPoints];

bool Fits(int point, float radius) {
    return Room.room[point / SnowPoints][point % SnowPoints] > radius + Margin;
}

// Piles left in the rectangle of snow points from (0, 0) to (a - 1, b - 1), refreshed each frame
// so that the bot can ask for the piles in any window at once.
int PilesBelow[SnowPoints + 1][SnowPoints + 1];

// The piles gathered when they were last counted; -1 at the start of a level.
std::int32_t CountedAt = -1;

void CountPiles() {
    if (GameState.snowCollected == CountedAt) {
        return; // nothing gathered since
    }
    CountedAt = GameState.snowCollected;
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            PilesBelow[a + 1][b + 1] = PilesBelow[a][b + 1] + PilesBelow[a + 1][b] -
                                       PilesBelow[a][b] + (LevelMap.snow[a][b] != 0 ? 1 : 0);
        }
    }
}

// Piles left on the snow points a0..a1 by b0..b1, clipped to the grid.
int PilesWithin(int a0, int a1, int b0, int b1) {
    a0 = std::max(a0, 0);
    b0 = std::max(b0, 0);
    a1 = std::min(a1, SnowPoints - 1);
    b1 = std::min(b1, SnowPoints - 1);
    if (a0 > a1 || b0 > b1) {
        return 0;
    }
    return PilesBelow[a1 + 1][b1 + 1] - PilesBelow[a0][b1 + 1] - PilesBelow[a1 + 1][b0] +
           PilesBelow[a0][b0];
}

// A point from which the ball surely gathers a pile: one lies in the square inside its reach,
// or on the lines through the point within its reach.
bool GathersFrom(int point, float radius) {
    int a = point / SnowPoints;
    int b = point % SnowPoints;
    float reach = radius + 1.25f - Margin;
    int square = static_cast<int>(reach / std::sqrt(2.0f) / SnowSpacing);
    int line = static_cast<int>(reach / SnowSpacing - 1e-4f);
    return PilesWithin(a - square, a + square, b - square, b + square) > 0 ||
           PilesWithin(a - line, a + line, b, b) > 0 || PilesWithin(a, a, b - line, b + line) > 0;
}

// The snow point nearest the ball that the ball fits on, or -1.
int StartPoint(float radius) {
    int best = -1;
    float nearest = 1e9f;
    int a0 = static_cast<int>(std::lround(GameState.ballX / SnowSpacing));
    int b0 = static_cast<int>(std::lround(GameState.ballZ / SnowSpacing));
    for (int a = a0 - 1; a <= a0 + 1; ++a) {
        for (int b = b0 - 1; b <= b0 + 1; ++b) {
            if (a < 0 || b < 0 || a >= SnowPoints || b >= SnowPoints ||
                !Fits(a * SnowPoints + b, radius)) {
                continue;
            }
            float d =
                std::hypot(SnowSpacing * a - GameState.ballX, SnowSpacing * b - GameState.ballZ);
            if (d < nearest) {
                nearest = d;
                best = a * SnowPoints + b;
            }
        }
    }
    return best;
}

// Searches breadth-first from `start` for the nearest point to gather from; returns the point
// to steer at on the way there, or -1 when nothing can be reached at this size.
int NextWaypoint(int start, float radius, bool& final) {
    for (int& parent : Parent) {
        parent = -1;
    }
    int head = 0;
    int tail = 0;
    Queue[tail++] = start;
    Parent[start] = start;
    const int steps[4] = {SnowPoints, -SnowPoints, 1, -1};
    while (head < tail) {
        int point = Queue[head++];
        if (GathersFrom(point, radius)) {
            int path[LookAhead + 1];
            int length = 0;
            for (int p = point; p != start; p = Parent[p]) {
                path[length % (LookAhead + 1)] = p;
                ++length;
            }
            final = length <= LookAhead;
            return length == 0 ? point
                               : path[(length - std::min(length, LookAhead)) % (LookAhead + 1)];
        }
        for (int step : steps) {
            int next = point + step;
            bool sameRow = step == 1 || step == -1 ? next / SnowPoints == point / SnowPoints : true;
            if (next < 0 || next >= SnowPoints * SnowPoints || !sameRow || Parent[next] != -1 ||
                !Fits(next, radius)) {
                continue;
            }
            Parent[next] = point;
            Queue[tail++] = next;
        }
    }
    return -1;
}

void SetKey(int key, bool down) {
    InputState.keys[key] = down ? ButtonState::Held : ButtonState::Up;
}

// Presses the key combination whose drive best turns the ball's velocity toward the waypoint.
void SteerTowards(int waypoint, bool final) {
    float drive = 0.5f * GameState.ballSize + 0.5f;
    float topSpeed = 0.91f * 0.035f * drive / 0.09f;
    float dx = SnowSpacing * (waypoint / SnowPoints) - GameState.ballX;
    float dz = SnowSpacing * (waypoint % SnowPoints) - GameState.ballZ;
    float distance = std::hypot(dx, dz);
    float speed = final ? std::min(topSpeed, 0.1f + distance * 0.1f) : topSpeed;
    float wantX = distance > 0.0f ? dx / distance * speed : 0.0f;
    float wantZ = distance > 0.0f ? dz / distance * speed : 0.0f;
    float errorX = wantX - GameState.velocityX;
    float errorZ = wantZ - GameState.velocityZ;
    int bestF = 0;
    int bestS = 0;
    float bestScore = 0.1f * std::hypot(errorX, errorZ) + 0.002f;
    for (int f = -1; f <= 1; ++f) {
        for (int s = -1; s <= 1; ++s) {
            if (f == 0 && s == 0) {
                continue;
            }
            float angle =
                GameState.cameraYaw + std::atan2(static_cast<float>(s), static_cast<float>(f));
            float score = std::cos(angle) * errorX + std::sin(angle) * errorZ;
            if (score > bestScore) {
                bestScore = score;
                bestF = f;
                bestS = s;
            }
        }
    }
    SetKey(SDLK_UP, bestF > 0);
    SetKey(SDLK_DOWN, bestF < 0);
    SetKey(SDLK_RIGHT, bestS > 0);
    SetKey(SDLK_LEFT, bestS < 0);
}

void ReleaseKeys() {
    for (int key : {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) {
        SetKey(key, false);
    }
}

// One frame of the bot: keys for this frame, then the game's own step. With nothing in reach
// at its size, it rests on a point where it fits, or lets go, while the ball melts.
void PlayFrame(float timeScale) {
    float radius = BallRadius(GameState.ballSize);
    CountPiles();
    int start = StartPoint(radius);
    bool final = true;
    int waypoint = start < 0 ? -1 : NextWaypoint(start, radius, final);
    if (waypoint >= 0) {
        SteerTowards(waypoint, final);
    } else if (start >= 0) {
        SteerTowards(start, true);
    } else {
        ReleaseKeys();
    }
    UpdateGame(timeScale);
}

struct AutoplayTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        ASSERT_EQ(chdir(SOURCE_DIR), 0);
    }
    void TearDown() override {
        ResetGlobalRecords();
        ASSERT_EQ(chdir(previous.c_str()), 0);
    }
    std::string previous = std::filesystem::current_path().string();
};

// Plays levels 1 to 10 and on into level 1 again, printing the frames each level took.
void PlayAllLevels(float timeScale) {
    std::srand(1);
    InputState.mouseX = 320;
    InputState.mouseY = 240;
    GameState.level = 1;
    NewGame();
    std::printf("time scale %.1f, frames per level:", timeScale);
    const int frameLimit = static_cast<int>(TimeLimit / timeScale);
    for (int level = 1; level <= 10; ++level) {
        ASSERT_EQ(GameState.level, level);
        MeasureRoom(Room);
        CountedAt = -1;
        int frames = 0;
        while (GameState.level == level && frames < frameLimit) {
            PlayFrame(timeScale);
            ++frames;
        }
        std::printf(" %d", frames);
        std::fflush(stdout);
        ASSERT_NE(GameState.level, level)
            << "level " << level << " not gathered in " << frameLimit << " frames; "
            << GameState.snowTotal - GameState.snowCollected << " piles left";
    }
    std::printf("\n");
    EXPECT_EQ(GameState.level, 1) << "the tenth level gives way to the first";
    EXPECT_EQ(GameState.snowCollected, 0);
}

TEST_F(AutoplayTest, GathersEveryLevelAtSixtyFramesPerSecond) {
    PlayAllLevels(1.0f);
}

TEST_F(AutoplayTest, GathersEveryLevelAtTwentyFramesPerSecond) {
    PlayAllLevels(3.0f);
}

} // namespace
