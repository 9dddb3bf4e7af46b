// The music: which files count as MPEG audio, and the tune played through the real mixer behind
// SDL's "disk" audio driver, which writes what it plays to a file.
#include "assets/Music.h"
#include "assets/MpegAudio.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <numeric>
#include <optional>
#include <vector>

namespace {

using namespace std::string_literals;

// One round of the tune: 4083 MP3 frames of 1152 samples at 44.1 kHz.
constexpr std::int64_t LoopSamples = 4083 * 1152;

// An ID3v2 tag with `size` (below 16 KiB) bytes of body.
std::string Id3Tag(int size) {
    return "ID3\x04\0\0\0\0"s + static_cast<char>(size >> 7) + static_cast<char>(size & 0x7F) +
           std::string(size, 'x');
}

// `count` frames of `length` bytes each under the 4-byte `header`, silent inside.
std::string Frames(const std::string& header, std::size_t length, int count) {
    std::string frames;
    while (count-- > 0) {
        frames += header + std::string(length - 4, '\0');
    }
    return frames;
}

// Compressed image data, as good as random bytes, behind a frame sync.
const std::string Noise =
    "\xFF\xFB"s + ReadFile(SOURCE_DIR "/Media/textureatlas.png").substr(1000, 20000);

// A file is taken for music when two frames of one stream follow each other, their lengths read
// from their headers, within the first 64 KiB after the tags, as a decoder finds its way in.
TEST(MpegAudioTest, TellsMpegStreamsFromOtherFiles) {
    const std::string frames = Frames("\xFF\xFB\x90\x64"s, 417, 4); // 128 kbit/s, 44.1 kHz
    const std::string otherRate = frames.substr(0, 417) + Frames("\xFF\xFB\x94\x64"s, 384, 1);
    const std::pair<std::string, bool> cases[] = {
        {Frames("\xFF\xFB\x92\x64"s, 418, 3), true},  // the same with a pad byte
        {Frames("\xFF\xF3\x80\xC4"s, 208, 3), true},  // MPEG-2 layer III, 64 kbit/s, 22.05 kHz
        {Frames("\xFF\xE3\xE8\xC4"s, 1440, 3), true}, // MPEG-2.5 layer III, 160 kbit/s, 8 kHz
        {Frames("\xFF\xFF\x18\x00"s, 48, 3), true},   // MPEG-1 layer I, 32 kbit/s, 32 kHz
        {Frames("\xFF\xFD\xE4\x00"s, 1152, 3), true}, // MPEG-1 layer II, 384 kbit/s, 48 kHz
        {Frames("\xFF\xFB\x00\x64"s, 600, 3), true},  // free format
        {Frames("\xFF\xEB\x90\x64"s, 417, 3), false}, // reserved version
        {Frames("\xFF\xF9\x90\x64"s, 417, 3), false}, // reserved layer
        {Frames("\xFF\xFB\xF0\x64"s, 417, 3), false}, // bad bit rate
        {Frames("\xFF\xFB\x9C\x64"s, 417, 3), false}, // reserved sample rate
        {Frames("\xFF\xFB\x90\x66"s, 417, 3), false}, // reserved emphasis
        {Id3Tag(5000) + Id3Tag(20) + frames, true},
        {std::string(1000, '\0') + frames, true},
        {Id3Tag(300) + "junk" + frames, true},
        {std::string(MpegSearchSpan - 1, 'x') + frames, true},
        {std::string(MpegSearchSpan, 'x') + frames, false},
        {frames.substr(0, 417 + 2), false}, // a lone frame
        {otherRate + otherRate + otherRate, false},
        {Noise, false},
        {Id3Tag(300) + "not music", false},
    };
    ScratchFolder folder;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        folder.Write("Media/probe", cases[k].first);
        EXPECT_EQ(IsMpegAudioFile("Media/probe"), cases[k].second) << "case " << k;
    }
    EXPECT_FALSE(IsMpegAudioFile("Media")) << "a folder";
}

