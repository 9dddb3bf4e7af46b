// Recognising MPEG audio by its frame headers. The music decoder plays whatever it is given,
// and turns a file that is not MPEG audio into loud noise, so the game looks first.
#pragma once

#include <cstddef>
#include <cstdint>

// The length in bytes of the frame whose header starts at `bytes`, or 0 when the first four of
// the `count` bytes are no frame header the decoder can play (free-format frames included).
std::int32_t MpegFrameLength(const std::uint8_t* bytes, std::size_t count);
// The length of an ID3v2 tag at the start of `bytes`, footer included; 0 when there is none.
std::int64_t Id3TagLength(const std::uint8_t* bytes, std::size_t count);
// True when `bytes` begin with a frame that is followed at once by a second frame of the same
// version, layer and sample rate.
bool StartsWithMpegFrames(const std::uint8_t* bytes, std::size_t count);
// True when the file at `path`, after an optional ID3v2 tag, begins with MPEG audio frames.
bool IsMpegAudioFile(const char* path);
