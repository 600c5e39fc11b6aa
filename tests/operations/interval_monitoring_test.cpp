#include <gtest/gtest.h>

#include <functional>

#include "fake_panel.h"
#include "operations/interval_monitoring.h"
#include "operations/output_monitor.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"
#include "operations/set_points.h"
#include "operations/status_flags.h"

namespace {

const Commands kTick{"E", "A1", "wait 50", "S1", "S1", "S1"};
using Marks = std::map<std::string, bool>;

// What the window system does: an expiry runs a tick only while the timer is enabled.
void Expire(FakePanel& f) {
    if (f.w.timer)
        Timer1_Timer(f.p);
}

TEST(IntervalMonitoring, TicksOnlyBetweenStartAndStop) {
    FakePanel f;
    Expire(f);
    IntervalStart_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty()); // the first tick comes one interval later
    EXPECT_EQ(f.w.checked, (Marks{{"IntervalStart", true}, {"IntervalStop", false}}));
    Expire(f);
    Expire(f);
    IntervalStop_Click(f.p);
    Expire(f);
    Commands twice = kTick;
    twice.insert(twice.end(), kTick.begin(), kTick.end());
    EXPECT_EQ(f.link.sent, twice);
    EXPECT_EQ(f.w.checked, (Marks{{"IntervalStart", false}, {"IntervalStop", true}}));
}

TEST(IntervalMonitoring, StartWhileOnDoesNotRestartTheTimer) {
    FakePanel f;
    IntervalStart_Click(f.p);
    IntervalStart_Click(f.p);
    EXPECT_TRUE(f.w.timer);
    EXPECT_EQ(f.w.timerEnables, 1);
    EXPECT_EQ(f.w.checked, (Marks{{"IntervalStart", true}, {"IntervalStop", false}}));
}

TEST(IntervalMonitoring, StopDuringATickLetsItFinish) {
    FakePanel f;
    IntervalStart_Click(f.p);
    f.link.answer("E", {"E1,1,1,1,1,1,1,1,1,1,1,1,1;", Complete, [&] { IntervalStop_Click(f.p); }});
    Expire(f);
    Expire(f);
    EXPECT_EQ(f.link.sent, kTick);
    EXPECT_EQ(f.w.texts["Text9"], ".000");
    EXPECT_EQ(f.w.texts["Text14"], "0");
}

TEST(IntervalMonitoring, ExpiryDuringATickIsSkipped) {
    FakePanel f;
    IntervalStart_Click(f.p);
    f.link.answer("E", {"E;", Complete, [&] { Expire(f); }});
    f.link.duringWait = [&] { Expire(f); };
    Expire(f);
    EXPECT_EQ(f.link.sent, kTick);
    EXPECT_TRUE(f.link.refused.empty()); // skipped, not run nested
    EXPECT_FALSE(f.m.bTickRunning);
}

TEST(IntervalMonitoring, ClickDuringATickTransactionSendsNothing) {
    const std::function<void(Panel&)> clicks[] = {Command5_Click, Command6_Click, Command1_Click,
                                                  Command3_Click, Command4_Click, KV_UP_Click};
    for (const auto& click : clicks) {
        FakePanel f;
        f.w.texts = {{"Text7", "10"}, {"Text3", "50"}};
        IntervalStart_Click(f.p);
        f.link.answer("S1", {"S0512,0512,0512;", Complete, [&] { click(f.p); }});
        Expire(f);
        EXPECT_EQ(f.link.sent, kTick);
        EXPECT_EQ(f.link.refused.size(), 1u);
        EXPECT_EQ(f.w.texts["Text7"], "10");
    }
}

TEST(IntervalMonitoring, TickEndsAtOnceWhenTheWindowCloses) {
    FakePanel f;
    IntervalStart_Click(f.p);
    f.link.answer("E", {"", Closing, [&] { f.m.bUnloading = true; }});
    Expire(f);
    EXPECT_EQ(f.link.sent, Commands{"E"});
    EXPECT_FALSE(f.m.bTickRunning);
}

} // namespace
