#include "assets/MpegAudio.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t Id3HeaderBytes = 10;
// Free-format frames run at 8 kbit/s at least, and the decoder takes up to 640 kbit/s in layer III;
// layers I and II go up to the top of their tables, 448 kbit/s.
constexpr std::int32_t LowestFreeRate = 8000;
constexpr std::int32_t HighestFreeRateLayer3 = 640000;
constexpr std::int32_t HighestFreeRate = 448000;
// The window of the head that the file check reads: the span searched, then room for two of the
// longest frames (layer II at 448 kbit/s and 8 kHz, padded) and the header after them.
constexpr std::size_t HeadWindow = MpegSearchSpan + 2 * LongestMpegFrame + 4;

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

std::int32_t FrameBytes(std::int32_t layer, bool mpeg1, std::int32_t bitRate,
                        std::int32_t sampleRate, std::int32_t padding) {
    if (layer == 1) {
        return (12 * bitRate / sampleRate + padding) * 4;
    }
    const std::int32_t slots = (layer == 3 && !mpeg1) ? 72 : 144;
    return slots * bitRate / sampleRate + padding;
}

// A free-format frame ends where the next free-format header of its stream begins, within the
// lengths the decoder's bit rates allow; 0 when no such header follows in the `count` bytes.
std::int32_t FreeFrameLength(const std::uint8_t* bytes, std::size_t count, std::int32_t layer,
                             bool mpeg1, std::int32_t sampleRate) {
    const std::int32_t highest = layer == 3 ? HighestFreeRateLayer3 : HighestFreeRate;
    const std::size_t first = FrameBytes(layer, mpeg1, LowestFreeRate, sampleRate, 0);
    const std::size_t last = FrameBytes(layer, mpeg1, highest, sampleRate, 1);
    for (std::size_t at = first; at <= last && at + 4 <= count; ++at) {
        if (bytes[at] == 0xFF && SameStream(bytes, bytes + at) && (bytes[at + 2] >> 4) == 0) {
            return static_cast<std::int32_t>(at);
        }
    }
    return 0;
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
    if (version == 1 || layer == 4 || rateIndex == 15 || sampleIndex == 3 || (bytes[3] & 3) == 2) {
        return 0;
    }
    const bool mpeg1 = version == 3;
    const std::int32_t sampleRate = SampleRates[version][sampleIndex];
    if (rateIndex == 0) {
        return FreeFrameLength(bytes, count, layer, mpeg1, sampleRate);
    }
    const std::int32_t bitRate = BitRates[mpeg1][layer - 1][rateIndex - 1] * 1000;
    return FrameBytes(layer, mpeg1, bitRate, sampleRate, padding);
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

std::int64_t Id3TagsLength(const std::uint8_t* bytes, std::size_t count) {
    std::int64_t at = 0;
    while (static_cast<std::uint64_t>(at) < count) {
        const std::int64_t tag = Id3TagLength(bytes + at, count - static_cast<std::size_t>(at));
        if (tag == 0) {
            break;
        }
        at += tag;
    }
    return at;
}

bool StartsWithMpegFrames(const std::uint8_t* bytes, std::size_t count) {
    const std::int32_t length = MpegFrameLength(bytes, count);
    if (length < 4 || static_cast<std::size_t>(length) > count) {
        return false;
    }
    const std::uint8_t* next = bytes + length;
    return MpegFrameLength(next, count - length) > 0 && SameStream(bytes, next);
}

std::int64_t FindMpegFrames(const std::uint8_t* bytes, std::size_t count) {
    count = std::min(count, HeadWindow);
    for (std::size_t at = 0; at < count && at < MpegSearchSpan; ++at) {
        if (bytes[at] == 0xFF && StartsWithMpegFrames(bytes + at, count - at)) {
            return static_cast<std::int64_t>(at);
        }
    }
    return -1;
}

bool IsMpegAudioFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> head(HeadWindow);
    std::int64_t tags = 0;
    std::size_t count = 0;
    // The tags one after another, each read where the one before it ends.
    while (std::fseek(file, static_cast<long>(tags), SEEK_SET) == 0) {
        count = std::fread(head.data(), 1, Id3HeaderBytes, file);
        const std::int64_t tag = Id3TagLength(head.data(), count);
        if (tag == 0) {
            count = count + std::fread(head.data() + count, 1, head.size() - count, file);
            break;
        }
        tags += tag;
        count = 0;
    }
    const bool found = FindMpegFrames(head.data(), count) >= 0;
    std::fclose(file);
    return found;
}
