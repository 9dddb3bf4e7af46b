// The real game binary in a real window: start, keys, close request and failed starts.
#include "support/GameTest.h"

namespace {

using GameWindowTest = GameTest;

TEST_F(GameWindowTest, KeysDoNotEndTheGameAndACloseRequestDoes) {
    game = StartGame(SOURCE_DIR, {"--help", "-fullscreen", "level9"}, {});
    const Window window = FindSettledWindow(display, GameCaption);
    ASSERT_NE(window, 0u) << GameOutput(game);

    int width = 0;
    int height = 0;
    ASSERT_TRUE(WindowSize(display, window, &width, &height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(WindowIconName(display, window), GameCaption);
    CheckKeysThenClose(window);
}

// A game that cannot open its window ends at once with the status of the failed step, writes
// nothing of its own and leaves no window behind.
TEST_F(GameWindowTest, FailedStartsEndWithTheStatusOfTheFailedStep) {
    struct Case {
        std::vector<std::string> environment;
        int status;
    };
    const Case cases[] = {
        {{"SDL_VIDEODRIVER=no-such-driver"}, 1},           // SDL_Init fails
        {{"SDL_VIDEODRIVER=dummy"}, 3},                    // no OpenGL: no video mode
        {{"DISPLAY", "SDL_VIDEODRIVER", "TERM=xterm"}, 3}, // Debian's text-terminal driver
        {{"DISPLAY", "SDL_VIDEODRIVER", "TERM"}, 1},       // ... whose terminal library ends it
    };
    for (const Case& c : cases) {
        game = StartGame(SOURCE_DIR, {}, c.environment);
        EXPECT_EQ(WaitForExit(game, 10.0), c.status) << c.environment[0];
        StopGame(game);
        EXPECT_EQ(FindWindow(display, GameCaption, 0.1), 0u);
    }
    game = StartGame(SOURCE_DIR, {}, {"SDL_VIDEODRIVER=dummy"});
    EXPECT_EQ(WaitForExit(game, 10.0), 3);
    EXPECT_EQ(GameOutput(game), "");
}

} // namespace
