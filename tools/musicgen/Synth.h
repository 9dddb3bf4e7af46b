// Sound sources for the music generator: oscillators, note voices and the room. Everything is
// plain double arithmetic, with no sine or exponential from the C library, so the same score
// renders the same samples on every machine and build.
#pragma once

#include <cstdint>
#include <vector>

constexpr std::int32_t SampleRate = 44100;

// A stereo buffer that wraps around: whatever is written past its end lands at its start, so a
// note ringing over the end of the piece rings on into its beginning.
struct LoopBuffer {
    std::vector<double> left;
    std::vector<double> right;
};

enum class Instrument { Bell, Pad, Bass, MusicBox };

struct NoteEvent {
    Instrument instrument;
    std::int32_t pitch;  // MIDI note number
    std::int64_t start;  // first sample
    std::int64_t length; // samples the note is held
    double loudness;     // linear gain
    double pan;          // -1 left to 1 right
};

// sin(2 pi cycles), to well under a 16-bit step.
double Sine(double cycles);
// The frequency in Hz of a MIDI note number.
double PitchHz(std::int32_t pitch);
// A deterministic white noise value in [-1, 1) for sample `index`.
double Noise(std::int64_t index);

LoopBuffer MakeLoopBuffer(std::int64_t samples);
// Adds one note, tail included, to the buffer.
void RenderNote(const NoteEvent& note, LoopBuffer& buffer);
// Adds a soft wind that swells and fades `swells` times over the loop.
void RenderWind(double loudness, std::int32_t swells, LoopBuffer& buffer);
// Replaces the dry sound by dry plus room; the room's tail at the end flows into the start.
void AddRoom(double wet, LoopBuffer& buffer);
