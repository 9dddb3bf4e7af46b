#include "support/Picture.h"

#include <cstdio>
#include <cstdlib>
#include <png.h>

namespace {

constexpr int RgbBytes = 3;

struct PngFile {
    std::FILE* file = nullptr;
    ~PngFile() {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};

// Decodes an open PNG with libpng's simplified reader, which converts any format to RGB.
bool DecodePng(std::FILE* file, Picture* picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_stdio(&image, file) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture->width = static_cast<int>(image.width);
    picture->height = static_cast<int>(image.height);
    picture->rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    return true;
}

} // namespace

bool ReadPng(const std::string& path, Picture* picture) {
    PngFile png;
    png.file = std::fopen(path.c_str(), "rb");
    return png.file != nullptr && DecodePng(png.file, picture);
}

bool WritePng(const std::string& path, const Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr) != 0;
}

Picture Crop(const Picture& picture, int x, int y, int width, int height) {
    Picture part;
    const int left = x < 0 ? 0 : x;
    const int top = y < 0 ? 0 : y;
    const int right = x + width < picture.width ? x + width : picture.width;
    const int bottom = y + height < picture.height ? y + height : picture.height;
    if (right <= left || bottom <= top) {
        return part;
    }
    part.width = right - left;
    part.height = bottom - top;
    for (int row = top; row < bottom; ++row) {
        const auto start = picture.rgb.begin() + (row * picture.width + left) * RgbBytes;
        part.rgb.insert(part.rgb.end(), start, start + part.width * RgbBytes);
    }
    return part;
}

int CountDifferingPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) {
        const int larger =
            a.width * a.height > b.width * b.height ? a.width * a.height : b.width * b.height;
        return larger > 0 ? larger : 1;
    }
    int differing = 0;
    for (std::size_t pixel = 0; pixel + RgbBytes <= a.rgb.size(); pixel += RgbBytes) {
        for (int channel = 0; channel < RgbBytes; ++channel) {
            if (std::abs(a.rgb[pixel + channel] - b.rgb[pixel + channel]) > ChannelTolerance) {
                ++differing;
                break;
            }
        }
    }
    return differing;
}

bool PicturesMatch(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.width * a.height == 0) {
        return false;
    }
    return CountDifferingPixels(a, b) <= DifferingShareTolerance * a.width * a.height;
}

std::string ReferencePath(const std::string& name) {
    return std::string(SOURCE_DIR) + "/tests/reference/" + name + ".png";
}

std::string CompareWithReference(const Picture& actual, const std::string& name) {
    Picture reference;
    const bool found = ReadPng(ReferencePath(name), &reference);
    if (found && PicturesMatch(actual, reference)) {
        return "";
    }
    const std::string written =
        std::string(SOURCE_DIR) + "/tests/reference/" + name + ".actual.png";
    WritePng(written, actual);
    if (!found) {
        return "no reference " + ReferencePath(name) + "; the picture drawn is in " + written;
    }
    return std::to_string(CountDifferingPixels(actual, reference)) + " of " +
           std::to_string(actual.width * actual.height) + " pixels differ from " +
           ReferencePath(name) + "; the picture drawn is in " + written;
}
