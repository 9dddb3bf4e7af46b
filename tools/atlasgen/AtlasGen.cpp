// Writes the game's texture atlas, and small images of every PNG kind, a BMP and a TGA for the
// atlas fuzzer.
// Usage: atlasgen ATLAS.png [SEED_FOLDER]
// Rebuild the committed files from the top of the repo with:
//   build/tools/atlasgen/atlasgen Media/textureatlas.png tests/fuzz/corpus/atlas
#include "Canvas.h"
#include "Glyphs.h"
#include "Surfaces.h"

#include <csetjmp>
#include <cstdio>
#include <fontconfig/fontconfig.h>
#include <string>
#include <vector>

#include <png.h>

namespace {

// DejaVu Sans Mono Bold, from Debian's fonts-dejavu-core.
const char* const FontName = "DejaVu Sans Mono:bold";
const char* const FontFamily = "DejaVu Sans Mono";

// The file of the font wherever fontconfig finds it; "" when it is not installed (fontconfig would
// offer another family in its place).
std::string FindFont() {
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(FontName));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        std::string(reinterpret_cast<const char*>(family)) == FontFamily) {
        path = reinterpret_cast<const char*>(file);
    }
    FcPatternDestroy(pattern);
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    return path;
}

struct PngPicture {
    int width;
    int height;
    int colourType;
    int bitDepth;
    bool interlaced;
    std::vector<std::uint8_t> bytes; // rows packed as the colour type and bit depth say
    std::vector<png_color> palette;
    std::vector<std::uint8_t> paletteAlpha;
    bool hasKey;
    png_color_16 key;
};

// Writes `picture` as a PNG with fixed settings and no time stamp, so equal input gives equal
// bytes.
bool WritePng(const std::string& path, const PngPicture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty() || picture.hasKey) {
        png_color_16 key = picture.key;
        png_set_tRNS(png, info, picture.paletteAlpha.data(),
                     static_cast<int>(picture.paletteAlpha.size()), &key);
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
    std::size_t stride = picture.bytes.size() / rows.size();
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = const_cast<png_bytep>(picture.bytes.data() + y * stride);
    }
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

PngPicture AtlasPicture() {
    PngPicture picture = {};
    picture.width = AtlasSide;
    picture.height = AtlasSide;
    picture.colourType = PNG_COLOR_TYPE_RGB;
    picture.bitDepth = 8;
    picture.bytes.assign(Canvas.rgb, Canvas.rgb + sizeof Canvas.rgb);
    return picture;
}

// A small picture of the figure's cell, in one of the PNG colour types and depths.
PngPicture SeedPicture(int width, int height, int colourType, int bitDepth) {
    PngPicture picture = {width, height, colourType, bitDepth, false, {}, {}, {}, false, {}};
    int channels = colourType == PNG_COLOR_TYPE_RGB         ? 3
                   : colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                   : colourType == PNG_COLOR_TYPE_GA        ? 2
                                                            : 1;
    int rowBits = width * channels * bitDepth;
    std::size_t stride = static_cast<std::size_t>((rowBits + 7) / 8);
    picture.bytes.assign(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* source = Canvas.rgb + ((y * 11 + 40) * AtlasSide + 560 + x * 9) * 3;
            for (int c = 0; c < channels; ++c) {
                bool alpha = (channels == 4 && c == 3) || (channels == 2 && c == 1);
                int value = alpha ? 255 - x * 7 : (channels >= 3 ? source[c] : source[1]);
                int sample = value >> (8 - (bitDepth > 8 ? 8 : bitDepth));
                std::size_t bit = static_cast<std::size_t>((x * channels + c) * bitDepth);
                std::uint8_t* row = picture.bytes.data() + static_cast<std::size_t>(y) * stride;
                if (bitDepth == 16) {
                    row[bit / 8] = static_cast<std::uint8_t>(value);
                    row[bit / 8 + 1] = static_cast<std::uint8_t>(value ^ 0x5a);
                } else {
                    row[bit / 8] |= static_cast<std::uint8_t>(sample << (8 - bitDepth - bit % 8));
                }
            }
        }
    }
    return picture;
}

PngPicture PalettePicture(int bitDepth, bool transparent) {
    PngPicture picture = SeedPicture(12, 10, PNG_COLOR_TYPE_PALETTE, bitDepth);
    int colours = 1 << bitDepth;
    for (int i = 0; i < colours; ++i) {
        picture.palette.push_back({static_cast<png_byte>(i * 255 / (colours - 1)),
                                   static_cast<png_byte>(200 - i * 100 / colours),
                                   static_cast<png_byte>(120 + i * 8 % 100)});
    }
    if (transparent) {
        picture.paletteAlpha = {0};
    }
    return picture;
}

