// Runs the real game binary as a child process and talks to its window through Xlib.
#pragma once

#include <string>
#include <vector>

struct GameProcess {
    int pid = -1;
    int exitStatus = -1; // once ended: its exit status, or -2 when a signal ended it
    int outputFile = -1; // the child's standard output and error, in an unlinked file
};

// Starts the game in `folder` with `arguments`; `environment` entries "NAME=value" are set and
// entries "NAME" are removed from the inherited environment. An entry SNOWROLL_TEST_PROGRAM=path
// starts that program in place of the game built here.
GameProcess StartGame(const std::string& folder, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment);
// Ends the child if it still runs and lets go of its output; for the end of every test.
void StopGame(GameProcess& game);
// True while the child runs.
bool IsRunning(GameProcess& game);
// Waits up to `seconds` for the child to end; returns its exit status, or -1 on a time-out
// (the child is then killed) and -2 when it died of a signal.
int WaitForExit(GameProcess& game, double seconds);
// What the child wrote to standard output and standard error.
std::string GameOutput(const GameProcess& game);

// Xlib's own names, without its macros, which clash with GoogleTest's.
struct _XDisplay;
using Display = _XDisplay;
using Window = unsigned long;
using KeySym = unsigned long;

// Opens the display named by DISPLAY; null when there is none.
Display* OpenDisplay();
void CloseDisplay(Display* display);

// Looks for a top-level window named `name` for up to `seconds`; 0 when there is none.
Window FindWindow(Display* display, const std::string& name, double seconds);
// Asks a window to close, as a window manager does: WM_PROTOCOLS / WM_DELETE_WINDOW.
void RequestClose(Display* display, Window window);
// The size of a window and its icon name.
bool WindowSize(Display* display, Window window, int* width, int* height);
std::string WindowIconName(Display* display, Window window);
// Types a key (an X keysym) into a window through XTest.
void TypeKey(Display* display, Window window, KeySym keysym);
// Moves the pointer to (x, y) in the window.
void MovePointer(Display* display, Window window, int x, int y);

#include "support/Picture.h"

// Presses (`down` true) or releases a key (an X keysym) in a window through XTest, as a player
// holding it does.
void SetKey(Display* display, Window window, KeySym keysym, bool down);
// The window's pixels as the X server shows them; an empty picture when it cannot be read.
Picture CaptureWindow(Display* display, Window window);

// The top-level window named `name` once SDL has settled it (SDL may make its window anew when it
// sets the GL mode); 0 when none appears within ten seconds.
Window FindSettledWindow(Display* display, const std::string& name);
