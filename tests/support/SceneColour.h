// How much colour a captured scene shows: the atlas paints every surface in colour, while the
// untextured game draws white shapes on black.
#pragma once

#include "support/Picture.h"

// The share of pixels whose colour is clearly not grey; 0 for an empty picture.
double ColouredShare(const Picture& picture);
// Enough of the start view in colour to tell the textured scene (about a fifth: the trees,
// the overlay panel, the figure's nose and arms) from the untextured one (none).
constexpr double TexturedSceneShare = 0.08;
