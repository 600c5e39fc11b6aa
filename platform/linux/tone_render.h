#pragma once

#include <cstdint>
#include <vector>

// The sample rate tones are rendered at: every sound device takes it, directly or resampled.
inline constexpr unsigned toneSampleRate = 48000;

// One tone as mono 16-bit samples at the given rate: a sine at a quarter of full scale, with
// short ramps at both ends so the speaker does not click.
std::vector<int16_t> renderTone(uint32_t frequencyHz, uint32_t durationMs, unsigned rate);
