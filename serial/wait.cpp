#include "serial/wait.h"

bool waitmSec(SerialContext& c, int32_t mS) {
    const uint32_t start = c.clock.timeGetTime();
    for (;;) {
        if (c.m.bUnloading) {
            return false;
        }
        // Unsigned difference: stays right across the counter's sign change and wrap.
        const uint32_t elapsed = c.clock.timeGetTime() - start;
        if (static_cast<int64_t>(elapsed) > mS) {
            return true;
        }
        c.pump.processEvents(static_cast<int64_t>(mS) + 1 - elapsed);
    }
}
