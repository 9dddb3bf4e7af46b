// The icon renderer rebuilds the committed icons from the game's own figure and atlas.
#include "support/Scratch.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<SDL_Color> pixels; // unused holds the alpha
};

// Reads a PNG into straight RGBA; an unreadable file gives an empty picture.
Picture ReadPicture(const std::string& path) {
    Picture picture;
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (surface == nullptr) {
        return picture;
    }
    picture.width = surface->w;
    picture.height = surface->h;
    SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < surface->w; ++x) {
            Uint32 value = 0;
            SDL_memcpy(&value, row + x * bytes, static_cast<size_t>(bytes));
            SDL_Color colour{};
            SDL_GetRGBA(value, surface->format, &colour.r, &colour.g, &colour.b, &colour.unused);
            picture.pixels.push_back(colour);
        }
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return picture;
}

// The largest channel difference of two pixels, colours weighted by their alpha: the colour of a
// transparent pixel is never seen.
int Difference(const SDL_Color& a, const SDL_Color& b) {
    const auto weighted = [](Uint8 channel, Uint8 alpha) { return channel * alpha / 255; };
    const int channels[] = {weighted(a.r, a.unused) - weighted(b.r, b.unused),
                            weighted(a.g, a.unused) - weighted(b.g, b.unused),
                            weighted(a.b, a.unused) - weighted(b.b, b.unused), a.unused - b.unused};
    int largest = 0;
    for (int c : channels) {
        largest = std::max(largest, std::abs(c));
    }
    return largest;
}

TEST(IconTest, TheRendererRebuildsTheCommittedIcons) {
    ScratchFolder scratch;
    const std::string command = std::string(ICON_RENDERER) + " " + SOURCE_DIR + " " + scratch.path;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int size : IconSizes) {
        const std::string name = "snowroll-" + std::to_string(size) + ".png";
        const Picture made = ReadPicture(scratch.path + "/" + name);
        const Picture kept = ReadPicture(std::string(SOURCE_DIR) + "/packaging/icons/" + name);
        ASSERT_EQ(made.width, size) << name;
        ASSERT_EQ(made.height, size) << name;
        ASSERT_EQ(kept.width, size) << name;
        ASSERT_EQ(kept.height, size) << name;
        // A renderer on another processor may round a texel differently; a changed figure,
        // atlas or view changes far more than this.
        int largest = 0;
        for (std::size_t k = 0; k < made.pixels.size(); ++k) {
            largest = std::max(largest, Difference(made.pixels[k], kept.pixels[k]));
        }
        EXPECT_LE(largest, 8) << name << ": run the icon renderer and commit its icons";
    }
}

// The largest icon shows a textured figure on a clear ground: not empty, not a white shape.
TEST(IconTest, TheCommittedIconShowsTheTexturedFigure) {
    const Picture icon = ReadPicture(std::string(SOURCE_DIR) + "/packaging/icons/snowroll-256.png");
    ASSERT_EQ(icon.width, 256);
    for (int corner : {0, 255, 256 * 255, 256 * 256 - 1}) {
        EXPECT_EQ(icon.pixels[corner].unused, 0) << "corner " << corner;
    }
    int opaque = 0;
    int coloured = 0;
    for (const SDL_Color& pixel : icon.pixels) {
        if (pixel.unused == 255) {
            ++opaque;
            const int high = std::max({pixel.r, pixel.g, pixel.b});
            const int low = std::min({pixel.r, pixel.g, pixel.b});
            coloured += high - low > 60 ? 1 : 0;
        }
    }
    const double pixels = 256.0 * 256.0;
    EXPECT_GT(opaque / pixels, 0.15);
    EXPECT_LT(opaque / pixels, 0.75);
    EXPECT_GT(coloured / pixels, 0.02) << "the nose and arms take the atlas colours";
}

} // namespace
