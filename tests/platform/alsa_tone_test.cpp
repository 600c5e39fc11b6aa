#include "platform/linux/alsa_tone.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Keeps what it was given to play and reports the outcome it was built with.
struct FakeSink : PcmSink {
    explicit FakeSink(bool playing) : plays(playing) {}
    bool play(const std::vector<int16_t>& given, unsigned givenRate) override {
        samples = given;
        rate = givenRate;
        return plays;
    }
    bool plays;
    std::vector<int16_t> samples;
    unsigned rate = 0;
};

// The tone as its sign changes give it, for the whole duration; a failed sink costs the time all
// the same, so that the beeps keep their rhythm.
TEST(AlsaTonePlayer, PlaysTheFrequencyForTheWholeDurationOrWaitsItOut) {
    for (const auto& [frequency, plays] : {std::pair{880u, true}, {1760u, false}}) {
        SCOPED_TRACE(frequency);
        auto sink = std::make_unique<FakeSink>(plays);
        const FakeSink& played = *sink;
        AlsaTonePlayer player(std::move(sink));
        const auto start = std::chrono::steady_clock::now();
        player.Beep(frequency, 100);
        EXPECT_GE(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(plays ? 0 : 100));
        EXPECT_EQ(played.samples.size(), played.rate / 10);
        int crossings = 0;
        for (size_t i = 1; i < played.samples.size(); ++i) {
            crossings += (played.samples[i - 1] < 0) != (played.samples[i] < 0);
        }
        EXPECT_NEAR(crossings / 2.0 * 10, frequency, 0.01 * frequency);
    }
}

} // namespace
