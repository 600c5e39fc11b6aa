#pragma once

#include "serial/process_runner.h"

// Runs a tool with QProcess: program + arguments, no shell, waited for without a limit.
// A bare program name is looked up in the application's folder first, then on PATH.
class QtProcessRunner : public ProcessRunner {
public:
    std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile) override;
};
