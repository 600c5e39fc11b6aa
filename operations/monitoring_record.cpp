#include "operations/monitoring_record.h"

#include <array>

#include "operations/monitor_boxes.h"
#include "operations/status_flag_boxes.h"

namespace {

template <std::size_t N>
void appendBoxes(std::string& row, Window& w, const std::array<CaptionedBox, N>& boxes, bool read) {
    for (const CaptionedBox& b : boxes) {
        row += ',';
        if (read) {
            row += csvField(w.text(b.box));
        }
    }
}

template <std::size_t N>
void appendCaptions(std::string& row, const std::array<CaptionedBox, N>& boxes) {
    for (const CaptionedBox& b : boxes) {
        row += ',';
        row += b.caption;
    }
}

} // namespace

std::string monitoringRecordHeader() {
    std::string row = "time";
    appendCaptions(row, kMonitorBoxes);
    appendCaptions(row, kStatusFlagBoxes);
    return row + "\r\n";
}

std::string monitoringRecordRow(Window& w, const std::string& time, const TickReads& reads) {
    std::string row = csvField(time);
    appendBoxes(row, w, kMonitorBoxes, reads.monitor);
    appendBoxes(row, w, kStatusFlagBoxes, reads.flags);
    return row + "\r\n";
}

std::string csvField(std::string_view text) {
    if (text.find_first_of("\",\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string field = "\"";
    for (const char ch : text) {
        if (ch == '"') {
            field += '"';
        }
        field += ch;
    }
    return field + "\"";
}
