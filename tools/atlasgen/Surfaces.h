// The four mesh surfaces of the atlas's top row: floor, snow pile, figure and fir tree.
#pragma once

// Paints cell columns 0 to 3 of the top row.
void PaintSurfaces();
