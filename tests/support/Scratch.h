// Test helpers for every test program: a scratch folder to run in, and a reset of the game's global
// records, so that each test leaves them as it found them.
#pragma once

#include <string>

// A fresh folder with a "Media" folder inside, the working directory for the life of the object,
// removed afterwards.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Writes `content` to the file at `relativePath` inside the folder.
    void Write(const std::string& relativePath, const std::string& content) const;
    std::string path;
    std::string previous;
};

// Puts GameState, LevelMap and InputState back to their values at program start.
void ResetGlobalRecords();
// The whole content of a file; "" when it cannot be read.
std::string ReadFile(const std::string& path);
