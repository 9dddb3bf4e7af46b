// The game's one window, its OpenGL context and the render state every frame starts from.
#pragma once

struct SDL_Surface;

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

// Exit statuses of a window that could not be opened.
constexpr int ExitNoVideo = 1;
constexpr int ExitNoVideoInfo = 2;
constexpr int ExitNoVideoMode = 3;

// Opens the window and sets the render state; ends the process with one of the statuses above
// when it cannot. Video that SDL starts with no display to show it counts as not started.
void InitVideo();

// Sets the OpenGL video mode. When the display cannot give the context asked for, a second try
// goes without multisampling (SDL 1.2 on X11 does not fall back by itself), so the game still
// starts there. Returns null when both fail.
SDL_Surface* OpenVideoMode(int bitsPerPixel);
