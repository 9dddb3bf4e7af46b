// The simulation: one step of the game per frame.
#pragma once

// Advances the game by one frame of `timeScale` sixtieths of a second, held to 0.5 to 3.0.
void UpdateGame(float timeScale);

// The current `ballHeading`, first brought within half a turn of `target`, then moved the part
// `fraction` of the way toward it. A heading, target or fraction that is not a finite number
// gives the heading back as it was.
float BlendAngle(float target, float fraction);
