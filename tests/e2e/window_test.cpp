#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>
#include <fstream>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

// Start-up scans past a silent port, opens the controller quietly with the rising tones; End
// sounds the falling ones.
TEST(StartUp, ScanPassesOverASilentPortAndOpensTheController) {
    SimProcess silent, sim;
    ASSERT_TRUE(silent.start({"--port", "2", "--silent"}));
    ASSERT_TRUE(sim.start({"--port", "7"}));
    WindowRig rig;
    ASSERT_TRUE(rig.form->Form_Load());
    EXPECT_EQ(rig.state().i_comPort, 7);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(rig.form->timerEnabled());
    rig.form->show();
    rig.form->findChild<QAction*>("End")->trigger();
    EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{880, 1320, 1760, 1760, 1320, 880}));
    EXPECT_FALSE(rig.form->isVisible());
}

// No adapter reset is started, and the port is free for the next program.
TEST(Shutdown, ClosingTheWindowDuringAWaitEndsEverything) {
    SimulatedWindow rig(3, {}, 3000);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    ASSERT_TRUE(simControl(3, "silent on"));
    QTimer::singleShot(100, rig.form.get(), [&] { rig.form->close(); });
    rig.click("Command1");
    EXPECT_TRUE(rig.state().bUnloading);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R0"), CommandOutcome::Closing);
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.state().i_comPort = 3;
    EXPECT_TRUE(next.form->Form_Load());
}
