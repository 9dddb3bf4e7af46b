#include "assets/Music.h"

#include "assets/MpegAudio.h"
#include "game/GameState.h"

#include <SDL_mixer.h>

namespace {

constexpr const char* MusicPath = "Media/driftsong.mp3";

} // namespace

void StartMusic() {
    Mix_OpenAudio(0, 0, 0, 0);
    // A file that is not MPEG audio would be decoded as noise: leave the game silent instead.
    GameState.music = IsMpegAudioFile(MusicPath) ? Mix_LoadMUS(MusicPath) : nullptr;
    // The browser's mixer throws on a missing music rather than failing quietly.
    if (GameState.music != nullptr) {
        Mix_PlayMusic(GameState.music, -1);
    }
}
