// Copies a run of whole frames out of an MPEG audio stream: the loop of the game's tune is cut
// from an encoding of two rounds of it, past the encoder's silent start.
// Usage: mp3frames IN.mp3 OUT.mp3 FIRST COUNT
#include "assets/MpegAudio.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadAll(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// The byte offsets of every frame, stopping at the first byte that does not start a whole one.
std::vector<std::size_t> FrameOffsets(const std::vector<std::uint8_t>& stream) {
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    while (at < stream.size()) {
        const std::int32_t length = MpegFrameLength(stream.data() + at, stream.size() - at);
        if (length < 4 || at + length > stream.size()) {
            break;
        }
        offsets.push_back(at);
        at += length;
    }
    offsets.push_back(at);
    return offsets;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s IN.mp3 OUT.mp3 FIRST COUNT\n", argv[0]);
        return 2;
    }
    const std::vector<std::uint8_t> stream = ReadAll(argv[1]);
    const std::vector<std::size_t> offsets = FrameOffsets(stream);
    const std::size_t first = std::strtoul(argv[3], nullptr, 10);
    const std::size_t count = std::strtoul(argv[4], nullptr, 10);
    if (count == 0 || first + count >= offsets.size()) {
        std::fprintf(stderr, "mp3frames: %s holds %zu frames\n", argv[1], offsets.size() - 1);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(stream.data() + offsets[first]),
              static_cast<std::streamsize>(offsets[first + count] - offsets[first]));
    return out.good() ? 0 : 1;
}
