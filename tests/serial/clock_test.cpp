#include <gtest/gtest.h>

#include <vector>

#include "serial/wait.h"
#include "tests/support/fake_serial.h"

// Readings as the signed counter gives them, across its sign change and its wrap.
TEST(TimeGetTimeEx, StaysContinuousAcrossSignChangeAndWrap) {
    const std::pair<std::vector<int64_t>, std::vector<double>> cases[] = {
        {{2147483000, -2147483000}, {2147483000, 2147483000 + 1296.0}},
        {{-5, 3}, {4294967291.0, 4294967299.0}},
        {{0, 10, 10, 25}, {0, 10, 10, 25}}};
    for (const auto& [readings, expected] : cases) {
        SCOPED_TRACE(readings[0]);
        SerialRig rig;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            rig.now = static_cast<uint32_t>(readings[i]);
            EXPECT_DOUBLE_EQ(rig.clock.timeGetTime_EX(), expected[i]);
        }
    }
}

TEST(WaitmSec, EndsAtFirstReadingBeyondTheWaitOrWhenTheWindowCloses) {
    // ms, start reading, end reading, serves events, window closes at (0: stays open)
    const std::tuple<int32_t, uint32_t, uint32_t, bool, uint32_t> cases[] = {
        {0, 100, 101, true, 0},
        {-1, 100, 100, false, 0},
        {50, 0xFFFFFFF0u, 0x23u, true, 0},
        {3000, 0, 200, true, 200}};
    for (const auto& [ms, startReading, expectedEnd, servesEvents, unloadAt] : cases) {
        SCOPED_TRACE(ms);
        SerialRig rig;
        rig.now = startReading;
        if (unloadAt != 0) {
            rig.at(unloadAt, [&] { rig.m.bUnloading = true; });
        }
        EXPECT_EQ(waitmSec(rig.c, ms), unloadAt == 0);
        EXPECT_EQ(rig.now, expectedEnd);
        EXPECT_EQ(rig.passes > 0, servesEvents);
    }
}
