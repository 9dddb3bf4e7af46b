#include "assets/Atlas.h"

#include "assets/AtlasPlatform.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstring>
#include <fstream>

namespace {

const char* const AtlasPath = "Media/textureatlas.png";
// The PNG signature; then chunks of a 4-byte length, a 4-byte type, the data and a 4-byte check,
// the first one the header with the width and height.
const std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t ChunkFrameBytes = 12;
constexpr std::size_t PngWidthAt = 16;
constexpr std::size_t PngHeightAt = 20;
constexpr std::uint32_t LargestChunk = 0x7FFFFFFFu;
// A BMP: "BM", then at 14 the size of the header that follows, its sides at 18 and 22. The old
// 12-byte header holds 16-bit sides and its bits per pixel at 24, the later ones at 28.
constexpr std::size_t BmpHeaderSizeAt = 14;
constexpr std::uint32_t BmpCoreHeaderBytes = 12;
constexpr std::size_t BmpWidthAt = 18;
constexpr std::size_t BmpHeightAt = 22;
constexpr std::size_t BmpCoreDepthAt = 24;
constexpr std::size_t BmpDepthAt = 28;
constexpr std::size_t BmpHeaderEnd = 30;
// A TGA header: 18 bytes, the image type at 2 (8 added for run-length coding), the sides at 12
// and 14, the bits per pixel at 16.
constexpr std::size_t TgaHeaderBytes = 18;
constexpr std::uint8_t TgaRunLengthType = 8;

// The GL order of a surface's pixels, or 0 when it is not one GL can take as it stands.
std::uint32_t DirectPixelFormat(const SDL_PixelFormat& format) {
    bool redFirst = format.Rmask == FirstByteMask && format.Bmask == ThirdByteMask;
    bool blueFirst = format.Bmask == FirstByteMask && format.Rmask == ThirdByteMask;
    if (format.Gmask != SecondByteMask || (!redFirst && !blueFirst)) {
        return 0;
    }
    if (format.BytesPerPixel == 4 && (format.Amask == FourthByteMask || format.Amask == 0)) {
        return redFirst ? GL_RGBA : GL_BGRA;
    }
    if (format.BytesPerPixel == 3) {
        return redFirst ? GL_RGB : GL_BGR;
    }
    return 0;
}

// Whether SDL can convert pixels of this format: 1 to 4 bytes a pixel, with a palette where a
// pixel is an index.
bool IsConvertible(const SDL_PixelFormat* format) {
    return format != nullptr && format->BytesPerPixel >= 1 && format->BytesPerPixel <= 4 &&
           (format->BitsPerPixel > 8 || format->palette != nullptr);
}

// Copies the rows of a surface that is already in a GL layout, dropping any row padding.
bool CopyRows(SDL_Surface* surface, std::uint32_t pixelFormat, AtlasPixels& pixels) {
    std::size_t rowBytes = static_cast<std::size_t>(surface->w) * surface->format->BytesPerPixel;
    if (surface->pixels == nullptr || static_cast<std::size_t>(surface->pitch) < rowBytes) {
        return false;
    }
    if (!LockPixels(surface)) {
        return false;
    }
    pixels.width = surface->w;
    pixels.height = surface->h;
    pixels.bytesPerPixel = surface->format->BytesPerPixel;
    pixels.pixelFormat = pixelFormat;
    pixels.bytes.resize(rowBytes * static_cast<std::size_t>(surface->h));
    const auto* source = static_cast<const std::uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        std::memcpy(pixels.bytes.data() + rowBytes * static_cast<std::size_t>(y),
                    source + static_cast<std::size_t>(surface->pitch) * y, rowBytes);
    }
    UnlockPixels(surface);
    return true;
}

// SDL_image hands a grey PNG with a transparent grey level over as two bytes per pixel, grey then
// alpha, under the channel masks of an RGB image that do not fit two bytes.
bool IsGreyAlphaPair(const SDL_PixelFormat& format) {
    return format.BytesPerPixel == 2 && format.Rmask == FirstByteMask &&
           format.Gmask == SecondByteMask && format.Bmask == ThirdByteMask;
}

// Spreads the grey of each grey-and-alpha pair over red, green and blue.
bool ExpandGreyAlpha(SDL_Surface* surface, AtlasPixels& pixels) {
    if (surface->pixels == nullptr || surface->pitch < surface->w * 2) {
        return false;
    }
    pixels.width = surface->w;
    pixels.height = surface->h;
    pixels.bytesPerPixel = 4;
    pixels.pixelFormat = GL_RGBA;
    pixels.bytes.resize(static_cast<std::size_t>(surface->w) * surface->h * 4);
    std::uint8_t* out = pixels.bytes.data();
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(surface->pixels) +
                          static_cast<std::size_t>(surface->pitch) * y;
        for (int x = 0; x < surface->w; ++x, out += 4) {
            out[0] = out[1] = out[2] = row[x * 2];
            out[3] = row[x * 2 + 1];
        }
    }
    return true;
}

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

std::uint32_t LittleEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[1]) << 8 | bytes[0];
}

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
    return LittleEndian16(bytes + 2) << 16 | LittleEndian16(bytes);
}

bool SidesWithin(std::uint32_t width, std::uint32_t height, int maxSide) {
    std::uint32_t limit = maxSide > 0 ? static_cast<std::uint32_t>(maxSide) : 0;
    return width != 0 && height != 0 && width <= limit && height <= limit;
}

