// The ball against the trees and the edge of the maze.
#include "game/Collision.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "support/Scratch.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Faces, corners and the border push the circle out; radii out of range act as the nearest in
// range; centres far off or not a number are left as they are.
TEST(CollisionTest, FacesCornersBorderAndHostileValues) {
    const struct {
        std::vector<int> walls; // cells i * 100 + j
        float x, z, radius, wantX, wantZ;
        const char* what;
    } cases[] = {
        {{1312}, 61, 60, 2, 60.5f, 60, "pushed out of a face"},
        {{1312}, 60.5f, 60, 2, 60.5f, 60, "a touching circle is not moved"},
        {{1312}, 61.5f, 63.5f, 2, 61.0858f, 63.9142f, "pushed out of a corner"},
        {{1312}, 61, 64, 2, 61, 64, "bounding squares overlap, the circle does not"},
        {{1312}, 65, 59, 2, 65, 59, "a centre inside the tree is not pushed by it"},
        {{1312}, 63, 56, 2, 63, 55.5f, "a deep overlap leaves the circle on the centre's side"},
        {{1312}, 62.5f, 57.5f, 2, 61.0858f, 56.0858f, "a centre on the corner leaves diagonally"},
        {{1213, 1312}, 61, 61, 2, 60.5f, 60.5f, "an inner corner"},
        {{1412}, 60, 60, 8.75f, 58.75f, 60, "the largest ball"},
        {{}, -2, 60, 1.25f, -1.25f, 60, "beyond the grid is a wall"},
        {{1312}, 61, 60, NAN, 61, 60, "no radius: the smallest ball"},
        {{1312}, 55, 60, 1e30f, 53.75f, 60, "a radius above the range acts as the largest"},
        {{}, -INFINITY, 1e30f, 3, -INFINITY, 1e30f, "far from every cell: nothing to push from"},
        {{}, NAN, 60, 3, NAN, 60, "not a number stays so"},
    };
    for (const auto& c : cases) {
        ResetGlobalRecords();
        for (int cell : c.walls) {
            LevelMap.walls[cell / 100][cell % 100] = 1;
        }
        GameState.ballX = c.x;
        GameState.ballZ = c.z;
        ResolveWallCollisions(c.radius);
        for (const auto& [got, want] :
             {std::pair{GameState.ballX, c.wantX}, {GameState.ballZ, c.wantZ}}) {
            EXPECT_TRUE(std::isnan(want) ? std::isnan(got)
                                         : got == want || std::fabs(got - want) < 1e-4f)
                << c.what << ": " << got << " for " << want;
        }
    }
    ResetGlobalRecords();
}

} // namespace
