#include "support/Game.h"
#include "support/Scratch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

GameProcess StartGame(const std::string& program, const std::string& folder,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    GameProcess game;
    game.outputFile = memfd_create("snowroll-output", 0);
    game.pid = fork();
    if (game.pid == 0) {
        dup2(game.outputFile, STDOUT_FILENO);
        dup2(game.outputFile, STDERR_FILENO);
        for (const std::string& entry : environment) {
            if (entry.find('=') == std::string::npos) {
                unsetenv(entry.c_str());
            } else {
                putenv(const_cast<char*>(entry.c_str())); // kept alive by the child's copy
            }
        }
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (chdir(folder.c_str()) == 0) {
            execv(program.c_str(), argv.data());
        }
        _exit(127);
    }
    return game;
}

bool IsRunning(GameProcess& game) {
    int status = 0;
    if (game.pid > 0 && waitpid(game.pid, &status, WNOHANG) != 0) {
        game.pid = -1;
        game.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }
    return game.pid > 0;
}

int WaitForExit(GameProcess& game, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (IsRunning(game) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (IsRunning(game)) {
        kill(game.pid, SIGKILL);
        waitpid(game.pid, nullptr, 0);
        game.pid = -1;
    }
    return game.exitStatus;
}

void StopGame(GameProcess& game) {
    WaitForExit(game, 0);
    close(game.outputFile); // nothing to close (-1) is harmless
    game.outputFile = -1;
}

std::string GameOutput(const GameProcess& game) {
    return ReadFile("/proc/self/fd/" + std::to_string(game.outputFile));
}

namespace {
// The process id its owner gave the window (_NET_WM_PID), or 0.
long WindowPid(Display* display, Window window) {
    unsigned long unused = 0, count = 0;
    int format = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           AnyPropertyType, &unused, &format, &count, &unused, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        pid = *reinterpret_cast<long*>(data);
    }
    XFree(data);
    return pid;
}
} // namespace

Display* OpenDisplay() {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return XOpenDisplay(nullptr);
}

void CloseDisplay(Display* display) {
    XCloseDisplay(display);
}

Window GameWindow(Display* display, int pid) {
    Window unused = 0, found = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &unused, &unused, &children, &count);
    for (unsigned k = 0; k < count && found == 0 && pid > 0; ++k) {
        XWindowAttributes a{};
        if (WindowPid(display, children[k]) == pid &&
            XGetWindowAttributes(display, children[k], &a) != 0 && a.map_state == IsViewable &&
            a.width == 640 && a.height == 480) {
            found = children[k];
        }
    }
    XFree(children);
    return found;
}

void RequestClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

void SetKey(Display* display, Window window, KeySym keysym, bool down) {
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down, CurrentTime);
    XFlush(display);
}

void MovePointer(Display* display, Window window, int x, int y) {
    XWarpPointer(display, 0, window, 0, 0, 0, 0, x, y);
    XFlush(display);
}

bool CaptureWindow(Display* display, Window window, Picture* picture) {
    // The game's window is 640 by 480; a smaller one or one that has gone cannot be read.
    XImage* image = XGetImage(display, window, 0, 0, 640, 480, AllPlanes, ZPixmap);
    // The test display's 24-bit TrueColor.
    const bool read = image != nullptr && image->red_mask == 0xFF0000 &&
                      image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
    *picture = Picture{640, 480, {}};
    for (int k = 0; read && k < 640 * 480; ++k) {
        const unsigned long pixel = XGetPixel(image, k % 640, k / 640);
        for (int shift : {16, 8, 0}) {
            picture->rgb.push_back(static_cast<std::uint8_t>(pixel >> shift));
        }
    }
    if (image != nullptr) {
        XDestroyImage(image);
    }
    return read;
}
