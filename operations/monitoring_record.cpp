#include "operations/monitoring_record.h"

#include <array>

namespace {

constexpr std::array<const char*, 3> kMonitorBoxes{"Text9", "Text10", "Text11"};
constexpr std::array<const char*, 13> kFlagBoxes{
    "Text12(0)", "Text12(1)", "Text12(2)", "Text12(3)",  "Text12(4)", "Text12(5)", "Text12(6)",
    "Text12(7)", "Text12(8)", "Text12(9)", "Text12(10)", "Text13",    "Text14"};

template <std::size_t N>
void appendBoxes(std::string& row, Window& w, const std::array<const char*, N>& boxes, bool read) {
    for (const char* box : boxes) {
        row += ',';
        if (read) {
            row += csvField(w.text(box));
        }
    }
}

} // namespace

std::string monitoringRecordHeader() {
    std::string row = "time,kV (Text9),mA (Text10),filament (Text11)";
    for (const char* box : kFlagBoxes) {
        row += ',';
        row += box;
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
