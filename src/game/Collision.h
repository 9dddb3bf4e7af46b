// Keeps the ball out of the trees of the maze.
#pragma once

// Moves the ball centre (`ballX`, `ballZ`) so that a circle of `radius` around it no longer
// overlaps the wall cells near it. Cells beyond the grid count as trees.
void ResolveWallCollisions(float radius);

// The ball's collision radius at its present `ballSize`: 7.5 * size + 1.25, from 1.25 at size 0 to
// 8.75 at size 1.
float CollisionRadius();
