#include <gtest/gtest.h>

#include <algorithm>

#include "fake_panel.h"
#include "operations/ad_calibration.h"

// "R13" answers "R501;". At start-up the boxes hold design texts that no controller gave: one
// not read is emptied and named in a warning; a later read keeps it.
TEST(AdCalibration, ReadTakesCoefficientsFromTheBoxesItFilled) {
    // A gain above 9 is not used; the coefficient carries the four decimals shown.
    struct Case {
        bool startUp;
        const char *reply, *shown; // of "R12", in Text21
        CommandOutcome outcome;
        double gain; // kept
    };
    const Case cases[] = {{false, "R95000;", "9.5000", Complete, 0},
                          {false, "R90000;", "9.0000", Complete, 9},
                          {false, "R-100;", "-0.0100", Complete, -0.01},
                          {false, "R861.7;", "0.0862", Complete, 0.0862},
                          {false, "R1;", "old", Failed, 0.25},
                          {true, "R1;", "", Failed, 0.25},
                          {true, "R;", "", Complete, 0.25}};
    for (const auto& [startUp, reply, shown, outcome, gain] : cases) {
        SCOPED_TRACE(reply);
        FakePanel f;
        f.m.dAdGain = 0.25;
        f.texts["Text21"] = "old";
        f.answer("R12", {reply, outcome});
        f.answer("R13", {"R501;"});
        startUp ? readCalibrationAtStartUp(f.p) : Command8_Click(f.p);
        EXPECT_EQ(f.sent, (Strings{"R12", "R13"}));
        EXPECT_EQ(f.texts, (Texts{{"Text21", shown}, {"Text22", "0.0501"}}));
        EXPECT_DOUBLE_EQ(f.m.dAdGain, gain);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, 0.0501);
        EXPECT_EQ(f.m.pendingWarnings.size(), gain == 0.25 ? 1u : 0u);
        if (startUp) {
            EXPECT_TRUE(f.m.pendingWarnings.at(0).ends_with(
                "(AD_GAIN (Text21)). These boxes are empty and the monitor is not corrected by "
                "them."));
        }
    }
}

// At start-up an offset not read is emptied as well, the gain read shown.
TEST(AdCalibration, StartUpEmptiesEveryBoxNotRead) {
    FakePanel f;
    f.texts["Text22"] = "old";
    f.answer("R12", {"R861.7;"});
    f.answer("R13", {"", Failed});
    readCalibrationAtStartUp(f.p);
    EXPECT_EQ(f.texts, (Texts{{"Text21", "0.0862"}, {"Text22", ""}}));
}

TEST(AdCalibration, WriteTakesOnlyCoefficientsTheControllerTook) {
    struct Case {
        const char* text21;
        CommandOutcome outcome; // of "W12,95000"
        Strings sent;
        double gain, offset; // kept
        std::size_t warnings;
    };
    const Case cases[] = {{"9.5", Complete, {"W12,95000", "W13,501"}, 9.5, 0.0501, 0},
                          {"0.08615", Complete, {"W12,861.5", "W13,501"}, 0.08615, 0.0501, 0},
                          {"9.5", Failed, {"W12,95000", "W13,501"}, 0.25, 0.0501, 0},
                          {"9.5", Refused, {}, 0.25, 0.25, 1},
                          {"1E400", Complete, {"W13,501"}, 0.25, 0.0501, 1},
                          {"", Complete, {"W13,501"}, 0.25, 0.0501, 1}};
    for (const auto& [text21, outcome, sent, gain, offset, warnings] : cases) {
        SCOPED_TRACE(std::string(text21) + " " + std::to_string(sent.size()));
        FakePanel f;
        f.m.dAdGain = f.m.dAdOffset = 0.25;
        f.texts = {{"Text21", text21}, {"Text22", "0.0501"}};
        f.answer("W12,95000", {"W;", outcome});
        Command7_Click(f.p);
        EXPECT_EQ(f.sent, sent);
        EXPECT_DOUBLE_EQ(f.m.dAdGain, gain);
        EXPECT_DOUBLE_EQ(f.m.dAdOffset, offset);
        EXPECT_EQ(f.m.pendingWarnings.size(), warnings);
        // Refused, AD_GAIN stops the write before AD_OFFSET.
        EXPECT_EQ(
            std::ranges::count_if(f.m.pendingWarnings,
                                  [](const auto& w) { return w.ends_with("not sent either."); }),
            outcome == Refused ? 1 : 0);
    }
    // Refused at AD_OFFSET, the last: no command after it goes unsent.
    FakePanel last;
    last.texts = {{"Text21", "9.5"}, {"Text22", "0.0501"}};
    last.answer("W13,501", {"", Refused});
    Command7_Click(last.p);
    EXPECT_EQ(last.m.pendingWarnings, Strings{"A/D Calibration EEPROM WRITE: W13,501 was not sent "
                                              "because the link was busy with another command."});
}

// The box shows four decimals; the coefficient read goes back as the controller stores it.
TEST(AdCalibration, WriteAfterReadSendsTheStoredValues) {
    FakePanel f;
    f.answer("R12", {"R861.7;"});
    f.answer("R13", {"R-.5;"});
    Command8_Click(f.p);
    EXPECT_EQ(f.texts, (Texts{{"Text21", "0.0862"}, {"Text22", "-0.0001"}}));
    f.sent.clear();
    Command7_Click(f.p);
    EXPECT_EQ(f.sent, (Strings{"W12,861.7", "W13,-.5"}));
    EXPECT_DOUBLE_EQ(f.m.dAdGain, 0.0862);
}

// Each click asks again; only the exact password reveals the frame.
TEST(AdCalibration, PasswordMustMatchExactly) {
    const std::pair<Strings, std::size_t> cases[] = {{{"qvx"}, 1}, {{"Qvx"}, 0}, {{"x", "qvx"}, 1}};
    for (const auto& [answers, shown] : cases) {
        SCOPED_TRACE(answers.back());
        FakePanel f;
        f.m.i_comPort = 0; // the prompt needs no port
        f.answers = answers;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            AD_Calibration_Click(f.p);
        }
        EXPECT_EQ(f.prompts, Strings(answers.size(), "Password?"));
        EXPECT_EQ(f.frames, Strings(shown, "Frame6"));
    }
}

TEST(AdCalibration, DebugButtonSendsF38) {
    FakePanel f;
    Command2_Click(f.p);
    EXPECT_TRUE(f.m.pendingWarnings.empty());
    f.answer("F3.8", {"", Refused});
    Command2_Click(f.p);
    EXPECT_EQ(f.sent, Strings{"F3.8"});
    EXPECT_EQ(f.m.pendingWarnings.size(), 1u);
}
