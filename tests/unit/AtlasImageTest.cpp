// Atlas images decoded and turned into upload-ready pixels, and images that must be refused.
#include "assets/Atlas.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <iterator>

namespace {

const std::string SeedFolder = SOURCE_DIR "/tests/fuzz/corpus/atlas/";

// The image file `bytes` decoded as the game decodes its atlas; null when it is refused.
SDL_Surface* Decode(const std::string& bytes) {
    return DecodeAtlas(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The surface prepared for upload, then freed; no bytes when it cannot be.
AtlasPixels Prepared(SDL_Surface* surface) {
    AtlasPixels pixels;
    PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    return pixels;
}

// Red, green and blue of every pixel, from whichever channel order `image` holds.
std::vector<Uint8> Rgb(const AtlasPixels& image) {
    const std::size_t red = image.pixelFormat == GL_BGR || image.pixelFormat == GL_BGRA ? 2 : 0;
    std::vector<Uint8> rgb;
    for (std::size_t at = 0; at < image.bytes.size(); at += image.bytesPerPixel) {
        rgb.insert(rgb.end(),
                   {image.bytes[at + red], image.bytes[at + 1], image.bytes[at + 2 - red]});
    }
    return rgb;
}

// Every kind of PNG decodes at the size its header states (each side below 256); a BMP and a TGA of
// the same picture load with the PNG's colours.
TEST(AtlasImageTest, EveryImageKindDecodesToUploadablePixels) {
    for (const char* seed :
         {"rgb8.png", "rgba8.png", "rgb8-odd-width.png", "rgb16.png", "grey8.png", "grey1.png",
          "grey-alpha.png", "palette4.png", "palette8-transparent.png", "rgb8-key.png",
          "grey16-key.png", "rgb8-interlaced.png"}) {
        const std::string bytes = ReadFile(SeedFolder + seed);
        const std::vector<Uint8> rgb = Rgb(Prepared(Decode(bytes)));
        ASSERT_EQ(rgb.size(),
                  3u * static_cast<Uint8>(bytes.at(19)) * static_cast<Uint8>(bytes.at(23)))
            << seed;
    }
    const std::vector<Uint8> png =
        Rgb(Prepared(Decode(ReadFile(SeedFolder + "rgb8-odd-width.png"))));
    for (const char* seed : {"rgb8-odd-width.bmp", "rgb8-odd-width.tga"}) {
        EXPECT_EQ(Rgb(Prepared(Decode(ReadFile(SeedFolder + seed)))), png) << seed;
    }
}

// Layouts GL cannot take as they stand become RGBA with their own colours: 16-bit (two bytes a
// pixel, yet no grey-and-alpha pair), alpha first, and paletted, where the transparent colour
// keeps its colour in the opaque atlas.
TEST(AtlasImageTest, OtherLayoutsBecomeRgbaWithTheirOwnColours) {
    Uint16 highColour[2] = {0xF800, 0x001F};
    Uint8 alphaFirst[8] = {255, 10, 20, 30, 255, 40, 50, 60};
    Uint8 indices[4] = {0, 1};
    SDL_Surface* paletted = SDL_CreateRGBSurfaceFrom(indices, 2, 1, 8, 4, 0, 0, 0, 0);
    SDL_Color palette[2] = {{200, 10, 20, 0}, {30, 220, 40, 0}};
    SDL_SetColors(paletted, palette, 0, 2);
    SDL_SetColorKey(paletted, SDL_SRCCOLORKEY, 1);
    const std::pair<SDL_Surface*, std::vector<Uint8>> cases[] = {
        {SDL_CreateRGBSurfaceFrom(highColour, 2, 1, 16, 4, 0xF800, 0x07E0, 0x001F, 0),
         {255, 0, 0, 0, 0, 255}},
        {SDL_CreateRGBSurfaceFrom(alphaFirst, 2, 1, 32, 8, 0xFF00, 0xFF0000, 0xFF000000, 0xFF),
         {10, 20, 30, 40, 50, 60}},
        {paletted, {200, 10, 20, 30, 220, 40}}};
    for (const auto& [surface, colours] : cases) {
        const AtlasPixels pixels = Prepared(surface);
        EXPECT_EQ(pixels.pixelFormat, static_cast<std::uint32_t>(GL_RGBA));
        EXPECT_EQ(Rgb(pixels), colours);
    }
}

// `bytes` with the byte at `at` flipped by `bits`.
std::string Flipped(std::string bytes, std::size_t at, char bits) {
    return bytes.replace(at, 1, 1, static_cast<char>(bytes.at(at) ^ bits));
}

// A PNG cut short at every stage, damaged or stating a huge size, a TGA stating a side beyond the
// bound, a BMP of a depth SDL cannot convert, and text: the decoder gives no image. The checks come
// before SDL_image, which sets out to allocate whatever size a header states.
TEST(AtlasImageTest, DamagedOversizedAndForeignImagesAreRefused) {
    const std::string keyed = ReadFile(SeedFolder + "rgb8-key.png");
    const std::string cases[] = {
        keyed.substr(0, 20),
        keyed.substr(0, 33),
        keyed.substr(0, 51), // after the transparency chunk, which SDL_image would read forever
        keyed.substr(0, 120),
        keyed.substr(0, keyed.size() - 12), // no closing chunk
        Flipped(keyed, 100, 0x5A),
        Flipped(Flipped(keyed, 16, 0x7F), 20, 0x7F),
        Flipped(ReadFile(SeedFolder + "rgb8-odd-width.tga"), 15, 0x40), // 16387 rows
        Flipped(ReadFile(SeedFolder + "rgb8-odd-width.bmp"), 29, 1),    // 24 + 256 bits a pixel
        "11111\n00000\n",
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SDL_Surface* surface = Decode(cases[k]);
        EXPECT_EQ(surface, nullptr) << "case " << k;
        SDL_FreeSurface(surface);
    }
}

} // namespace
