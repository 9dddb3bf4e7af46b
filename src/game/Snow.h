// The ball's snow: melting, gathering the piles within reach, and the next level once a level's
// snow is all gathered.
#pragma once

// Shrinks the ball by one frame's melting; `timeScale` is the frame's clamped time factor. The
// size may end a little below 0 until `ClampBallSize`.
void MeltBall(float timeScale);

// Gathers every pile within reach of the ball, in storage order; each pile widens the reach for
// the piles after it.
void GatherSnow();

// Holds `ballSize` between 0 and 1.
void ClampBallSize();

// Builds the next level (level 10 is followed by level 1) and puts the ball and the camera at
// its start once every pile of the level is gathered. The ball keeps its velocity and heading.
void AdvanceLevelWhenGathered();
