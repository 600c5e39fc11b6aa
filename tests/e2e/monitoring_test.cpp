#include <gtest/gtest.h>

#include <QAction>

#include "tests/e2e/window_rig.h"

namespace {

// Counts and flags set in the simulator show after a tick; after stop no tick follows.
TEST(IntervalMonitoring, ShowsWhatTheControllerReportsUntilStopped) {
    SimulatedWindow rig(6, {"--noise", "0"});
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    ASSERT_TRUE(simControl(6, "counts 512 1024 100"));
    ASSERT_TRUE(simControl(6, "flag 12 1"));
    rig.form->findChild<QAction*>("IntervalStart")->trigger();
    ASSERT_TRUE(serveUntil([&] { return !rig.text("Text11").empty(); }));
    // Corrected with the controller's calibration 0.0861 / 0.0501.
    EXPECT_EQ(rig.text("Text9"), "10.911");
    EXPECT_EQ(rig.text("Text10"), "1.111");
    EXPECT_EQ(rig.text("Text11"), "5.481 (2.7)");
    EXPECT_EQ(rig.text("Text12(0)"), "1");
    EXPECT_EQ(rig.text("Text14"), "0");
    rig.form->findChild<QAction*>("IntervalStop")->trigger();
    EXPECT_FALSE(rig.form->timerEnabled());
    rig.form->setText("Text9", "");
    QTest::qWait(300);
    EXPECT_EQ(rig.text("Text9"), "");
    EXPECT_TRUE(rig.form->findChild<QAction*>("IntervalStop")->isChecked());
}

} // namespace
