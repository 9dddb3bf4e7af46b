#include "Glyphs.h"

#include "Canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

constexpr int GlyphRowsTop = 256;
constexpr int GlyphCellWidth = 32;
constexpr int GlyphCellHeight = 64;
constexpr int InnerLeft = 2;
constexpr int InnerTop = 10;
constexpr int InnerWidth = 28;
constexpr int InnerHeight = 44;
constexpr int FirstCode = 32;
constexpr int LastCode = 127;
constexpr int LargestPixelSize = 48;

constexpr Colour Panel = {0.10f, 0.13f, 0.20f};
constexpr Colour Ink = {0.96f, 0.97f, 1.0f};

struct FontFit {
    int pixelSize;
    int ascent;  // rows above the baseline, over all printable glyphs
    int descent; // rows below it
};

// Whether every printable glyph fits the inner rectangle at the face's current size.
bool MeasureFit(FT_Face face, FontFit& fit) {
    fit.ascent = 0;
    fit.descent = 0;
    for (int code = FirstCode + 1; code < LastCode; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
            return false;
        }
        FT_GlyphSlot slot = face->glyph;
        int advance = static_cast<int>(slot->advance.x >> 6);
        int left = (InnerWidth - advance) / 2 + slot->bitmap_left;
        if (left < 0 || left + static_cast<int>(slot->bitmap.width) > InnerWidth) {
            return false;
        }
        int below = static_cast<int>(slot->bitmap.rows) - slot->bitmap_top;
        fit.ascent = slot->bitmap_top > fit.ascent ? slot->bitmap_top : fit.ascent;
        fit.descent = below > fit.descent ? below : fit.descent;
    }
    return fit.ascent + fit.descent <= InnerHeight;
}

// The largest pixel size at which every glyph fits its rectangle.
bool ChooseSize(FT_Face face, FontFit& fit) {
    for (fit.pixelSize = LargestPixelSize; fit.pixelSize >= 8; --fit.pixelSize) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(fit.pixelSize)) == 0 &&
            MeasureFit(face, fit)) {
            return true;
        }
    }
    return false;
}

// Blends the rendered glyph of `code` into its cell by the glyph's coverage.
void DrawGlyph(FT_Face face, const FontFit& fit, int code) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
        return;
    }
    int index = code - FirstCode;
    int cellX = (index % 32) * GlyphCellWidth + InnerLeft;
    int cellY = GlyphRowsTop + (index / 32) * GlyphCellHeight + InnerTop;
    FT_GlyphSlot slot = face->glyph;
    int baseline = cellY + (InnerHeight - fit.ascent - fit.descent) / 2 + fit.ascent;
    int left =
        cellX + (InnerWidth - static_cast<int>(slot->advance.x >> 6)) / 2 + slot->bitmap_left;
    for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
        for (unsigned column = 0; column < slot->bitmap.width; ++column) {
            int x = left + static_cast<int>(column);
            int y = baseline - slot->bitmap_top + static_cast<int>(row);
            if (x < cellX || x >= cellX + InnerWidth || y < cellY || y >= cellY + InnerHeight) {
                continue;
            }
            float coverage = slot->bitmap.buffer[row * slot->bitmap.pitch + column] / 255.0f;
            PutPixel(x, y, Mix(Panel, Ink, coverage));
        }
    }
}

} // namespace

bool PaintGlyphs(const char* fontPath) {
    FillPixels(0, GlyphRowsTop, AtlasSide, AtlasSide, Panel);
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    bool painted = false;
    FontFit fit = {};
    if (FT_New_Face(library, fontPath, 0, &face) == 0) {
        painted = ChooseSize(face, fit);
        // The space stays bare panel, and so does 127, which has no printable form.
        for (int code = FirstCode + 1; painted && code < LastCode; ++code) {
            DrawGlyph(face, fit, code);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return painted;
}
