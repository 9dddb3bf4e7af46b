// Runs shell commands for the install and package tests.
#pragma once

#include "support/Scratch.h"

#include <cstdlib>
#include <sys/wait.h>

struct CommandResult {
    int status;         // exit status; -1 when the command could not be run or was killed
    std::string output; // standard output and standard error, interleaved
};

// Runs `command` through /bin/sh; what it writes is kept in the current folder, a scratch folder.
inline CommandResult RunCommand(const std::string& command) {
    const int status = std::system(("(" + command + ") >command-output 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile("command-output")};
}

// `text` quoted for the shell.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}
