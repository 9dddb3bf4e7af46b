// How long the game takes from the start of its process to the first frame shown in its
// window: the overlay's panel, drawn in every frame, is the sign. Prints the time of each run
// and the median, in milliseconds.
#include "support/Game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// True once something other than black shows where the overlay lies.
bool FrameShown(Display* display, Window window) {
    Picture frame;
    if (!CaptureWindow(display, window, &frame)) {
        return false;
    }
    const Picture panel = Crop(frame, 0, 20, 400, 60);
    return std::any_of(panel.rgb.begin(), panel.rgb.end(), [](std::uint8_t v) { return v > 0; });
}

// Milliseconds to the first frame, or a negative number when none was seen in 20 seconds.
double MeasureOnce(Display* display) {
    const auto start = Clock::now();
    GameProcess game = StartGame(GAME_BINARY, SOURCE_DIR, {}, {});
    double millis = -1.0;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        const Window window = GameWindow(display, game.pid);
        if (window != 0 && FrameShown(display, window)) {
            millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            RequestClose(display, window);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    WaitForExit(game, 5.0);
    StopGame(game);
    return millis;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    Display* display = OpenDisplay();
    if (display == nullptr) {
        std::fprintf(stderr, "no display: set DISPLAY\n");
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double millis = MeasureOnce(display);
        if (millis < 0) {
            std::fprintf(stderr, "run %d: no frame shown\n", run + 1);
            return 1;
        }
        std::printf("run %d: %.0f ms\n", run + 1, millis);
        times.push_back(millis);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to first frame: %.0f ms (median of %d)\n", times[times.size() / 2], runs);
    CloseDisplay(display);
    return 0;
}
