#include "operations/output_monitor.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/display_pattern.h"
#include "common/half_even.h"
#include "common/leading_number.h"
#include "operations/monitor_boxes.h"
#include "operations/status_flags.h"

namespace {

enum Channel : std::size_t { Filament, Kv, Ma };
constexpr std::size_t kChannels = 3;

// Where each count of an "S1" reply starts.
constexpr std::array<std::size_t, kChannels> kFieldPosition{2, 7, 12};
constexpr int kSamples = 3;

// False when the operation has to stop: a refused command finds the buffer of another
// transaction (the boxes stay as they are), and a closing window ends everything. A failed
// command goes on as any other; it is remembered so that no value made up from an empty
// buffer is shown. On a lost port nothing later can be answered: the read stops there and
// shows the failed state at once, flags included.
bool sent(Panel& p, const char* cmd, bool& failed) {
    switch (p.link.Rs232cCommand(cmd)) {
    case CommandOutcome::Complete:
        return true;
    case CommandOutcome::Failed:
        failed = true;
        if (p.m.bPortLost) {
            emptyMonitorBoxes(p);
            raiseEveryFlag(p);
            return false;
        }
        return true;
    case CommandOutcome::Refused:
    case CommandOutcome::Closing:
        return false;
    }
    return false;
}

// The monitor scale runs from 0 to 10 at 1024 counts; evaluated in this order on purpose.
double corrected(const ModuleState& m, int16_t average) {
    const double x = (average * 3.0 / 1024) * (10.0 / 3);
    return x * m.dAdGain + x + m.dAdOffset;
}

} // namespace

void emptyMonitorBoxes(Panel& p) {
    for (const CaptionedBox& b : kMonitorBoxes) {
        p.w.setText(b.box, "");
    }
}

bool Command5_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return false;
    }
    bool failed = false;
    if (!sent(p, "A1", failed) || !p.link.waitmSec(50)) {
        return false;
    }
    std::array<int16_t, kChannels> sum{};
    for (int sample = 0; sample < kSamples; ++sample) {
        if (!sent(p, "S1", failed)) {
            return false;
        }
        for (std::size_t channel = 0; channel < kChannels; ++channel) {
            const auto count = leadingNumberField(p.m.sRecvBuf, kFieldPosition[channel]);
            if (!count) {
                // A reply without its count was not read: no value is made up from it.
                failed = true;
                continue;
            }
            const std::optional<int16_t> next = roundHalfEvenInt16(sum[channel] + *count);
            if (!next) {
                // Only a garbled reply carries counts this large.
                emptyMonitorBoxes(p);
                return false;
            }
            sum[channel] = *next;
        }
    }
    if (failed) {
        emptyMonitorBoxes(p);
        return false;
    }
    std::array<double, kChannels> value{};
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        // A third of a 16-bit sum always fits.
        value[channel] = corrected(p.m, *roundHalfEvenInt16(sum[channel] / 3.0));
    }
    p.w.setText("Text9", formatDisplay(value[Kv], DisplayPattern::ThreeDecimals));
    p.w.setText("Text10", formatDisplay(value[Ma], DisplayPattern::ThreeDecimals));
    p.w.setText("Text11", formatDisplay(value[Filament], DisplayPattern::ThreeDecimals) + " (" +
                              formatDisplay(value[Filament] * 0.5, DisplayPattern::OneDecimal) +
                              ")");
    return true;
}
