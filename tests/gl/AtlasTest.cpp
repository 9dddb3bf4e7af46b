// The atlas as a real texture: every channel order and padded rows upload with their own colours,
// and a missing atlas file makes no texture.
#include "assets/Atlas.h"
#include "app/Video.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct AtlasTest : ::testing::Test {
    void SetUp() override { InitVideo(); }
    void TearDown() override { SDL_Quit(); }
};

TEST_F(AtlasTest, EveryChannelOrderAndPaddedRowShowsTheSameColours) {
    // Two by two pixels: red, green / blue, orange; each row followed by five bytes of padding.
    const Uint8 colours[4][3] = {{250, 0, 0}, {0, 240, 0}, {0, 0, 230}, {255, 128, 0}};
    for (int bytesPerPixel : {3, 4}) {
        for (bool redFirst : {true, false}) {
            const int pitch = bytesPerPixel * 2 + 5;
            std::vector<Uint8> storage(static_cast<std::size_t>(pitch * 2), 0x77);
            for (int i = 0; i < 4; ++i) {
                Uint8* pixel = storage.data() + (i / 2) * pitch + (i % 2) * bytesPerPixel;
                pixel[0] = colours[i][redFirst ? 0 : 2];
                pixel[1] = colours[i][1];
                pixel[2] = colours[i][redFirst ? 2 : 0];
            }
            SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(
                storage.data(), 2, 2, bytesPerPixel * 8, pitch, redFirst ? 0xFF : 0xFF0000, 0xFF00,
                redFirst ? 0xFF0000 : 0xFF, bytesPerPixel == 4 ? 0xFF000000 : 0);
            AtlasPixels pixels;
            ASSERT_TRUE(PrepareAtlasPixels(surface, pixels));
            SDL_FreeSurface(surface);
            GLuint name = UploadAtlas(pixels);
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(static_cast<GLuint>(bound), name);
            std::vector<Uint8> texels(16);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            for (int i = 0; i < 12; ++i) {
                EXPECT_EQ(texels[i / 3 * 4 + i % 3], colours[i / 3][i % 3])
                    << bytesPerPixel << " bytes, red first " << redFirst << ", texel " << i / 3;
            }
            glDeleteTextures(1, &name);
        }
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the unpacking alignment is put back";
}

TEST_F(AtlasTest, WithoutAnAtlasFileNoTextureIsMade) {
    ScratchFolder folder;
    GLuint before = 0;
    glGenTextures(1, &before);
    EXPECT_EQ(LoadTextureAtlas(), 0u);
    GLuint after = 0;
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "no texture name was taken in between";
}

} // namespace
