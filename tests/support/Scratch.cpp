#include "support/Scratch.h"

#include "app/Input.h"
#include "game/GameState.h"
#include "game/Level.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/snowroll-test-XXXXXX";
    path = mkdtemp(pattern);
    std::filesystem::create_directory(path + "/Media");
    char current[PATH_MAX];
    previous = getcwd(current, sizeof current) != nullptr ? current : "/";
    if (chdir(path.c_str()) != 0) {
        std::abort();
    }
}

ScratchFolder::~ScratchFolder() {
    if (chdir(previous.c_str()) != 0) {
        std::abort();
    }
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void ScratchFolder::Write(const std::string& relativePath, const std::string& content) const {
    std::ofstream file(path + "/" + relativePath, std::ios::binary);
    file << content;
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
