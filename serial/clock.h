#pragma once

#include <cstdint>

#include "serial/millisecond_counter.h"

// timeGetTime_EX: a millisecond clock that does not jump when the 32-bit counter changes
// sign or wraps. The three persistent values live as long as the window module.
class Clock {
public:
    explicit Clock(MillisecondCounter& counter) : counter_(counter) {}

    double timeGetTime_EX();
    uint32_t timeGetTime() { return counter_.timeGetTime(); }

private:
    MillisecondCounter& counter_;
    double current_ = 0;
    double previous_ = 0;
    double wraps_ = 0;
};
