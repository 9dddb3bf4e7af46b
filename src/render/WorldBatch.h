// The world drawn in a handful of calls, for the browser, where every draw call costs a buffer
// upload: the floor and the trees of a level in one static buffer, all its piles in another, in
// which a gathered pile is collapsed in place. The picture is the one `DrawWorld` draws.
#pragma once

// Builds both buffers from `LevelMap`. `DrawWorldBatched` calls it itself when a new level has
// been built since; a scene set up by hand in the grids needs this call.
void BuildLevelBuffers();

// Draws the world from the buffers, after collapsing the piles gathered since the last frame;
// leaves texturing, the client arrays and the buffer binding off.
void DrawWorldBatched();
