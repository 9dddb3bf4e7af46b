// The music: which files count as MPEG audio, the shipped tune's frames, and the tune played
// through the real mixer behind SDL's "disk" audio driver, which writes what it plays to a file.
#include "assets/Music.h"
#include "assets/MpegAudio.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

// One round of the tune: 4083 MP3 frames of 1152 samples at 44.1 kHz.
constexpr std::int64_t LoopSamples = 4083 * 1152;
const std::string Tune = ReadFile(std::string(SOURCE_DIR) + "/Media/driftsong.mp3");

// An ID3v2 tag of `size` bytes of body (synchsafe), with or without a footer.
std::string Id3Tag(std::uint32_t size, bool footer) {
    std::string tag = {'I', 'D', '3', '\x04', '\x00', footer ? '\x10' : '\x00'};
    for (std::int32_t shift = 21; shift >= 0; shift -= 7) {
        tag += static_cast<char>((size >> shift) & 0x7F);
    }
    tag += std::string(size, 'x');
    return footer ? tag + "3DI" + tag.substr(3, 7) : tag;
}

TEST(MpegAudioTest, FrameLengthsFromHeaders) {
    const std::pair<std::uint32_t, std::int32_t> cases[] = {
        {0xFFFB9064, 417},  // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
        {0xFFFB9264, 418},  // the same with a pad byte
        {0xFFF380C4, 208},  // MPEG-2 layer III, 64 kbit/s, 22.05 kHz
        {0xFFE3E8C4, 1440}, // MPEG-2.5 layer III, 160 kbit/s, 8 kHz
        {0xFFFF1800, 48},   // MPEG-1 layer I, 32 kbit/s, 32 kHz
        {0xFFFDE400, 1152}, // MPEG-1 layer II, 384 kbit/s, 48 kHz
        // Each reserved or unplayable field alone makes it no header: no sync (twice), reserved
        // version, reserved layer, free format, bad bit rate, reserved sample rate and emphasis.
        {0xFEFB9064, 0},
        {0xFFDB9064, 0},
        {0xFFEB9064, 0},
        {0xFFF99064, 0},
        {0xFFFB0064, 0},
        {0xFFFBF064, 0},
        {0xFFFB9C64, 0},
        {0xFFFB9066, 0},
    };
    for (const auto& [header, length] : cases) {
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(header >> 24), static_cast<std::uint8_t>(header >> 16),
            static_cast<std::uint8_t>(header >> 8), static_cast<std::uint8_t>(header)};
        EXPECT_EQ(MpegFrameLength(bytes, 4), length) << std::hex << header;
        EXPECT_EQ(MpegFrameLength(bytes, 3), 0) << "a header cut short";
    }
}

// The frames of `stream` with `edit` applied to the third byte of every header; `edit` is given the
// byte and the frame's index.
template <typename Edit> std::string EditHeaders(std::string stream, Edit edit) {
    for (std::size_t at = 0, index = 0; at + 4 <= stream.size(); ++index) {
        const std::int32_t length = MpegFrameLength(
            reinterpret_cast<const std::uint8_t*>(stream.data()) + at, stream.size() - at);
        if (length == 0) {
            break;
        }
        stream[at + 2] = static_cast<char>(edit(static_cast<std::uint8_t>(stream[at + 2]), index));
        at += length;
    }
    return stream;
}

