#include "operations/value_command.h"

#include <cmath>

#include "common/number_text.h"

bool sendableValue(double value, bool signedValue) {
    return std::isfinite(value) && (signedValue || value >= 0) &&
           plainNumberText(value).find('E') == std::string::npos;
}

ValueSend sendValueCommand(Panel& p, UnsentValues& unsent, const std::string& source,
                           const std::string& prefix, std::optional<double> number,
                           bool signedValue, bool moreFollow) {
    if (!number) {
        unsent.noNumber(source);
        return ValueSend::Skipped;
    }
    if (!sendableValue(*number, signedValue)) {
        unsent.outOfRange(source);
        return ValueSend::Skipped;
    }
    const std::string cmd = prefix + plainNumberText(*number);
    switch (p.link.Rs232cCommand(cmd)) {
    case CommandOutcome::Complete:
        return ValueSend::Completed;
    case CommandOutcome::Failed:
        return ValueSend::Failed;
    case CommandOutcome::Refused:
        unsent.refused(cmd, moreFollow);
        return ValueSend::Stopped;
    case CommandOutcome::Closing:
        return ValueSend::Stopped;
    }
    return ValueSend::Stopped;
}
