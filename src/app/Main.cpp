// The process entry. SDL's main shim, where a platform has one, calls this in its place.
#include "app/GameMain.h"
#include "assets/Music.h"

#include <SDL.h>

int main(int argc, char** argv) {
    AskForTheMusicRate();
    return GameMain(argc, argv);
}
