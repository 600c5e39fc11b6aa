#include <gtest/gtest.h>

#include <array>

#include "fake_panel.h"
#include "operations/output_monitor.h"

namespace {

using Replies = std::array<const char*, 3>;

// Text9 (kV), Text10 (mA), Text11 (filament).
Commands Shown(FakeWindow& w) { return {w.texts["Text9"], w.texts["Text10"], w.texts["Text11"]}; }

TEST(OutputMonitor, AveragesScalesAndCorrectsThreeSamples) {
    struct Case {
        Replies replies;
        double gain, offset;
        Commands shown;
    };
    const auto same = [](const char* r) { return Replies{r, r, r}; };
    const char* zero = "S0000,0000,0000;";
    const Case cases[] = {
        {same(zero), 0, 0, {".000", ".000", ".000 (.0)"}},
        {same("S0100,0100,0100;"), 0, 0, {".977", ".977", ".977 (.5)"}},
        {same("S0512,0512,0512;"), 0, 0, {"5.000", "5.000", "5.000 (2.5)"}},
        {same("S1000,1000,1000;"), 0, 0, {"9.766", "9.766", "9.766 (4.9)"}},
        {same("S1023,1023,1023;"), 0, 0, {"9.990", "9.990", "9.990 (5.0)"}},
        // Fields at 2, 7 and 12: filament, kV, mA.
        {same("S0512,0100,1000;"), 0, 0, {".977", "9.766", "5.000 (2.5)"}},
        {{"S0000,1000,0;", "S0000,1001,0;", "S0000,1001,0;"}, 0, 0, {"9.775", ".000", ".000 (.0)"}},
        // 12.5 leaves 12 in the sum (13, plus 1, would average 5 and show .049).
        {{"S0000,12.5,0;", "S0000,0001,0;", zero}, 0, 0, {".039", ".000", ".000 (.0)"}},
        // 13.5 leaves 14 (13 would average 4 and show .039).
        {{"S0000,13.5,0;", zero, zero}, 0, 0, {".049", ".000", ".000 (.0)"}},
        {same("S0512,0512,0512;"), 0.0861, 0.0501, {"5.481", "5.481", "5.481 (2.7)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replies[0]);
        FakePanel f;
        f.m.dAdGain = c.gain;
        f.m.dAdOffset = c.offset;
        f.w.texts["Text11"] = "1.000 (.5)";
        for (const char* reply : c.replies)
            f.link.answer("S1", {reply});
        Command5_Click(f.p);
        EXPECT_EQ(f.link.sent, (Commands{"A1", "wait 50", "S1", "S1", "S1"}));
        EXPECT_EQ(Shown(f.w), c.shown);
    }
}

TEST(OutputMonitor, KeepsBoxesWhenRefusedEmptiesThemWhenFailedOrGarbled) {
    struct Case {
        int failing; // 0: A1, 1..3: the S1 rounds
        CommandOutcome outcome;
        const char* reply;
        std::size_t sent;
        bool kept;
    };
    const Case cases[] = {
        {0, Refused, "", 0, true},
        {2, Refused, "", 3, true},
        {1, Closing, "", 3, true},
        {0, Failed, "", 5, false},
        {3, Failed, "", 5, false},
        // Sums beyond 16 bits: 32000 fits, 1024 + 32000 does not.
        {1, Complete, "S0000,9E99,0000;", 3, false},
        {2, Complete, "S0000,0000,-9E9;", 4, false},
        {3, Complete, "S32E3,0000,0000;", 5, false},
    };
    const Commands before{"1.000", "2.000", "3.000 (1.5)"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        FakePanel f;
        f.w.texts = {{"Text9", before[0]}, {"Text10", before[1]}, {"Text11", before[2]}};
        for (int i = 0; i <= 3; ++i)
            f.link.answer(i == 0 ? "A1" : "S1", i == c.failing ? Exchange{c.reply, c.outcome}
                                                               : Exchange{"S0512,0512,0512;"});
        Command5_Click(f.p);
        EXPECT_EQ(f.link.sent.size(), c.sent);
        EXPECT_EQ(Shown(f.w), c.kept ? before : (Commands{"", "", ""}));
    }
}

TEST(OutputMonitor, StopsWhenTheWindowClosesDuringTheWait) {
    FakePanel f;
    f.link.duringWait = [&] { f.m.bUnloading = true; };
    Command5_Click(f.p);
    EXPECT_EQ(f.link.sent, (Commands{"A1", "wait 50"}));
    EXPECT_TRUE(f.w.texts.empty());
}

TEST(OutputMonitor, DoesNothingWithoutAPort) {
    FakePanel f;
    f.m.i_comPort = 0;
    Command5_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty());
    EXPECT_TRUE(f.w.texts.empty());
}

} // namespace
