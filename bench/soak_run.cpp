// The real game under random key and pointer input for a while: it must keep running, its
// resident memory must not grow, and a close request must end it with status 0. Prints the
// resident memory at the start and the end.
#include "support/Game.h"

#include <X11/keysym.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The resident set of a process in KiB, from /proc; -1 when it cannot be read.
long ResidentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

// One random thing a player does: a key pressed or let go, or the pointer moved.
void RandomInput(Display* display, Window window, std::mt19937& random, bool* down) {
    const KeySym keys[] = {XK_w, XK_a, XK_s, XK_d, XK_Up, XK_Down, XK_Left, XK_Right, XK_space};
    const int pick = static_cast<int>(random() % 12);
    if (pick < 9) {
        down[pick] = !down[pick];
        SetKey(display, window, keys[pick], down[pick]);
    } else {
        MovePointer(display, window, static_cast<int>(random() % 640),
                    static_cast<int>(random() % 480));
    }
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 180;
    Display* display = OpenDisplay();
    if (display == nullptr) {
        std::fprintf(stderr, "no display: set DISPLAY\n");
        return 1;
    }
    GameProcess game = StartGame(GAME_BINARY, SOURCE_DIR, {}, {});
    Window window = 0;
    for (int tries = 0; tries < 3000 && window == 0 && IsRunning(game); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        window = GameWindow(display, game.pid);
    }
    if (window == 0) {
        std::fprintf(stderr, "no window\n%s", GameOutput(game).c_str());
        return 1;
    }
    const long startKiB = ResidentKiB(game.pid);
    std::printf("resident memory at start: %ld KiB\n", startKiB);
    std::fflush(stdout);
    std::mt19937 random(20261206u);
    bool down[9] = {};
    long peakKiB = startKiB;
    const auto begin = Clock::now();
    const auto end = begin + std::chrono::seconds(seconds);
    auto nextReport = begin + std::chrono::seconds(30);
    while (Clock::now() < end) {
        if (Clock::now() >= nextReport) {
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - begin);
            std::printf("  after %3ld s: %ld KiB\n", static_cast<long>(elapsed.count()),
                        ResidentKiB(game.pid));
            std::fflush(stdout);
            nextReport += std::chrono::seconds(30);
        }
        RandomInput(display, window, random, down);
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 200));
        if (!IsRunning(game)) {
            std::fprintf(stderr, "the game ended during the soak, status %d\n", game.exitStatus);
            return 1;
        }
        peakKiB = std::max(peakKiB, ResidentKiB(game.pid));
    }
    const long endKiB = ResidentKiB(game.pid);
    std::printf("resident memory at end: %ld KiB (peak %ld KiB) after %d s\n", endKiB, peakKiB,
                seconds);
    RequestClose(display, window);
    const int status = WaitForExit(game, 10.0);
    std::printf("exit status after the close request: %d\n", status);
    StopGame(game);
    CloseDisplay(display);
    return status == 0 ? 0 : 1;
}
