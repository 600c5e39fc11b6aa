#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// What a running simulator leaves beside its COMn link in the port-link folder: the pid file
// COMn.pid and the control socket COMn.ctl.
namespace simfiles {

std::string pidFilePath(int comNumber);
std::string controlPath(int comNumber);

// The pid written in a pid file, or 0 when the file is missing or holds no pid.
pid_t readPid(const std::string& pidFilePath);

bool processAlive(pid_t pid);

// The COM numbers, ascending, whose trusted link belongs to a simulator that still runs.
std::vector<int> liveSimulators();

} // namespace simfiles
