#include "render/Font.h"

#include <GL/gl.h>
#include <vector>

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
constexpr float ScreenWidth = 640.0f; // text is laid out in pixels of a fixed 640 by 480 frame
constexpr float ScreenHeight = 480.0f;
constexpr float HalfWidth = 320.0f;
constexpr float HalfHeight = 240.0f;
constexpr int SpaceGlyph = 0;

// The table entry of a character; bytes without a glyph of their own show as a space.
const float* GlyphOf(char character) {
    const int index = static_cast<int>(static_cast<signed char>(character)) - FirstGlyphCode;
    return GlyphTable[index >= 0 && index < GlyphCount ? index : SpaceGlyph];
}

// Where a line of text starts and how large its glyphs are, in the frame's -1 to 1 coordinates.
struct TextLine {
    float left;    // left edge of the first glyph
    float bottom;  // bottom edge of every glyph
    float top;     // top edge of every glyph
    float advance; // width of a glyph, and the step to the next
};

TextLine LayOutLine(float x, float y, float scale) {
    const float height = glyphHeight * scale / ScreenHeight;
    const float bottom = (HalfHeight - y) / ScreenHeight * 2.0f - height;
    return {(x - HalfWidth) / ScreenWidth * 2.0f, bottom, bottom + height,
            glyphWidth * scale / ScreenWidth};
}
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

void DrawText(float x, float y, const char* text, float scale) {
    const auto [left, bottom, top, advance] = LayOutLine(x, y, scale);
    float pen = left;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (const char* character = text; character != nullptr && *character != '\0'; ++character) {
        const float corners[8] = {pen, bottom, pen + advance, bottom, pen + advance, top, pen, top};
        glVertexPointer(2, GL_FLOAT, 0, corners);
        glTexCoordPointer(2, GL_FLOAT, 0, GlyphOf(*character));
        glDrawArrays(GL_QUADS, 0, 4);
        pen += advance;
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void DrawTextBatched(float x, float y, const char* text, float scale) {
    const auto [left, bottom, top, advance] = LayOutLine(x, y, scale);
    float pen = left;
    // x, y, u, v of each corner, interleaved: the browser's GL takes that without copying.
    std::vector<float> corners;
    for (const char* character = text; character != nullptr && *character != '\0'; ++character) {
        const float* glyph = GlyphOf(*character);
        corners.insert(corners.end(),
                       {pen, bottom, glyph[0], glyph[1], pen + advance, bottom, glyph[2], glyph[3],
                        pen + advance, top, glyph[4], glyph[5], pen, top, glyph[6], glyph[7]});
        pen += advance;
    }
    if (corners.empty()) {
        return;
    }
    constexpr GLsizei Stride = 4 * sizeof(float);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, Stride, corners.data());
    glTexCoordPointer(2, GL_FLOAT, Stride, corners.data() + 2);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(corners.size() / 4));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
