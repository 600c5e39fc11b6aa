#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <fstream>

#include "operations/status_flag_boxes.h"
#include "platform/qt/qt_message_boxes.h"
#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

using Strings = std::vector<std::string>;

const BoxName kParameterBoxes[] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text5",  "Text6",
                                   "Text15", "Text16", "Text17", "Text18", "Text19", "Text20"};

// A read and a write through faults that once put wrong values into the controller: a stray
// ";" ahead of every reply at wire speed, and replies so late that the resends are answered
// too. Then the technician's edits, steps and calibration go out by their buttons.
TEST(Session, StaleAndLateRepliesReadAndWriteTheStoredValues) {
    // Late by more than two reply time-outs: every send is answered.
    const std::pair<Strings, int32_t> cases[] = {
        {{"--stale-semicolon", "--split", "3", "--noise", "0"}, 200},
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
        if (timeoutMs == 80) {
            continue;
        }
        rig.form->setText("Text1", "2.05");
        rig.form->setText("Text18", "0.00005");
        rig.click("Command3");
        rig.click("KV_UP");
        rig.form->setText("Text8", "40");
        rig.click("Command4");
        rig.boxes.answer = "qvx";
        rig.choose("AD_Calibration");
        rig.form->setText("Text22", "0.0511");
        rig.click("Command7");
        EXPECT_TRUE(rig.boxes.shown.empty());
        ASSERT_TRUE(simControl(8, "stale-semicolon off"));
        rig.serial().MSComm5.setInBufferCount(0);
        Strings stored;
        for (const char* cmd : {"R0", "R1", "R2", "R9", "R12", "R13", "S1"}) {
            EXPECT_EQ(Rs232cCommand(rig.serial(), cmd), CommandOutcome::Complete);
            stored.push_back(rig.state().sRecvBuf);
        }
        // 11 kV and 40 mA are 188 and 512 counts.
        EXPECT_EQ(stored, (Strings{"R20.5;", "R38;", "R500;", "R.5;", "R861;", "R511;",
                                   "S0512,0188,0512;"}));
    }
}

// Values that the boxes round, and a 0 that a "#" box shows as the empty text, go back to the
// board as it stores them when the technician only reads and writes.
TEST(Session, ReadThenWriteLeavesTheBoardAsItWas) {
    SimulatedWindow rig(10, {"--no-pacing"}, 400);
    ASSERT_TRUE(rig.ready);
    const Strings stored{"W01,38.5", "W02,805", "W04,0", "c1640.5", "d-.5"};
    for (const std::string& cmd : stored) {
        ASSERT_EQ(Rs232cCommand(rig.serial(), cmd), CommandOutcome::Complete);
    }
    rig.click("Command1");
    EXPECT_EQ(rig.text("Text2") + " " + rig.text("Text3") + " [" + rig.text("Text5") + "] " +
                  rig.text("Text17") + " " + rig.text("Text18"),
              "3.9 81 [] 0.1641 -0.0001");
    rig.click("Command3");
    EXPECT_TRUE(rig.boxes.shown.empty());
    Strings read;
    for (const char* cmd : {"R1", "R2", "R4", "R8", "R9"}) {
        EXPECT_EQ(Rs232cCommand(rig.serial(), cmd), CommandOutcome::Complete);
        read.push_back(rig.state().sRecvBuf);
    }
    EXPECT_EQ(read, (Strings{"R38.5;", "R805;", "R0;", "R1640.5;", "R-.5;"}));
}

// Answered only after two resends, the status read shows its flags as soon as the reply is in;
// the replies still owed to the resends are taken off the line by the next command.
TEST(Session, AResentCommandShowsItsReplyAtOnce) {
    SimulatedWindow rig(9, {"--late", "170", "--noise", "0", "--flags", "1100000000011"}, 80);
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.click("Command6");
    std::string flags;
    for (const CaptionedBox& b : kStatusFlagBoxes) {
        flags += rig.text(b.box);
    }
    EXPECT_EQ(flags, "0011111111100");
    EXPECT_TRUE(rig.state().lateReplies.has_value());
    rig.click("Command8");
    EXPECT_EQ(rig.text("Text21") + " " + rig.text("Text22"), "0.0861 0.0501");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

// Clicks that come while a monitoring tick waits for its replies run after it: every step goes
// out, none is refused.
TEST(Session, ThirtyStepsClickedDuringMonitoringAllGoOut) {
    SimulatedWindow rig(11, {"--noise", "0", "--late", "20"});
    ASSERT_TRUE(rig.ready);
    rig.form->show();
    rig.choose("IntervalStart");
    int clicks = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (++clicks == 30) {
            clicker.stop();
        }
        rig.click("KV_UP");
    });
    clicker.start(7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 30 && rig.text("Text7") == "40"; }, 10000));
    rig.choose("IntervalStop");
    EXPECT_EQ(rig.text("Text7"), "40");
    EXPECT_TRUE(rig.boxes.shown.empty());
    // 40 kV are 683 counts.
    EXPECT_EQ(Rs232cCommand(rig.serial(), "S1"), CommandOutcome::Complete);
    EXPECT_EQ(rig.state().sRecvBuf.substr(6, 4), "0683");
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
    EXPECT_FALSE(rig.form->timerEnabled());
    EXPECT_FALSE(rig.serial().MSComm5.portOpen());
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R0"), CommandOutcome::Closing);
    ASSERT_TRUE(simControl(3, "silent off"));
    WindowRig next;
    next.state().i_comPort = 3;
    EXPECT_TRUE(next.session().Form_Load());
}

// Closing the window while one of its boxes is open ends the box: the procedure that opened it
// returns and the window goes.
TEST(Shutdown, ClosingEndsTheOpenBox) {
    QtMessageBoxes boxes;
    RecordingTones tones;
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
// words, every flag raised and the monitor boxes emptied; later reads fail at once without a
// box or an adapter reset; once a controller is on the line again the next read brings the
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
    EXPECT_TRUE(told.starts_with("COM7: ") &&
                told.ends_with(": the link to the controller was lost: the USB adapter was "
                               "unplugged or stopped answering. Reconnect it; Kelvara "
                               "reconnects by itself."))
        << told;
    EXPECT_EQ(rig.text("Text12(0)") + rig.text("Text13") + rig.text("Text14"), "111");
    std::remove((portlinks::workFolder() + "/fake-devcon.log").c_str());
    rig.form->setText("Text14", "0");
    rig.click("Command5");
    EXPECT_EQ(rig.text("Text9") + rig.text("Text10") + rig.text("Text11"), "");
    EXPECT_EQ(rig.text("Text14"), "1");
    EXPECT_EQ(rig.boxes.shown.size(), 1U);
    EXPECT_FALSE(std::ifstream(portlinks::workFolder() + "/fake-devcon.log"));
    SimProcess back;
    ASSERT_TRUE(back.start({"--port", "7", "--counts", "512,1024,100", "--noise", "0"}));
    rig.click("Command5");
    EXPECT_EQ(rig.text("Text9"), "10.911");
    EXPECT_EQ(rig.boxes.shown.size(), 1U);
    EXPECT_FALSE(rig.state().bPortLost);
}

} // namespace
