#include "operations/beeps.h"

namespace {
constexpr uint32_t kToneMs = 100;
}

void BeepOK(TonePlayer& tones) {
    tones.Beep(880, kToneMs);
    tones.Beep(1320, kToneMs);
    tones.Beep(1760, kToneMs);
}

void BeepNG(TonePlayer& tones) {
    tones.Beep(1760, kToneMs);
    tones.Beep(1320, kToneMs);
    tones.Beep(880, kToneMs);
}
