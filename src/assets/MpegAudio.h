// Recognising MPEG audio by its frame headers. The music decoder plays whatever it is given,
// and turns a file that is not MPEG audio into loud noise, so the game looks first.
#pragma once

#include <cstddef>
#include <cstdint>

// How far after its tags a stream's first frame may begin, as decoders look for it.
constexpr std::size_t MpegSearchSpan = 64 * 1024;
// The longest frame the decoder plays: free-format layer II at 448 kbit/s and 8 kHz, padded.
constexpr std::int32_t LongestMpegFrame = 8065;

// The length in bytes of the frame whose header starts at `bytes`, or 0 when the first four of
// the `count` bytes are no frame header the decoder can play. A free-format frame's length is
// the distance to the next free-format header of its stream, 0 when none follows in `count`.
std::int32_t MpegFrameLength(const std::uint8_t* bytes, std::size_t count);
// The length of an ID3v2 tag at the start of `bytes`, footer included; 0 when there is none.
std::int64_t Id3TagLength(const std::uint8_t* bytes, std::size_t count);
// The length of the ID3v2 tags one after another at the start of `bytes`; it may pass `count`.
std::int64_t Id3TagsLength(const std::uint8_t* bytes, std::size_t count);
// True when `bytes` begin with a frame that is followed at once by a second frame of the same
// version, layer and sample rate.
bool StartsWithMpegFrames(const std::uint8_t* bytes, std::size_t count);
// Where the first frame followed at once by a second begins within the first `MpegSearchSpan`
// bytes, as a decoder finds its way in past padding or junk; -1 when there is none.
std::int64_t FindMpegFrames(const std::uint8_t* bytes, std::size_t count);
// True when the file at `path`, after its ID3v2 tags, holds two frames in a row that begin
// within the first `MpegSearchSpan` bytes.
bool IsMpegAudioFile(const char* path);
