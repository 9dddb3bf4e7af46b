#include "render/Hud.h"

void DrawHud() {}
