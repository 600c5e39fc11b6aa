#include <gtest/gtest.h>

#include "serial/usb_recovery.h"
#include "tests/support/fake_serial.h"

namespace {

const std::string kFind = "USB\\VID_0403&PID_6001\\A10K1: FT232R USB UART (COM12)\n"
                          "USB\\VID_1A86&PID_7523\\1-1.2: USB Serial (COM1)\n"
                          "USB\\ROOT_HUB30\\4&1: USB Root Hub\n";

// COM12 is listed first and running: only COM1's own line tells COM1's state.
std::string status(const std::string& state) {
    return "USB\\VID_0403&PID_6001\\A10K1\n    Name: FT232R USB UART (COM12)\n"
           "    Driver is running.\n"
           "USB\\VID_1A86&PID_7523\\1-1.2\n    Name: USB Serial (COM1)\n    " +
           state + "\n2 matching device(s) found.\n";
}

// Each wait ends 1 ms past its time: 3000 ms settle waits take 3001, poll pauses 1001.
TEST(UsbDeviceRecover, RunsTheToolInItsOrderWithItsWaits) {
    const std::string running = status("Driver is running.");
    const std::string disabled = status("Device is disabled.");
    const std::string s = "status USB*|", s3 = s + s + s, f = "find USB*|";
    const std::string id1 = " @USB\\VID_1A86&PID_7523\\1-1.2|";
    const std::string id12 = " @USB\\VID_0403&PID_6001\\A10K1|";
    const std::string off = f + "disable" + id1, on = "enable" + id1;
    // The port, the find listing, the status listings, the runs, when it ends, and when the
    // window closes (0: it stays open).
    const std::tuple<const char*, std::string, std::vector<std::string>, std::string, uint32_t,
                     uint32_t>
        cases[] = {{"COM1", kFind, {disabled, running}, off + s + on + s, 6002, 0},
                   {"COM12",
                    kFind,
                    {disabled, running},
                    f + "disable" + id12 + s3 + "enable" + id12 + s,
                    9005,
                    0},
                   {"COM1", kFind, {running, disabled, running}, off + s + s + on + s, 7003, 0},
                   // No line names the port: its last line is the status.
                   {"COM1",
                    kFind,
                    {"USB\\Y\n Name: Other (COM5)\n Device is disabled.\n"},
                    off + s + on + s3,
                    9005,
                    0},
                   // Once disabled, every way out enables the adapter again.
                   {"COM1", kFind, {"USB\\X\n    Name: USB Serial (COM1)"}, off + s + on, 3001, 0},
                   {"COM1", kFind, {disabled}, off + on, 1500, 1500},
                   {"COM1", kFind, {running}, off + s + on, 3500, 3500},
                   // A listing without the expected shape ends it before the adapter is touched.
                   {"COM1", "COM1: odd\n", {running}, f, 0, 0},
                   {"COM1", "PCI\\X: Port (COM1)\n", {running}, f, 0, 0}};
    for (const auto& [sCom, find, statuses, expectedRuns, expectedMs, unloadAt] : cases) {
        SCOPED_TRACE(expectedRuns);
        SerialRig rig;
        rig.findListing = find;
        rig.statusListings = statuses;
        if (unloadAt != 0) {
            rig.at(unloadAt, [&] { rig.m.bUnloading = true; });
        }
        UsbDeviceRecover(rig.c, sCom);
        std::string runs;
        for (const auto& run : rig.runs) {
            runs += run + "|";
        }
        EXPECT_EQ(runs, expectedRuns);
        EXPECT_EQ(rig.now, expectedMs);
        EXPECT_TRUE(rig.boxes.shown.empty());
    }
}

TEST(ContainsPortName, MatchesWholeNamesOnly) {
    const std::pair<std::string, bool> cases[] = {{"(COM1)", true}, {"(COM12)", false},
                                                  {"COM1", true},   {"x COM10 COM1.", true},
                                                  {"XCOM1", false}, {"", false}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(containsPortName(text, "COM1"), expected);
    }
    EXPECT_FALSE(containsPortName("COM1", ""));
}

} // namespace