// Whether the PNG's header states a size within limits and every chunk up to the closing one lies
// whole inside the data.
bool PngIsWhole(const std::uint8_t* bytes, std::size_t size, int maxSide) {
    if (size < sizeof PngSignature + ChunkFrameBytes + 13 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0 ||
        !SidesWithin(BigEndian32(bytes + PngWidthAt), BigEndian32(bytes + PngHeightAt), maxSide)) {
        return false;
    }
    for (std::size_t at = sizeof PngSignature; size - at >= ChunkFrameBytes;) {
        std::uint32_t length = BigEndian32(bytes + at);
        if (length > LargestChunk || length > size - at - ChunkFrameBytes) {
            return false;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += ChunkFrameBytes + length;
    }
    return false;
}

// Whether a BMP's header states a size within limits and a depth SDL_image reads; the height is
// negative for rows stored top first.
bool BmpSizeWithin(const std::uint8_t* bytes, std::size_t size, int maxSide) {
    if (size < BmpHeaderEnd) {
        return false;
    }
    bool core = LittleEndian32(bytes + BmpHeaderSizeAt) == BmpCoreHeaderBytes;
    std::uint32_t depth = LittleEndian16(bytes + (core ? BmpCoreDepthAt : BmpDepthAt));
    bool knownDepth =
        depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    if (core) {
        return knownDepth && SidesWithin(LittleEndian16(bytes + BmpWidthAt),
                                         LittleEndian16(bytes + BmpWidthAt + 2), maxSide);
    }
    std::int64_t height = static_cast<std::int32_t>(LittleEndian32(bytes + BmpHeightAt));
    height = height < 0 ? -height : height;
    return knownDepth && height <= UINT32_MAX &&
           SidesWithin(LittleEndian32(bytes + BmpWidthAt), static_cast<std::uint32_t>(height),
                       maxSide);
}

// Whether the bytes start with a header of a true-colour, grey or colour-mapped TGA image, plain
// or run-length coded, of a size within limits. TGA has no signature: SDL_image loads it only
// when asked to.
bool IsTgaWithin(const std::uint8_t* bytes, std::size_t size, int maxSide) {
    if (size < TgaHeaderBytes || bytes[1] > 1) {
        return false;
    }
    std::uint8_t type = bytes[2] & ~TgaRunLengthType;
    std::uint8_t depth = bytes[16];
    bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return type >= 1 && type <= 3 && knownDepth &&
           SidesWithin(LittleEndian16(bytes + 12), LittleEndian16(bytes + 14), maxSide);
}

// The kind of an image whose stated size is within limits, or `Refused` for a file that is no PNG,
// BMP or TGA image, or states a size beyond them. Any other format is refused: the game cannot
// bound what its reader sets out to allocate before it decodes.
AtlasImageKind KindOf(const std::uint8_t* bytes, std::size_t size, int maxSide) {
    constexpr AtlasImageKind Refused = AtlasImageKind::Refused;
    if (size >= sizeof PngSignature && std::memcmp(bytes, PngSignature, sizeof PngSignature) == 0) {
        return PngIsWhole(bytes, size, maxSide) ? AtlasImageKind::Png : Refused;
    }
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return BmpSizeWithin(bytes, size, maxSide) ? AtlasImageKind::Bmp : Refused;
    }
    return IsTgaWithin(bytes, size, maxSide) ? AtlasImageKind::Tga : Refused;
}

} // namespace

SDL_Surface* DecodeAtlas(const std::uint8_t* bytes, std::size_t size, int maxSide) {
    if (bytes == nullptr || size > MaxAtlasFileBytes) {
        return nullptr;
    }
    AtlasImageKind kind = KindOf(bytes, size, maxSide);
    return kind != AtlasImageKind::Refused ? DecodeImageBytes(bytes, size, kind) : nullptr;
}

bool PrepareAtlasPixels(SDL_Surface* surface, AtlasPixels& pixels) {
    pixels = AtlasPixels{};
    if (surface == nullptr || !IsConvertible(surface->format) || surface->w <= 0 ||
        surface->h <= 0 || surface->w > MaxAtlasSide || surface->h > MaxAtlasSide) {
        return false;
    }
    std::uint32_t pixelFormat = DirectPixelFormat(*surface->format);
    if (pixelFormat != 0) {
        return CopyRows(surface, pixelFormat, pixels);
    }
    if (IsGreyAlphaPair(*surface->format)) {
        return ExpandGreyAlpha(surface, pixels);
    }
    SDL_Surface* converted = ConvertToRgba(surface);
    if (converted == nullptr) {
        return false;
    }
    bool copied = CopyRows(converted, GL_RGBA, pixels);
    SDL_FreeSurface(converted);
    if (!copied) {
        pixels = AtlasPixels{};
    }
    return copied;
}

std::uint32_t UploadAtlas(const AtlasPixels& pixels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // The rows are packed without padding, which GL's default alignment of 4 would misread for
    // RGB rows of a width that is not a multiple of 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    UploadMipmaps(pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return name;
}

std::uint32_t LoadTextureAtlas() {
    std::ifstream file(AtlasPath, std::ios::binary | std::ios::ate);
    std::streamoff length = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (length <= 0 || static_cast<std::size_t>(length) > MaxAtlasFileBytes) {
        return 0;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length)) {
        return 0;
    }
    SDL_Surface* surface = DecodeAtlas(bytes.data(), bytes.size());
    if (surface == nullptr) {
        return 0;
    }
    AtlasPixels pixels;
    bool prepared = PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    return prepared ? UploadAtlas(pixels) : 0;
}
