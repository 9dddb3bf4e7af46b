// Pictures for the tests that look at the screen: PNG files, frames read back, and comparisons that
// forgive a little rasterisation difference but not a changed scene.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How far a channel may be off before its pixel counts as differing, by default.
constexpr int ChannelTolerance = 40;

// An RGB picture, top row first, 3 bytes per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads a PNG as RGB, any alpha composited over the grey level `background`; false when the file
// is missing or not a PNG.
bool ReadPng(const std::string& path, Picture* picture, std::uint8_t background = 0);
bool WritePng(const std::string& path, const Picture& picture);
// The rectangle of `picture` with its top-left corner at (x, y), cut to the picture.
Picture Crop(const Picture& picture, int x, int y, int width, int height);
// The share of pixels with a channel off by more than `tolerance`; 1 when the sizes differ or the
// pictures are empty.
double DifferingShare(const Picture& a, const Picture& b, int tolerance = ChannelTolerance);
// True when the pictures are the same size and no more than 0.3 % of their pixels differ.
bool PicturesMatch(const Picture& a, const Picture& b);
// The path of the committed picture tests/reference/<name>.png.
std::string ReferencePath(const std::string& name);
