#include <gtest/gtest.h>

#include <QTimer>
#include <fstream>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

TEST(TransactionOverTheWire, ClosingTheWindowDuringAWaitEndsEverything) {
    SimulatedWindow rig(3, {}, 3000);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    ASSERT_TRUE(simControl(3, "silent on"));
    QTimer::singleShot(100, rig.form.get(), [&] { rig.form->close(); });
    rig.click("Command1");
    EXPECT_TRUE(rig.form->state().bUnloading);
    EXPECT_EQ(rig.form->state().bCommBusy, 0);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.text("Text1"), "2.0");
    // No adapter reset was started.
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    EXPECT_EQ(Rs232cCommand(rig.form->serial(), "R0"), CommandOutcome::Closing);
    // The port was closed: another program can take it.
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.form->state().i_comPort = 3;
    EXPECT_TRUE(next.form->Form_Load());
    EXPECT_TRUE(next.boxes.shown.empty());
}

} // namespace
