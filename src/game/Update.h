// The simulation: one step of the game per frame.
#pragma once

// Advances the game by one frame of `timeScale` sixtieths of a second.
void UpdateGame(float timeScale);
