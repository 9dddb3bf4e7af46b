#include "Synth.h"

#include <array>
#include <cmath>

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr std::int32_t TableSize = 4096;
// The twelve equal-tempered steps of one octave, 2^(k/12).
constexpr std::array<double, 12> SemitoneRatios = {1.0,
                                                   1.0594630943592953,
                                                   1.122462048309373,
                                                   1.189207115002721,
                                                   1.2599210498948732,
                                                   1.3348398541700344,
                                                   1.4142135623730951,
                                                   1.4983070768766815,
                                                   1.5874010519681994,
                                                   1.681792830507429,
                                                   1.7817974362806785,
                                                   1.887748625363387};
// A decay multiplier per sample that loses 60 dB in the given seconds.
constexpr double DecayPerSample(double seconds) {
    return 1.0 - 6.907755278982137 / (seconds * SampleRate);
}

// Bell: phase modulation with an inharmonic ratio whose brightness fades fast.
constexpr double BellRatio = 3.5;
constexpr double BellIndex = 1.1;
constexpr double BellBrightDecay = DecayPerSample(0.7);
constexpr double BellDecay = DecayPerSample(2.4);
constexpr double BellAttack = 0.004 * SampleRate;
constexpr double BellRing = 3.2 * SampleRate;
// Pad: slow swell, three slightly detuned copies for a soft chorus.
constexpr double PadAttack = 1.1 * SampleRate;
constexpr double PadRelease = 1.4 * SampleRate;
constexpr std::array<double, 3> PadDetune = {1.0, 1.0023, 0.9977};
// Bass: rounded start settling to a lower sustain.
constexpr double BassAttack = 0.03 * SampleRate;
constexpr double BassRelease = 0.4 * SampleRate;
constexpr double BassSustain = 0.55;
constexpr double BassSettle = DecayPerSample(1.5);
// Music box: a pure tine with a short metallic partial.
constexpr double BoxAttack = 0.002 * SampleRate;
constexpr double BoxDecay = DecayPerSample(1.3);
constexpr double BoxPartialDecay = DecayPerSample(0.15);
constexpr double BoxPartialRatio = 5.4;
constexpr double BoxRing = 1.6 * SampleRate;

// One cycle of a waveform built from harmonic amplitudes, with one guard entry for
// interpolation.
using Wave = std::array<double, TableSize + 1>;

double ExactSine(double cycles) {
    double x = cycles - std::floor(cycles);
    if (x >= 0.5) {
        x -= 1.0;
    }
    if (x > 0.25) {
        x = 0.5 - x;
    } else if (x < -0.25) {
        x = -0.5 - x;
    }
    const double t = TwoPi * x;
    const double t2 = t * t;
    double sum = 1.0 / 6227020800.0;
    for (double denominator : {39916800.0, 362880.0, 5040.0, 120.0, 6.0}) {
        sum = 1.0 / denominator - t2 * sum;
    }
    return t * (1.0 - t2 * sum);
}

Wave MakeWave(std::initializer_list<double> harmonics) {
    Wave wave{};
    for (std::int32_t i = 0; i <= TableSize; ++i) {
        double harmonic = 1.0;
        for (double amplitude : harmonics) {
            wave[i] += amplitude * ExactSine(harmonic * i / TableSize);
            harmonic += 1.0;
        }
    }
    return wave;
}

const Wave SineWave = MakeWave({1.0});
const Wave PadWave = MakeWave({1.0, 0.32, 0.1, 0.04});
const Wave BassWave = MakeWave({1.0, 0.22, 0.04});

double Lookup(const Wave& wave, double cycles) {
    const double position = (cycles - std::floor(cycles)) * TableSize;
    const std::int32_t index = static_cast<std::int32_t>(position);
    const double fraction = position - index;
    return wave[index] + (wave[index + 1] - wave[index]) * fraction;
}

// Rises from 0 to 1 with zero slope at both ends.
double SmoothStep(double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    if (x >= 1.0) {
        return 1.0;
    }
    return x * x * (3.0 - 2.0 * x);
}

