#include "render/Font.h"

float GlyphTable[GlyphCount][8];
float glyphWidth = 32.0f;
float glyphHeight = 64.0f;

namespace {
constexpr int GlyphsPerRow = 32;
constexpr int GlyphRows = 3;
constexpr float GlyphTop = 256.0f; // atlas row where the glyph cells start
constexpr float SideCut = 2.0f;    // pixels cut off left and right of each cell
constexpr float EdgeCut = 10.0f;   // pixels cut off at the top and bottom of each cell
constexpr float AtlasScale = 1.0f / 1024.0f;
} // namespace

void BuildGlyphTable() {
    for (int row = 0; row < GlyphRows; ++row) {
        for (int column = 0; column < GlyphsPerRow; ++column) {
            const float left = static_cast<float>(column) * glyphWidth;
            const float top = GlyphTop + static_cast<float>(row) * glyphHeight;
            const float right = left - SideCut + glyphWidth;
            const float bottom = top - EdgeCut + glyphHeight;
            const float corners[8] = {left + SideCut, bottom,        right,          bottom,
                                      right,          top + EdgeCut, left + SideCut, top + EdgeCut};
            for (int k = 0; k < 8; ++k) {
                GlyphTable[row * GlyphsPerRow + column][k] = corners[k];
            }
        }
    }
    glyphWidth -= 2.0f * SideCut;
    glyphHeight -= 2.0f * EdgeCut;
    for (auto& entry : GlyphTable) {
        for (float& value : entry) {
            value *= AtlasScale;
        }
    }
}

void DrawText(float, float, const char*, float) {}
