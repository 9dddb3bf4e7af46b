// The browser's build decodes with stb_image straight into the surface's pixels: its SDL_image
// would draw them into a canvas and read them back, which takes far longer than the decoding, and
// its locking would redraw them through a canvas that a GL page no longer has.
#include "assets/Atlas.h"
#include "assets/AtlasPlatform.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <cstring>

extern "C" {
unsigned char* stbi_load_from_memory(const unsigned char* bytes, int size, int* width, int* height,
                                     int* channels, int wantedChannels);
void stbi_image_free(void* pixels);
}

namespace {

constexpr int RgbaChannels = 4;
constexpr int RgbaBits = 32;

} // namespace

// stb_image tells PNG, BMP and TGA apart by itself and gives every image as 8-bit RGBA.
SDL_Surface* DecodeImageBytes(const std::uint8_t* bytes, std::size_t size, AtlasImageKind kind) {
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* decoded = kind != AtlasImageKind::Refused
                                 ? stbi_load_from_memory(bytes, static_cast<int>(size), &width,
                                                         &height, &channels, RgbaChannels)
                                 : nullptr;
    if (decoded == nullptr) {
        return nullptr;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, RgbaBits, FirstByteMask, SecondByteMask,
                             ThirdByteMask, FourthByteMask);
    if (surface != nullptr && surface->pixels != nullptr) {
        std::memcpy(surface->pixels, decoded,
                    static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                        RgbaChannels);
    }
    stbi_image_free(decoded);
    return surface;
}

// Every surface the browser's decoder makes is RGBA already, and its conversion draws through
// the dropped canvas too.
SDL_Surface* ConvertToRgba(SDL_Surface*) {
    return nullptr;
}

bool LockPixels(SDL_Surface*) {
    return true;
}

void UnlockPixels(SDL_Surface*) {}

// WebGL takes only its own internal formats (the format itself), and GLU is not there.
void UploadMipmaps(const AtlasPixels& pixels) {
    const GLenum format = pixels.pixelFormat;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), pixels.width, pixels.height, 0,
                 format, GL_UNSIGNED_BYTE, pixels.bytes.data());
    glGenerateMipmap(GL_TEXTURE_2D);
}
