// An installation into a scratch prefix: its files, and the launcher.
#include "Command.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

// Every regular file below `root`, relative to it.
std::set<std::string> FilesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).string());
        }
    }
    return files;
}

// Every file lands in place and nothing else, and the man page names the installed data. The
// launcher starts the game from the data folder, from any folder and through a link, passes the
// arguments and the game's status through, and says when the game is missing. A space in the
// prefix catches paths the launcher or the man page fail to quote.
TEST(InstallTest, EveryFileLandsInPlaceAndTheLauncherRunsTheGameInItsDataFolder) {
    ScratchFolder scratch;
    const std::string prefix = scratch.path + "/game prefix";
    const CommandResult install = RunCommand(std::string(CMAKE_COMMAND) + " --install " +
                                             Quoted(BUILD_DIR) + " --prefix " + Quoted(prefix));
    ASSERT_EQ(install.status, 0) << install.output;
    std::set<std::string> expected = {"bin/snowroll",
                                      "libexec/snowroll/snowroll",
                                      "share/applications/snowroll.desktop",
                                      "share/metainfo/org.snowroll.snowroll.metainfo.xml",
                                      "share/man/man6/snowroll.6.gz",
                                      "share/doc/snowroll/copyright",
                                      "share/doc/snowroll/changelog.gz"};
    for (const std::string& file : FilesBelow(SOURCE_DIR "/Media")) {
        expected.insert("share/snowroll/Media/" + file);
    }
    for (const std::string size : {"16", "24", "32", "48", "64", "128", "256"}) {
        expected.insert("share/icons/hicolor/" + size + "x" + size + "/apps/snowroll.png");
    }
    EXPECT_EQ(FilesBelow(prefix), expected);
    const std::string data = prefix + "/share/snowroll";
    const std::string page =
        RunCommand("zcat " + Quoted(prefix + "/share/man/man6/snowroll.6.gz")).output;
    EXPECT_EQ(page.find('@'), std::string::npos) << "a placeholder was left in the man page";
    EXPECT_NE(page.find(data + "/Media/textureatlas.png"), std::string::npos) << page;

    const std::string game = prefix + "/libexec/snowroll/snowroll";
    fs::remove(game);
    scratch.Write("game prefix/libexec/snowroll/snowroll",
                  "#!/bin/sh\necho \"$(pwd)|$#|$1|$2\"\nexit 42\n");
    fs::permissions(game, fs::perms::owner_all);
    fs::create_symlink(prefix + "/bin/snowroll", scratch.path + "/snowroll");
    const CommandResult run =
        RunCommand("cd / && " + Quoted(scratch.path + "/snowroll") + " 'two words' ''");
    EXPECT_TRUE(run.status == 42 && run.output == data + "|2|two words|\n") << run.output;
    fs::remove(game);
    const CommandResult missing = RunCommand(Quoted(prefix + "/bin/snowroll"));
    EXPECT_EQ(missing.status, 127);
    EXPECT_NE(missing.output.find("snowroll: the installation is incomplete"), std::string::npos)
        << missing.output;
}

} // namespace
