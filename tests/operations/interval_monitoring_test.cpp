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

// On a lost port the tick stops at its first failed command and shows the failed state there:
// every flag raised and the monitor boxes emptied, never the last live readings. A status read
// that fails on a port still there does not stop the tick.
TEST(IntervalMonitoring, LostPortEndsTheTickAtItsFirstFailedCommand) {
    const struct Case {
        const char* failing;
        int turn; // which call of that command fails
        std::size_t sent;
        bool lost;
    } cases[] = {{"E", 0, 1, true}, {"A1", 0, 2, true}, {"S1", 1, 5, true}, {"E", 0, 6, false}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.failing);
        FakePanel f;
        f.texts = {{"Text9", "1.000"}, {"Text10", "2.000"}, {"Text11", "3.000 (1.5)"}};
        for (int i = 0; i < t.turn; ++i) {
            f.answer(t.failing, {"S0512,0512,0512;"});
        }
        f.answer(t.failing, {"", Failed, [&] { f.m.bPortLost = t.lost; }});
        IntervalStart_Click(f.p);
        expire(f);
        EXPECT_EQ(f.sent.size(), t.sent);
        for (const BoxName box :
             {BoxName("Text12(0)"), BoxName("Text12(10)"), BoxName("Text13"), BoxName("Text14")}) {
            EXPECT_EQ(f.texts[box], "1") << std::string(box);
        }
        EXPECT_EQ(f.texts["Text9"] + f.texts["Text10"] + f.texts["Text11"], "");
    }
}
