#pragma once

#include "platform/tone_player.h"

// A command line sounds no beep: it waits for no one at the machine.
class SilentTones : public TonePlayer {
public:
    void Beep(uint32_t, uint32_t) override {}
};
