#include "platform/win32/win32_tone.h"

#include <windows.h>

void Win32TonePlayer::Beep(uint32_t frequencyHz, uint32_t durationMs) {
    ::Beep(frequencyHz, durationMs);
}
