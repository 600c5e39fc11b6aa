#include "operations/field_diagnostics.h"

#include "operations/interval_monitoring.h"
#include "operations/monitoring_record.h"
#include "serial/message_boxes.h"

namespace {

std::string cannotBeOpened(const char* what, const std::string& path, const std::string& reason,
                           const char* without) {
    return std::string(what) + " " + path + " cannot be opened: " + reason +
           ". The program runs on without " + without + ".";
}

std::string cannotBeWritten(const char* what, const std::string& path, const std::string& reason,
                            const char* stops) {
    return std::string(what) + " " + path + " cannot be written: " + reason + ". " + stops +
           " stops here; the program runs on.";
}

} // namespace

FieldDiagnostics::FieldDiagnostics(SerialContext& serial, TracedMessageBoxes& messages,
                                   TraceFile::Timestamp timestamp)
    : serial_(serial), messages_(messages), timestamp_(std::move(timestamp)) {}

void FieldDiagnostics::traceTo(const std::string& path) {
    // A failure to write comes inside a transaction's wait: shown once the link is idle.
    auto trace = std::make_unique<TraceFile>(path, timestamp_, [this, path](const std::string& r) {
        serial_.m.pendingWarnings.push_back(cannotBeWritten("Trace file", path, r, "The trace"));
    });
    // A trace that cannot be opened leaves the one in use, if any, in place.
    if (!trace->file().isOpen()) {
        messages_.messageBox(
            cannotBeOpened("Trace file", path, trace->file().openFailure(), "a trace"),
            mb::kIconWarning | mb::kSystemModal, kAppTitle);
        return;
    }
    trace_ = std::move(trace);
    serial_.trace = trace_.get();
    messages_.setTrace(trace_.get());
}

void FieldDiagnostics::recordTo(const std::string& path) {
    auto record = std::make_unique<LineFile>(path, [this, path](const std::string& r) {
        serial_.m.pendingWarnings.push_back(cannotBeWritten("Record file", path, r, "The record"));
    });
    if (!record->isOpen()) {
        messages_.messageBox(cannotBeOpened("Record file", path, record->openFailure(), "a record"),
                             mb::kIconWarning | mb::kSystemModal, kAppTitle);
        return;
    }
    record_ = std::move(record);
    if (record_->wasEmpty()) {
        record_->append(monitoringRecordHeader());
    }
}

void FieldDiagnostics::monitoringTick(Panel& p) {
    const auto reads = Timer1_Timer(p);
    if (reads && record_) {
        record_->append(monitoringRecordRow(p.w, timestamp_(), *reads));
    }
}
