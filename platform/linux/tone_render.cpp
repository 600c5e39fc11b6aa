#include "platform/linux/tone_render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kAmplitude = 0.25 * 32767;
constexpr unsigned kRampMs = 5;

} // namespace

std::vector<int16_t> renderTone(uint32_t frequencyHz, uint32_t durationMs, unsigned rate) {
    const auto count = static_cast<size_t>(uint64_t{rate} * durationMs / 1000);
    // A tone shorter than two ramps rises to its middle and falls again.
    const size_t ramp = std::min<size_t>(rate * kRampMs / 1000, count / 2);
    const double step = 2 * std::numbers::pi * frequencyHz / rate;

    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t edge = std::min(i, count - 1 - i);
        const double phase = static_cast<double>(edge) / static_cast<double>(ramp);
        const double gain = edge < ramp ? 0.5 - 0.5 * std::cos(std::numbers::pi * phase) : 1.0;
        samples[i] = static_cast<int16_t>(
            std::lround(kAmplitude * gain * std::sin(step * static_cast<double>(i))));
    }
    return samples;
}
