// The texture atlas: one image with every surface of the meshes and the font.
#pragma once

#include <cstdint>
#include <vector>

struct SDL_Surface;
struct SDL_RWops;

// The largest side of an atlas image the game accepts; anything larger is taken as corrupt.
constexpr int MaxAtlasSide = 4096;

// An image ready for upload: rows tightly packed, top row first, 3 or 4 bytes per pixel in the
// channel order that `pixelFormat` (GL_RGB, GL_BGR, GL_RGBA or GL_BGRA) names.
struct AtlasPixels {
    std::int32_t width;
    std::int32_t height;
    std::int32_t bytesPerPixel;
    std::uint32_t pixelFormat;
    std::vector<std::uint8_t> bytes;
};

// Copies a decoded image into `pixels`, converting any layout other than 8-bit RGB or RGBA in
// either channel order to RGBA. False for no image, a zero-size or an oversized one.
bool PrepareAtlasPixels(SDL_Surface* surface, AtlasPixels& pixels);

// Whether an image stream may be decoded: false for a PNG whose header states a zero side or one
// over `maxSide`, so that no decoder sets out to allocate gigabytes for it. Leaves the stream
// where it was.
bool AtlasHeaderFits(SDL_RWops* source, int maxSide = MaxAtlasSide);

// Makes a mipmapped texture of `pixels` and returns its name, left bound.
std::uint32_t UploadAtlas(const AtlasPixels& pixels);

// Uploads "Media/textureatlas.png" as a mipmapped texture and returns its name, left bound;
// returns 0 when the image cannot be loaded, and the game runs on untextured.
std::uint32_t LoadTextureAtlas();
