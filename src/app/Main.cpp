// The process entry. SDL's main shim, where a platform has one, calls this in its place.
#include "app/GameMain.h"

#include <SDL.h>

int main(int argc, char** argv) {
    return GameMain(argc, argv);
}
