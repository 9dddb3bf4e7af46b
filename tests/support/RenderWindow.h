// The game's window opened inside a test program, with the assets prepared as at start-up, so
// that a test can set the records, draw with the real functions and read the frame back.
#pragma once

#include "support/Picture.h"

#include <gtest/gtest.h>

// Opens the window with the game's render state unless it is open, and prepares the assets
// once per process (their preparation cannot be repeated); a window opened again gets the
// atlas uploaded again. Runs in the source folder, where the game's media lie.
void OpenRenderWindow();

// Closes the window, so that the display holds only the windows a test makes itself.
void CloseRenderWindow();

// Puts the records back to their start values, keeping the atlas, and the GL state and
// matrices back to the state the window was opened with; clears the frame.
void ResetScene();

// The frame drawn so far (the back buffer), top row first.
Picture ReadFrame();

// A test that draws in the window: a clean scene before, the records put back and the window
// closed after.
struct RenderWindowTest : ::testing::Test {
    void SetUp() override {
        OpenRenderWindow();
        ResetScene();
    }
    void TearDown() override {
        ResetScene();
        CloseRenderWindow();
    }
};