void AddSample(LoopBuffer& buffer, std::int64_t at, double value, double pan) {
    const std::int64_t size = static_cast<std::int64_t>(buffer.left.size());
    const std::int64_t index = ((at % size) + size) % size;
    buffer.left[index] += value * (1.0 - pan) * 0.5;
    buffer.right[index] += value * (1.0 + pan) * 0.5;
}

void RenderBell(const NoteEvent& note, double hz, LoopBuffer& buffer) {
    double level = note.loudness;
    double brightness = BellIndex;
    for (std::int64_t n = 0; n < static_cast<std::int64_t>(BellRing); ++n) {
        const double cycles = hz * n / SampleRate;
        const double modulator = brightness * Lookup(SineWave, cycles * BellRatio);
        const double tone =
            Lookup(SineWave, cycles + modulator / TwoPi) + 0.18 * Lookup(SineWave, cycles * 2.0);
        AddSample(buffer, note.start + n, tone * level * SmoothStep(n / BellAttack), note.pan);
        level *= BellDecay;
        brightness *= BellBrightDecay;
    }
}

void RenderPad(const NoteEvent& note, double hz, LoopBuffer& buffer) {
    const std::int64_t total = note.length + static_cast<std::int64_t>(PadRelease);
    for (std::int64_t n = 0; n < total; ++n) {
        const double rise = SmoothStep(n / PadAttack);
        const double fall = 1.0 - SmoothStep((n - note.length) / PadRelease);
        double tone = 0.0;
        for (double detune : PadDetune) {
            tone += Lookup(PadWave, hz * detune * n / SampleRate);
        }
        AddSample(buffer, note.start + n, tone * note.loudness * rise * fall / 3.0, note.pan);
    }
}

void RenderBass(const NoteEvent& note, double hz, LoopBuffer& buffer) {
    const std::int64_t total = note.length + static_cast<std::int64_t>(BassRelease);
    double settle = 1.0 - BassSustain;
    for (std::int64_t n = 0; n < total; ++n) {
        const double rise = SmoothStep(n / BassAttack);
        const double fall = 1.0 - SmoothStep((n - note.length) / BassRelease);
        const double tone = Lookup(BassWave, hz * n / SampleRate);
        AddSample(buffer, note.start + n,
                  tone * note.loudness * rise * fall * (BassSustain + settle), note.pan);
        settle *= BassSettle;
    }
}

void RenderMusicBox(const NoteEvent& note, double hz, LoopBuffer& buffer) {
    double level = note.loudness;
    double partial = 0.3;
    for (std::int64_t n = 0; n < static_cast<std::int64_t>(BoxRing); ++n) {
        const double cycles = hz * n / SampleRate;
        const double tone =
            Lookup(SineWave, cycles) + partial * Lookup(SineWave, cycles * BoxPartialRatio);
        AddSample(buffer, note.start + n, tone * level * SmoothStep(n / BoxAttack), note.pan);
        level *= BoxDecay;
        partial *= BoxPartialDecay;
    }
}

// One comb of the room: a delay line whose feedback is darkened by a one-pole low-pass.
struct Comb {
    std::vector<double> line;
    std::size_t at = 0;
    double store = 0.0;
};

struct AllPass {
    std::vector<double> line;
    std::size_t at = 0;
};

constexpr std::array<std::size_t, 4> CombLengths = {1116, 1277, 1422, 1557};
constexpr std::array<std::size_t, 2> AllPassLengths = {556, 441};
constexpr std::size_t StereoSpread = 23;
constexpr double RoomFeedback = 0.85;
constexpr double RoomDamping = 0.35;
constexpr double RoomInputGain = 0.03;

double RunComb(Comb& comb, double input) {
    const double output = comb.line[comb.at];
    comb.store = output * (1.0 - RoomDamping) + comb.store * RoomDamping;
    comb.line[comb.at] = input + comb.store * RoomFeedback;
    comb.at = (comb.at + 1) % comb.line.size();
    return output;
}

