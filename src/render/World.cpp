#include "render/World.h"

void DrawWorld() {}
