#include "support/RenderWindow.h"

#include "app/Video.h"
#include "assets/Assets.h"
#include "assets/Atlas.h"
#include "game/GameState.h"
#include "support/Scratch.h"

#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

bool assetsPrepared = false;
std::uint32_t atlas = 0;

// Runs `step` with the source folder as the working directory.
template <typename Step> void InSourceFolder(Step step) {
    char previous[PATH_MAX];
    if (getcwd(previous, sizeof previous) == nullptr || chdir(SOURCE_DIR) != 0) {
        std::abort();
    }
    step();
    if (chdir(previous) != 0) {
        std::abort();
    }
}

} // namespace

void OpenRenderWindow() {
    if (SDL_GetVideoSurface() != nullptr) {
        return;
    }
    InitVideo();
    InSourceFolder([] {
        if (!assetsPrepared) {
            PrepareAssets();
            assetsPrepared = true;
        } else {
            GameState.atlasTexture = LoadTextureAtlas();
        }
        atlas = GameState.atlasTexture;
    });
}

void CloseRenderWindow() {
    SDL_Quit();
}

void ResetScene() {
    ResetGlobalRecords();
    GameState.atlasTexture = atlas;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Picture ReadFrame() {
    Picture frame;
    frame.width = WindowWidth;
    frame.height = WindowHeight;
    std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(WindowWidth * WindowHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    const std::size_t row = static_cast<std::size_t>(WindowWidth) * 3;
    frame.rgb.resize(bottomUp.size());
    for (int y = 0; y < WindowHeight; ++y) {
        std::copy_n(bottomUp.begin() + static_cast<long>(row * (WindowHeight - 1 - y)), row,
                    frame.rgb.begin() + static_cast<long>(row * y));
    }
    return frame;
}
