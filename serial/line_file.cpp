#include "serial/line_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

LineFile::LineFile(const std::string& path, WriteFailed writeFailed)
    : writeFailed_(std::move(writeFailed)) {
    // A wide path on Windows: the narrow one would be read in the ANSI code page.
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    errno = 0;
    // Binary: the lines go out with the line ends they were given, on every platform.
    file_.open(file, std::ios::binary | std::ios::app);
    if (!file_.is_open()) {
        openFailure_ = std::strerror(errno != 0 ? errno : EIO);
        return;
    }
    // A device or a pipe has no size: it counts as empty.
    std::error_code noSize;
    wasEmpty_ = std::filesystem::file_size(file, noSize) == 0 || noSize;
}

void LineFile::append(std::string_view text) {
    if (!file_.is_open()) {
        return;
    }
    errno = 0;
    file_.write(text.data(), static_cast<std::streamsize>(text.size()));
    file_.flush();
    if (file_.good()) {
        return;
    }
    const std::string reason = std::strerror(errno != 0 ? errno : EIO);
    // Closed before the report: whatever the report does, it writes nothing here again.
    file_.close();
    if (writeFailed_) {
        writeFailed_(reason);
    }
}
