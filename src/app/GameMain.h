// The game's main function: start-up, then one frame after another until the window is closed.
#pragma once

// Returns 0 once the window has been closed; ends the process with 1, 2 or 3 when the window
// cannot be opened. The arguments are ignored: the game takes no options.
int GameMain(int argumentCount, char** arguments);

// Runs one frame from the tick reading to the drain of the event queue.
void RunFrame();
