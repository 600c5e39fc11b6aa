#pragma once

#include <optional>
#include <string>

// A fresh XDG_RUNTIME_DIR (mode 0700) for one test, so its port-link folder is private.
// Restores the variable and removes the folder afterwards.
class PrivateRuntimeDir {
public:
    PrivateRuntimeDir();
    PrivateRuntimeDir(const PrivateRuntimeDir&) = delete;
    PrivateRuntimeDir& operator=(const PrivateRuntimeDir&) = delete;
    ~PrivateRuntimeDir();

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::optional<std::string> previous_;
};
