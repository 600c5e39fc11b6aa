#include "platform/linux/port_link_folder.h"

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace portlinks {

namespace {

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

// Makes one missing folder: mode exactly 0700 whatever the umask says.
bool makeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0) {
        return errno == EEXIST;
    }
    return chmod(path.c_str(), 0700) == 0;
}

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

} // namespace

std::string workFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/kelvara";
    }
    return "/tmp/kelvara-" + std::to_string(getuid());
}

std::string portLinkFolder() { return workFolder() + "/ports"; }

bool isTrustedFolder(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool isTrustedLink(const std::string& linkPath) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) != 0) {
        return false;
    }
    return st.st_uid == geteuid() && isTrustedFolder(parentOf(linkPath));
}

bool ensureTrustedFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (!exists(path)) {
        const std::string parent = parentOf(path);
        if (parent != path && !exists(parent) && !ensureTrustedFolder(parent)) {
            return false;
        }
        if (!makeFolder(path)) {
            return false;
        }
    }
    return isTrustedFolder(path);
}

std::string linkPath(int comNumber) {
    return portLinkFolder() + "/COM" + std::to_string(comNumber);
}

} // namespace portlinks
