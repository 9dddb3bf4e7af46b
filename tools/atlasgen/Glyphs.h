// The font rows of the atlas: codes 32 to 127, light glyphs on a dark panel.
#pragma once

// Paints the three glyph rows from the TrueType font at `fontPath`; false when the font cannot
// be read.
bool PaintGlyphs(const char* fontPath);
