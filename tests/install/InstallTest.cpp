// An installation into a scratch prefix: its files, their validity, and the launcher.
#include "Command.h"
#include "support/Scratch.h"

#include <SDL_image.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every regular file below `root`, relative to it.
std::set<std::string> FilesBelow(const fs::path& root) {
    std::set<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).string());
        }
    }
    return files;
}

bool IsExecutable(const fs::path& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

struct InstallTest : ::testing::Test {
    void SetUp() override {
        // A space in the prefix catches paths the launcher or the man page fail to quote.
        prefix = scratch.path + "/game prefix";
        const CommandResult install = RunCommand(std::string(CMAKE_COMMAND) + " --install " +
                                                 Quoted(BUILD_DIR) + " --prefix " + Quoted(prefix));
        ASSERT_EQ(install.status, 0) << install.output;
    }
    ScratchFolder scratch;
    std::string prefix;
};

TEST_F(InstallTest, EveryFileLandsInPlaceAndNothingElse) {
    std::set<std::string> expected = {
        "bin/snowroll",
        "libexec/snowroll/snowroll",
        "share/applications/snowroll.desktop",
        "share/metainfo/org.snowroll.snowroll.metainfo.xml",
        "share/man/man6/snowroll.6.gz",
        "share/doc/snowroll/copyright",
        "share/doc/snowroll/changelog.gz",
    };
    for (int size : IconSizes) {
        const std::string side = std::to_string(size);
        expected.insert("share/icons/hicolor/" + side + "x" + side + "/apps/snowroll.png");
    }
    const std::set<std::string> media = FilesBelow(std::string(SOURCE_DIR) + "/Media");
    for (const std::string& file : media) {
        expected.insert("share/snowroll/Media/" + file);
    }
    EXPECT_EQ(FilesBelow(prefix), expected);
    for (const std::string& file : media) {
        EXPECT_EQ(ReadFile(prefix + "/share/snowroll/Media/" + file),
                  ReadFile(std::string(SOURCE_DIR) + "/Media/" + file))
            << file;
    }
    EXPECT_TRUE(IsExecutable(prefix + "/bin/snowroll"));
    EXPECT_TRUE(IsExecutable(prefix + "/libexec/snowroll/snowroll"));
    for (int size : IconSizes) {
        const std::string side = std::to_string(size);
        const std::string path =
            prefix + "/share/icons/hicolor/" + side + "x" + side + "/apps/snowroll.png";
        SDL_Surface* icon = IMG_Load(path.c_str());
        ASSERT_NE(icon, nullptr) << path;
        EXPECT_EQ(icon->w, size);
        EXPECT_EQ(icon->h, size);
        EXPECT_EQ(icon->format->BytesPerPixel, 4) << "icons need their alpha";
        SDL_FreeSurface(icon);
    }
}

TEST_F(InstallTest, DesktopEntryMetainfoAndManPageAreValid) {
    const std::string share = prefix + "/share";
    const CommandResult desktop =
        RunCommand("desktop-file-validate " + Quoted(share + "/applications/snowroll.desktop"));
    EXPECT_EQ(desktop.status, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "");
    const std::string entry = ReadFile(share + "/applications/snowroll.desktop");
    EXPECT_NE(entry.find("\nExec=snowroll\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=snowroll\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nCategories=Game;ArcadeGame;\n"), std::string::npos) << entry;

    // The whole tree: the metainfo, and the desktop entry it launches.
    const CommandResult metainfo =
        RunCommand("appstreamcli validate-tree --no-net " + Quoted(prefix));
    EXPECT_EQ(metainfo.status, 0) << metainfo.output;

    const std::string page = Quoted(share + "/man/man6/snowroll.6.gz");
    const CommandResult groff = RunCommand("zcat " + page + " | groff -man -Tutf8 -ww -z");
    EXPECT_EQ(groff.status, 0);
    EXPECT_EQ(groff.output, "") << "groff warns about the man page";
    const std::string text = RunCommand("zcat " + page).output;
    EXPECT_EQ(text.find('@'), std::string::npos) << "a placeholder was left in the man page";
    EXPECT_NE(text.find(share + "/snowroll/Media/textureatlas.png"), std::string::npos);
    for (const char* section : {".SH CONTROLS", ".SH FILES", ".SH \"EXIT STATUS\""}) {
        EXPECT_NE(text.find(section), std::string::npos) << section;
    }
}

// The launcher starts the game from the data folder, from any folder and through a link,
// passes the arguments and the game's status through, asks for the music's sample rate, and says
// when the game is missing.
TEST_F(InstallTest, LauncherRunsTheGameInItsDataFolderAndPassesItsStatus) {
    const std::string launcher = prefix + "/bin/snowroll";
    const std::string game = prefix + "/libexec/snowroll/snowroll";
    const std::string data = prefix + "/share/snowroll";
    // Without a video driver the real game ends with the status of its failed start.
    const CommandResult failed = RunCommand("SDL_VIDEODRIVER=dummy " + Quoted(launcher));
    EXPECT_EQ(failed.status, 3) << failed.output;
    EXPECT_EQ(failed.output, "");

    fs::rename(game, game + ".real");
    scratch.Write("game prefix/libexec/snowroll/snowroll",
                  "#!/bin/sh\necho \"$(pwd)|$#|$1|$2|$SDL_AUDIO_FREQUENCY\"\nexit 42\n");
    fs::permissions(game, fs::perms::owner_all);
    fs::create_directory(scratch.path + "/elsewhere");
    fs::create_symlink(launcher, scratch.path + "/elsewhere/snowroll");
    const CommandResult run =
        RunCommand("cd / && " + Quoted(scratch.path + "/elsewhere/snowroll") + " 'two words' ''");
    EXPECT_EQ(run.status, 42);
    EXPECT_EQ(run.output, data + "|2|two words||44100\n") << "the music's own rate is asked for";
    const CommandResult chosen = RunCommand("SDL_AUDIO_FREQUENCY=48000 " + Quoted(launcher));
    EXPECT_EQ(chosen.output, data + "|0|||48000\n") << "a player's own choice of rate stands";

    fs::remove(game);
    const CommandResult missing = RunCommand(Quoted(launcher));
    EXPECT_EQ(missing.status, 127);
    EXPECT_NE(missing.output.find("snowroll: the installation is incomplete"), std::string::npos)
        << missing.output;
    fs::rename(data, data + ".moved");
    EXPECT_EQ(RunCommand(Quoted(launcher)).status, 127);
}

} // namespace