TEST(MpegAudioTest, TellsMpegStreamsFromOtherFilesAndTheTuneIsPlainFrames) {
    const std::string head = Tune.substr(0, 2000);
    // What a decoder plays: frames after tags, padding or junk, and free-format frames.
    const std::string freeFormat =
        EditHeaders(head, [](std::uint8_t byte, std::size_t) { return byte & 0x0F; });
    const std::string otherRates = EditHeaders(
        head, [](std::uint8_t byte, std::size_t index) { return byte ^ (index % 2 ? 0x04 : 0); });
    const std::pair<std::string, bool> cases[] = {
        {Tune, true},
        {Id3Tag(300, false) + head, true},
        {Id3Tag(5000, true) + Id3Tag(20, false) + head, true},
        {std::string(1000, '\0') + head, true},
        {Id3Tag(300, false) + "junk" + head, true},
        {Tune.substr(100), true}, // cut inside a frame: the next two frames are found
        {std::string(MpegSearchSpan - 1, 'x') + head, true},
        {freeFormat, true},
        {"", false},
        {"RIFF\x24\x00\x00\x00WAVEfmt " + std::string(100, '\0'), false},
        {Tune.substr(0, 417 + 2), false},                     // a lone frame
        {Tune.substr(0, 4) + std::string(2000, '\0'), false}, // a header, then nothing
        {otherRates, false},                                  // frames of two sample rates
        {std::string(MpegSearchSpan, 'x') + head, false},     // too far in
        {Id3Tag(300, false) + "not music", false},
        {Id3Tag(300, false).substr(0, 100), false}, // a tag longer than the file
    };
    ScratchFolder folder;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        folder.Write("Media/probe", cases[k].first);
        EXPECT_EQ(IsMpegAudioFile("Media/probe"), cases[k].second) << "case " << k;
    }
    EXPECT_FALSE(IsMpegAudioFile("Media/none.mp3"));
    EXPECT_FALSE(IsMpegAudioFile("Media")) << "a folder";

    // Every frame of the tune: MPEG-1 layer III, 128 kbit/s, 44.1 kHz, joint stereo, no CRC; no
    // tag.
    std::size_t at = 0;
    std::int64_t frames = 0;
    for (std::int32_t length = 0; at < Tune.size(); at += length, ++frames) {
        length = MpegFrameLength(reinterpret_cast<const std::uint8_t*>(Tune.data()) + at,
                                 Tune.size() - at);
        ASSERT_GT(length, 0) << "at byte " << at;
        const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(Tune[at + k]); };
        ASSERT_TRUE(byte(1) == 0xFB && (byte(2) & 0xFC) == 0x90 && (byte(3) & 0xC0) == 0x40) << at;
    }
    EXPECT_EQ(frames * 1152, LoopSamples);
    for (const char* marker : {"ID3", "TAG", "Xing", "Info", "LAME"}) {
        EXPECT_EQ(Tune.substr(0, 1024).find(marker), std::string::npos) << marker;
    }
}

struct MusicTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        previousDriver = driver != nullptr ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        ASSERT_EQ(SDL_Init(0), 0);
    }
    void TearDown() override {
        if (GameState.music != nullptr) {
            Mix_FreeMusic(GameState.music);
        }
        SDL_Quit();
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
        previousDriver.empty() ? unsetenv("SDL_AUDIODRIVER")
                               : setenv("SDL_AUDIODRIVER", previousDriver.c_str(), 1);
        ResetGlobalRecords();
    }
    // The interleaved 16-bit samples written so far; closes the device to flush them.
    std::vector<std::int16_t> StopAndRead() {
        Mix_HaltMusic();
        Mix_CloseAudio();
        const std::string raw = ReadFile(output);
        std::vector<std::int16_t> samples(raw.size() / 2);
        std::copy(raw.begin(), raw.begin() + samples.size() * 2,
                  reinterpret_cast<char*>(samples.data()));
        return samples;
    }
    ScratchFolder folder;
    std::string output = folder.path + "/out.raw";
    std::string previousDriver;
};

// Root mean square of interleaved stereo frames [first, last), in dBFS.
double LevelDb(const std::vector<std::int16_t>& samples, std::int64_t first, std::int64_t last) {
    double sum = 0.0;
    for (std::int64_t i = 2 * first; i < 2 * last; ++i) {
        sum += (samples[i] / 32768.0) * (samples[i] / 32768.0);
    }
    return 10.0 * std::log10(sum / static_cast<double>(2 * (last - first)) + 1e-30);
}

std::int64_t FirstSoundingFrame(const std::vector<std::int16_t>& samples) {
    std::int64_t i = 0;
    while (i < static_cast<std::int64_t>(samples.size()) && samples[i] == 0) {
        ++i;
    }
    return i / 2;
}

