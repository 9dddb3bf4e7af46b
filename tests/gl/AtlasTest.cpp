// The atlas as a real texture: channel orders, padded rows, parameters and the image's top row.
#include "assets/Atlas.h"
#include "app/Video.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string AtlasFile = std::string(SOURCE_DIR) + "/Media/textureatlas.png";

struct AtlasTest : ::testing::Test {
    void SetUp() override { InitVideo(); }
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        SDL_Quit();
    }
};

// Level 0 of the bound texture as RGBA bytes, top row first.
std::vector<Uint8> ReadTexture(int width, int height) {
    std::vector<Uint8> texels(static_cast<std::size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

GLint TextureValue(GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

TEST_F(AtlasTest, EveryChannelOrderAndPaddedRowShowsTheSameColours) {
    // Two by two pixels: red, green / blue, orange; each row followed by five bytes of padding.
    const Uint8 colours[4][3] = {{250, 0, 0}, {0, 240, 0}, {0, 0, 230}, {255, 128, 0}};
    struct Layout {
        int bytesPerPixel;
        bool redFirst;
        GLint internalFormat; // the legacy component count
    };
    for (Layout layout :
         {Layout{4, true, 4}, Layout{4, false, 4}, Layout{3, true, 3}, Layout{3, false, 3}}) {
        int pitch = layout.bytesPerPixel * 2 + 5;
        std::vector<Uint8> storage(static_cast<std::size_t>(pitch * 2), 0x77);
        for (int i = 0; i < 4; ++i) {
            Uint8* pixel = storage.data() + (i / 2) * pitch + (i % 2) * layout.bytesPerPixel;
            pixel[0] = layout.redFirst ? colours[i][0] : colours[i][2];
            pixel[1] = colours[i][1];
            pixel[2] = layout.redFirst ? colours[i][2] : colours[i][0];
        }
        Uint32 first = 0xFF;
        Uint32 third = 0xFF0000;
        SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
            storage.data(), 2, 2, layout.bytesPerPixel * 8, pitch, layout.redFirst ? first : third,
            0xFF00, layout.redFirst ? third : first, layout.bytesPerPixel == 4 ? 0xFF000000 : 0);
        AtlasPixels pixels;
        ASSERT_TRUE(PrepareAtlasPixels(surface, pixels));
        SDL_FreeSurface(surface);
        GLuint name = UploadAtlas(pixels);
        ASSERT_NE(name, 0u);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), name);
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_EQ(format, layout.internalFormat);
        std::vector<Uint8> texels = ReadTexture(2, 2);
        for (int i = 0; i < 4; ++i) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(texels[static_cast<std::size_t>(i * 4 + c)], colours[i][c])
                    << "texel " << i << " of " << layout.bytesPerPixel << " bytes, red first "
                    << layout.redFirst;
            }
        }
        glDeleteTextures(1, &name);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

// The shipped atlas drawn one texel per window pixel: the window's top-left corner shows the
// file's top-left pixel (u = 0, v = 0), with no flip.
TEST_F(AtlasTest, TheShippedAtlasLoadsWithItsTopRowAtVZero) {
    ScratchFolder folder;
    std::filesystem::copy_file(AtlasFile, folder.path + "/Media/textureatlas.png");
    GLuint name = LoadTextureAtlas();
    ASSERT_NE(name, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), name);
    EXPECT_EQ(TextureValue(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TextureValue(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(TextureValue(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TextureValue(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    GLint size = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 10, GL_TEXTURE_WIDTH, &size);
    EXPECT_EQ(size, 1) << "the mipmap chain reaches 1 by 1";

    SDL_Surface* file = IMG_Load(AtlasFile.c_str());
    ASSERT_NE(file, nullptr);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 480.0f / 1024.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(640.0f / 1024.0f, 480.0f / 1024.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(640.0f / 1024.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    // Pixels spread over the floor, the figure's outline patch and the font's panel and glyphs.
    const int probes[][2] = {{0, 0},    {1, 1},    {120, 40}, {540, 249},
                             {20, 290}, {45, 350}, {600, 470}};
    for (const auto& probe : probes) {
        int x = probe[0];
        int y = probe[1];
        Uint8 shown[4] = {};
        glReadPixels(x, 479 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, shown);
        const Uint8* stored = static_cast<Uint8*>(file->pixels) + y * file->pitch + x * 3;
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(shown[c], stored[c], 10) << "pixel " << x << ", " << y;
        }
    }
    SDL_FreeSurface(file);
    glDeleteTextures(1, &name);
}

TEST_F(AtlasTest, WithoutAnAtlasFileNoTextureIsMade) {
    ScratchFolder folder;
    GLuint before = 0;
    glGenTextures(1, &before);
    EXPECT_EQ(LoadTextureAtlas(), 0u);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    GLuint after = 0;
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "no texture name was taken in between";
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
}

} // namespace
