#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

std::string registerValue(WindowRig& rig, const std::string& readCommand) {
    EXPECT_EQ(Rs232cCommand(rig.serial(), readCommand), CommandOutcome::Complete);
    return rig.state().sRecvBuf;
}

// A technician's session driven by clicks: read, edit, write, read back, step, update,
// calibrate, and the monitor reflecting the new calibration.
TEST(Session, ReadEditWriteReadBackStepUpdateCalibrate) {
    SimulatedWindow rig(9, {"--noise", "0"});
    ASSERT_TRUE(rig.ready);
    rig.form->show();

    rig.click("Command1");
    EXPECT_EQ(rig.text("Text1"), "2.0");
    EXPECT_EQ(rig.text("Text3"), "50");
    EXPECT_EQ(rig.text("Text17"), "0.1640");
    EXPECT_EQ(rig.text("Text18"), "0.0001");

    rig.form->setText("Text1", "2.05");
    rig.form->setText("Text3", "80.5");
    rig.form->setText("Text18", "0.00005");
    rig.click("Command3");
    EXPECT_EQ(registerValue(rig, "R0"), "R20.5;");
    EXPECT_EQ(registerValue(rig, "R2"), "R805;");
    EXPECT_EQ(registerValue(rig, "R9"), "R.5;");

    // The kV maximum is shown whole: 805 reads as 81 and goes back as 810.
    rig.click("Command1");
    EXPECT_EQ(rig.text("Text3"), "81");
    EXPECT_EQ(rig.text("Text1"), "2.1");
    rig.click("Command3");
    EXPECT_EQ(registerValue(rig, "R2"), "R810;");

    rig.click("KV_UP");
    EXPECT_EQ(rig.text("Text7"), "11");
    rig.form->setText("Text8", "40");
    rig.click("Command4");

    rig.boxes.answer = "qvx";
    rig.form->findChild<QAction*>("AD_Calibration")->trigger();
    EXPECT_TRUE(rig.form->findChild<QGroupBox*>("Frame6")->isVisible());
    rig.form->setText("Text21", "0");
    rig.form->setText("Text22", "0");
    rig.click("Command7");
    EXPECT_EQ(rig.state().dAdGain, 0);
    EXPECT_EQ(registerValue(rig, "R12"), "R0;");

    rig.click("Command5");
    // 11 kV and 40 mA are 188 and 512 counts; without correction 1.836 and 5.000.
    EXPECT_EQ(rig.text("Text9"), "1.836");
    EXPECT_EQ(rig.text("Text10"), "5.000");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

const std::vector<const char*> kParameterBoxes{"Text1",  "Text2",  "Text3",  "Text4",
                                               "Text5",  "Text6",  "Text15", "Text16",
                                               "Text17", "Text18", "Text19", "Text20"};
// The simulator's start registers as the boxes show them.
const std::vector<std::string> kStoredTexts{"2.0", "3.8", "50",     "30.0",   "10",     "2.0",
                                            "10",  "2.0", "0.1640", "0.0001", "0.1210", "0.0000"};
const std::vector<std::string> kStoredReplies{"R20;",  "R38;", "R500;",  "R300;", "R100;",  "R20;",
                                              "R100;", "R20;", "R1640;", "R1;",   "R1210;", "R0;"};

std::vector<std::string> boxTexts(WindowRig& rig, const std::vector<const char*>& boxes) {
    std::vector<std::string> texts;
    texts.reserve(boxes.size());
    for (const char* box : boxes) {
        texts.push_back(rig.text(box));
    }
    return texts;
}

// A read then a write through faults that once put wrong values into the controller: a
// stray ";" ahead of every reply at wire speed, and replies so late that the resends are
// answered too (late by more than one and more than two reply time-outs).
TEST(Session, StaleAndLateRepliesReadAndWriteTheStoredValues) {
    struct Case {
        const char* name;
        std::vector<std::string> simArgs;
        int32_t timeoutMs;
    };
    const Case cases[] = {
        {"stray semicolon, split replies, wire speed",
         {"--stale-semicolon", "--split", "3", "--noise", "0"},
         400},
        {"late past one time-out", {"--late", "120", "--noise", "0"}, 100},
        {"late past two time-outs", {"--late", "230", "--noise", "0"}, 100},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        SimulatedWindow rig(8, tc.simArgs, tc.timeoutMs);
        ASSERT_TRUE(rig.ready);
        EXPECT_EQ(boxTexts(rig, {"Text21", "Text22"}),
                  (std::vector<std::string>{"0.0861", "0.0501"}));
        EXPECT_DOUBLE_EQ(rig.state().dAdGain, 0.0861);
        ASSERT_TRUE(simControl(8, "flags 1011001110001"));
        ASSERT_TRUE(simControl(8, "counts 512 1024 100"));
        rig.click("Command6");
        EXPECT_EQ(boxTexts(rig, {"Text12(0)", "Text12(1)", "Text12(2)", "Text12(3)", "Text12(10)",
                                 "Text13", "Text14"}),
                  (std::vector<std::string>{"0", "1", "0", "0", "1", "1", "0"}));
        rig.click("Command5");
        EXPECT_EQ(boxTexts(rig, {"Text9", "Text10", "Text11"}),
                  (std::vector<std::string>{"10.911", "1.111", "5.481 (2.7)"}));
        for (const char* box : kParameterBoxes) {
            rig.form->setText(box, "");
        }
        rig.click("Command1");
        EXPECT_EQ(boxTexts(rig, kParameterBoxes), kStoredTexts);
        rig.click("Command3");
        EXPECT_TRUE(rig.boxes.shown.empty());
        ASSERT_TRUE(simControl(8, "late 0"));
        ASSERT_TRUE(simControl(8, "stale-semicolon off"));
        QTest::qWait(tc.timeoutMs * 3);
        rig.serial().MSComm5.setInBufferCount(0);
        std::vector<std::string> stored;
        stored.reserve(12);
        for (int r = 0; r < 12; ++r) {
            stored.push_back(registerValue(rig, "R" + std::to_string(r)));
        }
        EXPECT_EQ(stored, kStoredReplies);
    }
}

} // namespace
