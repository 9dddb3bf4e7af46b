#include "assets/Music.h"
#include "assets/MpegAudio.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// One round of the tune: 4083 MP3 frames of 1152 samples at 44.1 kHz.
constexpr std::int64_t LoopSamples = 4083 * 1152;
constexpr std::uint32_t FrameBytes128k = 417;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string ShippedTune() {
    return ReadFile(std::string(SOURCE_DIR) + "/Media/driftsong.mp3");
}

const std::uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// An ID3v2 tag of `size` bytes of body (synchsafe), with or without a footer.
std::string Id3Tag(std::uint32_t size, bool footer) {
    std::string tag = "ID3";
    tag += {'\x04', '\x00', footer ? '\x10' : '\x00'};
    for (std::int32_t shift = 21; shift >= 0; shift -= 7) {
        tag += static_cast<char>((size >> shift) & 0x7F);
    }
    tag += std::string(size, 'x');
    if (footer) {
        tag += "3DI" + tag.substr(3, 7);
    }
    return tag;
}

// Sets an environment variable for the life of the object and puts back what was there.
struct EnvironmentValue {
    EnvironmentValue(const char* name, const std::string& value) : name(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) {
            previous = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~EnvironmentValue() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    const char* name;
    std::optional<std::string> previous;
};

TEST(MpegAudioTest, FrameLengthsFromHeaders) {
    struct Case {
        std::uint8_t header[4];
        std::int32_t length;
    };
    const Case cases[] = {
        {{0xFF, 0xFB, 0x90, 0x64}, 417},  // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
        {{0xFF, 0xFB, 0x92, 0x64}, 418},  // the same with a pad byte
        {{0xFF, 0xF3, 0x80, 0xC4}, 208},  // MPEG-2 layer III, 64 kbit/s, 22.05 kHz
        {{0xFF, 0xE3, 0xE8, 0xC4}, 1440}, // MPEG-2.5 layer III, 160 kbit/s, 8 kHz
        {{0xFF, 0xFF, 0x18, 0x00}, 48},   // MPEG-1 layer I, 32 kbit/s, 32 kHz
        {{0xFF, 0xFD, 0xE4, 0x00}, 1152}, // MPEG-1 layer II, 384 kbit/s, 48 kHz
        // Each reserved or unplayable field alone makes it no header.
        {{0xFE, 0xFB, 0x90, 0x64}, 0}, // no sync
        {{0xFF, 0xDB, 0x90, 0x64}, 0}, // no sync
        {{0xFF, 0xEB, 0x90, 0x64}, 0}, // reserved version
        {{0xFF, 0xF9, 0x90, 0x64}, 0}, // reserved layer
        {{0xFF, 0xFB, 0x00, 0x64}, 0}, // free format, with no header after it
        {{0xFF, 0xFB, 0xF0, 0x64}, 0}, // bad bit rate
        {{0xFF, 0xFB, 0x9C, 0x64}, 0}, // reserved sample rate
        {{0xFF, 0xFB, 0x90, 0x66}, 0}, // reserved emphasis
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MpegFrameLength(c.header, 4), c.length) << &c - cases;
    }
    EXPECT_EQ(MpegFrameLength(cases[0].header, 3), 0) << "a header cut short";
}

// The frames of `stream` with `edit` applied to the third byte of every header, the `index`-th
// frame's header at `at`.
template <typename Edit> std::string EditHeaders(std::string stream, Edit edit) {
    for (std::size_t at = 0, index = 0; at + 4 <= stream.size(); ++index) {
        const std::int32_t length = MpegFrameLength(Bytes(stream) + at, stream.size() - at);
        if (length == 0) {
            break;
        }
        stream[at + 2] = static_cast<char>(edit(static_cast<std::uint8_t>(stream[at + 2]), index));
        at += length;
    }
    return stream;
}

