#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "serial/line_file.h"
#include "serial/trace.h"

// The trace as a text file: one line per event, "<timestamp> <event>", the event's bytes
// escaped so that a line never breaks, each line flushed as it is written.
class TraceFile : public Trace {
public:
    // The local time as text, down to the millisecond ("2026-12-07 13:05:12.345").
    using Timestamp = std::function<std::string()>;

    TraceFile(const std::string& path, Timestamp timestamp, LineFile::WriteFailed writeFailed);

    const LineFile& file() const { return file_; }
    void event(std::string_view text) override;

private:
    Timestamp timestamp_;
    LineFile file_;
};
