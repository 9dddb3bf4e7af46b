// Test helpers shared by the test programs: a scratch folder to run in, and resets of the
// game's global records so that each test leaves them as it found them.
#pragma once

#include <string>

// Makes a fresh folder with a "Media" folder inside, makes it the working directory for the
// life of the object and removes it afterwards.
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
