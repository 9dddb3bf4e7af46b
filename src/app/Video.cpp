#include "app/Video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <cstdlib>
#include <cstring>

namespace {

const char* const WindowCaption = "SDL/OpenGL Sample";
constexpr int MultisampleBuffers = 1;
constexpr int MultisampleSamples = 4;
constexpr int ColourBits = 5;
constexpr int DepthBits = 16;
constexpr double FieldOfView = 45.0;
constexpr float AspectRatio = 4.0f / 3.0f;
constexpr double NearPlane = 1.0;
constexpr double FarPlane = 1000.0;

void RequestContext() {
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, MultisampleBuffers);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, MultisampleSamples);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, ColourBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, ColourBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, ColourBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, DepthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// Without a display, SDL2 under the 1.2 layer quietly picks a driver that shows nothing, where
// classic SDL fails to start. Unless the player asked for a driver, the game fails as it would
// there.
bool FellBackToNoDisplay() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    char name[32] = {};
    if ((asked != nullptr && asked[0] != '\0') ||
        SDL_VideoDriverName(name, sizeof name) == nullptr) {
        return false;
    }
    return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0;
}

void SetRenderState() {
    glEnable(GL_MULTISAMPLE);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glViewport(0, 0, WindowWidth, WindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, static_cast<double>(AspectRatio), NearPlane, FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
}

} // namespace

SDL_Surface* OpenVideoMode(int bitsPerPixel) {
    SDL_Surface* screen = SDL_SetVideoMode(WindowWidth, WindowHeight, bitsPerPixel, SDL_OPENGL);
    if (screen == nullptr) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        screen = SDL_SetVideoMode(WindowWidth, WindowHeight, bitsPerPixel, SDL_OPENGL);
    }
    return screen;
}

void InitVideo() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::exit(ExitNoVideo);
    }
    if (FellBackToNoDisplay()) {
        SDL_Quit();
        std::exit(ExitNoVideo);
    }
    SDL_WM_SetCaption(WindowCaption, WindowCaption);
    RequestContext();
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr) {
        SDL_Quit();
        std::exit(ExitNoVideoInfo);
    }
    // Without a display format (the browser's SDL has none), 0 asks for the display's own depth.
    const int bitsPerPixel = info->vfmt != nullptr ? info->vfmt->BitsPerPixel : 0;
    if (OpenVideoMode(bitsPerPixel) == nullptr) {
        SDL_Quit();
        std::exit(ExitNoVideoMode);
    }
    SetRenderState();
}
