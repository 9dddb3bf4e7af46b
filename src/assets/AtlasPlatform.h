// What the desktop and the browser builds do differently in loading the atlas: the decoder's
// entry, the surface locking and the mipmap upload. Each build compiles one of
// AtlasPlatformDesktop.cpp and AtlasPlatformWeb.cpp, chosen by CMake.
#pragma once

#include <cstddef>
#include <cstdint>

struct AtlasPixels;

// Channel masks of 8-bit pixels, by the byte of the pixel in memory that holds the channel.
constexpr std::uint32_t FirstByteMask = 0x000000FFu;
constexpr std::uint32_t SecondByteMask = 0x0000FF00u;
constexpr std::uint32_t ThirdByteMask = 0x00FF0000u;
constexpr std::uint32_t FourthByteMask = 0xFF000000u;
struct SDL_Surface;

// The image formats the game decodes, told apart by their headers before any decoding.
enum class AtlasImageKind { Refused, Png, Bmp, Tga };

// Decodes image bytes of `kind` that have passed the game's own checks; null when the decoder
// fails.
SDL_Surface* DecodeImageBytes(const std::uint8_t* bytes, std::size_t size, AtlasImageKind kind);

// A copy of `surface` as 8-bit RGBA, red first; null when the library cannot make one.
SDL_Surface* ConvertToRgba(SDL_Surface* surface);

// Makes the surface's pixels readable; false when they cannot be. Pair with `UnlockPixels`.
bool LockPixels(SDL_Surface* surface);
void UnlockPixels(SDL_Surface* surface);

// Uploads `pixels` with a full mipmap chain into the bound GL_TEXTURE_2D.
void UploadMipmaps(const AtlasPixels& pixels);
