#include "support/Scratch.h"

#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/snowroll-test-XXXXXX";
    path = mkdtemp(pattern);
    std::filesystem::create_directory(path + "/Media");
    previous = std::filesystem::current_path();
    // A test that cannot enter its folder ends here.
    std::filesystem::current_path(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}

void ScratchFolder::Write(const std::string& relativePath, const std::string& content) const {
    std::ofstream(path + "/" + relativePath, std::ios::binary) << content;
}

void ResetGlobalRecords() {
    GameState = GameStateRecord{};
    GameState.level = 1;
    LevelMap = LevelGrids{};
    InputState = InputTables{};
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}
