#include "assets/Atlas.h"

std::uint32_t LoadTextureAtlas() {
    return 0;
}
