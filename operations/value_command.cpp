#include "operations/value_command.h"

#include <cmath>

#include "common/number_text.h"
#include "operations/operation_warnings.h"

ValueSend sendValueCommand(Panel& p, const std::string& operation, const std::string& source,
                           const std::string& prefix, std::optional<double> number,
                           bool moreFollow) {
    if (!number) {
        warnNoNumber(p, operation, source);
        return ValueSend::Skipped;
    }
    const double value = *number;
    if (!std::isfinite(value)) {
        warnOutOfRange(p, operation, source);
        return ValueSend::Skipped;
    }
    const std::string cmd = prefix + plainNumberText(value);
    switch (p.link.Rs232cCommand(cmd)) {
    case CommandOutcome::Complete:
        return ValueSend::Completed;
    case CommandOutcome::Failed:
        return ValueSend::Failed;
    case CommandOutcome::Refused:
        warnNotSent(p, operation, cmd, moreFollow);
        return ValueSend::Stopped;
    case CommandOutcome::Closing:
        return ValueSend::Stopped;
    }
    return ValueSend::Stopped;
}
