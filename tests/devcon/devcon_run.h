#pragma once

#include <string>
#include <vector>

struct DevconRun {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs the built kelvara-devcon with args, without a shell, in this process's environment;
// its output passes through files in scratchFolder.
DevconRun runDevcon(const std::vector<std::string>& args, const std::string& scratchFolder);
