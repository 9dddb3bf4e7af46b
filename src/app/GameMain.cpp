#include "app/GameMain.h"

#include "app/FrameClock.h"
#include "app/Input.h"
#include "app/Platform.h"
#include "app/Video.h"
#include "assets/Assets.h"
#include "game/GameState.h"
#include "game/Update.h"
#include "render/DrawPlatform.h"
#include "render/Hud.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <ctime>

namespace {

// Throws away what is left in the queue, noting the window's close request among it.
void DrainEvents() {
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
        if (event.type == SDL_QUIT) {
            GameState.quitRequested = true;
        }
    }
}

} // namespace

void RunFrame() {
    MeasureFrame(FrameTicks.readTicks());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_PumpEvents();
    PollInput();
    UpdateGame(FrameTimeScale());
    DrawPlatformWorld();
    DrawHud();
    SDL_GL_SwapBuffers();
    DrainEvents();
}

int GameMain(int, char**) {
    InitVideo();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    PrepareAssets();
    NewGame();
    RunFrameLoop(RunFrame);
    SDL_Quit();
    return 0;
}
