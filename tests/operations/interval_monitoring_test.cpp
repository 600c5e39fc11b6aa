#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/interval_monitoring.h"

const Strings kTick{"E", "A1", "wait 50", "S1", "S1", "S1"};

// What the window system does: an expiry runs a tick only while the timer is enabled.
static void expire(FakePanel& f) {
    if (f.timer) {
        Timer1_Timer(f.p);
    }
}

TEST(IntervalMonitoring, TicksOnlyBetweenStartAndStop) {
    FakePanel f;
    expire(f);
    IntervalStart_Click(f.p);
    IntervalStart_Click(f.p); // while on: does not restart the interval
    EXPECT_EQ(f.timerEnables, 1);
    EXPECT_TRUE(f.sent.empty()); // the first tick comes one interval later
    EXPECT_EQ(f.checked, (Marks{{"IntervalStart", true}, {"IntervalStop", false}}));
    expire(f);
    expire(f);
    IntervalStop_Click(f.p);
    expire(f);
    Strings twice = kTick;
    twice.insert(twice.end(), kTick.begin(), kTick.end());
    EXPECT_EQ(f.sent, twice);
    EXPECT_EQ(f.checked, (Marks{{"IntervalStart", false}, {"IntervalStop", true}}));
}

TEST(IntervalMonitoring, TickRunsToItsEndUnlessTheWindowCloses) {
    using Action = std::function<void(FakePanel&)>;
    const Action none = [](FakePanel&) {};
    const Action stop = [](FakePanel& f) { IntervalStop_Click(f.p); };
    // The window stops the timer as it closes.
    const Action close = [](FakePanel& f) {
        f.m.bUnloading = true;
        f.timer = false;
    };
    struct Case {
        Action duringE, duringWait;
        std::size_t sent; // by two expiries
        bool shown;       // the monitor's boxes
    };
    const Case cases[] = {{stop, none, 6, true},      // no tick follows
                          {expire, expire, 12, true}, // skipped, not nested
                          {close, none, 1, false},
                          {none, close, 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        FakePanel f;
        IntervalStart_Click(f.p);
        f.answer("E", {"E;", Complete, [&] { c.duringE(f); }});
        f.duringWait = [&] { c.duringWait(f); };
        expire(f);
        expire(f);
        EXPECT_EQ(f.sent.size(), c.sent);
        EXPECT_TRUE(f.refused.empty());
        EXPECT_EQ(f.texts.contains("Text9"), c.shown);
        EXPECT_FALSE(f.m.bTickRunning);
    }
}