TEST(MpegAudioTest, TellsMpegStreamsFromOtherFiles) {
    const std::string tune = ShippedTune();
    ASSERT_GT(tune.size(), 4096u);
    const std::string head = tune.substr(0, 2000);
    ScratchFolder folder;
    const auto check = [&folder](const std::string& content) {
        folder.Write("Media/probe", content);
        return IsMpegAudioFile("Media/probe");
    };
    // What a decoder plays: frames after tags, padding or junk, and free-format frames.
    const std::string freeFormat =
        EditHeaders(head, [](std::uint8_t byte, std::size_t) { return byte & 0x0F; });
    const std::string playable[] = {tune,
                                    Id3Tag(300, false) + head,
                                    Id3Tag(5000, true) + Id3Tag(20, false) + head,
                                    std::string(1000, '\0') + head,
                                    Id3Tag(300, false) + "junk" + head,
                                    tune.substr(100),
                                    std::string(MpegSearchSpan - 1, 'x') + head,
                                    freeFormat};
    for (const std::string& content : playable) {
        EXPECT_TRUE(check(content)) << &content - playable;
    }

    EXPECT_FALSE(IsMpegAudioFile("Media/none.mp3"));
    EXPECT_FALSE(IsMpegAudioFile("Media")) << "a folder";
    const std::string otherRates = EditHeaders(
        head, [](std::uint8_t byte, std::size_t index) { return byte ^ (index % 2 ? 0x04 : 0); });
    const std::string refused[] = {"",
                                   "RIFF\x24\x00\x00\x00WAVEfmt " + std::string(100, '\0'),
                                   tune.substr(0, FrameBytes128k + 2), // a lone frame
                                   tune.substr(0, 4) + std::string(2000, '\0'),
                                   otherRates,
                                   std::string(MpegSearchSpan, 'x') + head,
                                   Id3Tag(300, false) + "not music",
                                   Id3Tag(300, false).substr(0, 100)};
    for (const std::string& content : refused) {
        EXPECT_FALSE(check(content)) << &content - refused;
    }
}

TEST(MpegAudioTest, ShippedTuneIsOneRoundOfPlainFrames) {
    const std::string tune = ShippedTune();
    std::size_t at = 0;
    std::int32_t frames = 0;
    while (at < tune.size()) {
        const std::int32_t length = MpegFrameLength(Bytes(tune) + at, tune.size() - at);
        ASSERT_GT(length, 0) << "at byte " << at;
        // Every frame: MPEG-1 layer III, 128 kbit/s, 44.1 kHz, joint stereo, no CRC.
        EXPECT_EQ(tune[at + 1] & 0xFF, 0xFB);
        EXPECT_EQ(tune[at + 2] & 0xFC, 0x90);
        EXPECT_EQ(tune[at + 3] & 0xC0, 0x40);
        at += length;
        ++frames;
    }
    EXPECT_EQ(at, tune.size()) << "no tag or stray bytes at the end";
    EXPECT_EQ(frames * 1152, LoopSamples);
    for (const char* marker : {"ID3", "TAG", "Xing", "Info", "LAME"}) {
        EXPECT_EQ(tune.substr(0, 1024).find(marker), std::string::npos) << marker;
    }
}

