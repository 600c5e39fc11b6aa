#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>
#include <fstream>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

// Start-up scans past a silent port, takes the controller's calibration and sounds the rising
// tones; End sounds the falling ones.
TEST(StartUp, ScanPassesOverASilentPortOpensTheControllerAndReadsTheCalibration) {
    SimProcess silent, sim;
    ASSERT_TRUE(silent.start({"--port", "2", "--silent"}));
    ASSERT_TRUE(sim.start({"--port", "7"}));
    WindowRig rig;
    rig.state().iComRetryCount = 9;
    ASSERT_TRUE(rig.form->Form_Load());
    const auto& m = rig.state();
    EXPECT_EQ(m.i_comPort, 7);
    EXPECT_EQ((std::vector<int32_t>{m.iUsbRetryCount, m.iUsbRecoveryTime, m.iComRetryCount,
                                    m.iComRecoveryTime}),
              (std::vector<int32_t>{1, 3000, 2, 3000}));
    EXPECT_DOUBLE_EQ(m.dAdGain, 0.0861);
    EXPECT_DOUBLE_EQ(m.dAdOffset, 0.0501);
    EXPECT_EQ(rig.text("Text21"), "0.0861");
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(rig.form->timerEnabled());
    // Start-up reads only the calibration: the parameter boxes keep their design texts.
    EXPECT_EQ(rig.text("Text3"), "50");
    rig.form->show();
    rig.form->findChild<QAction*>("End")->trigger();
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{880, 1320, 1760, 1760, 1320, 880}));
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_TRUE(rig.state().bUnloading);
}

// Counts and flags set in the simulator show after a tick; after stop no tick follows.
TEST(IntervalMonitoring, ShowsWhatTheControllerReportsUntilStopped) {
    SimulatedWindow rig(6, {"--noise", "0"});
    ASSERT_TRUE(rig.ready);
    ASSERT_TRUE(simControl(6, "counts 512 1024 100"));
    ASSERT_TRUE(simControl(6, "flag 12 1"));
    rig.form->findChild<QAction*>("IntervalStart")->trigger();
    ASSERT_TRUE(serveUntil([&] { return !rig.text("Text11").empty(); }));
    // Corrected with the controller's calibration 0.0861 / 0.0501.
    EXPECT_EQ(rig.text("Text9"), "10.911");
    EXPECT_EQ(rig.text("Text10"), "1.111");
    EXPECT_EQ(rig.text("Text11"), "5.481 (2.7)");
    EXPECT_EQ(rig.text("Text12(0)") + rig.text("Text14"), "10");
    rig.form->findChild<QAction*>("IntervalStop")->trigger();
    rig.form->setText("Text9", "");
    QTest::qWait(300);
    EXPECT_EQ(rig.text("Text9"), "");
    EXPECT_TRUE(rig.form->findChild<QAction*>("IntervalStop")->isChecked());
}

TEST(Shutdown, ClosingTheWindowDuringAWaitEndsEverything) {
    SimulatedWindow rig(3, {}, 3000);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    ASSERT_TRUE(simControl(3, "silent on"));
    QTimer::singleShot(100, rig.form.get(), [&] { rig.form->close(); });
    rig.click("Command1");
    EXPECT_TRUE(rig.state().bUnloading);
    EXPECT_EQ(rig.state().bCommBusy, 0);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.text("Text1"), "2.0");
    // No adapter reset was started.
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R0"), CommandOutcome::Closing);
    // The port was closed: another program can take it.
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.state().i_comPort = 3;
    EXPECT_TRUE(next.form->Form_Load());
    EXPECT_TRUE(next.boxes.shown.empty());
}
