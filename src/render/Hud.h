// The overlay: the level number and the share of snow gathered.
#pragma once

// Draws the overlay over the scene; puts back both matrices and depth testing.
void DrawHud();
