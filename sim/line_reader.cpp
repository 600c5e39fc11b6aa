#include "sim/line_reader.h"

std::vector<LineReader::Line> LineReader::feed(std::string_view bytes) {
    std::vector<Line> lines;
    for (const char c : bytes) {
        const bool swallowLf = afterCr_ && c == '\n';
        afterCr_ = c == '\r';
        if (swallowLf) {
            continue;
        }
        if (c == '\r' || c == '\n') {
            lines.push_back({pending_, overLong_});
            pending_.clear();
            overLong_ = false;
        } else if (pending_.size() < kMaxLineLength) {
            pending_.push_back(c);
        } else {
            overLong_ = true;
        }
    }
    return lines;
}
