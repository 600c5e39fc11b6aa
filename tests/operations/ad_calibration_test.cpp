#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/ad_calibration.h"

namespace {

TEST(AdCalibration, ReadShowsTheRegistersAndTakesCoefficientsFromTheBoxes) {
    struct Case {
        const char* r12;
        const char* r13;
        const char* text21;
        const char* text22;
        double gain, offset;
    };
    const Case cases[] = {
        {"R861;", "R501;", "0.0861", "0.0501", 0.0861, 0.0501},
        {"R95000;", "R90000;", "9.5000", "9.0000", 0, 9},
        {"R-100;", "R-95000;", "-0.0100", "-9.5000", -0.01, -9.5},
        // The coefficient carries the four decimals shown.
        {"R861.7;", "R;", "0.0862", "0.0000", 0.0862, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r12);
        FakePanel f;
        f.link.answer("R12", {c.r12});
        f.link.answer("R13", {c.r13});
        Command8_Click(f.p);
        EXPECT_EQ(f.link.sent, (Commands{"R12", "R13"}));
        EXPECT_EQ(f.w.texts, (Texts{{"Text21", c.text21}, {"Text22", c.text22}}));
        EXPECT_DOUBLE_EQ(f.m.dAdGain, c.gain);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, c.offset);
    }
}

TEST(AdCalibration, UnreadCoefficientKeepsBoxAndValue) {
    struct Case {
        CommandOutcome outcome; // of "R12"
        std::size_t sent;
        double offset;
        const char* warned;
    };
    const Case cases[] = {
        {Failed, 2, 0.0501, "AD_GAIN (Text21)"},
        {Refused, 0, 0.5, "AD_GAIN (Text21), AD_OFFSET (Text22)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warned);
        FakePanel f;
        f.m.dAdGain = 0.25;
        f.m.dAdOffset = 0.5;
        f.w.texts = {{"Text21", "0.2500"}, {"Text22", "0.5000"}};
        f.link.answer("R12", {"R1;", c.outcome});
        f.link.answer("R13", {"R501;"});
        Command8_Click(f.p);
        EXPECT_EQ(f.link.sent.size(), c.sent);
        EXPECT_EQ(f.w.texts["Text21"], "0.2500");
        EXPECT_EQ(f.m.dAdGain, 0.25);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, c.offset);
        EXPECT_EQ(f.m.pendingWarnings,
                  Commands{std::string("A/D Calibration EEPROM READ: not read from the "
                                       "controller, so these boxes keep their earlier text: ") +
                           c.warned + "."});
    }
}

TEST(AdCalibration, WriteSendsUnroundedAndTakesCoefficientsWithoutTheLimit) {
    struct Case {
        const char* text21;
        const char* cmd;
        double gain;
    };
    const Case cases[] = {
        {"0.0861", "W12,861", 0.0861},
        {"9.5", "W12,95000", 9.5},
        {"0.08615", "W12,861.5", 0.08615},
        {"abc", "W12,0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text21);
        FakePanel f;
        f.w.texts = {{"Text21", c.text21}, {"Text22", "0.0501"}};
        Command7_Click(f.p);
        EXPECT_EQ(f.link.sent, (Commands{c.cmd, "W13,501"}));
        EXPECT_DOUBLE_EQ(f.m.dAdGain, c.gain);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, 0.0501);
    }
}

TEST(AdCalibration, WriteTakesOnlyCoefficientsTheControllerTook) {
    struct Case {
        const char* text21;
        CommandOutcome outcome; // of "W12,3000"
        Commands sent;
        double offset;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"0.3", Failed, {"W12,3000", "W13,501"}, 0.0501, 0},
        {"0.3", Refused, {}, 0.5, 1},
        {"1E400", Complete, {"W13,501"}, 0.0501, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent.size());
        FakePanel f;
        f.m.dAdGain = 0.25;
        f.m.dAdOffset = 0.5;
        f.w.texts = {{"Text21", c.text21}, {"Text22", "0.0501"}};
        f.link.answer("W12,3000", {"W;", c.outcome});
        Command7_Click(f.p);
        EXPECT_EQ(f.link.sent, c.sent);
        EXPECT_EQ(f.m.dAdGain, 0.25);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, c.offset);
        EXPECT_EQ(f.m.pendingWarnings.size(), c.warnings);
    }
}

TEST(AdCalibration, PasswordMustMatchExactly) {
    struct Case {
        std::deque<std::string> answers;
        std::size_t shown;
    };
    const Case cases[] = {{{"qvx"}, 1},  {{"QVX"}, 0}, {{"Qvx"}, 0},        {{" qvx"}, 0},
                          {{"qvx "}, 0}, {{""}, 0},    {{"qvx", "qvx"}, 2}, {{"x", "qvx"}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.front() + "|");
        FakePanel f;
        f.m.i_comPort = 0; // the prompt needs no port
        f.boxes.answers = c.answers;
        for (std::size_t i = 0; i < c.answers.size(); ++i)
            AD_Calibration_Click(f.p);
        EXPECT_EQ(f.boxes.prompts.front(), "Password?|Kelvara");
        EXPECT_EQ(f.w.framesShown, Commands(c.shown, "Frame6"));
        EXPECT_TRUE(f.boxes.shown.empty());
    }
}

TEST(AdCalibration, DebugButtonSendsItsCommand) {
    FakePanel f;
    Command2_Click(f.p);
    f.link.answer("F3.8", {"", Refused});
    Command2_Click(f.p);
    EXPECT_EQ(f.link.sent, Commands{"F3.8"});
    EXPECT_EQ(f.m.pendingWarnings,
              Commands{"debug Command2: F3.8 was not sent because the link was busy with another "
                       "command."});
}

TEST(AdCalibration, NothingIsSentOrChangedWithoutAPort) {
    FakePanel f;
    f.m.i_comPort = 0;
    f.m.dAdGain = 0.0861;
    f.m.dAdOffset = 0.0501;
    f.w.texts = {{"Text21", "0.5"}, {"Text22", "0.7"}};
    Command8_Click(f.p);
    Command7_Click(f.p);
    Command2_Click(f.p);
    EXPECT_TRUE(f.link.sent.empty());
    EXPECT_EQ(f.m.dAdGain, 0.0861);
    EXPECT_EQ(f.m.dAdOffset, 0.0501);
    EXPECT_EQ(f.w.texts["Text21"], "0.5");
}

} // namespace
