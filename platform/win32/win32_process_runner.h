#pragma once

#include <optional>
#include <string>

#include "serial/process_runner.h"

// The device console on Windows. A run with a listing goes through the command interpreter
// with its output redirected, "cmd.exe /c devcon.exe find USB* > dev.ref", in the listing's
// folder; a run without one starts the tool directly, "devcon disable @<id>", in the work
// folder. Both start hidden and are waited for without a time limit. The tool is looked up
// in the application's folder, then on the search path.
class Win32ProcessRunner : public ProcessRunner {
public:
    explicit Win32ProcessRunner(std::string workFolder) : workFolder_(std::move(workFolder)) {}

    std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile) override;

private:
    std::string workFolder_;
};
