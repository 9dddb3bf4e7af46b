#include "Reachability.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <utility>

namespace {

constexpr float HalfCell = CellSize / 2.0f;
constexpr int StartPoint = 24; // the snow point at the start position (60, 60)
// Trees further than this many cells away leave more room than `RoomLimit` anyway.
constexpr int CellsAround = 5;

bool IsTree(int i, int j) {
    if (i < 0 || j < 0 || i >= MazeCells || j >= MazeCells) {
        return true;
    }
    return LevelMap.walls[i][j] != 0;
}

float DistanceToCell(float x, float z, int i, int j) {
    float cx = CellSize * static_cast<float>(i);
    float cz = CellSize * static_cast<float>(j);
    float dx = std::max(std::fabs(x - cx) - HalfCell, 0.0f);
    float dz = std::max(std::fabs(z - cz) - HalfCell, 0.0f);
    return std::sqrt(dx * dx + dz * dz);
}

float RoomAt(int a, int b) {
    float x = SnowSpacing * static_cast<float>(a);
    float z = SnowSpacing * static_cast<float>(b);
    float room = RoomLimit;
    for (int i = a / 2 - CellsAround; i <= a / 2 + CellsAround; ++i) {
        for (int j = b / 2 - CellsAround; j <= b / 2 + CellsAround; ++j) {
            if (IsTree(i, j)) {
                room = std::min(room, DistanceToCell(x, z, i, j));
            }
        }
    }
    return room;
}

// The widest way into cell (i, j): the best of the snow points on and around it.
float WayInto(const float (&best)[SnowPoints][SnowPoints], int i, int j) {
    float way = -1.0f;
    for (int a = std::max(2 * i - 1, 0); a <= std::min(2 * i + 1, SnowPoints - 1); ++a) {
        for (int b = std::max(2 * j - 1, 0); b <= std::min(2 * j + 1, SnowPoints - 1); ++b) {
            way = std::max(way, best[a][b]);
        }
    }
    return way;
}

bool Reached(const float (&best)[SnowPoints][SnowPoints], int a, int b) {
    return a >= 0 && b >= 0 && a < SnowPoints && b < SnowPoints && best[a][b] >= 0.0f;
}

// A pile is gathered from its own point, or from a hair short of a neighbouring point: the room
// changes no faster than the distance, so the ball still fits there. (On a level without its
// ring of trees a pile in the far corner is missed by this, though a ball can gather it.)
bool Gathered(const float (&best)[SnowPoints][SnowPoints], int a, int b) {
    return Reached(best, a, b) || Reached(best, a + 1, b) || Reached(best, a - 1, b) ||
           Reached(best, a, b + 1) || Reached(best, a, b - 1);
}

ReachReport Summarise(const float (&best)[SnowPoints][SnowPoints]) {
    ReachReport report{0, 0, 0, RoomLimit};
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            if (LevelMap.snow[a][b] != 0) {
                ++(Gathered(best, a, b) ? report.reachablePiles : report.unreachablePiles);
            }
        }
    }
    bool anyCell = false;
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            float way = WayInto(best, i, j);
            report.openCells += LevelMap.walls[i][j] == 0 ? 1 : 0;
            if (LevelMap.walls[i][j] == 0 && way >= 0.0f) {
                anyCell = true;
                report.narrowestRoom = std::min(report.narrowestRoom, way);
            }
        }
    }
    if (!anyCell) {
        report.narrowestRoom = 0.0f;
    }
    return report;
}

} // namespace

float BallRadius(float size) {
    return 7.5f * size + 1.25f;
}

void MeasureRoom(RoomGrid& grid) {
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            grid.room[a][b] = RoomAt(a, b);
        }
    }
}

// A widest-way search from the start: every point gets the most room a way to it keeps at its
// narrowest place, counting only ways that fit the ball at every step.
ReachReport CheckReach(const RoomGrid& grid, float size) {
    float radius = BallRadius(size);
    static float best[SnowPoints][SnowPoints];
    for (auto& column : best) {
        std::fill(std::begin(column), std::end(column), -1.0f);
    }
    std::priority_queue<std::pair<float, int>> open;
    if (grid.room[StartPoint][StartPoint] > radius) {
        best[StartPoint][StartPoint] = grid.room[StartPoint][StartPoint];
        open.push({best[StartPoint][StartPoint], StartPoint * SnowPoints + StartPoint});
    }
    const int stepA[4] = {1, -1, 0, 0};
    const int stepB[4] = {0, 0, 1, -1};
    while (!open.empty()) {
        auto [room, point] = open.top();
        open.pop();
        int a = point / SnowPoints;
        int b = point % SnowPoints;
        if (room < best[a][b]) {
            continue;
        }
        for (int d = 0; d < 4; ++d) {
            int na = a + stepA[d];
            int nb = b + stepB[d];
            if (na < 0 || nb < 0 || na >= SnowPoints || nb >= SnowPoints ||
                !(grid.room[na][nb] > radius)) {
                continue;
            }
            float through = std::min(room, grid.room[na][nb]);
            if (through > best[na][nb]) {
                best[na][nb] = through;
                open.push({through, na * SnowPoints + nb});
            }
        }
    }
    return Summarise(best);
}
