#include "sim/sim_files.h"

#include "platform/linux/port_link_folder.h"

#include <cerrno>
#include <charconv>
#include <fstream>

#include <signal.h>

namespace simfiles {

namespace {

constexpr int kLastComNumber = 128;

} // namespace

std::string pidFilePath(int comNumber) { return portlinks::linkPath(comNumber) + ".pid"; }

std::string controlPath(int comNumber) { return portlinks::linkPath(comNumber) + ".ctl"; }

pid_t readPid(const std::string& pidFilePath) {
    std::ifstream in(pidFilePath);
    std::string text;
    if (!std::getline(in, text)) {
        return 0;
    }
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (ec != std::errc() || end != text.data() + text.size() || pid <= 0) {
        return 0;
    }
    return pid;
}

bool processAlive(pid_t pid) {
    if (pid <= 0) {
        return false;
    }
    return kill(pid, 0) == 0 || errno == EPERM;
}

std::vector<int> liveSimulators() {
    std::vector<int> found;
    if (!portlinks::isTrustedFolder(portlinks::portLinkFolder())) {
        return found;
    }
    for (int n = 1; n <= kLastComNumber; ++n) {
        if (portlinks::isTrustedLink(portlinks::linkPath(n)) &&
            processAlive(readPid(pidFilePath(n)))) {
            found.push_back(n);
        }
    }
    return found;
}

} // namespace simfiles
