// How each build draws the world and the overlay text: the desktop call by call, the browser in
// as few calls as it can. Each build compiles one of DrawPlatformDesktop.cpp and
// DrawPlatformWeb.cpp, chosen by CMake.
#pragma once

// Draws the 3-D world the way this build draws it fastest.
void DrawPlatformWorld();

// Draws overlay text as `DrawText` does, in as few calls as this build needs.
void DrawPlatformText(float x, float y, const char* text, float scale);
