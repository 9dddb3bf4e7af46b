// The Debian package, built by CPack and unpacked into a scratch root, so that the machine and any
// copy of the game installed on it are left alone; started through the menu's command from an
// unrelated folder.
#include "Command.h"
#include "support/GameTest.h"

namespace {

using PackageTest = GameTest;

TEST_F(PackageTest, UnpacksAndRunsFromAnyFolder) {
    ScratchFolder scratch;
    const CommandResult pack = RunCommand(std::string(CPACK_COMMAND) + " -G DEB --config " +
                                          Quoted(std::string(BUILD_DIR) + "/CPackConfig.cmake") +
                                          " -B " + Quoted(scratch.path));
    ASSERT_EQ(pack.status, 0) << pack.output;
    // The package's name, for the shell: the architecture's part is left to match.
    const std::string package = Quoted(scratch.path) + "/snowroll_" PROJECT_VERSION "_*.deb";
    // Debian's package checker finds neither errors nor warnings; among its errors, a package
    // without the dependencies its programs link.
    const CommandResult lint = RunCommand("lintian --tag-display-limit 0 " + package);
    EXPECT_TRUE(lint.status == 0 && lint.output.find("W: ") == std::string::npos) << lint.output;

    const std::string root = scratch.path + "/root";
    const CommandResult unpack = RunCommand("dpkg-deb -x " + package + " " + Quoted(root));
    ASSERT_EQ(unpack.status, 0) << unpack.output;
    ASSERT_TRUE(
        StartAndAwaitOverlay(root + "/usr/games/snowroll", "/", {}, {"SDL_AUDIODRIVER=dummy"}))
        << "the unpacked game does not show its textured overlay";
    RequestClose(display, window);
    EXPECT_EQ(WaitForExit(game, WAIT_SECONDS), 0) << GameOutput(game);
}

} // namespace
