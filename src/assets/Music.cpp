#include "assets/Music.h"

void StartMusic() {}
