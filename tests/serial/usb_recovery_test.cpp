#include <gtest/gtest.h>

#include "serial/usb_recovery.h"
#include "tests/support/serial_rig.h"

namespace {

const std::string kFind = "USB\\VID_0403&PID_6001\\A10K1: FT232R USB UART (COM12)\n"
                          "USB\\VID_1A86&PID_7523\\1-1.2: USB Serial (COM1)\n"
                          "USB\\ROOT_HUB30\\4&1: USB Root Hub\n"
                          "3 matching device(s) found.\n";

std::string status(const std::string& com, const std::string& state) {
    return "USB\\VID_0403&PID_6001\\A10K1\n    Name: FT232R USB UART (COM12)\n"
           "    Driver is running.\n"
           "USB\\VID_1A86&PID_7523\\1-1.2\n    Name: USB Serial (" +
           com + ")\n    " + state + "\n2 matching device(s) found.\n";
}

std::vector<std::string> joined(const std::vector<ToolRun>& runs) {
    std::vector<std::string> lines;
    for (const auto& run : runs) {
        std::string line;
        for (const auto& a : run.args) {
            line += (line.empty() ? "" : " ") + a;
        }
        lines.push_back(line);
    }
    return lines;
}

// Each wait ends 1 ms past its time: 3000 ms settle waits take 3001, poll pauses 1001.
TEST(UsbDeviceRecover, RunsTheToolInItsOrderWithItsWaits) {
    const std::string running = status("COM1", "Driver is running.");
    const std::string disabled = status("COM1", "Device is disabled.");
    struct Case {
        const char* name;
        std::string find;
        std::vector<std::string> statuses;
        std::vector<std::string> expectedRuns;
        uint32_t expectedMs;
        uint32_t unloadAt = 0; // the window closes then; 0: it stays open
    };
    const std::string enable = "enable @USB\\VID_1A86&PID_7523\\1-1.2";
    const std::vector<std::string> disableRuns{"find USB*",
                                               "disable @USB\\VID_1A86&PID_7523\\1-1.2"};
    const auto then = [](std::vector<std::string> runs, std::vector<std::string> more) {
        runs.insert(runs.end(), more.begin(), more.end());
        return runs;
    };
    const Case cases[] = {
        {"switches at once",
         kFind,
         {disabled, running},
         {"find USB*", "disable @USB\\VID_1A86&PID_7523\\1-1.2", "status USB*",
          "enable @USB\\VID_1A86&PID_7523\\1-1.2", "status USB*"},
         6002},
        {"no device matches",
         "USB\\ROOT_HUB30\\4&1: USB Root Hub\n",
         {running},
         {"find USB*", "disable", "status USB*", "status USB*", "status USB*", "enable",
          "status USB*"},
         9005},
        {"disabled shows at the second poll",
         kFind,
         {running, disabled, running},
         {"find USB*", "disable @USB\\VID_1A86&PID_7523\\1-1.2", "status USB*", "status USB*",
          "enable @USB\\VID_1A86&PID_7523\\1-1.2", "status USB*"},
         7003},
        {"no line names the port: its last line is the status",
         kFind,
         {"USB\\Y\n    Name: Other (COM5)\n    Device is disabled.\n"},
         then(disableRuns, {"status USB*", enable, "status USB*", "status USB*", "status USB*"}),
         9005},
        // Once disabled, every way out enables the adapter again.
        {"status line is the last line",
         kFind,
         {"USB\\X\n    Name: USB Serial (COM1)"},
         then(disableRuns, {"status USB*", enable}),
         3001},
        {"status listing unreadable",
         kFind,
         {""},
         then(disableRuns, {"status USB*", enable}),
         3001},
        {"closing in the settle wait", kFind, {disabled}, then(disableRuns, {enable}), 1500, 1500},
        {"closing in a poll pause",
         kFind,
         {running},
         then(disableRuns, {"status USB*", enable}),
         3500,
         3500},
        {"match in the first piece ends it", "COM1: odd\n", {running}, {"find USB*"}, 0},
        {"no USB\\ before the match ends it", "PCI\\X: Port (COM1)\n", {running}, {"find USB*"}, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        SerialRig rig;
        rig.defaults();
        rig.console.findListing = tc.find;
        rig.console.statusListings = tc.statuses;
        if (tc.unloadAt != 0) {
            rig.pump.at(tc.unloadAt, [&] { rig.m.bUnloading = true; });
        }
        UsbDeviceRecover(rig.c, "COM1");
        EXPECT_EQ(joined(rig.console.runs), tc.expectedRuns);
        EXPECT_EQ(rig.counter.now, tc.expectedMs);
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_EQ(rig.console.lastProgram, "kelvara-devcon");
    }
}

TEST(UsbDeviceRecover, PortNameMatchesAsWholeName) {
    struct Case {
        std::string sCom;
        std::string expectedArgument;
    };
    const Case cases[] = {
        {"COM1", "@USB\\VID_1A86&PID_7523\\1-1.2"},
        {"COM12", "@USB\\VID_0403&PID_6001\\A10K1"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.sCom);
        SerialRig rig;
        rig.defaults();
        rig.console.findListing = kFind;
        rig.console.statusListings = {status("COM1", "Device is disabled.")};
        UsbDeviceRecover(rig.c, tc.sCom);
        ASSERT_GE(rig.console.runs.size(), 2u);
        EXPECT_EQ(rig.console.runs[1].args,
                  (std::vector<std::string>{"disable", tc.expectedArgument}));
    }
}

TEST(UsbDeviceRecover, StatusOfCom12IsNotTakenForCom1) {
    SerialRig rig;
    rig.defaults();
    rig.console.findListing = kFind;
    // COM12 is listed first and running; only COM1's own line tells it is disabled.
    rig.console.statusListings = {status("COM1", "Device is disabled."),
                                  status("COM1", "Driver is running.")};
    UsbDeviceRecover(rig.c, "COM1");
    EXPECT_EQ(rig.console.runs.size(), 5u);
    EXPECT_EQ(rig.counter.now, 6002u);
}

TEST(UsbDeviceRecover, MissingToolOrListingEndsSilently) {
    SerialRig rig;
    rig.defaults();
    rig.console.startable = false;
    UsbDeviceRecover(rig.c, "COM1");
    EXPECT_EQ(rig.counter.now, 0u);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ContainsPortName, MatchesWholeNamesOnly) {
    struct Case {
        std::string text;
        std::string name;
        bool expected;
    };
    const Case cases[] = {
        {"(COM1)", "COM1", true},        {"(COM12)", "COM1", false}, {"COM1", "COM1", true},
        {"x COM10 COM1.", "COM1", true}, {"XCOM1", "COM1", false},   {"", "COM1", false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.text);
        EXPECT_EQ(containsPortName(tc.text, tc.name), tc.expected);
    }
}

} // namespace
