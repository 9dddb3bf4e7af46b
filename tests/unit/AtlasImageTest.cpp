// Decoded atlas images turned into upload-ready pixels, and images that must be refused.
#include "assets/Atlas.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string SeedFolder = std::string(SOURCE_DIR) + "/tests/fuzz/corpus/atlas/";

// Decodes PNG bytes from memory the way the game decodes its atlas file.
bool PrepareFromBytes(const std::string& bytes, AtlasPixels& pixels) {
    SDL_Surface* surface =
        DecodeAtlas(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    bool prepared = PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    return prepared;
}

TEST(AtlasImageTest, OtherLayoutsBecomeRgbaWithTheirOwnColours) {
    // Paletted, with a transparent colour that must keep its colour in the opaque atlas.
    SDL_Surface* paletted = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, 8, 0, 0, 0, 0);
    ASSERT_NE(paletted, nullptr);
    SDL_Color colours[3] = {{200, 10, 20, 0}, {30, 220, 40, 0}, {50, 60, 240, 0}};
    SDL_SetColors(paletted, colours, 0, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            static_cast<Uint8*>(paletted->pixels)[y * paletted->pitch + x] =
                static_cast<Uint8>((x + y) % 3);
        }
    }
    SDL_SetColorKey(paletted, SDL_SRCCOLORKEY, 1);
    AtlasPixels pixels;
    ASSERT_TRUE(PrepareAtlasPixels(paletted, pixels));
    SDL_FreeSurface(paletted);
    EXPECT_EQ(pixels.pixelFormat, static_cast<std::uint32_t>(GL_RGBA));
    ASSERT_EQ(pixels.bytes.size(), 5u * 3u * 4u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const SDL_Color& want = colours[(x + y) % 3];
            const Uint8* got = pixels.bytes.data() + (y * 5 + x) * 4;
            EXPECT_EQ(got[0], want.r);
            EXPECT_EQ(got[1], want.g);
            EXPECT_EQ(got[2], want.b);
        }
    }

    // 16-bit and alpha-first layouts.
    Uint16 wide[2] = {0xF800, 0x001F};
    SDL_Surface* highColour =
        SDL_CreateRGBSurfaceFrom(wide, 2, 1, 16, 4, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_TRUE(PrepareAtlasPixels(highColour, pixels));
    SDL_FreeSurface(highColour);
    EXPECT_EQ(pixels.pixelFormat, static_cast<std::uint32_t>(GL_RGBA));
    EXPECT_EQ(std::vector<Uint8>(pixels.bytes.begin(), pixels.bytes.begin() + 3),
              (std::vector<Uint8>{255, 0, 0}));
    EXPECT_EQ(std::vector<Uint8>(pixels.bytes.begin() + 4, pixels.bytes.begin() + 7),
              (std::vector<Uint8>{0, 0, 255}));
    Uint8 alphaFirst[4] = {255, 10, 20, 30};
    SDL_Surface* argb =
        SDL_CreateRGBSurfaceFrom(alphaFirst, 1, 1, 32, 4, 0xFF00, 0xFF0000, 0xFF000000, 0xFF);
    ASSERT_TRUE(PrepareAtlasPixels(argb, pixels));
    SDL_FreeSurface(argb);
    EXPECT_EQ(pixels.bytes, (std::vector<Uint8>{10, 20, 30, 255}));
}

TEST(AtlasImageTest, EveryKindOfPngDecodesToUploadablePixels) {
    const char* const seeds[] = {"rgb8.png",       "rgba8.png",      "rgb8-odd-width.png",
                                 "rgb16.png",      "grey8.png",      "grey1.png",
                                 "grey-alpha.png", "palette4.png",   "palette8-transparent.png",
                                 "rgb8-key.png",   "grey16-key.png", "rgb8-interlaced.png"};
    for (const char* seed : seeds) {
        std::string bytes = ReadFile(SeedFolder + seed);
        ASSERT_GT(bytes.size(), 8u) << seed;
        // The size as the file's header states it.
        auto be32 = [&bytes](std::size_t at) {
            return static_cast<int>(
                static_cast<Uint8>(bytes[at]) << 24 | static_cast<Uint8>(bytes[at + 1]) << 16 |
                static_cast<Uint8>(bytes[at + 2]) << 8 | static_cast<Uint8>(bytes[at + 3]));
        };
        AtlasPixels pixels;
        ASSERT_TRUE(PrepareFromBytes(bytes, pixels)) << seed;
        EXPECT_EQ(pixels.width, be32(16)) << seed;
        EXPECT_EQ(pixels.height, be32(20)) << seed;
        EXPECT_TRUE(pixels.bytesPerPixel == 3 || pixels.bytesPerPixel == 4) << seed;
        EXPECT_EQ(pixels.bytes.size(),
                  static_cast<std::size_t>(pixels.width * pixels.height * pixels.bytesPerPixel))
            << seed;
        if (std::string(seed).rfind("grey", 0) == 0) {
            EXPECT_EQ(pixels.bytes[0], pixels.bytes[1]) << seed;
            EXPECT_EQ(pixels.bytes[1], pixels.bytes[2]) << seed;
        }
    }
}

