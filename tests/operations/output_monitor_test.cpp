#include <gtest/gtest.h>

#include <array>

#include "fake_panel.h"
#include "operations/output_monitor.h"

// Text9 (kV), Text10 (mA), Text11 (filament).
static Strings shown(FakePanel& f) {
    return {f.texts["Text9"], f.texts["Text10"], f.texts["Text11"]};
}

TEST(OutputMonitor, AveragesScalesAndCorrectsThreeSamples) {
    const char* zero = "S0000,0000,0000;";
    const auto same = [](const char* r) { return std::array{r, r, r}; };
    struct Case {
        std::array<const char*, 3> replies;
        double gain, offset;
        Strings shown;
    };
    const Case cases[] = {
        {same(zero), 0, 0, {".000", ".000", ".000 (.0)"}},
        {same("S0100,0100,0100;"), 0, 0, {".977", ".977", ".977 (.5)"}},
        {same("S1023,1023,1023;"), 0, 0, {"9.990", "9.990", "9.990 (5.0)"}},
        // Fields at 2, 7 and 12: filament, kV, mA.
        {same("S0512,0100,1000;"), 0, 0, {".977", "9.766", "5.000 (2.5)"}},
        {{"S0000,1000,0;", "S0000,1001,0;", "S0000,1001,0;"}, 0, 0, {"9.775", ".000", ".000 (.0)"}},
        // The sum is rounded half to even after each addition: 12.5 leaves 12, 13.5 leaves 14.
        {{"S0000,12.5,0;", "S0000,0001,0;", zero}, 0, 0, {".039", ".000", ".000 (.0)"}},
        {{"S0000,13.5,0;", zero, zero}, 0, 0, {".049", ".000", ".000 (.0)"}},
        {same("S0512,0512,0512;"), 0.0861, 0.0501, {"5.481", "5.481", "5.481 (2.7)"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replies[0]);
        FakePanel f;
        f.m.dAdGain = c.gain;
        f.m.dAdOffset = c.offset;
        for (const char* reply : c.replies) {
            f.answer("S1", {reply});
        }
        EXPECT_TRUE(Command5_Click(f.p));
        EXPECT_EQ(f.sent, (Strings{"A1", "wait 50", "S1", "S1", "S1"}));
        EXPECT_EQ(shown(f), c.shown);
    }
}

TEST(OutputMonitor, KeepsBoxesWhenRefusedEmptiesThemWhenFailedOrGarbled) {
    // Sums beyond 16 bits empty the boxes: 1024 + 32000 is too much.
    struct Case {
        int failing; // the failing call: 0 A1, 1..3 the S1 rounds
        CommandOutcome outcome;
        const char* reply;
        std::size_t sent; // calls made
        bool kept;        // the boxes keep their text
    };
    const Case cases[] = {{0, Refused, "", 0, true},
                          {2, Refused, "", 3, true},
                          {1, Closing, "", 3, true},
                          {0, Failed, "", 5, false},
                          {1, Complete, "S0000,9E99,0000;", 3, false},
                          {3, Complete, "S0512,,0512;", 5, false},
                          {3, Complete, "S32E3,0000,0000;", 5, false}};
    const Strings before{"1.000", "2.000", "3.000 (1.5)"};
    for (const auto& [failing, outcome, reply, sent, kept] : cases) {
        SCOPED_TRACE(failing);
        FakePanel f;
        f.texts = {{"Text9", before[0]}, {"Text10", before[1]}, {"Text11", before[2]}};
        for (int i = 0; i <= 3; ++i) {
            f.answer(i == 0 ? "A1" : "S1",
                     i == failing ? Exchange{reply, outcome} : Exchange{"S0512,0512,0512;"});
        }
        EXPECT_FALSE(Command5_Click(f.p));
        EXPECT_EQ(f.sent.size(), sent);
        EXPECT_EQ(shown(f), kept ? before : (Strings{"", "", ""}));
    }
}
