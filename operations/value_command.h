#pragma once

#include <optional>
#include <string>

#include "operations/panel.h"
#include "operations/unsent_values.h"

// How one value command of a write ended.
enum class ValueSend {
    Completed, // sent and answered
    Failed,    // sent, no reply: the transaction has shown its own messages
    Skipped,   // not sent: no number, or a value no generator should get; the write goes on
    Stopped,   // the write ends here: refused, or the window is closing
};

// Whether value may go out: finite, in the plain number text without an exponent (1E15 and
// more, or a non-zero magnitude below 1E-15, are no value a generator has), and not negative
// unless signedValue.
bool sendableValue(double value, bool signedValue);

// Sends prefix followed by the plain number text of number; a missing or unsendable number is
// not sent and unsent names source. moreFollow tells whether further commands come after it.
ValueSend sendValueCommand(Panel& p, UnsentValues& unsent, const std::string& source,
                           const std::string& prefix, std::optional<double> number,
                           bool signedValue, bool moreFollow);
