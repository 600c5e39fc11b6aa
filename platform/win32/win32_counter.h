#pragma once

#include "serial/millisecond_counter.h"

// The system's 32-bit millisecond counter from winmm.
class Win32MillisecondCounter : public MillisecondCounter {
public:
    uint32_t timeGetTime() override;
};
