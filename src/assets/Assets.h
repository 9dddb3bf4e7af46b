// Start-up preparation of everything the game shows and plays.
#pragma once

// Loads the atlas, prepares the meshes in place, builds the glyph table and starts the music.
// Runs exactly once, after the window exists: the preparation is not idempotent.
void PrepareAssets();
