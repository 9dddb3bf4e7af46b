// The texture atlas: one image with every surface of the meshes and the font.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SDL_Surface;

// The largest side of an atlas image the game accepts, far beyond any real atlas: a bound against
// a small file that claims a huge image. SDL 1.2 holds a surface's row length in 16 bits, so 16383
// is the widest row of 4-byte pixels it can hold.
constexpr int MaxAtlasSide = 16383;
// The largest atlas file read, in bytes, far more than a real atlas takes.
constexpr std::size_t MaxAtlasFileBytes = 96u << 20;

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

// Decodes a PNG, BMP or TGA image into a surface, or gives null. Only an image whose header states
// a size of 1 to `maxSide` pixels each way reaches SDL_image, whose readers set out to allocate
// whatever size a header claims; a PNG must also hold all its chunks whole, up to the closing one,
// as SDL_image's PNG reader does not notice the end of the data and can loop forever on a file cut
// short.
SDL_Surface* DecodeAtlas(const std::uint8_t* bytes, std::size_t size, int maxSide = MaxAtlasSide);

// Makes a mipmapped texture of `pixels` and returns its name, left bound.
std::uint32_t UploadAtlas(const AtlasPixels& pixels);

// Uploads "Media/textureatlas.png" (a PNG, BMP or TGA image, whatever its name) as a mipmapped
// texture and returns its name, left bound; returns 0 when the image cannot be loaded, and the game
// runs on untextured.
std::uint32_t LoadTextureAtlas();
