#include "Score.h"

#include <array>

namespace {

// A chord: the bass root and the pad's voicing, MIDI note numbers.
struct Chord {
    std::int32_t root;
    std::array<std::int32_t, 4> voicing;
};

constexpr Chord Dm = {38, {57, 62, 65, 72}};
constexpr Chord Bb = {34, {53, 62, 65, 69}};
constexpr Chord F = {41, {53, 60, 64, 69}};
constexpr Chord C = {36, {55, 60, 64, 67}};
constexpr Chord Gm = {43, {55, 58, 62, 65}};
constexpr Chord A = {33, {57, 61, 64, 67}};

// A melody step: a pitch (0 rests) and its length in beats.
struct Step {
    std::int32_t pitch;
    std::int32_t beats;
};
using Bar = std::array<Step, 4>;

// Four sections of eight bars: the theme, the theme higher with the music box, the bright
// middle, and the theme again thinning out toward the pickup into bar one.
constexpr std::array<Chord, BarCount> Harmony = {Dm, Bb, F,  C,  Dm, Bb, Gm, A,  Dm, Bb, F,
                                                 C,  Dm, Bb, Gm, A,  Bb, F,  Gm, Dm, Bb, F,
                                                 Gm, A,  Dm, Bb, F,  C,  Dm, Bb, Gm, A};

constexpr std::array<Bar, BarCount> Melody = {{
    {{{69, 2}, {65, 1}, {64, 1}}}, {{{62, 3}, {0, 1}}},
    {{{72, 2}, {69, 1}, {67, 1}}}, {{{67, 3}, {0, 1}}},
    {{{69, 1}, {74, 2}, {72, 1}}}, {{{70, 2}, {69, 1}, {65, 1}}},
    {{{67, 2}, {70, 1}, {69, 1}}}, {{{64, 1}, {61, 1}, {64, 2}}},
    {{{74, 2}, {76, 1}, {77, 1}}}, {{{74, 3}, {0, 1}}},
    {{{72, 2}, {69, 1}, {72, 1}}}, {{{67, 2}, {64, 2}}},
    {{{65, 1}, {69, 1}, {74, 2}}}, {{{77, 2}, {74, 1}, {70, 1}}},
    {{{69, 1}, {70, 1}, {67, 2}}}, {{{69, 4}}},
    {{{77, 3}, {74, 1}}},          {{{72, 2}, {69, 2}}},
    {{{70, 2}, {74, 1}, {72, 1}}}, {{{69, 4}}},
    {{{74, 1}, {77, 1}, {81, 2}}}, {{{79, 2}, {77, 1}, {76, 1}}},
    {{{74, 2}, {70, 2}}},          {{{73, 2}, {76, 2}}},
    {{{69, 2}, {65, 1}, {64, 1}}}, {{{62, 3}, {0, 1}}},
    {{{72, 2}, {69, 1}, {67, 1}}}, {{{67, 3}, {0, 1}}},
    {{{69, 1}, {74, 2}, {72, 1}}}, {{{70, 2}, {69, 1}, {65, 1}}},
    {{{67, 2}, {65, 1}, {64, 1}}}, {{{0, 3}, {64, 1}}},
}};

// The music box walks up and down the voicing an octave higher.
constexpr std::array<std::int32_t, 8> BoxPattern = {0, 1, 2, 3, 2, 1, 2, 3};

constexpr double BellLoudness = 0.36;
constexpr double PadLoudness = 0.055;
constexpr double BassLoudness = 0.2;
constexpr double BoxLoudness = 0.07;

std::int64_t BarStart(std::int32_t bar) {
    return bar * BeatsPerBar * BeatSamples;
}

void AddMelody(std::int32_t bar, std::vector<NoteEvent>& notes) {
    std::int64_t at = BarStart(bar);
    for (const Step& step : Melody[bar]) {
        if (step.pitch != 0) {
            const double lift = at == BarStart(bar) ? 1.0 : 0.85;
            notes.push_back({Instrument::Bell, step.pitch, at, step.beats * BeatSamples,
                             BellLoudness * lift, 0.15});
        }
        at += step.beats * BeatSamples;
    }
}

void AddHarmony(std::int32_t bar, std::vector<NoteEvent>& notes) {
    const Chord& chord = Harmony[bar];
    const std::int64_t start = BarStart(bar);
    const std::int64_t length = BeatsPerBar * BeatSamples;
    for (std::size_t voice = 0; voice < chord.voicing.size(); ++voice) {
        const double pan = -0.6 + 0.4 * static_cast<double>(voice);
        notes.push_back({Instrument::Pad, chord.voicing[voice], start, length, PadLoudness, pan});
    }
    // The middle sections walk the bass to the fifth on the third beat.
    const bool walking = bar >= 8 && bar < 24;
    const std::int64_t half = 2 * BeatSamples;
    notes.push_back(
        {Instrument::Bass, chord.root, start, walking ? half : length, BassLoudness, 0.0});
    if (walking) {
        notes.push_back(
            {Instrument::Bass, chord.root + 7, start + half, half, BassLoudness * 0.8, 0.0});
    }
}

// Eighths in the middle sections, quarters as the last section begins, nothing before the end.
void AddMusicBox(std::int32_t bar, std::vector<NoteEvent>& notes) {
    const bool eighths = bar >= 8 && bar < 24;
    const bool quarters = bar >= 24 && bar < 28;
    if (!eighths && !quarters) {
        return;
    }
    const std::int64_t step = eighths ? BeatSamples / 2 : BeatSamples;
    const std::int32_t count = eighths ? 8 : 4;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t pitch = Harmony[bar].voicing[BoxPattern[i]] + 12;
        const double pan = (i % 2 == 0) ? -0.45 : 0.45;
        const double accent = i == 0 ? 1.0 : 0.8;
        notes.push_back({Instrument::MusicBox, pitch, BarStart(bar) + i * step, step,
                         BoxLoudness * accent, pan});
    }
}

} // namespace

std::vector<NoteEvent> ComposeDriftsong() {
    std::vector<NoteEvent> notes;
    for (std::int32_t bar = 0; bar < BarCount; ++bar) {
        AddMelody(bar, notes);
        AddHarmony(bar, notes);
        AddMusicBox(bar, notes);
    }
    return notes;
}
