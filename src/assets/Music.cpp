#include "assets/Music.h"

#include "assets/MpegAudio.h"
#include "game/GameState.h"

#include <SDL_mixer.h>
#include <cstdlib>

namespace {

// Left to choose, SDL opens the device at 22.05 kHz and the mixer converts every decoded frame of
// the 44.1 kHz music; over SDL 1.2's compatibility layer on SDL2 that conversion overruns the
// mixer's buffer. At the music's own rate there is nothing to convert.
constexpr const char* MusicRate = "44100";

} // namespace

void AskForTheMusicRate() {
    const char* chosen = std::getenv("SDL_AUDIO_FREQUENCY");
    if (chosen == nullptr || chosen[0] == '\0') {
        setenv("SDL_AUDIO_FREQUENCY", MusicRate, 1);
    }
}

void PlayMusicFile() {
    GameState.music = IsMpegAudioFile(MusicPath) ? Mix_LoadMUS(MusicPath) : nullptr;
    // The browser's mixer throws on a missing music rather than failing quietly.
    if (GameState.music != nullptr) {
        Mix_PlayMusic(GameState.music, -1);
    }
}
