// Pictures for the tests that look at the screen: PNG files, frames read back from GL, and a
// comparison that forgives a few pixels of difference in rasterisation but not a changed scene.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, top row first, 3 bytes per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads an 8-bit RGB or RGBA PNG (alpha dropped); false when the file is missing or not one.
bool ReadPng(const std::string& path, Picture* picture);
// Writes an RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const Picture& picture);

// The rectangle of `picture` with its top-left corner at (x, y); cut to the picture.
Picture Crop(const Picture& picture, int x, int y, int width, int height);

// A pixel differs when one of its channels is off by more than this.
constexpr int ChannelTolerance = 40;
// Two pictures match when no more than this share of their pixels differ.
constexpr double DifferingShareTolerance = 0.003;

// The number of differing pixels; every pixel when the sizes differ.
int CountDifferingPixels(const Picture& a, const Picture& b);
// True when the pictures are the same size and few enough pixels differ.
bool PicturesMatch(const Picture& a, const Picture& b);

// Compares `actual` with the committed reference "tests/reference/<name>.png". On a mismatch
// (or a missing reference) writes "<name>.actual.png" beside it for a person to compare and
// returns a message saying so; returns "" on a match.
std::string CompareWithReference(const Picture& actual, const std::string& name);
// The path of a committed reference picture.
std::string ReferencePath(const std::string& name);
