#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/ad_calibration.h"
#include "operations/interval_monitoring.h"
#include "operations/output_monitor.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"
#include "operations/set_points.h"
#include "operations/status_flags.h"

const Click kClicks[] = {Command1_Click, Command2_Click, Command3_Click, Command4_Click,
                         Command5_Click, Command6_Click, Command7_Click, Command8_Click,
                         KV_UP_Click,    KV_DN_Click,    mA_UP_Click,    mA_DN_Click};
// Bounds that let every stepper step.
const Texts kTexts{{"Text7", "10"}, {"Text8", "2"}, {"Text3", "50"},      {"Text4", "30"},
                   {"Text5", "5"},  {"Text6", "1"}, {"Text21", "0.0861"}, {"Text22", "0.0501"}};

// Without a port, or while a tick's transaction is open, no click sends or changes anything.
TEST(ClickGuards, NothingIsSentWithoutAPortOrDuringATickTransaction) {
    for (std::size_t i = 0; i < std::size(kClicks); ++i) {
        SCOPED_TRACE(i);
        FakePanel idle, ticking;
        idle.m.i_comPort = 0;
        idle.m.dAdGain = 0.0861;
        idle.m.dAdOffset = 0.0501;
        idle.texts = ticking.texts = kTexts;
        kClicks[i](idle.p);
        EXPECT_TRUE(idle.sent.empty());
        EXPECT_EQ(idle.texts, kTexts);
        EXPECT_EQ(std::pair(idle.m.dAdGain, idle.m.dAdOffset), std::pair(0.0861, 0.0501));
        ticking.answer("S1", {"S0512,0512,0512;", Complete, [&] { kClicks[i](ticking.p); }});
        Timer1_Timer(ticking.p);
        EXPECT_EQ(ticking.sent, (Strings{"E", "A1", "wait 50", "S1", "S1", "S1"}));
        EXPECT_EQ(ticking.refused.size(), 1u);
        EXPECT_EQ(ticking.texts["Text7"] + ticking.texts["Text8"], "102");
    }
    // Nothing read: a monitoring record must not take the boxes for this tick's values.
    FakePanel f;
    f.m.i_comPort = 0;
    EXPECT_FALSE(Command5_Click(f.p) || Command6_Click(f.p));
}
