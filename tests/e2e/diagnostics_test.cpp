#include <gtest/gtest.h>

#include <QAction>
#include <algorithm>
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

// The adapter reset runs the device console as a process, and the trace holds it in order.
TEST(DiagnosticTrace, HoldsTheAdapterResetAndReopenInOrder) {
    const std::string id = R"(@USB\\VID_1A86&PID_7523\\SIM3)";
    const Strings steps{"no reply to R2: closing the port to reset the adapter",
                        "kelvara-fake-devcon find USB* > ",
                        "disable " + id + ": exit 0",
                        "enable " + id + ": exit 0",
                        "COM3 open (reopening the port)",
                        R"(COM3 received "R500;")",
                        "R2 complete"};
    std::remove(diagnosticPath().c_str());
    SimulatedWindow rig(3, {"--no-pacing"}, 200);
    ASSERT_TRUE(rig.ready);
    rig.session().traceTo(diagnosticPath());
    ASSERT_TRUE(simControl(3, "silent-until-enable"));
    EXPECT_EQ(Rs232cCommand(rig.serial(), "R2"), CommandOutcome::Complete);
    auto step = steps.begin();
    for (const auto& line : lines()) {
        step += step != steps.end() && line.find(*step) != std::string::npos;
    }
    EXPECT_EQ(step, steps.end()) << *step << " missing in order";
}

// A diagnostic file that cannot be opened or written is reported once, in the trace too, and
// the window works on.
TEST(DiagnosticFiles, AFileThatFailsIsReportedOnce) {
    std::remove(diagnosticPath().c_str());
    SimulatedWindow rig(5, {"--counts", "512,512,512", "--no-pacing"}, 100);
    const std::string nowhere = portlinks::workFolder() + "/no-folder/record.csv";
    rig.session().recordTo(nowhere);
    rig.session().traceTo(diagnosticPath());
    rig.session().recordTo("/dev/full");
    rig.choose("IntervalStart");
    QTest::qWait(300);
    const std::string told = "Record file /dev/full cannot be written: No space left on device. "
                             "The record stops here; the program runs on.";
    EXPECT_EQ(rig.boxes.shown,
              (std::vector<Shown>{{"Record file " + nowhere +
                                       " cannot be opened: No such file or directory. The "
                                       "program runs on without a record.",
                                   0x1030},
                                  {told, 0x1030}}));
    EXPECT_EQ(std::ranges::count_if(lines(),
                                    [&](const std::string& line) {
                                        return line.find("message box \"" + told + "\"") !=
                                               std::string::npos;
                                    }),
              1);
    EXPECT_EQ(rig.text("Text9"), "5.481");
}

// After stop no tick follows. A part of a tick that was not read has empty fields, never the
// boxes' raised flags or earlier values.
TEST(MonitoringRecord, EachTickAppendsTheBoxesItRead) {
    struct Case {
        const char* control; // told to the simulator
        std::size_t ticks;
        bool flagsRead, monitorRead;
    };
    const Case cases[] = {{"noise 0", 10, true, true},
                          {"silent on", 1, false, false},
                          {"out-of-range on", 1, true, false}};
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
}

} // namespace