// The real mixer behind SDL's "disk" audio driver, which writes what it would play to a file.
struct MusicTest : ::testing::Test {
    void SetUp() override {
        ResetGlobalRecords();
        ASSERT_EQ(SDL_Init(0), 0);
    }
    void TearDown() override {
        Mix_HaltMusic();
        if (GameState.music != nullptr) {
            Mix_FreeMusic(GameState.music);
        }
        Mix_CloseAudio();
        SDL_Quit();
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
    EnvironmentValue driver{"SDL_AUDIODRIVER", "disk"};
    EnvironmentValue file{"SDL_DISKAUDIOFILE", output};
    EnvironmentValue pace{"SDL_DISKAUDIODELAY", "0"};
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

TEST_F(MusicTest, ShippedTunePlaysAndLoopsWithoutAGap) {
    folder.Write("Media/driftsong.mp3", ShippedTune());
    StartMusic();
    ASSERT_NE(GameState.music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(LoopSamples * rate % 44100, 0) << "opened at " << rate << " Hz";
    const std::int64_t period = LoopSamples * rate / 44100;
    // Wait for a round and a quarter of output, the start of the second round included.
    const std::uintmax_t wanted = static_cast<std::uintmax_t>(period + period / 4) * 4;
    for (int tries = 0; tries < 1500 && std::filesystem::file_size(output) < wanted; ++tries) {
        SDL_Delay(10);
    }
    const std::vector<std::int16_t> samples = StopAndRead();
    ASSERT_GE(samples.size() / 2, wanted / 4);
    const std::int64_t start = FirstSoundingFrame(samples);
    ASSERT_LT(start, period / 8);

    const double level = LevelDb(samples, start, start + period);
    EXPECT_GT(level, -30.0);
    EXPECT_LT(level, -15.0) << "calm, not loud";
    std::int32_t peak = 0;
    for (std::int64_t i = 2 * start; i < 2 * (start + period); ++i) {
        peak = std::max(peak, std::abs(static_cast<std::int32_t>(samples[i])));
    }
    EXPECT_LT(peak, 29000) << "headroom below full scale";
    // The second round repeats the first from the beginning...
    const std::int64_t settled = start + rate / 10;
    for (std::int64_t i = 2 * settled; i < 2 * (settled + rate); ++i) {
        ASSERT_EQ(samples[i], samples[i + 2 * period]) << "frame " << i / 2;
    }
    // ...and the seam between them never drops out, not even for 5 ms.
    const std::int64_t window = rate / 200;
    for (std::int64_t at = start + period - rate / 5; at < start + period + rate / 5;
         at += window) {
        EXPECT_GT(LevelDb(samples, at, at + window), -45.0) << "at the seam, frame " << at;
    }
}

TEST_F(MusicTest, MissingOrForeignFilesLeaveTheGameSilent) {
    EnvironmentValue slower{"SDL_DISKAUDIODELAY", "5"}; // some silence, not a flood of it
    const std::string tune = ShippedTune();
    std::string noise = "\xFF\xFB";
    std::uint32_t seed = 12345;
    while (noise.size() < 20000) {
        seed = seed * 1664525u + 1013904223u;
        noise += static_cast<char>(seed >> 24);
    }
    // No file, a tag with no music after it, and noise behind a frame sync.
    const std::optional<std::string> cases[] = {std::nullopt, Id3Tag(300, false) + "not music",
                                                noise};
    for (const auto& content : cases) {
        std::filesystem::remove(folder.path + "/Media/driftsong.mp3");
        if (content) {
            folder.Write("Media/driftsong.mp3", *content);
        }
        StartMusic();
        EXPECT_EQ(GameState.music, nullptr);
        SDL_Delay(100);
        const std::vector<std::int16_t> samples = StopAndRead();
        EXPECT_GT(samples.size(), 0u) << "the device was open";
        EXPECT_EQ(FirstSoundingFrame(samples), static_cast<std::int64_t>(samples.size() / 2));
    }
}

// An empty choice counts as none.
TEST(MusicRateTest, TheMusicsOwnRateUnlessThePlayerChoseOne) {
    for (const char* chosen : {"", "48000"}) {
        EnvironmentValue rate{"SDL_AUDIO_FREQUENCY", chosen};
        AskForTheMusicRate();
        EXPECT_STREQ(std::getenv("SDL_AUDIO_FREQUENCY"), chosen[0] != '\0' ? chosen : "44100");
    }
}

TEST_F(MusicTest, NoAudioDeviceLeavesTheGameRunning) {
    EnvironmentValue missing{"SDL_AUDIODRIVER", "no-such-driver"};
    folder.Write("Media/driftsong.mp3", ShippedTune());
    StartMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    SDL_Delay(50);
    EXPECT_FALSE(std::filesystem::exists(output));
}

} // namespace
