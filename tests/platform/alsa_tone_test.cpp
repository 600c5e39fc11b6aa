#include "platform/linux/alsa_tone.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>

namespace {

struct Recording {
    std::vector<int16_t> samples;
    unsigned rate = 0;
};

class RecordingSink : public PcmSink {
public:
    explicit RecordingSink(Recording& into) : into_(into) {}
    bool play(const std::vector<int16_t>& samples, unsigned rate) override {
        into_ = {samples, rate};
        return true;
    }

private:
    Recording& into_;
};

class FailingSink : public PcmSink {
public:
    bool play(const std::vector<int16_t>&, unsigned) override { return false; }
};

Recording record(uint32_t frequencyHz, uint32_t durationMs) {
    Recording recording;
    AlsaTonePlayer player(std::make_unique<RecordingSink>(recording));
    player.Beep(frequencyHz, durationMs);
    return recording;
}

// The frequency of greatest power (Goertzel) within 200 Hz of the expected one.
double strongestFrequencyNear(const Recording& r, double expectedHz) {
    double best = 0;
    double bestPower = -1;
    for (double f = expectedHz - 200; f <= expectedHz + 200; f += 0.5) {
        const double k = 2 * std::cos(2 * std::numbers::pi * f / r.rate);
        double s1 = 0;
        double s2 = 0;
        for (int16_t sample : r.samples) {
            s2 = std::exchange(s1, sample + k * s1 - s2);
        }
        const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            best = f;
        }
    }
    return best;
}

// Runs body with the process's stderr going to a file and returns what was written there.
template <typename Body> std::string capturedStderr(Body body) {
    std::FILE* capture = std::tmpfile();
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(fileno(capture), STDERR_FILENO);
    body();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);

    std::rewind(capture);
    char text[4096];
    const size_t length = std::fread(text, 1, sizeof text, capture);
    std::fclose(capture);
    return {text, length};
}

std::chrono::steady_clock::duration timeOf(TonePlayer& player, uint32_t durationMs) {
    const auto start = std::chrono::steady_clock::now();
    player.Beep(880, durationMs);
    return std::chrono::steady_clock::now() - start;
}

const uint32_t beepFrequencies[] = {880, 1320, 1760};

TEST(AlsaTonePlayer, PlaysTheRequestedFrequencyForTheWholeDuration) {
    for (uint32_t frequency : beepFrequencies) {
        SCOPED_TRACE(frequency);
        const Recording r = record(frequency, 100);
        ASSERT_GT(r.rate, 0u);
        EXPECT_EQ(r.samples.size(), r.rate / 10);
        EXPECT_NEAR(strongestFrequencyNear(r, frequency), frequency, 2.0);
    }
}

TEST(AlsaTonePlayer, StartsAndEndsInSilenceWithoutClipping) {
    for (uint32_t frequency : beepFrequencies) {
        SCOPED_TRACE(frequency);
        const Recording r = record(frequency, 100);
        ASSERT_GT(r.samples.size(), 2u);
        // One sample after silence may step by at most a small fraction of full scale.
        EXPECT_LT(std::abs(r.samples.front()), 200);
        EXPECT_LT(std::abs(r.samples.back()), 200);
        int peak = 0;
        for (int16_t s : r.samples) {
            peak = std::max(peak, std::abs(int{s}));
        }
        EXPECT_GT(peak, 4000);
        EXPECT_LT(peak, 32767);
    }
}

TEST(AlsaTonePlayer, WaitsOutTheToneWhenTheSinkFails) {
    for (uint32_t durationMs : {20u, 100u}) {
        SCOPED_TRACE(durationMs);
        AlsaTonePlayer player(std::make_unique<FailingSink>());
        EXPECT_GE(timeOf(player, durationMs), std::chrono::milliseconds(durationMs));
    }
}

TEST(AlsaTonePlayer, DefaultDeviceLastsTheToneAndPrintsNothing) {
    AlsaTonePlayer player;
    std::chrono::steady_clock::duration elapsed{};
    const std::string printed = capturedStderr([&] { elapsed = timeOf(player, 100); });
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));
    EXPECT_EQ(printed, "");
}

TEST(AlsaPcmSink, ReportsEachToneWithoutPrinting) {
    struct Case {
        const char* device;
        bool played;
    };
    const Case cases[] = {
        {"null", true},
        {"kelvara_no_such_device", false},
    };
    const std::vector<int16_t> samples(480, 1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        AlsaPcmSink sink(c.device);
        // Three tones in a row, as a beep procedure plays them on the device kept open.
        for (int tone = 0; tone < 3; ++tone) {
            bool played = !c.played;
            EXPECT_EQ(capturedStderr([&] { played = sink.play(samples, 48000); }), "");
            EXPECT_EQ(played, c.played) << "tone " << tone;
        }
    }
}

} // namespace
