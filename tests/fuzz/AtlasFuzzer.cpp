// Feeds arbitrary bytes through the atlas decoder (SDL_image's PNG, BMP and TGA readers) into the
// atlas preparation and checks that whatever comes out is an image GL can take as it stands.
#include "assets/Atlas.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Four kilobytes of input cannot fill a larger image; claims beyond it only cost allocation time.
constexpr int FuzzedSide = 512;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SDL_Surface* surface = DecodeAtlas(data, size, FuzzedSide);
    AtlasPixels pixels;
    bool prepared = PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    if (!prepared) {
        return pixels.bytes.empty() ? 0 : (std::abort(), 0);
    }
    bool threeBytes =
        pixels.bytesPerPixel == 3 && (pixels.pixelFormat == GL_RGB || pixels.pixelFormat == GL_BGR);
    bool fourBytes = pixels.bytesPerPixel == 4 &&
                     (pixels.pixelFormat == GL_RGBA || pixels.pixelFormat == GL_BGRA);
    std::size_t expected = static_cast<std::size_t>(pixels.width) *
                           static_cast<std::size_t>(pixels.height) *
                           static_cast<std::size_t>(pixels.bytesPerPixel);
    if ((!threeBytes && !fourBytes) || pixels.width <= 0 || pixels.height <= 0 ||
        pixels.width > MaxAtlasSide || pixels.height > MaxAtlasSide ||
        pixels.bytes.size() != expected) {
        std::abort();
    }
    return 0;
}
