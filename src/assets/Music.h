// The background music, playing in a loop from start-up to the end.
#pragma once

// Where the game reads the tune; the browser's build writes it there once it has been fetched.
constexpr const char* MusicPath = "Media/driftsong.mp3";

// Opens the audio device and starts the music: the desktop loads "Media/driftsong.mp3" into
// `GameState.music` at once and plays it without end; the browser fetches it while the game runs
// and plays it from when it has arrived. Any failure leaves the game silent.
void StartMusic();

// Loads the tune at `MusicPath` into `GameState.music` and plays it without end. A file in which
// no MPEG audio frames begin where a decoder looks for them leaves the game silent: it would play
// such a file as noise.
void PlayMusicFile();

// Asks SDL to open the sound device at the music's own rate, 44.1 kHz, unless the player chose a
// rate in SDL_AUDIO_FREQUENCY. Runs before SDL starts, while the game has no other thread.
void AskForTheMusicRate();