// Appends `value` to `out` as `count` bytes, lowest first.
void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// An 8-bit RGB picture as a 24-bit BMP (`bmp`: bottom row first, rows padded to four bytes) or an
// uncompressed TGA (top row first); both store blue first.
bool WriteBmpOrTga(const std::string& path, const PngPicture& picture, bool bmp) {
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t stride = bmp ? (width * 3 + 3) / 4 * 4 : width * 3;
    std::vector<std::uint8_t> out;
    if (bmp) {
        out = {'B', 'M'};
        PutLittleEndian(out, 54 + stride * height, 4);
        PutLittleEndian(out, 0, 4);
        PutLittleEndian(out, 54, 4);
        PutLittleEndian(out, 40, 4);
        PutLittleEndian(out, width, 4);
        PutLittleEndian(out, height, 4);
        PutLittleEndian(out, 1 | 24 << 16, 4);
        PutLittleEndian(out, 0, 4);
        PutLittleEndian(out, stride * height, 4);
        out.resize(54, 0);
    } else {
        out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        PutLittleEndian(out, width | height << 16, 4);
        out.push_back(24);
        out.push_back(0x20);
    }
    for (std::uint32_t row = 0; row < height; ++row) {
        const std::uint8_t* source =
            picture.bytes.data() + (bmp ? height - 1 - row : row) * width * 3;
        for (std::uint32_t x = 0; x < width; ++x) {
            out.insert(out.end(), {source[x * 3 + 2], source[x * 3 + 1], source[x * 3]});
        }
        out.resize(out.size() + stride - width * 3, 0);
    }
    return WriteBytes(path, out);
}

bool WriteSeeds(const std::string& folder) {
    PngPicture keyedRgb = SeedPicture(9, 7, PNG_COLOR_TYPE_RGB, 8);
    keyedRgb.hasKey = true;
    keyedRgb.key = {0, keyedRgb.bytes[0], keyedRgb.bytes[1], keyedRgb.bytes[2], 0};
    PngPicture keyedGrey = SeedPicture(8, 8, PNG_COLOR_TYPE_GRAY, 16);
    keyedGrey.hasKey = true;
    keyedGrey.key.gray = static_cast<png_uint_16>(keyedGrey.bytes[0] << 8 | keyedGrey.bytes[1]);
    PngPicture interlaced = SeedPicture(16, 16, PNG_COLOR_TYPE_RGB, 8);
    interlaced.interlaced = true;
    bool ok = WritePng(folder + "/rgb8.png", SeedPicture(16, 16, PNG_COLOR_TYPE_RGB, 8));
    ok = WritePng(folder + "/rgba8.png", SeedPicture(16, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8)) && ok;
    ok = WritePng(folder + "/rgb8-odd-width.png", SeedPicture(5, 3, PNG_COLOR_TYPE_RGB, 8)) && ok;
    ok = WritePng(folder + "/rgb16.png", SeedPicture(8, 8, PNG_COLOR_TYPE_RGB, 16)) && ok;
    ok = WritePng(folder + "/grey8.png", SeedPicture(7, 9, PNG_COLOR_TYPE_GRAY, 8)) && ok;
    ok = WritePng(folder + "/grey1.png", SeedPicture(13, 5, PNG_COLOR_TYPE_GRAY, 1)) && ok;
    ok = WritePng(folder + "/grey-alpha.png", SeedPicture(8, 8, PNG_COLOR_TYPE_GA, 8)) && ok;
    ok = WritePng(folder + "/palette4.png", PalettePicture(4, false)) && ok;
    ok = WritePng(folder + "/palette8-transparent.png", PalettePicture(8, true)) && ok;
    ok = WritePng(folder + "/rgb8-key.png", keyedRgb) && ok;
    ok = WritePng(folder + "/grey16-key.png", keyedGrey) && ok;
    ok = WriteBmpOrTga(folder + "/rgb8-odd-width.bmp", SeedPicture(5, 3, PNG_COLOR_TYPE_RGB, 8),
                       true) &&
         ok;
    ok = WriteBmpOrTga(folder + "/rgb8-odd-width.tga", SeedPicture(5, 3, PNG_COLOR_TYPE_RGB, 8),
                       false) &&
         ok;
    return WritePng(folder + "/rgb8-interlaced.png", interlaced) && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s ATLAS.png [SEED_FOLDER]\n", argv[0]);
        return 2;
    }
    PaintSurfaces();
    const std::string font = FindFont();
    if (font.empty() || !PaintGlyphs(font.c_str())) {
        std::fprintf(stderr, "atlasgen: cannot render %s (Debian: fonts-dejavu-core) from '%s'\n",
                     FontName, font.c_str());
        return 1;
    }
    if (!WritePng(argv[1], AtlasPicture())) {
        std::fprintf(stderr, "atlasgen: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 3 && !WriteSeeds(argv[2])) {
        std::fprintf(stderr, "atlasgen: cannot write the seed images to %s\n", argv[2]);
        return 1;
    }
    return 0;
}
