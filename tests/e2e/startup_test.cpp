#include <gtest/gtest.h>

#include <QAction>

#include "tests/e2e/window_rig.h"

namespace {

TEST(StartUp, ScanPassesOverASilentPortOpensTheControllerAndReadsTheCalibration) {
    SimProcess silent;
    ASSERT_TRUE(silent.start({"--port", "2", "--silent"}));
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port", "7"}));
    WindowRig rig;
    rig.form->state().iComRetryCount = 9;
    ASSERT_TRUE(rig.form->Form_Load());
    const auto& m = rig.form->state();
    EXPECT_EQ(m.i_comPort, 7);
    EXPECT_EQ((std::vector<int32_t>{m.iUsbRetryCount, m.iUsbRecoveryTime, m.iComRetryCount,
                                    m.iComRecoveryTime}),
              (std::vector<int32_t>{1, 3000, 2, 3000}));
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{880, 1320, 1760}));
    EXPECT_DOUBLE_EQ(m.dAdGain, 0.0861);
    EXPECT_DOUBLE_EQ(m.dAdOffset, 0.0501);
    EXPECT_EQ(rig.text("Text21"), "0.0861");
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(rig.form->timerEnabled());
    // Start-up reads only the calibration: the parameter boxes keep their design texts.
    EXPECT_EQ(rig.text("Text3"), "50");

    rig.form->show();
    rig.tones.tones.clear();
    rig.form->findChild<QAction*>("End")->trigger();
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{1760, 1320, 880}));
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_TRUE(rig.form->state().bUnloading);
}

TEST(StartUp, WithoutControllerSaysDeviceIsNotFound) {
    WindowRig rig;
    EXPECT_FALSE(rig.form->Form_Load());
    EXPECT_EQ(rig.shownTexts(), std::vector<std::string>{"Device is not found."});
    EXPECT_TRUE(rig.tones.tones.empty());
    EXPECT_EQ(rig.form->state().i_comPort, 0);
}

} // namespace
