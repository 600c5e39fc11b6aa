#pragma once

#include <chrono>
#include <cstdint>

#include "serial/millisecond_counter.h"

// timeGetTime: the low 32 bits of a monotonic millisecond clock.
class SteadyMillisecondCounter : public MillisecondCounter {
public:
    uint32_t timeGetTime() override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
};
