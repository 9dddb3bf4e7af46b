#include "support/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <png.h>

constexpr double DifferingShareTolerance = 0.003;

bool ReadPng(const std::string& path, Picture* picture, std::uint8_t background) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    *picture = {static_cast<int>(image.width), static_cast<int>(image.height),
                std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
    const png_color ground = {background, background, background};
    return png_image_finish_read(&image, &ground, picture->rgb.data(), 0, nullptr) != 0;
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
    part.width = std::max(0, std::min(x + width, picture.width) - std::max(x, 0));
    part.height = std::max(0, std::min(y + height, picture.height) - std::max(y, 0));
    for (int row = std::max(y, 0); part.width > 0 && row < std::max(y, 0) + part.height; ++row) {
        const auto start = picture.rgb.begin() + (row * picture.width + std::max(x, 0)) * 3;
        part.rgb.insert(part.rgb.end(), start, start + part.width * 3);
    }
    return part;
}

double DifferingShare(const Picture& a, const Picture& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.rgb.empty() ||
        a.rgb.size() != b.rgb.size()) {
        return 1.0;
    }
    auto off = [&](std::size_t at) { return std::abs(a.rgb[at] - b.rgb[at]) > tolerance; };
    int differing = 0;
    for (std::size_t pixel = 0; pixel < a.rgb.size(); pixel += 3) {
        differing += off(pixel) || off(pixel + 1) || off(pixel + 2);
    }
    return differing / (a.rgb.size() / 3.0);
}

bool PicturesMatch(const Picture& a, const Picture& b) {
    return DifferingShare(a, b) <= DifferingShareTolerance;
}

std::string ReferencePath(const std::string& name) {
    return std::string(SOURCE_DIR) + "/tests/reference/" + name + ".png";
}
