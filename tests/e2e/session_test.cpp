#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

std::string registerValue(WindowRig& rig, const std::string& readCommand) {
    EXPECT_EQ(Rs232cCommand(rig.form->serial(), readCommand), CommandOutcome::Complete);
    return rig.form->state().sRecvBuf;
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
    EXPECT_EQ(rig.form->state().dAdGain, 0);
    EXPECT_EQ(registerValue(rig, "R12"), "R0;");

    rig.click("Command5");
    // 11 kV and 40 mA are 188 and 512 counts; without correction 1.836 and 5.000.
    EXPECT_EQ(rig.text("Text9"), "1.836");
    EXPECT_EQ(rig.text("Text10"), "5.000");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

} // namespace
