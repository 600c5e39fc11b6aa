#include "serial/clock.h"

double Clock::timeGetTime_EX() {
    current_ = static_cast<double>(static_cast<int32_t>(counter_.timeGetTime()));
    // The signed reading drops by 2^32 once a counter period; count it back.
    if (current_ < previous_) {
        wraps_ += 1;
    }
    previous_ = current_;
    return wraps_ * 4294967296.0 + current_;
}
