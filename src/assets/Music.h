// The background music, playing in a loop from start-up to the end.
#pragma once

// Opens the audio device, loads "Media/driftsong.mp3" into `GameState.music` and plays it
// without end. Any failure leaves the game silent.
void StartMusic();
