// Atlas images decoded and turned into upload-ready pixels, and images that must be refused.
#include "assets/Atlas.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string SeedFolder = std::string(SOURCE_DIR) + "/tests/fuzz/corpus/atlas/";

// The image file `bytes` decoded and prepared as the game does; no bytes when it is refused.
AtlasPixels Prepare(const std::string& bytes) {
    SDL_Surface* surface =
        DecodeAtlas(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    AtlasPixels pixels;
    PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    return pixels;
}

// Red, green and blue of pixel `i` in whichever channel order `image` holds.
std::vector<Uint8> Rgb(const AtlasPixels& image, int i) {
    const Uint8* p = image.bytes.data() + i * image.bytesPerPixel;
    bool blueFirst = image.pixelFormat == GL_BGR || image.pixelFormat == GL_BGRA;
    return blueFirst ? std::vector<Uint8>{p[2], p[1], p[0]} : std::vector<Uint8>{p[0], p[1], p[2]};
}

// Every kind of PNG decodes at the size its header states (each side below 256); a BMP and a TGA
// of the same picture load with the PNG's colours.
TEST(AtlasImageTest, EveryImageKindDecodesToUploadablePixels) {
    for (const char* seed :
         {"rgb8.png", "rgba8.png", "rgb8-odd-width.png", "rgb16.png", "grey8.png", "grey1.png",
          "grey-alpha.png", "palette4.png", "palette8-transparent.png", "rgb8-key.png",
          "grey16-key.png", "rgb8-interlaced.png"}) {
        const std::string bytes = ReadFile(SeedFolder + seed);
        const AtlasPixels pixels = Prepare(bytes);
        ASSERT_FALSE(pixels.bytes.empty()) << seed;
        EXPECT_EQ(pixels.width, static_cast<Uint8>(bytes.at(19))) << seed;
        EXPECT_EQ(pixels.height, static_cast<Uint8>(bytes.at(23))) << seed;
        EXPECT_EQ(pixels.bytes.size(),
                  static_cast<std::size_t>(pixels.width * pixels.height * pixels.bytesPerPixel))
            << seed;
        if (std::string(seed).rfind("grey", 0) == 0) {
            EXPECT_TRUE(pixels.bytes[0] == pixels.bytes[1] && pixels.bytes[1] == pixels.bytes[2]);
        }
    }
    const AtlasPixels png = Prepare(ReadFile(SeedFolder + "rgb8-odd-width.png"));
    for (const char* seed : {"rgb8-odd-width.bmp", "rgb8-odd-width.tga"}) {
        const AtlasPixels pixels = Prepare(ReadFile(SeedFolder + seed));
        ASSERT_TRUE(pixels.width == png.width && pixels.height == png.height) << seed;
        for (int i = 0; i < png.width * png.height; ++i) {
            ASSERT_EQ(Rgb(pixels, i), Rgb(png, i)) << seed << " pixel " << i;
        }
    }
}

// 16-bit, alpha-first and paletted images become RGBA with their own colours; a paletted image's
// transparent colour keeps its colour in the opaque atlas.
TEST(AtlasImageTest, OtherLayoutsBecomeRgbaWithTheirOwnColours) {
    Uint16 highColour[2] = {0xF800, 0x001F};
    Uint8 alphaFirst[8] = {255, 10, 20, 30, 255, 40, 50, 60};
    Uint8 indices[4] = {0, 1};
    SDL_Surface* surfaces[3] = {
        SDL_CreateRGBSurfaceFrom(highColour, 2, 1, 16, 4, 0xF800, 0x07E0, 0x001F, 0),
        SDL_CreateRGBSurfaceFrom(alphaFirst, 2, 1, 32, 8, 0xFF00, 0xFF0000, 0xFF000000, 0xFF),
        SDL_CreateRGBSurfaceFrom(indices, 2, 1, 8, 4, 0, 0, 0, 0)};
    SDL_Color palette[2] = {{200, 10, 20, 0}, {30, 220, 40, 0}};
    SDL_SetColors(surfaces[2], palette, 0, 2);
    SDL_SetColorKey(surfaces[2], SDL_SRCCOLORKEY, 1);
    const std::vector<Uint8> expected[3][2] = {
        {{255, 0, 0}, {0, 0, 255}}, {{10, 20, 30}, {40, 50, 60}}, {{200, 10, 20}, {30, 220, 40}}};
    for (int k = 0; k < 3; ++k) {
        AtlasPixels pixels;
        ASSERT_TRUE(PrepareAtlasPixels(surfaces[k], pixels)) << k;
        SDL_FreeSurface(surfaces[k]);
        EXPECT_EQ(pixels.pixelFormat, static_cast<std::uint32_t>(GL_RGBA));
        EXPECT_EQ(Rgb(pixels, 0), expected[k][0]) << k;
        EXPECT_EQ(Rgb(pixels, 1), expected[k][1]) << k;
    }
}

// `bytes` with the byte at `at` flipped by `bits`.
std::string Flipped(std::string bytes, std::size_t at, char bits) {
    bytes.at(at) ^= bits;
    return bytes;
}

// A PNG cut short at every stage, damaged or stating a huge size, a TGA stating a side beyond the
// bound, a BMP of a depth SDL cannot convert, and text: the decoder gives no image. The checks come
// before SDL_image, which sets out to allocate whatever size a header states.
TEST(AtlasImageTest, DamagedOversizedAndForeignImagesAreRefused) {
    const std::string keyed = ReadFile(SeedFolder + "rgb8-key.png");
    const std::string bmp = ReadFile(SeedFolder + "rgb8-odd-width.bmp");
    const std::string tga = ReadFile(SeedFolder + "rgb8-odd-width.tga");
    const std::string cases[] = {
        "",
        keyed.substr(0, 7),
        keyed.substr(0, 20),
        keyed.substr(0, 33),
        keyed.substr(0, 51), // after the transparency chunk, which SDL_image would read forever
        keyed.substr(0, 120),
        keyed.substr(0, keyed.size() - 12), // no closing chunk
        Flipped(keyed, 100, 0x5A),
        Flipped(Flipped(keyed, 16, 0x7F), 20, 0x7F),
        Flipped(tga, 15, 0x40), // 16387 rows
        Flipped(bmp, 29, 1), // 24 + 256 bits a pixel
        "11111\n00000\n",
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SDL_Surface* surface =
            DecodeAtlas(reinterpret_cast<const std::uint8_t*>(cases[k].data()), cases[k].size());
        EXPECT_EQ(surface, nullptr) << "case " << k;
        SDL_FreeSurface(surface);
    }
}

} // namespace
