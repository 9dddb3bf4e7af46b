// The desktop build reads the tune from the game's own folder at start-up.
#include "assets/Music.h"

#include <SDL_mixer.h>

void StartMusic() {
    Mix_OpenAudio(0, 0, 0, 0);
    PlayMusicFile();
}
