// "Drift", the game's tune: a slow four-four in D minor for bells, a soft pad, a
// round bass and a music box, thirty-two bars that end on the dominant and lead back into the
// first bar.
#pragma once

#include "Synth.h"

#include <cstdint>
#include <vector>

// Just over 72 beats a minute: 36747 samples make the loop a whole number of MP3 frames of 1152
// samples, so the encoded loop can be cut at frame boundaries.
constexpr std::int64_t BeatSamples = 36747;
constexpr std::int64_t BeatsPerBar = 4;
constexpr std::int64_t BarCount = 32;
constexpr std::int64_t LoopSamples = BeatSamples * BeatsPerBar * BarCount;
static_assert(LoopSamples % 1152 == 0, "the loop must fill whole MP3 frames");
// The file begins in the quiet second beat of the last bar: the dominant chord and the pickup
// lead into the theme, and the seam of the loop falls where little moves.
constexpr std::int64_t FirstSample = (BarCount - 1) * BeatsPerBar * BeatSamples + BeatSamples;

// Every note of the tune, in no particular order.
std::vector<NoteEvent> ComposeDriftsong();