// Starts the music as the game does, in a scratch folder, under SDL's "disk" driver; the
// environment is put back afterwards.
struct MusicTest : ::testing::Test {
    void SetUp() override {
        Set("SDL_AUDIODRIVER", "disk");
        Set("SDL_DISKAUDIOFILE", "out.raw");
        Set("SDL_DISKAUDIODELAY", "0");
    }
    void TearDown() override {
        Mix_FreeMusic(GameState.music);
        SDL_Quit();
        for (auto entry = saved.rbegin(); entry != saved.rend(); ++entry) {
            const char* name = entry->first.c_str();
            entry->second ? setenv(name, entry->second->c_str(), 1) : unsetenv(name);
        }
        ResetGlobalRecords();
    }
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value, 1);
    }
    // Plays until `bytes` are written and gives that many bytes of interleaved 16-bit stereo
    // samples; a missing output reads as the largest size, and the check below says what went
    // wrong.
    std::vector<std::int16_t> PlayAndRecord(std::size_t bytes) {
        AskForTheMusicRate();
        StartMusic();
        EXPECT_EQ(Mix_QuerySpec(&rate, nullptr, nullptr), 1) << "the device is open";
        std::error_code missing;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(WAIT_SECONDS);
        while (std::filesystem::file_size("out.raw", missing) < bytes &&
               std::chrono::steady_clock::now() < deadline) {
            SDL_Delay(10);
        }
        Mix_CloseAudio();
        const std::string raw = ReadFile("out.raw");
        EXPECT_GE(raw.size(), bytes) << "the mixer wrote too little";
        std::vector<std::int16_t> samples(bytes / 2); // silent where the mixer wrote too little
        std::copy_n(raw.data(), std::min(raw.size(), bytes),
                    reinterpret_cast<char*>(samples.data()));
        return samples;
    }
    ScratchFolder folder;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    int rate = 0; // of the sound device
};

// The game asks for the tune's own rate when the player chose none (an empty choice counts as
// none); the tune plays calmly, and its second round repeats the first without a gap.
TEST_F(MusicTest, TheShippedTunePlaysCalmlyAtItsOwnRateAndLoopsWithoutAGap) {
    Set("SDL_AUDIO_FREQUENCY", "");
    folder.Write("Media/driftsong.mp3", ReadFile(SOURCE_DIR "/Media/driftsong.mp3"));
    const std::vector<std::int16_t> samples = PlayAndRecord(LoopSamples * 5);
    ASSERT_TRUE(GameState.music != nullptr && rate == 44100) << rate;
    const auto start = std::find_if(samples.begin(), samples.end(), [](int s) { return s != 0; });
    ASSERT_LT(start - samples.begin(), LoopSamples / 4) << "the tune starts at once";
    const double power = std::inner_product(start, start + 2 * LoopSamples, start, 0.0);
    const double level = 10.0 * std::log10(power / (2 * LoopSamples) / (32768.0 * 32768.0));
    EXPECT_TRUE(level > -30.0 && level < -15.0) << level << " dBFS: calm, not loud";
    const auto settled = start + rate / 5;
    EXPECT_TRUE(std::equal(settled, settled + 2 * rate, settled + 2 * LoopSamples))
        << "the second round repeats the first from its beginning";
}

// A missing file, or one that is not MPEG audio, leaves the game silent, with the sound device
// open at the rate the player chose.
TEST_F(MusicTest, MissingOrForeignFilesLeaveTheGameSilent) {
    Set("SDL_AUDIO_FREQUENCY", "48000");
    for (const std::string& content : {std::string(), Noise}) {
        if (!content.empty()) {
            folder.Write("Media/driftsong.mp3", content);
        }
        const std::vector<std::int16_t> samples = PlayAndRecord(4096);
        EXPECT_TRUE(GameState.music == nullptr && rate == 48000) << rate;
        EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int s) { return s == 0; }));
    }
}

} // namespace
