#include "assets/Atlas.h"
#include "assets/AtlasPlatform.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

// Each kind goes to its own reader: TGA has no signature for SDL_image's detection to find.
SDL_Surface* DecodeImageBytes(const std::uint8_t* bytes, std::size_t size, AtlasImageKind kind) {
    SDL_Surface* (*reader)(SDL_RWops*) = kind == AtlasImageKind::Png   ? IMG_LoadPNG_RW
                                         : kind == AtlasImageKind::Bmp ? IMG_LoadBMP_RW
                                         : kind == AtlasImageKind::Tga ? IMG_LoadTGA_RW
                                                                       : nullptr;
    SDL_RWops* source =
        reader != nullptr ? SDL_RWFromConstMem(bytes, static_cast<int>(size)) : nullptr;
    if (source == nullptr) {
        return nullptr;
    }
    SDL_Surface* surface = reader(source);
    SDL_RWclose(source);
    return surface;
}

SDL_Surface* ConvertToRgba(SDL_Surface* surface) {
    SDL_PixelFormat rgba = {};
    rgba.BitsPerPixel = 32;
    rgba.BytesPerPixel = 4;
    rgba.Gshift = 8;
    rgba.Bshift = 16;
    rgba.Ashift = 24;
    rgba.Rmask = FirstByteMask;
    rgba.Gmask = SecondByteMask;
    rgba.Bmask = ThirdByteMask;
    rgba.Amask = FourthByteMask;
    rgba.alpha = SDL_ALPHA_OPAQUE;
    // A transparent colour would leave its pixels unwritten in the copy; the game draws the atlas
    // opaque, so those pixels keep their own colour instead.
    SDL_SetColorKey(surface, 0, 0);
    return SDL_ConvertSurface(surface, &rgba, SDL_SWSURFACE);
}

bool LockPixels(SDL_Surface* surface) {
    return !SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0;
}

void UnlockPixels(SDL_Surface* surface) {
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
}

void UploadMipmaps(const AtlasPixels& pixels) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, pixels.bytesPerPixel, pixels.width, pixels.height,
                      pixels.pixelFormat, GL_UNSIGNED_BYTE, pixels.bytes.data());
}