// Red, green and blue of pixel `i` in whichever channel order `image` holds.
std::vector<Uint8> Rgb(const AtlasPixels& image, int i) {
    const Uint8* p = image.bytes.data() + i * image.bytesPerPixel;
    bool blueFirst = image.pixelFormat == GL_BGR || image.pixelFormat == GL_BGRA;
    return blueFirst ? std::vector<Uint8>{p[2], p[1], p[0]} : std::vector<Uint8>{p[0], p[1], p[2]};
}

// A BMP or TGA atlas loads as SDL_image reads it; a stated side beyond the bound is refused before
// SDL_image sets out to allocate it.
TEST(AtlasImageTest, BmpAndTgaImagesLoadWithinTheBound) {
    AtlasPixels png;
    ASSERT_TRUE(PrepareFromBytes(ReadFile(SeedFolder + "rgb8-odd-width.png"), png));
    AtlasPixels pixels;
    for (const char* seed : {"rgb8-odd-width.bmp", "rgb8-odd-width.tga"}) {
        ASSERT_TRUE(PrepareFromBytes(ReadFile(SeedFolder + seed), pixels)) << seed;
        ASSERT_EQ(pixels.width, png.width);
        ASSERT_EQ(pixels.height, png.height);
        for (int i = 0; i < png.width * png.height; ++i) {
            ASSERT_EQ(Rgb(pixels, i), Rgb(png, i)) << seed << " pixel " << i;
        }
    }

    // Files that claim a side beyond the bound never reach SDL_image, which would allocate
    // whatever they claim; nor does a depth that it passes on to a surface SDL cannot convert.
    std::string tallBmp = ReadFile(SeedFolder + "rgb8-odd-width.bmp");
    tallBmp[22] = '\x00';
    tallBmp[23] = '\x40';
    std::string tallTga = ReadFile(SeedFolder + "rgb8-odd-width.tga");
    tallTga[14] = '\x00';
    tallTga[15] = '\x40';
    std::string oddDepth = ReadFile(SeedFolder + "rgb8-odd-width.bmp");
    oddDepth[29] = 1; // 24 + 256 bits a pixel
    for (const std::string& bytes : {tallBmp, tallTga, oddDepth}) {
        SDL_Surface* surface =
            DecodeAtlas(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(surface, nullptr) << bytes.substr(0, 2) << " " << bytes.size();
        SDL_FreeSurface(surface);
    }
}

TEST(AtlasImageTest, EmptyOversizedTruncatedAndForeignImagesAreRefused) {
    AtlasPixels pixels;
    EXPECT_FALSE(PrepareAtlasPixels(nullptr, pixels));
    Uint8 byte[4] = {};
    for (int width : {0, MaxAtlasSide + 1}) {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceFrom(byte, width, 1, 32, 0, 0xFF, 0xFF00, 0xFF0000, 0);
        if (surface != nullptr) {
            EXPECT_FALSE(PrepareAtlasPixels(surface, pixels)) << width;
            EXPECT_TRUE(pixels.bytes.empty());
            SDL_FreeSurface(surface);
        }
    }

    // Cut short at every stage of the file, damaged, or not an image at all: no texture,
    // and no GL call is made, so this runs without a window.
    std::string atlas = ReadFile(std::string(SOURCE_DIR) + "/Media/textureatlas.png");
    ScratchFolder folder;
    for (std::size_t length : {std::size_t{0}, std::size_t{7}, std::size_t{20}, std::size_t{33},
                               std::size_t{5000}, atlas.size() / 2, std::size_t{147705 + 100}}) {
        folder.Write("Media/textureatlas.png", atlas.substr(0, length));
        EXPECT_EQ(LoadTextureAtlas(), 0u) << "cut at " << length;
    }
    std::string damaged = atlas;
    for (std::size_t i = 60; i < damaged.size(); i += 997) {
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    }
    folder.Write("Media/textureatlas.png", damaged);
    EXPECT_EQ(LoadTextureAtlas(), 0u);
    // Cut right after a transparency chunk: SDL_image alone would read that chunk again forever.
    std::string keyed = ReadFile(SeedFolder + "rgb8-key.png");
    folder.Write("Media/textureatlas.png", keyed.substr(0, 51));
    EXPECT_EQ(LoadTextureAtlas(), 0u);
    folder.Write("Media/textureatlas.png", keyed.substr(0, keyed.size() - 12));
    EXPECT_EQ(LoadTextureAtlas(), 0u) << "no closing chunk";
    folder.Write("Media/textureatlas.png", "11111\n00000\n");
    EXPECT_EQ(LoadTextureAtlas(), 0u);
    // A header that claims an absurd size over almost no data.
    std::string huge = atlas.substr(0, 33);
    huge[16] = huge[20] = 0x7F;
    folder.Write("Media/textureatlas.png", huge);
    EXPECT_EQ(LoadTextureAtlas(), 0u);
}

} // namespace
