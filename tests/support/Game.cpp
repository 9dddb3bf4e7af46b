#include "support/Game.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

GameProcess StartGame(const std::string& program, const std::string& folder,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    GameProcess game;
    char pattern[] = "/tmp/snowroll-output-XXXXXX";
    game.outputFile = mkstemp(pattern);
    unlink(pattern);
    game.pid = fork();
    if (game.pid == 0) {
        dup2(game.outputFile, STDOUT_FILENO);
        dup2(game.outputFile, STDERR_FILENO);
        for (const std::string& entry : environment) {
            const auto equals = entry.find('=');
            if (equals == std::string::npos) {
                unsetenv(entry.c_str());
            } else {
                setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
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
    if (game.pid <= 0 || waitpid(game.pid, &status, WNOHANG) == 0) {
        return game.pid > 0;
    }
    game.pid = -1;
    game.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return false;
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
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return game.exitStatus;
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

std::string GameOutput(const GameProcess& game) {
    std::string text;
    char buffer[4096];
    for (ssize_t count = 0; (count = pread(game.outputFile, buffer, sizeof buffer,
                                           static_cast<off_t>(text.size()))) > 0;) {
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

namespace {
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

long WindowPid(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &left, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        pid = *reinterpret_cast<long*>(data);
    }
    XFree(data);
    return pid;
}
} // namespace

Display* OpenDisplay() {
    XSetErrorHandler(IgnoreXError);
    return XOpenDisplay(nullptr);
}

void CloseDisplay(Display* display) {
    XCloseDisplay(display);
}

Window GameWindow(Display* display, int pid) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    XSync(display, False);
    if (pid > 0 &&
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
        for (unsigned k = 0; k < count && found == 0; ++k) {
            XWindowAttributes a{};
            if (WindowPid(display, children[k]) == pid &&
                XGetWindowAttributes(display, children[k], &a) != 0 && a.map_state == IsViewable &&
                a.width == 640 && a.height == 480) {
                found = children[k];
            }
        }
    }
    XFree(children);
    return found;
}

std::string WindowIconName(Display* display, Window window) {
    char* name = nullptr;
    const std::string result = XGetIconName(display, window, &name) != 0 && name ? name : "";
    XFree(name);
    return result;
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
    XWindowAttributes a{};
    XImage* image = XGetWindowAttributes(display, window, &a) == 0
                        ? nullptr
                        : XGetImage(display, window, 0, 0, static_cast<unsigned>(a.width),
                                    static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    // The test display's 24-bit TrueColor: 32-bit pixels in the machine's byte order.
    if (image == nullptr || image->bits_per_pixel != 32 || image->red_mask != 0xFF0000 ||
        image->blue_mask != 0xFF || image->byte_order != LSBFirst) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return false;
    }
    picture->width = a.width;
    picture->height = a.height;
    picture->rgb.resize(static_cast<std::size_t>(a.width * a.height * 3));
    std::uint8_t* out = picture->rgb.data();
    for (int y = 0; y < a.height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
        for (int x = 0; x < a.width; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(row[x] >> 16);
            out[1] = static_cast<std::uint8_t>(row[x] >> 8);
            out[2] = static_cast<std::uint8_t>(row[x]);
        }
    }
    XDestroyImage(image);
    return true;
}
