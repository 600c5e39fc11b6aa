#pragma once

#include <memory>
#include <string>

#include "operations/panel.h"
#include "serial/line_file.h"
#include "serial/serial_context.h"
#include "serial/trace_file.h"
#include "serial/traced_message_boxes.h"

// The diagnostics a technician asks for on the command line: the trace of every transaction
// and the monitoring record. A file that cannot be opened is reported once at start and the
// program runs on without it; so is one that later cannot be written.
class FieldDiagnostics {
public:
    // The serial procedures show their boxes through messages: those go to the trace too.
    FieldDiagnostics(SerialContext& serial, TracedMessageBoxes& messages,
                     TraceFile::Timestamp timestamp);

    void traceTo(const std::string& path);
    void recordTo(const std::string& path);

    // One interval-monitoring tick, with its row in the record when one is kept.
    void monitoringTick(Panel& p);

private:
    SerialContext& serial_;
    TracedMessageBoxes& messages_;
    TraceFile::Timestamp timestamp_;
    std::unique_ptr<TraceFile> trace_;
    std::unique_ptr<LineFile> record_;
};
