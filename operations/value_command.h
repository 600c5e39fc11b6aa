#pragma once

#include <optional>
#include <string>

#include "operations/panel.h"

// How one value command of a write ended.
enum class ValueSend {
    Completed, // sent and answered
    Failed,    // sent, no reply: the transaction has shown its own messages
    Skipped,   // not sent: no number, or not finite (warning queued); the write goes on
    Stopped,   // the write ends here: refused (warning queued) or the window is closing
};

// Sends prefix followed by the plain number text of number, for the write named operation;
// nothing is sent when the box held no number. source names the box the value came from;
// moreFollow tells whether the write has further commands after this one.
ValueSend sendValueCommand(Panel& p, const std::string& operation, const std::string& source,
                           const std::string& prefix, std::optional<double> number,
                           bool moreFollow);
