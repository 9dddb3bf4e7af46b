#include "render/Hud.h"

#include "game/GameState.h"
#include "render/DrawPlatform.h"
#include "render/Font.h"

#include <GL/gl.h>
#include <cstdio>

namespace {

const char* const PanelText = "                             "; // 29 spaces, the widest line
const char* const LevelLabel = " level: ";
const char* const SnowLabel = "  snow collected: ";
constexpr float PanelTop = 20.0f;
constexpr float PanelRowHeight = 22.0f;
constexpr int PanelRows = 3;
constexpr float LevelTop = 20.0f;
constexpr float LevelScale = 2.0f;
constexpr float SnowTop = 64.0f;
constexpr double Percent = 100.0;

// Replaces both matrices with the identity, so that text lies in device coordinates.
void EnterScreenSpace() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
}

// Puts back the projection and the camera, with GL_MODELVIEW current again.
void LeaveScreenSpace() {
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

} // namespace

double SnowPercentage(std::int32_t collected, std::int32_t total) {
    if (total == 0) {
        return 0.0;
    }
    return static_cast<double>(collected) / static_cast<double>(total) * Percent;
}

void FormatLevelText(char* out, std::size_t size, std::int32_t level) {
    std::snprintf(out, size, "%s%i", LevelLabel, static_cast<int>(level));
}

void FormatSnowText(char* out, std::size_t size, std::int32_t collected, std::int32_t total) {
    std::snprintf(out, size, "%s%f%s", SnowLabel, SnowPercentage(collected, total), "%");
}

void DrawHud() {
    EnterScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    char line[HudTextSize];
    for (int row = 0; row < PanelRows; ++row) {
        std::snprintf(line, sizeof line, "%s", PanelText);
        DrawPlatformText(0.0f, PanelTop + PanelRowHeight * static_cast<float>(row), line, 1.0f);
    }
    FormatLevelText(line, sizeof line, GameState.level);
    DrawPlatformText(0.0f, LevelTop, line, LevelScale);
    FormatSnowText(line, sizeof line, GameState.snowCollected, GameState.snowTotal);
    DrawPlatformText(0.0f, SnowTop, line, 1.0f);
    glDisable(GL_TEXTURE_2D);
    LeaveScreenSpace();
    glEnable(GL_DEPTH_TEST);
}
