#include "platform/linux/alsa_tone.h"

#include <gtest/gtest.h>

#include <chrono>
#include <utility>

namespace {

// Keeps what it was given to play and reports the outcome it was built with.
class FakeSink : public PcmSink {
public:
    explicit FakeSink(bool plays) : plays_(plays) {}
    bool play(const std::vector<int16_t>& samples, unsigned rate) override {
        this->samples = samples;
        this->rate = rate;
        return plays_;
    }

    std::vector<int16_t> samples;
    unsigned rate = 0;

private:
    bool plays_;
};

// The frequency that the sign changes of the samples give.
double zeroCrossingFrequency(const FakeSink& sink) {
    int crossings = 0;
    for (size_t i = 1; i < sink.samples.size(); ++i) {
        crossings += (sink.samples[i - 1] < 0) != (sink.samples[i] < 0);
    }
    return crossings / 2.0 * sink.rate / static_cast<double>(sink.samples.size());
}

TEST(AlsaTonePlayer, PlaysTheRequestedFrequencyForTheWholeDuration) {
    for (uint32_t frequency : {880u, 1320u, 1760u}) {
        SCOPED_TRACE(frequency);
        auto sink = std::make_unique<FakeSink>(true);
        const FakeSink& played = *sink;
        AlsaTonePlayer player(std::move(sink));
        player.Beep(frequency, 100);
        ASSERT_GT(played.rate, 0u);
        EXPECT_EQ(played.samples.size(), played.rate / 10);
        EXPECT_NEAR(zeroCrossingFrequency(played), frequency, 0.01 * frequency);
    }
}

TEST(AlsaTonePlayer, WaitsOutTheToneWhenTheSinkFails) {
    AlsaTonePlayer player(std::make_unique<FakeSink>(false));
    const auto start = std::chrono::steady_clock::now();
    player.Beep(880, 100);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

// A machine without a sound card is normal: beeping there must not fill the terminal.
TEST(AlsaTonePlayer, RealDevicePrintsNothing) {
    testing::internal::CaptureStderr();
    AlsaTonePlayer player;
    for (uint32_t frequency : {880u, 1320u, 1760u}) {
        player.Beep(frequency, 100);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(AlsaPcmSink, ReportsEachToneOnTheKeptDeviceWithoutPrinting) {
    const std::vector<int16_t> samples(480, 1000);
    for (const auto& [device, plays] :
         {std::pair{"null", true}, {"kelvara_no_such_device", false}}) {
        SCOPED_TRACE(device);
        AlsaPcmSink sink(device);
        testing::internal::CaptureStderr();
        for (int tone = 0; tone < 3; ++tone) {
            EXPECT_EQ(sink.play(samples, 48000), plays) << "tone " << tone;
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
}

} // namespace
