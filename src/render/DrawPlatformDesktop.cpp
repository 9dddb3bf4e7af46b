#include "render/DrawPlatform.h"

#include "render/Font.h"
#include "render/World.h"

void DrawPlatformWorld() {
    DrawWorld();
}

void DrawPlatformText(float x, float y, const char* text, float scale) {
    DrawText(x, y, text, scale);
}
