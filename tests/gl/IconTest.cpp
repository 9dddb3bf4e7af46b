// The icon renderer rebuilds the committed icons from the game's own figure and atlas.
#include "support/Picture.h"
#include "support/Scratch.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// A renderer on another processor may round a texel differently; a changed figure, atlas or view
// changes far more than this.
constexpr int TexelTolerance = 8;

TEST(IconTest, TheRendererRebuildsTheCommittedIcons) {
    ScratchFolder scratch;
    const std::string command = std::string(ICON_RENDERER) + " " + SOURCE_DIR + " " + scratch.path;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string name = "snowroll-" + std::to_string(size) + ".png";
        // Over black and over white, so that both the colours and the alpha are compared.
        for (std::uint8_t ground : {0, 255}) {
            Picture made;
            Picture kept;
            ReadPng(scratch.path + "/" + name, &made, ground);
            ReadPng(std::string(SOURCE_DIR) + "/packaging/icons/" + name, &kept, ground);
            EXPECT_EQ(DifferingShare(made, kept, TexelTolerance), 0.0)
                << name << ": run the icon renderer";
        }
    }
}

} // namespace
