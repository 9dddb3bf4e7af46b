// Feeds arbitrary bytes to the check that the music file is MPEG audio, in memory and as a file,
// and checks that a stream it finds starts with two frames within the span searched, and that both
// ways agree.
#include "assets/MpegAudio.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::int64_t tags = Id3TagsLength(data, size);
    bool inMemory = false;
    if (static_cast<std::uint64_t>(tags) <= size) {
        const std::size_t count = size - static_cast<std::size_t>(tags);
        const std::int64_t first = FindMpegFrames(data + tags, count);
        if (first >= static_cast<std::int64_t>(MpegSearchSpan) ||
            (first >= 0 && !StartsWithMpegFrames(data + tags + first, count - first))) {
            std::abort();
        }
        inMemory = first >= 0;
    }
    // The file check reads the tags and then a window of the head that holds any two frames
    // beginning within the span searched, so it must agree.
    static const std::string path = "/tmp/snowroll-music-fuzz-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    const bool inFile = IsMpegAudioFile(path.c_str());
    std::remove(path.c_str());
    if (inFile != inMemory) {
        std::abort();
    }
    return 0;
}
