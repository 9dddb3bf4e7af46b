// Where the text lands on the screen and which glyphs it shows, read back through GL's feedback
// mode: every vertex that reaches the rasteriser, in window pixels, with its texture coordinate.
#include "render/Font.h"
#include "support/RenderWindow.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

struct Corner {
    float x; // window pixels from the left edge
    float y; // window pixels from the top edge
    float s; // texture coordinate in atlas pixels
    float t;
};

constexpr int FeedbackFloats = 11; // x, y, z, RGBA, s, t, r, q
constexpr float AtlasPixels = 1024.0f;

// The corners of every polygon `draw` sends to the rasteriser.
template <typename Draw> std::vector<Corner> Feedback(Draw draw) {
    static GLfloat buffer[16384];
    glFeedbackBuffer(static_cast<GLsizei>(std::size(buffer)), GL_3D_COLOR_TEXTURE, buffer);
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    std::vector<Corner> corners;
    for (GLint k = 0; k < count;) {
        EXPECT_EQ(buffer[k], static_cast<GLfloat>(GL_POLYGON_TOKEN)) << "only polygons are drawn";
        const int vertices = static_cast<int>(buffer[k + 1]);
        for (int v = 0; v < vertices; ++v) {
            const GLfloat* vertex = buffer + k + 2 + v * FeedbackFloats;
            corners.push_back(
                {vertex[0], 480.0f - vertex[1], vertex[7] * AtlasPixels, vertex[8] * AtlasPixels});
        }
        k += 2 + vertices * FeedbackFloats;
    }
    return corners;
}

bool Has(const std::vector<Corner>& corners, Corner wanted) {
    return std::any_of(corners.begin(), corners.end(), [&](const Corner& c) {
        return std::fabs(c.x - wanted.x) < 1e-3f && std::fabs(c.y - wanted.y) < 1e-3f &&
               std::fabs(c.s - wanted.s) < 1e-3f && std::fabs(c.t - wanted.t) < 1e-3f;
    });
}

// The four corners of a glyph drawn from pixel (left, top) with the given size, showing the
// glyph cell (column, row) of the atlas.
std::vector<Corner> Quad(float left, float top, float width, float height, int column, int row) {
    const float u = 32.0f * column;
    const float v = 256.0f + 64.0f * row;
    return {{left, top + height, u + 2, v + 54},
            {left + width, top + height, u + 30, v + 54},
            {left + width, top, u + 30, v + 10},
            {left, top, u + 2, v + 10}};
}

// Every corner drawn belongs to one of the expected quads, and every expected corner is drawn.
void ExpectQuads(const std::vector<Corner>& drawn, const std::vector<std::vector<Corner>>& quads) {
    std::vector<Corner> expected;
    for (const auto& quad : quads) {
        expected.insert(expected.end(), quad.begin(), quad.end());
    }
    for (const Corner& corner : expected) {
        EXPECT_TRUE(Has(drawn, corner)) << "missing corner " << corner.x << ", " << corner.y
                                        << " showing " << corner.s << ", " << corner.t;
    }
    for (const Corner& corner : drawn) {
        EXPECT_TRUE(Has(expected, corner)) << "stray corner " << corner.x << ", " << corner.y
                                           << " showing " << corner.s << ", " << corner.t;
    }
}

// Builds the glyph table from its starting state and puts the table of the run back afterwards.
struct TextGeometryTest : ::testing::Test {
    void SetUp() override {
        OpenRenderWindow();
        ResetScene();
        std::copy(&GlyphTable[0][0], &GlyphTable[0][0] + GlyphCount * 8, savedTable);
        savedWidth = glyphWidth;
        savedHeight = glyphHeight;
        glyphWidth = 32.0f;
        glyphHeight = 64.0f;
        BuildGlyphTable();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        std::copy(savedTable, savedTable + GlyphCount * 8, &GlyphTable[0][0]);
        glyphWidth = savedWidth;
        glyphHeight = savedHeight;
        ResetScene();
        CloseRenderWindow();
    }
    float savedTable[GlyphCount * 8];
    float savedWidth = 0;
    float savedHeight = 0;
};

TEST_F(TextGeometryTest, CharactersSitSideBySideFromTheirTopLeftCorner) {
    // A at column 1 of row 1, ! at column 1 of row 0; 14 by 22 pixels each, top edge at y = 20.
    ExpectQuads(Feedback([] { DrawText(0.0f, 20.0f, "A!", 1.0f); }),
                {Quad(0, 20, 14, 22, 1, 1), Quad(14, 20, 14, 22, 1, 0)});
    // Twice the size from the centre of the window, hanging below it.
    ExpectQuads(Feedback([] { DrawText(320.0f, 240.0f, "~", 2.0f); }),
                {Quad(320, 240, 28, 44, 30, 2)});
}

TEST_F(TextGeometryTest, CodesWithoutAGlyphShowAsSpacesAndKeepTheirPlace) {
    // Code 127 is the last glyph of the table; the bytes around the table are spaces.
    ExpectQuads(Feedback([] {
                    DrawText(100.0f, 200.0f,
                             "\x7f\x1f\x80\xff"
                             "B",
                             1.0f);
                }),
                {Quad(100, 200, 14, 22, 31, 2), Quad(114, 200, 14, 22, 0, 0),
                 Quad(128, 200, 14, 22, 0, 0), Quad(142, 200, 14, 22, 0, 0),
                 Quad(156, 200, 14, 22, 2, 1)});
}

TEST_F(TextGeometryTest, EmptyTextDrawsNothingAndEveryCallLeavesTheArraysOff) {
    EXPECT_TRUE(Feedback([] { DrawText(0.0f, 0.0f, "", 1.0f); }).empty());
    EXPECT_TRUE(Feedback([] { DrawText(0.0f, 0.0f, nullptr, 1.0f); }).empty());
    Feedback([] { DrawText(5.0f, 5.0f, "snow", 3.0f); });
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
