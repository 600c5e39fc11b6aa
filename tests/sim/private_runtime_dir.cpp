#include "tests/sim/private_runtime_dir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <sys/stat.h>

PrivateRuntimeDir::PrivateRuntimeDir() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
        previous_ = old;
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvara-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chmod(pattern.c_str(), 0700) != 0)
        throw std::runtime_error("cannot make a private runtime folder");
    path_ = pattern;
    setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
}

PrivateRuntimeDir::~PrivateRuntimeDir() {
    if (previous_)
        setenv("XDG_RUNTIME_DIR", previous_->c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
