#include <gtest/gtest.h>

#include <vector>

#include "serial/wait.h"
#include "tests/support/serial_rig.h"

namespace {

uint32_t raw(int64_t signedReading) { return static_cast<uint32_t>(signedReading); }

TEST(TimeGetTimeEx, StaysContinuousAcrossSignChangeAndWrap) {
    struct Case {
        const char* name;
        std::vector<int64_t> readings;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"sign change", {2147483000, -2147483000}, {2147483000, 2147483000 + 1296.0}},
        {"unsigned wrap", {-5, 3}, {4294967291.0, 4294967299.0}},
        {"first reading negative", {-100}, {4294967196.0}},
        {"plain steps", {0, 10, 10, 25}, {0, 10, 10, 25}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        FakeCounter counter;
        Clock clock(counter);
        for (std::size_t i = 0; i < tc.readings.size(); ++i) {
            counter.now = raw(tc.readings[i]);
            EXPECT_DOUBLE_EQ(clock.timeGetTime_EX(), tc.expected[i]);
        }
    }
}

TEST(WaitmSec, EndsAtFirstReadingBeyondTheWait) {
    struct Case {
        int32_t ms;
        uint32_t startReading;
        uint32_t expectedEnd;
        bool servesEvents;
    };
    const Case cases[] = {
        {0, 100, 101, true},
        {50, 100, 151, true},
        {-1, 100, 100, false},
        {-3000, 7, 7, false},
        // Across the counter's wrap from 0xFFFFFFFF to 0.
        {50, 0xFFFFFFF0u, 0x23u, true},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.ms);
        SerialRig rig;
        rig.counter.now = tc.startReading;
        EXPECT_TRUE(waitmSec(rig.c, tc.ms));
        EXPECT_EQ(rig.counter.now, tc.expectedEnd);
        EXPECT_EQ(rig.pump.passes > 0, tc.servesEvents);
    }
}

TEST(WaitmSec, UnloadDuringTheWaitEndsItAtOnce) {
    SerialRig rig;
    rig.pump.at(200, [&] { rig.m.bUnloading = true; });
    EXPECT_FALSE(waitmSec(rig.c, 3000));
    EXPECT_EQ(rig.counter.now, 200u);
}

} // namespace
