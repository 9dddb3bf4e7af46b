// The browser's build fetches the tune once the game runs, so that the start waits for none of
// it: the game is silent until the tune has arrived, and stays silent if it never does. The music
// rests while the page is hidden.
#include "assets/Music.h"

#include <SDL_mixer.h>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

// The page names the tune's file, whose name carries a hash of its content.
constexpr const char* TuneAddressScript = "Module.tuneFile || ''";

void PauseWhileHidden() {
    EmscriptenVisibilityChangeEvent visibility{};
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
        visibility.hidden) {
        Mix_PauseMusic();
    }
}

void PlayArrivedTune(const char*) {
    PlayMusicFile();
    PauseWhileHidden();
}

void StaySilent(const char*) {}

EM_BOOL FollowVisibility(int, const EmscriptenVisibilityChangeEvent* visibility, void*) {
    if (visibility->hidden) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
    return EM_FALSE;
}

} // namespace

void StartMusic() {
    Mix_OpenAudio(0, 0, 0, 0);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, FollowVisibility);
    const char* address = emscripten_run_script_string(TuneAddressScript);
    if (address[0] != '\0') {
        emscripten_async_wget(address, MusicPath, PlayArrivedTune, StaySilent);
    }
}
