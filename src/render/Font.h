// The bitmap font of the atlas and the text drawn with it.
#pragma once

constexpr int GlyphCount = 96; // character codes 32 to 127
constexpr int FirstGlyphCode = 32;

// Texture coordinates of each glyph's corners: left-bottom, right-bottom, right-top, left-top.
extern float GlyphTable[GlyphCount][8];
// The glyph size in atlas pixels: the cell size until the table is built, the glyph after.
extern float glyphWidth;
extern float glyphHeight;

// Fills `GlyphTable` and reduces the glyph size; runs once, at start-up.
void BuildGlyphTable();

// Draws `text` with its top-left corner at window pixel (x, y), a character 14 x `scale` pixels
// wide and 22 x `scale` high; needs identity matrices and the atlas bound. A byte without a glyph
// (outside 32 to 127) shows as a space; a null text draws nothing.
void DrawText(float x, float y, const char* text, float scale);

// Draws `text` exactly as `DrawText` does, but all its characters in one draw call, for the
// browser, where every call costs a buffer upload.
void DrawTextBatched(float x, float y, const char* text, float scale);
