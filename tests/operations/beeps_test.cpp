#include <gtest/gtest.h>

#include <vector>

#include "operations/beeps.h"

TEST(Beeps, RiseOnSuccessFallOnFailureEachATenthOfASecond) {
    struct Tones : TonePlayer {
        void Beep(uint32_t hz, uint32_t ms) override { played.emplace_back(hz, ms); }
        std::vector<std::pair<uint32_t, uint32_t>> played;
    } ok, ng;
    BeepOK(ok);
    BeepNG(ng);
    const decltype(ok.played) rising{{880, 100}, {1320, 100}, {1760, 100}};
    EXPECT_EQ(ok.played, rising);
    EXPECT_EQ(ng.played, decltype(rising)(rising.rbegin(), rising.rend()));
}
