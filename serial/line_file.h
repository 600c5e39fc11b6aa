#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <string_view>

// A file that diagnostic lines are appended to, each flushed at once, so that a crash or a
// pulled plug loses nothing already written. It is opened for appending and never truncates
// an earlier run's lines. The first write that fails closes it and is reported once, with
// the system's reason; later lines are dropped.
class LineFile {
public:
    using WriteFailed = std::function<void(const std::string& reason)>;

    // The path is UTF-8 on every platform.
    LineFile(const std::string& path, WriteFailed writeFailed);

    bool isOpen() const { return file_.is_open(); }
    // Why the file could not be opened; empty when it is open.
    const std::string& openFailure() const { return openFailure_; }
    // Nothing was in the file before this run.
    bool wasEmpty() const { return wasEmpty_; }

    void append(std::string_view text);

private:
    std::ofstream file_;
    std::string openFailure_;
    bool wasEmpty_ = false;
    WriteFailed writeFailed_;
};
