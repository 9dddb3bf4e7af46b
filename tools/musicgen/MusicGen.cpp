// Renders the game's tune to a 16-bit stereo WAV at 44.1 kHz and prints its length, RMS and
// peak. Every build of the same sources writes the same bytes.
// Usage: musicgen LOOP.wav [TWICE.wav]
// The second file, if named, holds two rounds of the loop for the encoder.
// tools/musicgen/rebuild-driftsong runs it and encodes the MP3.
#include "Score.h"
#include "Synth.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr double WindLoudness = 0.02;
constexpr std::int32_t WindSwells = 8;
constexpr double RoomWet = 0.9;
// The loudest sample lands here, well below full scale, leaving headroom for the encoder.
constexpr double PeakTarget = 0.56;

// Scales both channels so that the loudest sample sits at `PeakTarget`.
void Normalize(LoopBuffer& buffer) {
    double peak = 0.0;
    for (const auto* channel : {&buffer.left, &buffer.right}) {
        for (double value : *channel) {
            peak = std::fmax(peak, std::fabs(value));
        }
    }
    const double gain = peak > 0.0 ? PeakTarget / peak : 0.0;
    for (auto* channel : {&buffer.left, &buffer.right}) {
        for (double& value : *channel) {
            value *= gain;
        }
    }
}

std::int16_t ToPcm(double value) {
    const double scaled = std::floor(value * 32767.0 + 0.5);
    return static_cast<std::int16_t>(std::fmin(32767.0, std::fmax(-32768.0, scaled)));
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, std::int32_t bytes) {
    for (std::int32_t i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& interleaved,
                                    std::uint32_t rounds) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(interleaved.size() * 2) * rounds;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    for (char c : {'R', 'I', 'F', 'F'}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    PutLittleEndian(out, 36 + dataBytes, 4);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2); // integer PCM
    PutLittleEndian(out, 2, 2); // stereo
    PutLittleEndian(out, SampleRate, 4);
    PutLittleEndian(out, SampleRate * 4, 4);
    PutLittleEndian(out, 4, 2);
    PutLittleEndian(out, 16, 2);
    for (char c : {'d', 'a', 't', 'a'}) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    PutLittleEndian(out, dataBytes, 4);
    for (std::uint32_t round = 0; round < rounds; ++round) {
        for (std::int16_t sample : interleaved) {
            PutLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
        }
    }
    return out;
}

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void PrintLevels(const std::vector<std::int16_t>& interleaved) {
    double sum = 0.0;
    double peak = 0.0;
    for (std::int16_t sample : interleaved) {
        const double value = sample / 32768.0;
        sum += value * value;
        peak = std::fmax(peak, std::fabs(value));
    }
    const double rms = std::sqrt(sum / static_cast<double>(interleaved.size()));
    std::printf("length %.3f s, RMS %.1f dBFS, peak %.1f dBFS\n",
                static_cast<double>(LoopSamples) / SampleRate, 20.0 * std::log10(rms),
                20.0 * std::log10(peak));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s LOOP.wav [TWICE.wav]\n", argv[0]);
        return 2;
    }
    LoopBuffer buffer = MakeLoopBuffer(LoopSamples);
    for (const NoteEvent& note : ComposeDriftsong()) {
        RenderNote(note, buffer);
    }
    RenderWind(WindLoudness, WindSwells, buffer);
    AddRoom(RoomWet, buffer);
    Normalize(buffer);
    std::vector<std::int16_t> interleaved;
    interleaved.reserve(2 * LoopSamples);
    for (std::int64_t i = 0; i < LoopSamples; ++i) {
        const std::int64_t at = (FirstSample + i) % LoopSamples;
        interleaved.push_back(ToPcm(buffer.left[at]));
        interleaved.push_back(ToPcm(buffer.right[at]));
    }
    for (std::int32_t rounds = 1; rounds < argc; ++rounds) {
        if (!WriteFile(argv[rounds], EncodeWav(interleaved, rounds))) {
            std::fprintf(stderr, "musicgen: cannot write %s\n", argv[rounds]);
            return 1;
        }
    }
    PrintLevels(interleaved);
    return 0;
}
