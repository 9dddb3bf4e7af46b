// Feeds arbitrary bytes to the check that the music file is MPEG audio, in memory and as a file,
// and checks that its answers are bounded and agree with each other.
#include "assets/MpegAudio.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// One scratch file for the whole run, removed at exit.
std::string ScratchPath() {
    static std::string path;
    if (path.empty()) {
        char pattern[] = "/tmp/snowroll-music-fuzz-XXXXXX";
        const int descriptor = mkstemp(pattern);
        if (descriptor < 0) {
            std::abort();
        }
        close(descriptor);
        path = pattern;
        std::atexit([] { std::remove(path.c_str()); });
    }
    return path;
}

bool CheckAsFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    return IsMpegAudioFile(ScratchPath().c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::int32_t length = MpegFrameLength(data, size);
    // The longest frame: layer II at 160 kbit/s and 8 kHz, with a pad byte.
    if (length != 0 && (length < 4 || length > 2881)) {
        std::abort();
    }
    const std::int64_t tag = Id3TagLength(data, size);
    if (tag != 0 && (tag < 10 || tag > (std::int64_t{1} << 28) + 20)) {
        std::abort();
    }
    const bool inMemory = static_cast<std::uint64_t>(tag) <= size &&
                          StartsWithMpegFrames(data + tag, size - static_cast<std::size_t>(tag));
    if (inMemory && MpegFrameLength(data + tag, size - static_cast<std::size_t>(tag)) == 0) {
        std::abort();
    }
    // The file check reads a window of the head that holds any two frames, so it must agree.
    if (CheckAsFile(data, size) != inMemory) {
        std::abort();
    }
    return 0;
}