double RunAllPass(AllPass& pass, double input) {
    const double delayed = pass.line[pass.at];
    pass.line[pass.at] = input + delayed * 0.5;
    pass.at = (pass.at + 1) % pass.line.size();
    return delayed - input;
}

// The room of one channel over the whole loop, run twice so that the second round starts with
// the echoes of the end.
std::vector<double> RoomChannel(const LoopBuffer& buffer, std::size_t spread) {
    std::vector<Comb> combs;
    for (std::size_t length : CombLengths) {
        combs.push_back(Comb{std::vector<double>(length + spread, 0.0)});
    }
    std::vector<AllPass> passes;
    for (std::size_t length : AllPassLengths) {
        passes.push_back(AllPass{std::vector<double>(length + spread, 0.0)});
    }
    const std::size_t size = buffer.left.size();
    std::vector<double> wet(size, 0.0);
    for (std::size_t round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < size; ++i) {
            const double input = (buffer.left[i] + buffer.right[i]) * RoomInputGain;
            double sum = 0.0;
            for (Comb& comb : combs) {
                sum += RunComb(comb, input);
            }
            for (AllPass& pass : passes) {
                sum = RunAllPass(pass, sum);
            }
            wet[i] = sum;
        }
    }
    return wet;
}

} // namespace

double Sine(double cycles) {
    return ExactSine(cycles);
}

double PitchHz(std::int32_t pitch) {
    const std::int32_t fromA = pitch - 69;
    const std::int32_t step = ((fromA % 12) + 12) % 12;
    double hz = 440.0 * SemitoneRatios[step];
    for (std::int32_t octave = (fromA - step) / 12; octave > 0; --octave) {
        hz *= 2.0;
    }
    for (std::int32_t octave = (fromA - step) / 12; octave < 0; ++octave) {
        hz *= 0.5;
    }
    return hz;
}

double Noise(std::int64_t index) {
    std::uint64_t z = static_cast<std::uint64_t>(index) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / 4503599627370496.0 - 1.0;
}

LoopBuffer MakeLoopBuffer(std::int64_t samples) {
    return LoopBuffer{std::vector<double>(samples, 0.0), std::vector<double>(samples, 0.0)};
}

void RenderNote(const NoteEvent& note, LoopBuffer& buffer) {
    const double hz = PitchHz(note.pitch);
    switch (note.instrument) {
    case Instrument::Bell:
        RenderBell(note, hz, buffer);
        break;
    case Instrument::Pad:
        RenderPad(note, hz, buffer);
        break;
    case Instrument::Bass:
        RenderBass(note, hz, buffer);
        break;
    case Instrument::MusicBox:
        RenderMusicBox(note, hz, buffer);
        break;
    }
}

void RenderWind(double loudness, std::int32_t swells, LoopBuffer& buffer) {
    constexpr double Smoothing = 0.06;
    constexpr double Rumble = 0.012;
    const std::int64_t size = static_cast<std::int64_t>(buffer.left.size());
    std::array<double, 2> low{}, lower{}, floor{};
    for (std::int32_t round = 0; round < 2; ++round) {
        for (std::int64_t i = 0; i < size; ++i) {
            const double swell = 0.55 + 0.45 * Sine(static_cast<double>(i) * swells / size);
            for (std::int32_t side = 0; side < 2; ++side) {
                low[side] += (Noise(2 * i + side) - low[side]) * Smoothing;
                lower[side] += (low[side] - lower[side]) * Smoothing;
                floor[side] += (lower[side] - floor[side]) * Rumble;
                if (round == 1) {
                    auto& channel = side == 0 ? buffer.left : buffer.right;
                    channel[i] += (lower[side] - floor[side]) * loudness * swell;
                }
            }
        }
    }
}

void AddRoom(double wet, LoopBuffer& buffer) {
    const std::vector<double> left = RoomChannel(buffer, 0);
    const std::vector<double> right = RoomChannel(buffer, StereoSpread);
    for (std::size_t i = 0; i < buffer.left.size(); ++i) {
        buffer.left[i] += left[i] * wet;
        buffer.right[i] += right[i] * wet;
    }
}
