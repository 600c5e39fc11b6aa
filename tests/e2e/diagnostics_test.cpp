#include <gtest/gtest.h>

#include <QAction>
#include <clocale>
#include <fstream>
#include <regex>
#include <sstream>

#include "common/split_text.h"
#include "operations/monitor_boxes.h"
#include "operations/status_flag_boxes.h"
#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

using Strings = std::vector<std::string>;

// In the test program's private runtime folder, known once main has made it.
std::string diagnosticPath() { return portlinks::workFolder() + "/diagnostic"; }
const std::regex kTimestamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})");

// The diagnostic file's lines, each without its "\n".
Strings lines() {
    std::ostringstream text;
    text << std::ifstream(diagnosticPath(), std::ios::binary).rdbuf();
    Strings all = splitAt(text.str(), '\n');
    all.pop_back(); // what follows the last line end
    return all;
}

// Start-up scans past a silent port, or probes only the port chosen, and opens the controller
// quietly with the rising tones and the start-up retry settings; End sounds the falling ones.
// Without a controller it ends with its message.
TEST(StartUp, ScanPassesOverASilentPortOrProbesTheChosenOneAlone) {
    for (const int16_t chosen : std::initializer_list<int16_t>{0, 7}) {
        SCOPED_TRACE(chosen);
        SimProcess silent, sim;
        ASSERT_TRUE(silent.start({"--port", "2", "--silent"}));
        ASSERT_TRUE(sim.start({"--port", "7"}));
        std::remove(diagnosticPath().c_str());
        WindowRig rig;
        rig.session().traceTo(diagnosticPath());
        if (chosen != 0) {
            rig.session().choosePort(chosen);
        }
        ASSERT_TRUE(rig.session().Form_Load());
        const ModuleState& s = rig.state();
        EXPECT_EQ(std::vector<int>({s.i_comPort, s.iUsbRetryCount, s.iUsbRecoveryTime,
                                    s.iComRetryCount, s.iComRecoveryTime}),
                  std::vector<int>({7, 1, 3000, 2, 3000}));
        EXPECT_EQ(
            std::ranges::count_if(
                lines(), [](const auto& line) { return line.find("probe COM") != line.npos; }),
            chosen != 0 ? 1 : 2);
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_FALSE(rig.form->timerEnabled());
        rig.form->show();
        rig.choose("End");
        EXPECT_EQ(rig.tones.tones, (std::vector<uint32_t>{880, 1320, 1760, 1760, 1320, 880}));
        EXPECT_FALSE(rig.form->isVisible());
    }
    // With no controller on any port the window does not come up.
    WindowRig none;
    EXPECT_FALSE(none.session().Form_Load());
    EXPECT_EQ(none.boxes.shown, (std::vector<Shown>{{"Device is not found.", 0x0}}));
}

