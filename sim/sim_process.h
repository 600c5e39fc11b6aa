#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

// Runs kelvara-sim for a test: started without a shell, with the caller's environment (so its
// XDG_RUNTIME_DIR picks the port-link folder), awaited until its ready line, and ended with the
// thread that started it.
class SimProcess {
public:
    // The program to run; empty: kelvara-sim beside the running executable.
    explicit SimProcess(std::string program = {});
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    // False when it could not be spawned, or ended or stayed unready for 10 s.
    bool start(const std::vector<std::string>& args);
    // SIGTERM, then waits for it to end.
    void stop();
    // Waits up to the limit for it to end by itself.
    bool waitForExit(std::chrono::milliseconds limit);

    // Its exit code once it has ended (128 + the signal when a signal ended it), else -1.
    int exitStatus() const { return exitStatus_; }
    pid_t pid() const { return pid_; }

    static std::string besideExecutable(const std::string& name);

private:
    bool awaitReady();
    void reap(int options);

    std::string program_;
    pid_t pid_ = -1;
    int stdout_ = -1;
    int exitStatus_ = -1;
};
