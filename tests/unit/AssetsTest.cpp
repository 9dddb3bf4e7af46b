#include "assets/Assets.h"
#include "MeshSnapshot.h"
#include "game/GameState.h"
#include "render/Font.h"
#include "support/Scratch.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstring>

// Start-up with an empty Media folder: no atlas and no music, yet everything else is prepared.
TEST(PrepareAssets, RunsThroughWithoutMediaFiles) {
    ScratchFolder folder;
    MeshSnapshot authored;
    float glyphs[GlyphCount][8];
    std::memcpy(glyphs, GlyphTable, sizeof glyphs);
    const float width = glyphWidth, height = glyphHeight;
    GameState.atlasTexture = 77;

    PrepareAssets();

    EXPECT_EQ(GameState.atlasTexture, 0u);
    EXPECT_EQ(GameState.music, nullptr);
    EXPECT_FLOAT_EQ(FloorTile.positions[0], 2.5f);
    EXPECT_GE(FirTree.texCoords[0], 0.75f);
    EXPECT_FLOAT_EQ(glyphWidth, 28.0f);
    EXPECT_FLOAT_EQ(glyphHeight, 44.0f);

    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::memcpy(GlyphTable, glyphs, sizeof glyphs);
    glyphWidth = width;
    glyphHeight = height;
    ResetGlobalRecords();
}
