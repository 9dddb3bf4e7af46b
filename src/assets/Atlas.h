// The texture atlas: one image with every surface of the meshes and the font.
#pragma once

#include <cstdint>

// Uploads "Media/textureatlas.png" as a mipmapped texture and returns its name, left bound;
// returns 0 when the image cannot be loaded, and the game runs on untextured.
std::uint32_t LoadTextureAtlas();
