#include <gtest/gtest.h>

#include <QTimer>
#include <fstream>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

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
