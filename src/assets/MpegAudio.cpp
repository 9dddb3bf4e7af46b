#include "assets/MpegAudio.h"

#include <array>
#include <cstdio>

namespace {

// Enough of the head for two frames: the longest (layer II at 8 kHz) takes 2881 bytes.
constexpr std::size_t HeadWindow = 4096;
constexpr std::size_t Id3HeaderBytes = 10;

// Bit rates in kbit/s by [MPEG-1 or not][layer I, II, III][index 1 to 14].
constexpr std::array<std::array<std::array<std::int32_t, 14>, 3>, 2> BitRates = {{
    {{{32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
      {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}},
    {{{32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}},
}};
// Sample rates in Hz by [MPEG-2.5, reserved, MPEG-2, MPEG-1][index 0 to 2].
constexpr std::array<std::array<std::int32_t, 3>, 4> SampleRates = {
    {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}}};

// The bits that must agree between frames of one stream: sync, version, layer, sample rate.
bool SameStream(const std::uint8_t* first, const std::uint8_t* second) {
    return (first[1] & 0xFE) == (second[1] & 0xFE) && (first[2] & 0x0C) == (second[2] & 0x0C);
}

} // namespace

std::int32_t MpegFrameLength(const std::uint8_t* bytes, std::size_t count) {
    if (count < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) {
        return 0;
    }
    const std::int32_t version = (bytes[1] >> 3) & 3;
    const std::int32_t layer = 4 - ((bytes[1] >> 1) & 3); // 1 to 3; 4 is reserved
    const std::int32_t rateIndex = bytes[2] >> 4;
    const std::int32_t sampleIndex = (bytes[2] >> 2) & 3;
    const std::int32_t padding = (bytes[2] >> 1) & 1;
    if (version == 1 || layer == 4 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3 ||
        (bytes[3] & 3) == 2) {
        return 0;
    }
    const bool mpeg1 = version == 3;
    const std::int32_t bitRate = BitRates[mpeg1][layer - 1][rateIndex - 1] * 1000;
    const std::int32_t sampleRate = SampleRates[version][sampleIndex];
    if (layer == 1) {
        return (12 * bitRate / sampleRate + padding) * 4;
    }
    const std::int32_t slots = (layer == 3 && !mpeg1) ? 72 : 144;
    return slots * bitRate / sampleRate + padding;
}

std::int64_t Id3TagLength(const std::uint8_t* bytes, std::size_t count) {
    if (count < Id3HeaderBytes || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3') {
        return 0;
    }
    std::int64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) {
        if (bytes[i] & 0x80) {
            return 0; // not a synchsafe size: no tag after all
        }
        size = (size << 7) | bytes[i];
    }
    const bool footer = (bytes[5] & 0x10) != 0;
    return static_cast<std::int64_t>(Id3HeaderBytes) * (footer ? 2 : 1) + size;
}

bool StartsWithMpegFrames(const std::uint8_t* bytes, std::size_t count) {
    const std::int32_t length = MpegFrameLength(bytes, count);
    if (length < 4 || static_cast<std::size_t>(length) > count) {
        return false;
    }
    const std::uint8_t* next = bytes + length;
    return MpegFrameLength(next, count - length) > 0 && SameStream(bytes, next);
}

bool IsMpegAudioFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::array<std::uint8_t, HeadWindow> head{};
    std::size_t count = std::fread(head.data(), 1, Id3HeaderBytes, file);
    const std::int64_t tag = Id3TagLength(head.data(), count);
    bool found = false;
    if (std::fseek(file, static_cast<long>(tag), SEEK_SET) == 0) {
        count = std::fread(head.data(), 1, head.size(), file);
        found = StartsWithMpegFrames(head.data(), count);
    }
    std::fclose(file);
    return found;
}
