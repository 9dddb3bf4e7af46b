// The browser's SDL decodes with stb_image into a surface of 8-bit RGBA whose pixels are filled
// at once; its lock would redraw them through a canvas that a GL page no longer has.
#include "assets/Atlas.h"
#include "assets/AtlasPlatform.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <SDL_image.h>

// stb_image tells PNG, BMP and TGA apart by itself.
SDL_Surface* DecodeImageBytes(const std::uint8_t* bytes, std::size_t size, AtlasImageKind kind) {
    SDL_RWops* source = kind != AtlasImageKind::Refused
                            ? SDL_RWFromConstMem(bytes, static_cast<int>(size))
                            : nullptr;
    if (source == nullptr) {
        return nullptr;
    }
    return IMG_Load_RW(source, 1);
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
