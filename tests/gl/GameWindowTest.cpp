// The real game binary in a real window, over classic SDL 1.2 and over its compatibility layer on
// SDL2: driven by X key events and pointer motion, its window read back. The play test keeps its
// pictures in the build folder's tests/screenshots.
#include "support/GameTest.h"
#include "support/Scratch.h"

namespace {

const std::string Preload = std::string("LD_PRELOAD=") + SDL12_COMPAT_LIBRARY;

using GameWindowTest = GameTest;

TEST_F(GameWindowTest, PlayFromTheStartTurnSteerAndClose) {
    // Arguments mean nothing to the game.
    ASSERT_TRUE(
        StartAndAwaitOverlay(GAME_BINARY, SOURCE_DIR, {"--help", "-fullscreen", "level9"}, {}));
    // With the pointer at the centre and no key down the view comes to rest: it stands still over
    // half a second (the camera eases to its place).
    MovePointer(display, window, 320, 240);
    Picture last;
    int captures = 0;
    ASSERT_TRUE(Await("the view does not come to rest", [&](const Picture& shot) {
        // Every fifth capture: they are at least half a second apart.
        const bool rests = ++captures % 5 == 0 && DifferingShare(Scene(shot), Scene(last)) < 0.01;
        last = captures % 5 == 0 ? shot : last;
        return rests;
    }));
    WritePng(std::string(SCREENSHOT_DIR) + "/start.png", frame);

    SetKey(display, window, XK_Up, true);
    const bool moved = Await("the figure does not move and gather snow", [&](const Picture& shot) {
        return !PicturesMatch(SnowLine(shot), SnowLine(overlay)) &&
               DifferingShare(Scene(shot), Scene(last)) > 0.2;
    });
    SetKey(display, window, XK_Up, false);
    ASSERT_TRUE(moved);
    WritePng(std::string(SCREENSHOT_DIR) + "/play.png", frame);
    KeysTurnAndClose();
}

// The music plays into SDL's silent driver at the rate the game asks for itself, with no rate set
// by the player: left to choose, the layer opens the device at 22.05 kHz and its conversion
// overruns SDL_mixer's buffer.
TEST_F(GameWindowTest, OverTheCompatibilityLayerTheGameRunsWithItsMusicAndCloses) {
    ASSERT_TRUE(StartAndAwaitOverlay(GAME_BINARY, SOURCE_DIR, {},
                                     {Preload, "SDL_AUDIODRIVER=dummy", "SDL_AUDIO_FREQUENCY"}));
    EXPECT_NE(ReadFile("/proc/" + std::to_string(game.pid) + "/maps").find("libSDL2"),
              std::string::npos)
        << "the layer did not take SDL 1.2's place (Debian: libsdl1.2-compat)";
    KeysTurnAndClose();
}

// A game that cannot open its window ends at once with the status of the failed step and writes
// nothing of its own.
TEST_F(GameWindowTest, FailedStartsEndWithTheStatusOfTheFailedStep) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"SDL_VIDEODRIVER=no-such-driver"}, 1},          // SDL_Init fails
        {{"SDL_VIDEODRIVER=dummy"}, 3},                   // no OpenGL: no video mode
        {{Preload, "SDL_VIDEODRIVER=no-such-driver"}, 1}, // the same over SDL2
        {{Preload, "SDL_VIDEODRIVER=dummy"}, 3},
        {{Preload, "SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER", "DISPLAY"}, 1}, // not offscreen
    };
    for (const auto& [environment, status] : cases) {
        game = StartGame(GAME_BINARY, SOURCE_DIR, {}, environment);
        EXPECT_EQ(WaitForExit(game, WAIT_SECONDS), status) << environment.back();
        if (status == 3 && environment.size() == 1) {
            EXPECT_EQ(GameOutput(game), "");
        }
        StopGame(game);
    }
}

} // namespace
