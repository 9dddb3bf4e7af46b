// Prints how fast the real game plays against the wall clock, in its own window, when the screen
// takes frames at a given rate (0: as fast as the machine draws them, no vertical sync): game
// seconds per wall second through the game's own frame loop. The game's time is read off the
// camera, which turns at a steady rate while the pointer rests off the window's centre.
// Usage: playspeed [seconds per rate, default 4] [screen rates, default 60 120 144 240 1000 0]
// With SDL_VIDEODRIVER=dummy the frames draw into no GL context and cost next to nothing: the loop
// and the update step alone, for machines that cannot draw the world that fast.
#include "app/GameMain.h"
#include "app/Platform.h"
#include "app/Video.h"
#include "assets/Assets.h"
#include "game/GameState.h"
#include "game/Update.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int PointerX = 480; // a quarter of the window right of the centre
constexpr int PointerY = 240;
constexpr double WarmUpSeconds = 0.5;
constexpr double MillisPerSixtieth = 1000.0 / 60.0;

struct PlayRun {
    double screenRate;     // frames a second the emulated screen takes; 0 for no limit
    double seconds;        // length of the measured part
    double started;        // monotonic seconds at the first frame
    double nextShow;       // monotonic seconds of the screen's next refresh
    bool measuring;        // past the warm-up
    std::uint32_t ticks;   // the game's tick count when the measured part began
    float yaw;             // the camera's yaw target then
    float turnPerSixtieth; // how far the pointer turns the camera in a sixtieth of a second
    long frames;           // frames in the measured part
} Run;

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Holds the frame until the emulated screen's next refresh, as a swap with vertical sync would.
void WaitForRefresh() {
    if (Run.screenRate <= 0.0) {
        return;
    }
    const double now = Now();
    while (Run.nextShow <= now) {
        Run.nextShow += 1.0 / Run.screenRate;
    }
    const double wait = Run.nextShow - now;
    const timespec length{static_cast<time_t>(wait),
                          static_cast<long>((wait - static_cast<long>(wait)) * 1e9)};
    clock_nanosleep(CLOCK_MONOTONIC, 0, &length, nullptr);
}

// Starts the measured part: how far a sixtieth turns the camera, then where it stands.
void BeginMeasuring() {
    const float before = GameState.yawTarget;
    UpdateGame(1.0f);
    Run.turnPerSixtieth = GameState.yawTarget - before;
    Run.yaw = GameState.yawTarget;
    Run.ticks = GameState.lastTicks;
    Run.measuring = true;
}

// The game's frame, then the screen's wait; ends the loop once the measured part is over.
void RunMeasuredFrame() {
    RunFrame();
    WaitForRefresh();
    const double elapsed = Now() - Run.started;
    if (!Run.measuring && elapsed >= WarmUpSeconds) {
        BeginMeasuring();
    } else if (Run.measuring) {
        ++Run.frames;
        GameState.quitRequested = elapsed >= WarmUpSeconds + Run.seconds;
    }
}

// Plays for `seconds` at `screenRate` and prints the frame rate reached and the speed of play.
void MeasurePlay(double screenRate, double seconds) {
    NewGame();
    GameState.quitRequested = false;
    Run = PlayRun{screenRate, seconds, Now(), Now(), false, 0, 0.0f, 0.0f, 0};
    RunFrameLoop(RunMeasuredFrame);
    const double wallMillis = static_cast<double>(GameState.lastTicks - Run.ticks);
    const double gameMillis =
        (GameState.yawTarget - Run.yaw) / Run.turnPerSixtieth * MillisPerSixtieth;
    std::printf("%12.0f %14.1f %12.3f\n", screenRate, Run.frames * 1000.0 / wallMillis,
                gameMillis / wallMillis);
}

// The game's window and its assets, or with SDL's window-less driver a surface without GL and
// without the assets, which need GL to be prepared.
void OpenWindow() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver == nullptr || std::strcmp(driver, "dummy") != 0) {
        InitVideo();
        PrepareAssets();
    } else if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
               SDL_SetVideoMode(WindowWidth, WindowHeight, 0, 0) == nullptr) {
        std::exit(ExitNoVideo);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (chdir(SOURCE_DIR) != 0) {
        return 1;
    }
    OpenWindow();
    SDL_WarpMouse(PointerX, PointerY);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 4.0;
    std::vector<double> rates = {60, 120, 144, 240, 1000, 0};
    if (argc > 2) {
        rates.clear();
        for (int i = 2; i < argc; ++i) {
            rates.push_back(std::atof(argv[i]));
        }
    }
    std::printf("%12s %14s %12s\n", "screen fps", "frames/s seen", "game speed");
    for (const double rate : rates) {
        MeasurePlay(rate, seconds);
    }
    SDL_Quit();
    return 0;
}
