#pragma once

#include <cstdint>

// The Beep facility: plays one tone and returns when it has ended.
class TonePlayer {
public:
    virtual ~TonePlayer() = default;
    virtual void Beep(uint32_t frequencyHz, uint32_t durationMs) = 0;
};
