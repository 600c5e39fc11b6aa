#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end without a shell, with the caller's environment.
ProgramRun runProgram(const std::string& path, const std::vector<std::string>& args);
