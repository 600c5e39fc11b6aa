#include "sim/port_claim.h"

#include "platform/linux/port_link_folder.h"
#include "sim/sim_files.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string linkTarget(const std::string& link) {
    char target[4096];
    const ssize_t n = readlink(link.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) == sizeof target) {
        return {};
    }
    return std::string(target, static_cast<std::size_t>(n));
}

// Creates the pid file exclusively: whoever creates it owns the COM number.
int createPidFile(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

} // namespace

PortClaim::~PortClaim() { release(); }

bool PortClaim::take(int comNumber, const std::string& devicePath, std::string& error) {
    const std::string name = "COM" + std::to_string(comNumber);
    const std::string pidPath = simfiles::pidFilePath(comNumber);
    const std::string link = portlinks::linkPath(comNumber);
    int fd = createPidFile(pidPath);
    if (fd < 0 && errno == EEXIST) {
        const pid_t holder = simfiles::readPid(pidPath);
        if (simfiles::processAlive(holder)) {
            error = name + " is in use by kelvara-sim pid " + std::to_string(holder);
            return false;
        }
        unlink(pidPath.c_str());
        unlink(link.c_str());
        unlink(simfiles::controlPath(comNumber).c_str());
        fd = createPidFile(pidPath);
    }
    if (fd < 0) {
        error = "cannot create " + pidPath + ": " + std::strerror(errno);
        return false;
    }
    const std::string pid = std::to_string(getpid()) + "\n";
    const bool written = write(fd, pid.data(), pid.size()) == static_cast<ssize_t>(pid.size());
    close(fd);
    if (!written) {
        unlink(pidPath.c_str());
        error = "cannot write " + pidPath;
        return false;
    }
    if (symlink(devicePath.c_str(), link.c_str()) != 0) {
        error = errno == EEXIST ? link + " exists and is not a simulator's link; remove it or "
                                         "choose another --port"
                                : "cannot create " + link + ": " + std::strerror(errno);
        unlink(pidPath.c_str());
        return false;
    }
    comNumber_ = comNumber;
    devicePath_ = devicePath;
    return true;
}

void PortClaim::release() {
    if (comNumber_ == 0) {
        return;
    }
    const std::string link = portlinks::linkPath(comNumber_);
    if (linkTarget(link) == devicePath_) {
        unlink(link.c_str());
    }
    const std::string pidPath = simfiles::pidFilePath(comNumber_);
    if (simfiles::readPid(pidPath) == getpid()) {
        unlink(pidPath.c_str());
    }
    comNumber_ = 0;
}
