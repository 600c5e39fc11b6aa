#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <fstream>

#include "platform/qt/qt_message_boxes.h"
#include "serial/failure_text.h"
#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

using Strings = std::vector<std::string>;

const BoxName kParameterBoxes[] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text5",  "Text6",
                                   "Text15", "Text16", "Text17", "Text18", "Text19", "Text20"};

// A read through faults that once put wrong values into the boxes, and from there into the
// controller: a stray ";" ahead of every reply at wire speed, and replies so late that the
// resends are answered too.
TEST(Session, StaleAndLateRepliesReadTheStoredValues) {
    struct Case {
        Strings simArgs;
        int32_t timeoutMs;
    };
    // Late by more than two reply time-outs: every send is answered.
    const Case cases[] = {{{"--stale-semicolon", "--split", "3", "--noise", "0"}, 200},
                          {{"--late", "170", "--noise", "0"}, 80}};
    for (const auto& [simArgs, timeoutMs] : cases) {
        SCOPED_TRACE(timeoutMs);
        SimulatedWindow rig(8, simArgs, timeoutMs);
        ASSERT_TRUE(rig.ready);
        rig.form->show();
        EXPECT_EQ(rig.text("Text21") + " " + rig.text("Text22"), "0.0861 0.0501");
        for (const BoxName box : kParameterBoxes) {
            rig.form->setText(box, "");
        }
        rig.click("Command1");
        std::string read;
        for (const BoxName box : kParameterBoxes) {
            read += rig.text(box) + " ";
        }
        EXPECT_EQ(read, "2.0 3.8 50 30.0 10 2.0 10 2.0 0.1640 0.0001 0.1210 0.0000 ");
        EXPECT_TRUE(rig.boxes.shown.empty());
    }
}

// Monitoring stops, no adapter reset is started, and the port is closed and free for the next
// program.
TEST(Shutdown, ClosingTheWindowDuringAWaitEndsEverything) {
    SimulatedWindow rig(3, {}, 3000);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.choose("IntervalStart");
    ASSERT_TRUE(simControl(3, "silent on"));
    QTimer::singleShot(100, rig.form.get(), [&] { rig.form->close(); });
    rig.click("Command1");
    EXPECT_TRUE(rig.state().bUnloading);
    EXPECT_FALSE(rig.serial().MSComm5.portOpen());
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.state().i_comPort = 3;
    EXPECT_TRUE(next.session().Form_Load());
}

// Closing the window while one of its boxes is open ends the box: the procedure that opened it
// returns and the window goes.
TEST(Shutdown, ClosingEndsTheOpenBox) {
    QtMessageBoxes boxes;
    SilentTones tones;
    QtProcessRunner console;
    Form1 form({boxes, tones, console, "", portlinks::portLinkFolder(), portlinks::workFolder(),
                /*linksOnly=*/true});
    boxes.setParent(&form);
    form.show();
    bool ended = true;
    QTimer::singleShot(200, &form, [&] { form.close(); });
    // Left open, the box would hold the test for ever.
    QTimer::singleShot(5000, &form, [&] {
        ended = false;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible()) {
                dialog->reject();
            }
        }
    });
    form.findChild<QAction*>("AD_Calibration")->trigger();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(form.isVisible());
}

// The adapter pulled (the simulator ends and its line goes away): one box in the lost link's
// words and every flag raised; once a controller is on the line again the next read brings the
// link back by itself.
TEST(LostPort, ToldOnceShownFailedAndBackByItself) {
    const Strings counts{"--counts", "512,1024,100", "--noise", "0"};
    SimulatedWindow rig(7, counts);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.click("Command5");
    ASSERT_EQ(rig.text("Text9"), "10.911");
    rig.sim.stop();
    // The hang-up reaches the window while it is idle.
    QTest::qWait(200);
    rig.click("Command6");
    ASSERT_EQ(rig.boxes.shown.size(), 1U);
    const std::string& told = rig.boxes.shown[0].text;
    EXPECT_TRUE(told.starts_with("COM7: ") && told.ends_with(kLostLinkText)) << told;
    EXPECT_EQ(rig.text("Text12(0)") + rig.text("Text13") + rig.text("Text14"), "111");
    SimProcess back;
    ASSERT_TRUE(back.start({"--port", "7", "--counts", "512,1024,100", "--noise", "0"}));
    rig.click("Command5");
    EXPECT_EQ(rig.text("Text9"), "10.911");
    EXPECT_EQ(rig.boxes.shown.size(), 1U);
}

} // namespace
