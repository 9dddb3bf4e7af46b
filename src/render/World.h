// The 3-D world: floor, trees, snow piles and the figure, seen from the camera.
#pragma once

// Draws the world; leaves texturing and the client arrays off.
void DrawWorld();
