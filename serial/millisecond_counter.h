#pragma once

#include <cstdint>

// The system's 32-bit millisecond counter (timeGetTime).
class MillisecondCounter {
public:
    virtual ~MillisecondCounter() = default;
    virtual uint32_t timeGetTime() = 0;
};
