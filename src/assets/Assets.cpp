#include "assets/Assets.h"

void PrepareAssets() {}
