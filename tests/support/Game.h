// Runs the real game binary as a child process and talks to its window through Xlib.
#pragma once

#include "support/Picture.h"

#include <string>
#include <vector>

struct GameProcess {
    int pid = -1;
    int exitStatus = -1; // once ended: its exit status, or -2 when a signal ended it
    int outputFile = -1; // the child's standard output and error, in a file in memory
};

// Starts `program` in `folder`; `environment` entries "NAME=value" are set and entries "NAME"
// removed from the inherited environment.
GameProcess StartGame(const std::string& program, const std::string& folder,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment);
// True while the child runs.
bool IsRunning(GameProcess& game);
// Waits up to `seconds` for the child to end; returns its exit status, -2 when a signal ended it,
// or -1 on a time-out (the child is then killed).
int WaitForExit(GameProcess& game, double seconds);
// Ends the child if it still runs and lets go of its output.
void StopGame(GameProcess& game);
// What the child wrote to standard output and standard error.
std::string GameOutput(const GameProcess& game);

// Xlib's own names, without its macros, which clash with GoogleTest's.
using Display = struct _XDisplay;
using Window = unsigned long;
using KeySym = unsigned long;

// Opens the display named by DISPLAY; null when there is none. Requests about windows that have
// just gone (SDL may replace its window) do not end the program, as Xlib's own handler would.
Display* OpenDisplay();
void CloseDisplay(Display* display);
// The top-level window of process `pid`, once it is mapped, viewable and 640 by 480; else 0.
Window GameWindow(Display* display, int pid);
// Asks a window to close, as a window manager does: WM_PROTOCOLS / WM_DELETE_WINDOW.
void RequestClose(Display* display, Window window);
// Presses (`down`) or releases a key, an X keysym, in the window through XTest.
void SetKey(Display* display, Window window, KeySym keysym, bool down);
void MovePointer(Display* display, Window window, int x, int y);
// The window's pixels as the X server shows them; false when they cannot be read.
bool CaptureWindow(Display* display, Window window, Picture* picture);
