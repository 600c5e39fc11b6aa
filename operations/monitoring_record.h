#pragma once

#include <string>
#include <string_view>

#include "operations/interval_monitoring.h"
#include "operations/window.h"

// The monitoring record: one CSV row (RFC 4180, CR LF) per monitoring tick with the time,
// the three monitor boxes and the thirteen flag boxes as the window shows them.

// The first row of a new record.
std::string monitoringRecordHeader();

// The row of a tick at time. A part the tick did not read gets empty fields: its boxes then
// hold earlier values, or the raised flags of a failed read, none of them read now.
std::string monitoringRecordRow(Window& w, const std::string& time, const TickReads& reads);

// A CSV field: in quotes, its quotes doubled, when it holds a quote, a comma, CR or LF.
std::string csvField(std::string_view text);
