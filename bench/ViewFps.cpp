// Prints the frames per second of the game's frame (update, world, overlay, buffer swap) on the
// start view of level 1 at rest, with the world drawn per instance (the desktop build) and from
// buffers (the browser build). Usage: viewfps [seconds per renderer, default 5]
#include "app/Input.h"
#include "app/Video.h"
#include "assets/Assets.h"
#include "game/GameState.h"
#include "game/Update.h"
#include "render/Hud.h"
#include "render/World.h"
#include "render/WorldBatch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr int SettlingFrames = 600; // the camera flies out behind the figure and comes to rest
constexpr int CentreX = 320;
constexpr int CentreY = 240;

// Frames per second of `drawWorld` in the whole frame, over `seconds`.
double MeasureFrames(void (*drawWorld)(), double seconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    long frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        UpdateGame(1.0f);
        drawWorld();
        DrawHud();
        SDL_GL_SwapBuffers();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return static_cast<double>(frames) / elapsed;
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    InitVideo();
    if (chdir(SOURCE_DIR) != 0) {
        return 1;
    }
    PrepareAssets();
    NewGame();
    InputState.mouseX = CentreX;
    InputState.mouseY = CentreY;
    for (int frame = 0; frame < SettlingFrames; ++frame) {
        UpdateGame(1.0f);
    }
    std::printf("desktop, world per instance: %.1f fps\n", MeasureFrames(DrawWorld, seconds));
    std::printf("desktop, world from buffers: %.1f fps\n",
                MeasureFrames(DrawWorldBatched, seconds));
    SDL_Quit();
    return 0;
}
