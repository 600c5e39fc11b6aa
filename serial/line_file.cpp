#include "serial/line_file.h"

#include <cerrno>
#include <cstring>

LineFile::LineFile(const std::string& path, WriteFailed writeFailed)
    // Binary: the lines go out with the line ends they were given, on every platform.
    : file_(std::fopen(path.c_str(), "ab")), writeFailed_(std::move(writeFailed)) {
    if (file_ == nullptr) {
        openFailure_ = std::strerror(errno);
        return;
    }
    wasEmpty_ = std::fseek(file_, 0, SEEK_END) == 0 && std::ftell(file_) == 0;
}

LineFile::~LineFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void LineFile::append(std::string_view text) {
    if (file_ == nullptr) {
        return;
    }
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0;
    if (written) {
        return;
    }
    const std::string reason = std::strerror(errno != 0 ? errno : EIO);
    // Closed before the report: whatever the report does, it writes nothing here again.
    std::fclose(file_);
    file_ = nullptr;
    if (writeFailed_) {
        writeFailed_(reason);
    }
}