TEST(DiagnosticTrace, HoldsTheAdapterResetAndReopenInOrder) {
    const std::string send = R"(COM3 send "R2\r\n")";
    const std::string id = R"(@USB\\VID_1A86&PID_7523\\SIM3)";
    const Strings steps{send,
                        "resend 2 of 2",
                        "COM3 time-out of R2 after 200 ms, nothing received",
                        "no reply to R2: closing the port to reset the adapter",
                        "kelvara-fake-devcon find USB* > ",
                        "disable " + id + ": exit 0",
                        R"(adapter status of COM3: "    Device is disabled.")",
                        "enable " + id + ": exit 0",
                        "COM3 open (reopening the port)",
                        send,
                        R"(COM3 received "R500;")",
                        "R2 complete",
                        R"(input box "Password?")"};
    std::remove(diagnosticPath().c_str());
    SimulatedWindow rig(3, {"--no-pacing"}, 200);
    ASSERT_TRUE(rig.ready);
    rig.session().traceTo(diagnosticPath());
    ASSERT_TRUE(simControl(3, "silent-until-enable"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R2"), CommandOutcome::Complete);
    // The window's boxes go into the trace too.
    rig.choose("AD_Calibration");
    EXPECT_TRUE(rig.boxes.shown.empty());
    auto step = steps.begin();
    for (const auto& line : lines()) {
        EXPECT_TRUE(std::regex_search(line, kTimestamp, std::regex_constants::match_continuous))
            << line;
        step += step != steps.end() && line.find(*step) != std::string::npos;
    }
    EXPECT_EQ(step, steps.end()) << *step << " missing in order";
}

TEST(DiagnosticFiles, OneThatCannotBeOpenedOrWrittenIsReportedOnceAndTheWindowWorksOn) {
    const std::pair<bool, std::string> cases[] = {
        {true, "Trace file /nonexistent-kelvara-folder/diag cannot be opened: No such file or "
               "directory. The program runs on without a trace."},
        {false, "Record file /dev/full cannot be written: No space left on device. The record "
                "stops here; the program runs on."}};
    for (const auto& [trace, message] : cases) {
        SCOPED_TRACE(message);
        SimulatedWindow rig(5, {"--counts", "512,512,512", "--no-pacing"}, 100);
        trace ? rig.session().traceTo("/nonexistent-kelvara-folder/diag")
              : rig.session().recordTo("/dev/full");
        rig.choose("IntervalStart");
        QTest::qWait(300);
        EXPECT_EQ(rig.boxes.shown, (std::vector<Shown>{{message, 0x1030}}));
        EXPECT_EQ(rig.text("Text9"), "5.481");
    }
}

// After stop no tick follows. A part of a tick that was not read has empty fields, never the boxes'
// raised flags or earlier values; numbers take "." whatever the locale.
TEST(MonitoringRecord, EachTickAppendsTheBoxesItReadEvenUnderAGermanLocale) {
    struct Case {
        const char* control; // told to the simulator
        std::size_t ticks;
        bool flagsRead, monitorRead;
    };
    const Case cases[] = {{"noise 0", 10, true, true},
                          {"silent on", 1, false, false},
                          {"out-of-range on", 1, true, false}};
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    for (const auto& [control, ticks, flagsRead, monitorRead] : cases) {
        SCOPED_TRACE(control);
        std::remove(diagnosticPath().c_str());
        SimulatedWindow rig(6, {"--counts", "512,512,512", "--no-pacing"}, 100);
        ASSERT_TRUE(rig.ready);
        rig.state().iComRetryCount = 0;
        rig.state().iUsbRetryCount = 0;
        rig.session().recordTo(diagnosticPath());
        ASSERT_TRUE(simControl(6, control));
        std::size_t ticked = 0;
        QObject::connect(rig.form->findChild<QTimer*>("Timer1"), &QTimer::timeout,
                         [&] { ++ticked; });
        rig.choose("IntervalStart");
        ASSERT_TRUE(QTest::qWaitFor([&, wanted = ticks] { return ticked == wanted; }, 10000));
        rig.choose("IntervalStop");
        QTest::qWait(ticks == 10 ? 300 : 0);
        // The values hold still: every row is the boxes as the last tick left them.
        std::string shown;
        for (const CaptionedBox& b : kMonitorBoxes) {
            shown += "," + (monitorRead ? rig.text(b.box) : "");
        }
        for (const CaptionedBox& b : kStatusFlagBoxes) {
            shown += "," + (flagsRead ? rig.text(b.box) : "");
        }
        const Strings rows = lines();
        ASSERT_EQ(rows.size(), ticks + 1);
        EXPECT_EQ(rows[0], "time,KV,mA,FIL,XRAY_STATUS,OVER_VOLT_ERR,KV_MIN_ERR,OVER_PWE_ERR,"
                           "FIL_LMT_ERR,OVER_CURR_ERR,TEMP_ERR,KV_REG_ERR,mA_REG_ERR,ARC_ERR,"
                           "OPEN_FIL_ERR,WATAR,DOOR\r");
        for (std::size_t t = 1; t < rows.size(); ++t) {
            EXPECT_TRUE(std::regex_match(rows[t].substr(0, 23), kTimestamp)) << rows[t];
            EXPECT_EQ(rows[t].substr(23), shown + "\r");
        }
        EXPECT_EQ(shown.starts_with(",5.481,"), monitorRead) << shown;
    }
    std::setlocale(LC_ALL, before.c_str());
}

} // namespace
