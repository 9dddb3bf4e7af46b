// Runs shell commands for the install and package tests.
#pragma once

#include <string>

struct CommandResult {
    int status = -1;    // exit status; -1 when the command could not be run or was killed
    std::string output; // standard output and standard error, interleaved
};

// Runs `command` through /bin/sh and collects what it writes.
CommandResult RunCommand(const std::string& command);
// `text` quoted for the shell.
std::string Quoted(const std::string& text);
