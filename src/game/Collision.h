// Keeps the ball out of the trees of the maze.
#pragma once

// Moves the ball centre (`ballX`, `ballZ`) so that a circle of `radius` around it no longer
// overlaps the wall cells near it. Cells beyond the grid count as trees.
void ResolveWallCollisions(float radius);
