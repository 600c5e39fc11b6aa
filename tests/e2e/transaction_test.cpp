#include <gtest/gtest.h>

#include <QTimer>
#include <fstream>
#include <sstream>

#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

std::string deviceConsoleLog() {
    std::ifstream in(portlinks::workFolder() + "/fake-devcon.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TransactionOverTheWire, SilentAdapterIsResetAndTheReplyComesAfterReopening) {
    SimulatedWindow rig(3, {}, 200);
    ASSERT_TRUE(rig.ready);
    ASSERT_TRUE(simControl(3, "silent-until-enable"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R2"), CommandOutcome::Complete);
    EXPECT_EQ(rig.state().sRecvBuf, "R500;");
    EXPECT_EQ(rig.state().iUsbErr, 1);
    EXPECT_TRUE(rig.boxes.shown.empty());
    const std::string log = deviceConsoleLog();
    const std::string id = "@USB\\VID_1A86&PID_7523\\SIM3";
    EXPECT_NE(
        log.find("find USB*\ndisable " + id + "\nstatus USB*\nenable " + id + "\nstatus USB*\n"),
        std::string::npos)
        << log;
}

TEST(TransactionOverTheWire, ClosingTheWindowDuringAWaitEndsEverything) {
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
    EXPECT_EQ(deviceConsoleLog().find("find"), std::string::npos);
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R0"), CommandOutcome::Closing);
    // The port was closed: another program can take it.
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.state().i_comPort = 3;
    EXPECT_TRUE(next.form->Form_Load());
    EXPECT_TRUE(next.boxes.shown.empty());
}

} // namespace
