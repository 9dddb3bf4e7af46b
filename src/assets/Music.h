// The background music, playing in a loop from start-up to the end.
#pragma once

// Opens the audio device, loads "Media/driftsong.mp3" into `GameState.music` and plays it
// without end. Any failure leaves the game silent, and so does a file in which no MPEG audio
// frames begin where a decoder looks for them: it would play such a file as noise.
void StartMusic();

// Asks SDL to open the sound device at the music's own rate, 44.1 kHz, unless the player chose a
// rate in SDL_AUDIO_FREQUENCY. Runs before SDL starts, while the game has no other thread.
void AskForTheMusicRate();
