#include "assets/Assets.h"

#include "assets/Atlas.h"
#include "assets/Meshes.h"
#include "assets/Music.h"
#include "game/GameState.h"
#include "render/Font.h"

void PrepareAssets() {
    GameState.atlasTexture = LoadTextureAtlas();
    PrepareMeshes();
    BuildGlyphTable();
    StartMusic();
}
