#include "support/GameProcess.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void ApplyEnvironment(const std::vector<std::string>& environment) {
    for (const std::string& entry : environment) {
        const auto equals = entry.find('=');
        if (equals == std::string::npos) {
            unsetenv(entry.c_str());
        } else {
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
        }
    }
}

Window FindNamed(Display* display, Window parent, const std::string& name) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &up, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned k = 0; k < count && found == 0; ++k) {
        char* title = nullptr;
        if (XFetchName(display, children[k], &title) != 0 && title != nullptr) {
            if (name == title) {
                found = children[k];
            }
            XFree(title);
        }
        if (found == 0) {
            found = FindNamed(display, children[k], name);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

} // namespace

GameProcess StartGame(const std::string& folder, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    GameProcess game;
    char pattern[] = "/tmp/snowroll-output-XXXXXX";
    const int output = mkstemp(pattern);
    unlink(pattern);
    game.pid = fork();
    if (game.pid == 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        ApplyEnvironment(environment);
        // A test may start another build of the game, such as the installed one.
        const char* program = std::getenv("SNOWROLL_TEST_PROGRAM");
        program = program != nullptr ? program : GAME_BINARY;
        if (chdir(folder.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program));
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(program, argv.data());
        _exit(127);
    }
    game.outputFile = output;
    return game;
}

bool IsRunning(GameProcess& game) {
    if (game.pid <= 0) {
        return false;
    }
    int status = 0;
    if (waitpid(game.pid, &status, WNOHANG) == 0) {
        return true;
    }
    game.pid = -1;
    game.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return false;
}

void StopGame(GameProcess& game) {
    if (IsRunning(game)) {
        kill(game.pid, SIGKILL);
        waitpid(game.pid, nullptr, 0);
        game.pid = -1;
    }
    if (game.outputFile >= 0) {
        close(game.outputFile);
        game.outputFile = -1;
    }
}

int WaitForExit(GameProcess& game, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (IsRunning(game)) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(game.pid, SIGKILL);
            waitpid(game.pid, nullptr, 0);
            game.pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return game.exitStatus;
}

std::string GameOutput(const GameProcess& game) {
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    off_t offset = 0;
    while ((count = pread(game.outputFile, buffer, sizeof buffer, offset)) > 0) {
        text.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
    return text;
}

Window FindWindow(Display* display, const std::string& name, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        XSync(display, False);
        const Window window = FindNamed(display, DefaultRootWindow(display), name);
        if (window != 0) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}

void RequestClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

void TypeKey(Display* display, Window window, KeySym keysym) {
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display, keysym);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

void MovePointer(Display* display, Window window, int x, int y) {
    XWarpPointer(display, 0, window, 0, 0, 0, 0, x, y);
    XFlush(display);
}

// Windows come and go while the tests look at them (SDL recreates its window); a request about
// a window that has just gone must not end the test program, as Xlib's default handler would.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

Display* OpenDisplay() {
    XSetErrorHandler(IgnoreXError);
    return XOpenDisplay(nullptr);
}

void CloseDisplay(Display* display) {
    XCloseDisplay(display);
}

bool WindowSize(Display* display, Window window, int* width, int* height) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return false;
    }
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

std::string WindowIconName(Display* display, Window window) {
    char* name = nullptr;
    if (XGetIconName(display, window, &name) == 0 || name == nullptr) {
        return "";
    }
    std::string result = name;
    XFree(name);
    return result;
}

void SetKey(Display* display, Window window, KeySym keysym, bool down) {
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, CurrentTime);
    XFlush(display);
}

namespace {

// The 8-bit value of the channel under `mask` in an X pixel.
std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const unsigned long top = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255u / top);
}

} // namespace

Picture CaptureWindow(Display* display, Window window) {
    Picture picture;
    int width = 0;
    int height = 0;
    if (!WindowSize(display, window, &width, &height)) {
        return picture;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return picture;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.reserve(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.rgb.push_back(Channel(pixel, image->red_mask));
            picture.rgb.push_back(Channel(pixel, image->green_mask));
            picture.rgb.push_back(Channel(pixel, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return picture;
}

Window FindSettledWindow(Display* display, const std::string& name) {
    const Window window = FindWindow(display, name, 10.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return window != 0 ? FindWindow(display, name, 5.0) : 0;
}
