#include <gtest/gtest.h>

#include <QAction>

#include "tests/e2e/window_rig.h"

namespace {

struct Monitored : SimulatedWindow {
    Monitored() : SimulatedWindow(6, {"--noise", "0"}) {
        EXPECT_TRUE(ready);
        form->show();
    }
    void start() { form->findChild<QAction*>("IntervalStart")->trigger(); }
};

TEST(IntervalMonitoring, CountsSetInTheSimulatorShowAfterATick) {
    Monitored rig;
    ASSERT_TRUE(simControl(6, "counts 512 1024 100"));
    rig.start();
    ASSERT_TRUE(serveUntil([&] { return !rig.text("Text11").empty(); }));
    // Corrected with the controller's calibration 0.0861 / 0.0501.
    EXPECT_EQ(rig.text("Text9"), "10.911");
    EXPECT_EQ(rig.text("Text10"), "1.111");
    EXPECT_EQ(rig.text("Text11"), "5.481 (2.7)");
    EXPECT_EQ(rig.text("Text12(0)"), "1");
    EXPECT_TRUE(rig.form->findChild<QAction*>("IntervalStart")->isChecked());
    EXPECT_FALSE(rig.form->findChild<QAction*>("IntervalStop")->isChecked());
}

TEST(IntervalMonitoring, FlagRaisedInTheSimulatorShowsInItsBox) {
    Monitored rig;
    rig.start();
    ASSERT_TRUE(serveUntil([&] { return rig.text("Text14") == "1"; }));
    ASSERT_TRUE(simControl(6, "flag 0 1"));
    ASSERT_TRUE(simControl(6, "flag 12 1"));
    ASSERT_TRUE(serveUntil([&] { return rig.text("Text14") == "0"; }));
    EXPECT_EQ(rig.text("Text12(0)"), "0");
    EXPECT_EQ(rig.text("Text12(1)"), "1");
}

TEST(IntervalMonitoring, StopLeavesNoFurtherTick) {
    Monitored rig;
    rig.start();
    ASSERT_TRUE(serveUntil([&] { return !rig.text("Text9").empty(); }));
    rig.form->findChild<QAction*>("IntervalStop")->trigger();
    EXPECT_FALSE(rig.form->timerEnabled());
    rig.form->setText("Text9", "");
    ASSERT_TRUE(simControl(6, "counts 512 512 512"));
    QTest::qWait(400);
    EXPECT_EQ(rig.text("Text9"), "");
    EXPECT_TRUE(rig.form->findChild<QAction*>("IntervalStop")->isChecked());
}

} // namespace
