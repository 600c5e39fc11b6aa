#include "serial/trace_file.h"

#include "serial/escaped_text.h"

TraceFile::TraceFile(const std::string& path, Timestamp timestamp,
                     LineFile::WriteFailed writeFailed)
    : timestamp_(std::move(timestamp)), file_(path, std::move(writeFailed)) {}

void TraceFile::event(std::string_view text) {
    if (!file_.isOpen()) {
        return;
    }
    file_.append(timestamp_() + " " + escapedText(text) + "\n");
}
