#include "cli/interruptible_pump.h"

#include <algorithm>

namespace {

// How long Ctrl+C may wait to be seen.
constexpr int64_t kLongestPassMs = 100;

} // namespace

void InterruptiblePump::processEvents(int64_t maxWaitMs) {
    inner_.processEvents(std::min(maxWaitMs, kLongestPassMs));
    if (!fired_ && interrupted_()) {
        fired_ = true;
        onInterrupt();
    }
}