TEST_F(MusicTest, TheShippedTunePlaysCalmlyAndLoopsWithoutAGap) {
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    folder.Write("Media/driftsong.mp3", Tune);
    StartMusic();
    ASSERT_NE(GameState.music, nullptr) << Mix_GetError();
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
    ASSERT_TRUE(format == AUDIO_S16SYS && channels == 2 && LoopSamples * rate % 44100 == 0) << rate;
    const std::int64_t period = LoopSamples * rate / 44100;
    // Wait for a round and a quarter of output, the start of the second round included.
    const std::uintmax_t wanted = static_cast<std::uintmax_t>(period + period / 4) * 4;
    for (int tries = 0; tries < 3000 && std::filesystem::file_size(output) < wanted; ++tries) {
        SDL_Delay(10);
    }
    const std::vector<std::int16_t> samples = StopAndRead();
    ASSERT_GE(samples.size() / 2, wanted / 4) << "the mixer wrote too little";
    const std::int64_t start = FirstSoundingFrame(samples);
    ASSERT_LT(start, period / 8);
    const double level = LevelDb(samples, start, start + period);
    EXPECT_TRUE(level > -30.0 && level < -15.0) << level << " dBFS: calm, not loud";
    std::int32_t peak = 0;
    for (std::int64_t i = 2 * start; i < 2 * (start + period); ++i) {
        peak = std::max(peak, std::abs(static_cast<std::int32_t>(samples[i])));
    }
    EXPECT_LT(peak, 29000) << "headroom below full scale";
    // The second round repeats the first from the beginning, and the seam never drops out.
    const std::int64_t settled = start + rate / 10;
    for (std::int64_t i = 2 * settled; i < 2 * (settled + rate); ++i) {
        ASSERT_EQ(samples[i], samples[i + 2 * period]) << "frame " << i / 2;
    }
    for (std::int64_t at = start + period - rate / 5; at < start + period + rate / 5;
         at += rate / 200) {
        EXPECT_GT(LevelDb(samples, at, at + rate / 200), -45.0) << "at the seam, frame " << at;
    }
}

TEST_F(MusicTest, MissingOrForeignFilesLeaveTheGameSilent) {
    setenv("SDL_DISKAUDIODELAY", "5", 1); // some silence, not a flood of it
    std::string noise = "\xFF\xFB";
    for (std::uint32_t seed = 12345; noise.size() < 20000;) {
        seed = seed * 1664525u + 1013904223u;
        noise += static_cast<char>(seed >> 24);
    }
    // No file, a tag with no music after it, and noise behind a frame sync.
    for (const std::string& content : {std::string(), Id3Tag(300, false) + "not music", noise}) {
        std::filesystem::remove(folder.path + "/Media/driftsong.mp3");
        if (!content.empty()) {
            folder.Write("Media/driftsong.mp3", content);
        }
        StartMusic();
        EXPECT_EQ(GameState.music, nullptr);
        for (int tries = 0; tries < 3000 && std::filesystem::file_size(output) < 4096; ++tries) {
            SDL_Delay(10);
        }
        const std::vector<std::int16_t> samples = StopAndRead();
        EXPECT_GT(samples.size(), 0u) << "the device was open";
        EXPECT_EQ(FirstSoundingFrame(samples), static_cast<std::int64_t>(samples.size() / 2));
    }
}

// The game asks for the tune's own rate unless the player chose one; an empty choice counts as
// none.
TEST(MusicRateTest, TheMusicsOwnRateUnlessThePlayerChoseOne) {
    const char* old = std::getenv("SDL_AUDIO_FREQUENCY");
    const std::string previous = old != nullptr ? old : "";
    for (const char* chosen : {"", "48000"}) {
        setenv("SDL_AUDIO_FREQUENCY", chosen, 1);
        AskForTheMusicRate();
        EXPECT_STREQ(std::getenv("SDL_AUDIO_FREQUENCY"), chosen[0] != '\0' ? chosen : "44100");
    }
    old != nullptr ? setenv("SDL_AUDIO_FREQUENCY", previous.c_str(), 1)
                   : unsetenv("SDL_AUDIO_FREQUENCY");
}

} // namespace
