#include "operations/monitoring_record.h"

#include <array>

#include "operations/panel_boxes.h"

namespace {

template <std::size_t N>
void appendBoxes(std::string& row, Window& w, const std::array<BoxName, N>& boxes, bool read) {
    for (const BoxName box : boxes) {
        row += ',';
        if (read) {
            row += csvField(w.text(box));
        }
    }
}

} // namespace

std::string monitoringRecordHeader() {
    std::string row = "time,kV (Text9),mA (Text10),filament (Text11)";
    for (const BoxName box : kFlagBoxes) {
        row += ',';
        row += box.name();
    }
    return row + "\r\n";
}

std::string monitoringRecordRow(Window& w, const std::string& time, const TickReads& reads) {
    std::string row = csvField(time);
    appendBoxes(row, w, kMonitorBoxes, reads.monitor);
    appendBoxes(row, w, kFlagBoxes, reads.flags);
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
