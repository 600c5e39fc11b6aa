#pragma once

#include <optional>
#include <string>
#include <vector>

// Runs the device console tool and waits for it without a time limit.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // program + arguments, never a shell. When stdoutFile is not empty, the tool's standard
    // output replaces that file. Returns the tool's exit status (-1 when a signal ended it), or
    // nothing when the program could not be started.
    virtual std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                                   const std::string& stdoutFile) = 0;
};
