// Feeds arbitrary bytes to the check that the music file is MPEG audio, in memory and as a file,
// and checks that its answers are bounded, that a stream it finds starts with two frames, and that
// both ways agree.
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
    if (length != 0 && (length < 4 || length > LongestMpegFrame)) {
        std::abort();
    }
    const std::int64_t tag = Id3TagLength(data, size);
    if (tag != 0 && (tag < 10 || tag > (std::int64_t{1} << 28) + 20)) {
        std::abort();
    }
    const std::int64_t tags = Id3TagsLength(data, size);
    if (tags < tag || (tag == 0 && tags != 0)) {
        std::abort();
    }
    bool inMemory = false;
    if (static_cast<std::uint64_t>(tags) <= size) {
        const std::uint8_t* stream = data + tags;
        const std::size_t count = size - static_cast<std::size_t>(tags);
        const std::int64_t first = FindMpegFrames(stream, count);
        if (first >= static_cast<std::int64_t>(MpegSearchSpan) ||
            (first >= 0 && !StartsWithMpegFrames(stream + first, count - first))) {
            std::abort();
        }
        inMemory = first >= 0;
    }
    // The file check reads the tags and then a window of the head that holds any two frames
    // beginning within the span searched, so it must agree.
    if (CheckAsFile(data, size) != inMemory) {
        std::abort();
    }
    return 0;
}
