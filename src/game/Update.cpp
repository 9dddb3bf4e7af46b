#include "game/Update.h"

void UpdateGame(float) {}
