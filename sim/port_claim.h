#pragma once

#include <string>

// The simulator's hold on COMn: the pid file COMn.pid and the link COMn to its pseudo-terminal.
// A claim left by a simulator that no longer runs is taken over; one whose simulator still runs,
// or a link that is no simulator's, is not.
class PortClaim {
public:
    PortClaim() = default;
    PortClaim(const PortClaim&) = delete;
    PortClaim& operator=(const PortClaim&) = delete;
    ~PortClaim();

    bool take(int comNumber, const std::string& devicePath, std::string& error);

    // Removes the link and the pid file, if they are still this claim's.
    void release();

private:
    int comNumber_ = 0;
    std::string devicePath_;
};
