// Feeds arbitrary bytes through the atlas decoder (SDL_image's PNG, BMP and TGA readers) into the
// atlas preparation and checks that whatever comes out is an image GL can take as it stands.
#include "assets/Atlas.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>

// Four kilobytes of input cannot fill a larger image; claims beyond it only cost allocation time.
constexpr int FuzzedSide = 512;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SDL_Surface* surface = DecodeAtlas(data, size, FuzzedSide);
    AtlasPixels pixels;
    const bool prepared = PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    const std::uint32_t format = pixels.pixelFormat;
    const bool known = pixels.bytesPerPixel == 3 ? format == GL_RGB || format == GL_BGR
                                                 : format == GL_RGBA || format == GL_BGRA;
    const bool sized = pixels.width > 0 && pixels.height > 0 && pixels.width <= FuzzedSide &&
                       pixels.height <= FuzzedSide &&
                       pixels.bytes.size() == static_cast<std::size_t>(pixels.width) *
                                                  pixels.height * pixels.bytesPerPixel;
    if (prepared ? !known || !sized : !pixels.bytes.empty()) {
        std::abort();
    }
    return 0;
}
