#include "render/DrawPlatform.h"

#include "render/Font.h"
#include "render/WorldBatch.h"

void DrawPlatformWorld() {
    DrawWorldBatched();
}

void DrawPlatformText(float x, float y, const char* text, float scale) {
    DrawTextBatched(x, y, text, scale);
}
