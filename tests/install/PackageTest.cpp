// The Debian package, built by CPack and unpacked into a scratch root, so that the machine and any
// copy of the game installed on it are left alone; started through the menu's command from an
// unrelated folder.
#include "Command.h"
#include "support/GameTest.h"
#include "support/Scratch.h"

#include <filesystem>

namespace {

using PackageTest = GameTest;

TEST_F(PackageTest, UnpacksAndRunsFromAnyFolder) {
    ScratchFolder scratch;
    const CommandResult pack = RunCommand(std::string(CPACK_COMMAND) + " -G DEB --config " +
                                          Quoted(std::string(BUILD_DIR) + "/CPackConfig.cmake") +
                                          " -B " + Quoted(scratch.path + "/package"));
    ASSERT_EQ(pack.status, 0) << pack.output;
    std::string package;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path + "/package")) {
        package = entry.path().extension() == ".deb" ? entry.path().string() : package;
    }
    ASSERT_EQ(std::filesystem::path(package).filename().string().rfind(
                  "snowroll_" PROJECT_VERSION "_", 0),
              0u)
        << pack.output;
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

    const std::string root = scratch.path + "/root";
    const CommandResult unpack = RunCommand("dpkg-deb -x " + Quoted(package) + " " + Quoted(root));
    ASSERT_EQ(unpack.status, 0) << unpack.output;
    for (const char* file : {"/usr/games/snowroll", "/usr/libexec/snowroll/snowroll",
                             "/usr/share/applications/snowroll.desktop",
                             "/usr/share/icons/hicolor/48x48/apps/snowroll.png",
                             "/usr/share/snowroll/Media/textureatlas.png"}) {
        EXPECT_TRUE(std::filesystem::exists(root + file)) << file;
    }
    std::filesystem::create_directory(scratch.path + "/home");
    ASSERT_TRUE(StartAndAwaitOverlay(root + "/usr/games/snowroll", scratch.path + "/home", {},
                                     {"SDL_AUDIODRIVER=dummy"}))
        << "the unpacked game does not show its textured overlay";
    RequestClose(display, window);
    EXPECT_EQ(WaitForExit(game, WAIT_SECONDS), 0) << GameOutput(game);
}

} // namespace
