#pragma once

#include <string>
#include <vector>

// Runs the device console tool and waits for it without a time limit.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // program + arguments, never a shell. When stdoutFile is not empty, the tool's standard
    // output replaces that file. Returns false when the program could not be started.
    virtual bool run(const std::string& program, const std::vector<std::string>& args,
                     const std::string& stdoutFile) = 0;
};
