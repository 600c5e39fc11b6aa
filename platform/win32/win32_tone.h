#pragma once

#include "platform/tone_player.h"

// kernel32 Beep: returns when the tone has ended.
class Win32TonePlayer : public TonePlayer {
public:
    void Beep(uint32_t frequencyHz, uint32_t durationMs) override;
};
