// The Debian package: built by CPack, installed into this machine with apt-get, started from the
// menu's command in an unrelated folder, closed, and removed again.
#include "Command.h"
#include "support/GameTest.h"
#include "support/SceneColour.h"
#include "support/Scratch.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Another package manager at work holds the lock for a while; wait for it rather than fail.
const char* const Apt = "DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 ";

struct PackageTest : GameTest {
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "installing a package into the machine needs root";
        }
        GameTest::SetUp();
    }
    void TearDown() override {
        GameTest::TearDown();
        if (installed) {
            RunCommand(std::string(Apt) + "remove snowroll");
        }
    }
    // Builds the package into the scratch folder and returns its path.
    std::string BuildPackage() {
        const CommandResult pack =
            RunCommand(std::string(CPACK_COMMAND) + " -G DEB --config " +
                       Quoted(std::string(BUILD_DIR) + "/CPackConfig.cmake") + " -B " +
                       Quoted(scratch.path + "/package"));
        EXPECT_EQ(pack.status, 0) << pack.output;
        for (const auto& entry : fs::directory_iterator(scratch.path + "/package")) {
            if (entry.path().extension() == ".deb") {
                return entry.path().string();
            }
        }
        return "";
    }
    // Starts `program` in `folder`, reads its window once the scene stands, then closes it: the
    // game must end with status 0.
    Picture RunAndCapture(const std::string& folder, const std::string& program) {
        game = StartGame(folder, {}, {"SNOWROLL_TEST_PROGRAM=" + program});
        const Window window = FindSettledWindow(display, GameCaption);
        // The first frames draw while the music and the level start.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_NE(window, 0u) << program << ": " << GameOutput(game);
        const Picture picture = window != 0 ? CaptureWindow(display, window) : Picture{};
        RequestClose(display, window);
        EXPECT_EQ(WaitForExit(game, 5.0), 0) << program;
        StopGame(game);
        return picture;
    }
    ScratchFolder scratch;
    bool installed = false;
};

TEST_F(PackageTest, InstallsRunsFromAnyFolderAndRemovesCleanly) {
    const std::string package = BuildPackage();
    ASSERT_NE(package, "");
    EXPECT_EQ(fs::path(package).filename().string().rfind("snowroll_" PROJECT_VERSION "_", 0), 0u);
    // The dependencies come from the libraries the game links.
    const CommandResult depends = RunCommand("dpkg-deb -f " + Quoted(package) + " Depends");
    for (const char* library : {"libsdl1.2debian", "libsdl-image1.2", "libsdl-mixer1.2", "libgl1",
                                "libglu1-mesa | libglu1", "libc6"}) {
        EXPECT_NE(depends.output.find(library), std::string::npos) << depends.output;
    }
    // Debian's package checker finds neither errors nor warnings.
    const CommandResult lint = RunCommand("lintian --tag-display-limit 0 " + Quoted(package));
    EXPECT_EQ(lint.status, 0) << lint.output;
    EXPECT_EQ(lint.output.find("W: "), std::string::npos) << lint.output;

    const CommandResult install = RunCommand(std::string(Apt) + "install " + Quoted(package));
    installed = true;
    ASSERT_EQ(install.status, 0) << install.output;
    for (const char* file : {"/usr/games/snowroll", "/usr/libexec/snowroll/snowroll",
                             "/usr/share/applications/snowroll.desktop",
                             "/usr/share/icons/hicolor/48x48/apps/snowroll.png"}) {
        EXPECT_TRUE(fs::exists(file)) << file;
    }

    // The untextured look, for comparison: the installed game in a folder with the levels but
    // without the atlas.
    fs::create_directories(scratch.path + "/bare/Media");
    for (const auto& entry : fs::directory_iterator("/usr/share/snowroll/Media")) {
        if (entry.path().extension() == ".txt") {
            fs::copy(entry.path(), scratch.path + "/bare/Media");
        }
    }
    const Picture bare = RunAndCapture(scratch.path + "/bare", "/usr/libexec/snowroll/snowroll");
    // The command a menu runs, from a folder that has nothing to do with the game.
    fs::create_directory(scratch.path + "/home");
    const Picture menu = RunAndCapture(scratch.path + "/home", "/usr/games/snowroll");
    ASSERT_EQ(menu.width, 640);
    ASSERT_EQ(bare.width, 640);
    const double colouredShare = ColouredShare(menu);
    const double bareShare = ColouredShare(bare);
    EXPECT_GT(colouredShare, TexturedSceneShare) << "the installed game does not show its textures";
    EXPECT_LT(bareShare, 0.01) << "the comparison is not untextured";

    const CommandResult remove = RunCommand(std::string(Apt) + "remove snowroll");
    EXPECT_EQ(remove.status, 0) << remove.output;
    installed = remove.status != 0;
    EXPECT_FALSE(fs::exists("/usr/games/snowroll"));
    EXPECT_FALSE(fs::exists("/usr/libexec/snowroll"));
    EXPECT_FALSE(fs::exists("/usr/share/snowroll"));
}

} // namespace
