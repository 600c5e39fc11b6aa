#include <gtest/gtest.h>

#include <QAction>

#include "tests/e2e/window_rig.h"

namespace {

TEST(StartUp, FindsTheSimulatorOpensItsPortAndReadsTheCalibration) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port", "7"}));
    WindowRig rig;
    rig.state().iComRetryCount = 9;
    ASSERT_TRUE(rig.form->Form_Load());
    const auto& m = rig.state();
    EXPECT_EQ(m.i_comPort, 7);
    EXPECT_EQ(m.iUsbRetryCount, 1);
    EXPECT_EQ(m.iUsbRecoveryTime, 3000);
    EXPECT_EQ(m.iComRetryCount, 2);
    EXPECT_EQ(m.iComRecoveryTime, 3000);
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{880, 1320, 1760}));
    EXPECT_DOUBLE_EQ(m.dAdGain, 0.0861);
    EXPECT_DOUBLE_EQ(m.dAdOffset, 0.0501);
    EXPECT_EQ(rig.text("Text21"), "0.0861");
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(rig.form->timerEnabled());
    EXPECT_TRUE(rig.form->findChild<QAction*>("IntervalStop")->isChecked());
    // Start-up reads only the calibration: the parameter boxes keep their design texts.
    EXPECT_EQ(rig.text("Text3"), "50");
}

TEST(StartUp, WithoutControllerSaysDeviceIsNotFound) {
    WindowRig rig;
    EXPECT_FALSE(rig.form->Form_Load());
    EXPECT_EQ(rig.shownTexts(), std::vector<std::string>{"Device is not found."});
    EXPECT_EQ(rig.boxes.shown[0].flags, 0);
    EXPECT_EQ(rig.boxes.shown[0].title, "Kelvara");
    EXPECT_TRUE(rig.tones.tones.empty());
    EXPECT_EQ(rig.state().i_comPort, 0);
    EXPECT_FALSE(rig.form->isVisible());
}

TEST(StartUp, SilentPortIsPassedOverForTheController) {
    SimProcess silent;
    ASSERT_TRUE(silent.start({"--port", "2", "--silent"}));
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port", "5"}));
    WindowRig rig;
    ASSERT_TRUE(rig.form->Form_Load());
    EXPECT_EQ(rig.state().i_comPort, 5);
}

TEST(Shutdown, ClosingStopsMonitoringThenClosesThePort) {
    SimulatedWindow rig(4);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.form->findChild<QAction*>("IntervalStart")->trigger();
    ASSERT_TRUE(rig.form->timerEnabled());
    rig.form->close();
    EXPECT_FALSE(rig.form->timerEnabled());
    EXPECT_TRUE(rig.state().bUnloading);
    // The port is free again: another program can open it.
    WindowRig second;
    second.state().i_comPort = 4;
    EXPECT_TRUE(second.form->Form_Load());
    EXPECT_TRUE(second.boxes.shown.empty());
    EXPECT_EQ(rig.tones.tones.size(), 3u) << "closing sounds no tone";
}

TEST(Shutdown, EndSoundsTheFallingTonesAndCloses) {
    SimulatedWindow rig(4);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.tones.tones.clear();
    rig.form->findChild<QAction*>("End")->trigger();
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{1760, 1320, 880}));
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_TRUE(rig.state().bUnloading);
}

} // namespace
