#pragma once

#include "platform/tone_player.h"

// Rising three tones: start-up has passed the port step.
void BeepOK(TonePlayer& tones);
// Falling three tones: the operator chose "End".
void BeepNG(TonePlayer& tones);
