// The real game binary over SDL 1.2's compatibility layer on SDL2, preloaded in place of the
// classic SDL 1.2 it was built against.
#include "support/GameTest.h"
#include "support/SceneColour.h"

#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string Preload = std::string("LD_PRELOAD=") + SDL12_COMPAT_LIBRARY;
// The music plays into SDL's silent driver at the rate the game asks for itself. At the layer's own
// choice of 22.05 kHz, its conversion of the 44.1 kHz music overruns SDL_mixer's buffer: the game
// then dies at its end, or under AddressSanitizer at once.
const char* const Sound[] = {"SDL_AUDIODRIVER=dummy", "SDL_AUDIO_FREQUENCY"};

struct Sdl12CompatTest : GameTest {
    void SetUp() override {
        ASSERT_EQ(access(SDL12_COMPAT_LIBRARY, R_OK), 0)
            << SDL12_COMPAT_LIBRARY << " is missing (Debian: libsdl1.2-compat)";
        GameTest::SetUp();
    }
};

// True when the running child has `library` mapped.
bool HasMapped(const GameProcess& game, const std::string& library) {
    std::ifstream maps("/proc/" + std::to_string(game.pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(library) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST_F(Sdl12CompatTest, TheGameRunsInItsWindowWithItsMusicAndEndsOnACloseRequest) {
    game = StartGame(SOURCE_DIR, {}, {Preload, Sound[0], Sound[1]});
    const Window window = FindSettledWindow(display, GameCaption);
    ASSERT_NE(window, 0u) << GameOutput(game);
    EXPECT_TRUE(HasMapped(game, "libSDL2")) << "the layer did not take SDL 1.2's place";
    EXPECT_TRUE(HasMapped(game, "/sdl12-compat/libSDL-1.2.so"));

    int width = 0;
    int height = 0;
    ASSERT_TRUE(WindowSize(display, window, &width, &height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    // The window may show before its first frame: wait for the textured scene.
    double share = 0.0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (share <= TexturedSceneShare && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        share = ColouredShare(CaptureWindow(display, window));
    }
    EXPECT_GT(share, TexturedSceneShare) << "the scene is not drawn with its textures";
    CheckKeysThenClose(window);
}

// Where SDL2 has a driver that cannot give an OpenGL window, or none by the name asked for, the
// game ends with the status of the failed step, as over classic SDL 1.2; and with no display,
// where SDL2 would quietly draw into nothing, it ends as if video could not start.
TEST_F(Sdl12CompatTest, FailedStartsEndWithTheStatusOfTheFailedStep) {
    const std::pair<const char*, int> cases[] = {
        {"SDL_VIDEODRIVER=no-such-driver", 1}, {"SDL_VIDEODRIVER=dummy", 3}, {"DISPLAY", 1}};
    for (const auto& [driver, status] : cases) {
        game = StartGame(SOURCE_DIR, {}, {Preload, Sound[0], "SDL_VIDEODRIVER", driver});
        EXPECT_EQ(WaitForExit(game, 10.0), status) << driver;
        StopGame(game);
        EXPECT_EQ(FindWindow(display, GameCaption, 0.1), 0u);
    }
}

} // namespace
